#include "app/FavoritesCommands.h"

#include "app/Ampersands.h"
#include "app/DirectoryExists.h"
#include "app/Favorites.h"
#include "app/FavoritesList.h"
#include "app/FavoritesStore.h"
#include "app/MainWindowHost.h"
#include "platform/MessageService.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Hourglass.h"

#include <QAction>
#include <QMenu>
#include <exception>

namespace quarn {

namespace {

constexpr int FixedItems = 3; // Manage Favorites, Add to Favorites, the separator

constexpr char GotoFailed[] =
    "An unexpected error has occurred: Quarn! was unable to goto the folder that the selected "
    "favorite references. Please try again.";
constexpr char RemoveFailed[] = "Quarn! was unable to remove the selected favorite: an "
                                "unexpected error has occurred. Please try again.";
constexpr char AddFailed[] = "Quarn! was unable to add the selected folder to your favorites: "
                             "an unexpected error has occurred.\r\n\r\nPlease try again.";

constexpr char ReplaceUnreadable[] =
    "Quarn! cannot read the favorites stored before, so saving this change replaces them and "
    "they are lost.\r\n\r\nDo you want to replace the stored favorites?";

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// The path with its line breaks shown as the symbols for them, so a message keeps it on one
// line.
std::string ShownOnOneLine(const std::string& path) {
    std::string shown;
    for (const char c : path) {
        shown += c == '\n' ? "\u240A" : c == '\r' ? "\u240D" : std::string(1, c);
    }
    return shown;
}

void ShowMessage(MessageKind kind, const std::string& text) {
    Messages().Show(kind, text, MessageButtons::Ok);
}

// The error box of a failed step: the failure's own message, or fallback when it has none.
void ShowFailure(const std::exception_ptr& failure, const char* fallback) {
    std::string message;
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
    }
    ShowMessage(MessageKind::Error, message.empty() ? fallback : message);
}

void SaveHostFavorites(MainWindowHost& host) {
    SaveFavorites(host.Registry(), host.Rijndael(), host.FavoritesList());
}

// A stored value that cannot be read is replaced only when the user says so.
bool MayReplaceStoredFavorites(MainWindowHost& host) {
    return StoredFavoritesReadable(host.Registry(), host.Rijndael()) ||
           Messages().Show(MessageKind::Confirmation, ReplaceUnreadable, MessageButtons::YesNo) ==
               MessageAnswer::Yes;
}

void RemoveMissingFavorite(const std::string& path, MainWindowHost& host) {
    if (!host.FavoritesList().Contains(path)) {
        ShowMessage(MessageKind::Warning, "Quarn! was unable to remove the selected favorite: "
                                          "the folder " +
                                              Quoted(path) + " could not be located.");
        return;
    }
    if (!MayReplaceStoredFavorites(host)) {
        return;
    }
    try {
        host.FavoritesList().Remove(path);
        SaveHostFavorites(host);
    } catch (...) {
        ShowFailure(std::current_exception(), RemoveFailed);
        return;
    }
    ShowMessage(MessageKind::Information,
                "The selected favorite " + Quoted(path) + ", has been removed.");
}

} // namespace

void Favorites1Click(QMenu& menu, MainWindowHost& host) {
    const QList<QAction*> items = menu.actions();
    for (qsizetype i = FixedItems; i < items.size(); ++i) {
        menu.removeAction(items[i]);
        items[i]->deleteLater();
    }
    for (const std::string& path : host.FavoritesList().Items()) {
        const std::string caption = EscapeAmpersands(path);
        QAction* item =
            menu.addAction(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
        QObject::connect(item, &QAction::triggered, &menu,
                         Guarded([path, &host] { FavoriteMenuClick(path, host); }));
    }
}

bool GoToFavorite(const std::string& path, MainWindowHost& host) {
    try {
        host.GoToPath(path);
        host.UpdateStatusBar();
        return true;
    } catch (...) {
        ShowMessage(MessageKind::Error, GotoFailed);
        return false;
    }
}

void FavoriteMenuClick(const std::string& path, MainWindowHost& host) {
    if (DirectoryExists(path)) {
        GoToFavorite(path, host);
        return;
    }
    const std::string question = "The folder that the selected favorite references no longer "
                                 "exists.\r\n\r\nWould you like to remove the selected favorite " +
                                 Quoted(path) + "?";
    if (Messages().Show(MessageKind::Confirmation, question, MessageButtons::YesNo) ==
        MessageAnswer::Yes) {
        RemoveMissingFavorite(path, host);
    }
}

bool FavoritesCanStore(const std::string& path) {
    if (TFavoritesList::CanStore(path)) {
        return true;
    }
    ShowMessage(MessageKind::Information,
                Quoted(ShownOnOneLine(path)) +
                    " cannot be added to your favorites: its path holds a line break, which "
                    "your favorites cannot store.");
    return false;
}

void AddToFavorites1Click(MainWindowHost& host) {
    const std::string path = host.TreeSelectedPath();
    if (!DirectoryExists(path)) {
        ShowMessage(MessageKind::Information,
                    Quoted(host.TreeSelectedCaption()) +
                        " is not a folder. Only folders can be added to Favorites.");
        return;
    }
    if (!FavoritesCanStore(path)) {
        return;
    }
    if (host.FavoritesList().Contains(path)) {
        ShowMessage(MessageKind::Information, Quoted(path) + " is already in your favorites.");
        return;
    }
    if (!MayReplaceStoredFavorites(host)) {
        return;
    }
    try {
        host.FavoritesList().Add(path);
        SaveHostFavorites(host);
    } catch (...) {
        ShowFailure(std::current_exception(), AddFailed);
        return;
    }
    ShowMessage(MessageKind::Information, Quoted(path) + " has been added to your favorites.");
}

void tbFavoritesClick(MainWindowHost& host) {
    TfFavorites fFavorites(host, host.Window());
    for (const std::string& path : host.FavoritesList().Items()) {
        fFavorites.AddItem(path);
    }
    if (fFavorites.exec() != QDialog::Accepted) {
        return;
    }
    TFavoritesList edited;
    for (const std::string& path : fFavorites.Items()) {
        edited.Add(path);
    }
    if (edited == host.FavoritesList() || !MayReplaceStoredFavorites(host)) {
        return;
    }
    try {
        const Hourglass hourglass;
        host.FavoritesList() = std::move(edited);
        SaveHostFavorites(host);
    } catch (const EFavoritesError& error) {
        ShowMessage(MessageKind::Error, error.what());
    }
}

} // namespace quarn
