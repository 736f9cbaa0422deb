// The Qt side of the verbs: the application's clipboard in the formats other file managers
// read, opening through the desktop's URL handlers, and the properties window.
#include "shell/menus/QtDesktopServices.h"

#include "FakeOpener.h"
#include "FormChild.h"
#include "ScopedQtDesktop.h"
#include "ScriptedMessages.h"
#include "ShellTestSupport.h"
#include "TestFiles.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/menus/ItemPropertiesDialog.h"
#include "shell/menus/ShellContextMenus.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quarn::test {
namespace {

// The verb of the named entries of folder, through the menu the controls build.
void RunVerb(const std::string& folder, const std::vector<std::string>& names,
             const std::string& verb) {
    ComPtr<IShellFolder> shellFolder;
    const PidlPtr folderList = ParsePath(folder);
    ASSERT_EQ(GetPidlFolder(folderList.get(), shellFolder), S_OK);
    std::vector<PidlPtr> owned;
    std::vector<LPCITEMIDLIST> items;
    for (const auto& name : names) {
        LPITEMIDLIST item = nullptr;
        ASSERT_EQ(shellFolder->ParseDisplayName(nullptr, nullptr, name, nullptr, &item, nullptr),
                  S_OK);
        owned.emplace_back(item);
        items.push_back(item);
    }
    void* object = nullptr;
    ASSERT_EQ(shellFolder->GetUIObjectOf(nullptr, static_cast<ULONG>(items.size()), items.data(),
                                         IID_IContextMenu, nullptr, &object),
              S_OK);
    const auto menu = ComPtr<IContextMenu>::Attach(static_cast<IContextMenu*>(object));
    EXPECT_EQ(InvokeVerb(nullptr, menu.get(), verb), S_OK);
}

std::string Format(const QMimeData* data, const char* type) {
    return data->data(QLatin1String(type)).toStdString();
}

const std::string RawName = "r\xe9sum\xe9 1.txt"; // Latin-1, not UTF-8

TEST(QtDesktopServices, ClipboardRoundTripWithTheExactFormats) {
    ScopedQtDesktop desktop;
    ScopedScriptedMessages messages;
    TempDir dir;
    WriteFileBytes(dir / RawName, "raw");
    WriteFileBytes(dir / "b", "b");
    std::filesystem::create_directory(dir / "sub");

    RunVerb(dir.Path().string(), {RawName, "b"}, "cut");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const std::string uris =
        "file://" + dir.Path().string() + "/r%E9sum%E9%201.txt\r\nfile://" + (dir / "b") + "\r\n";
    EXPECT_EQ(Format(data, "text/uri-list"), uris);
    EXPECT_EQ(Format(data, "x-special/gnome-copied-files"),
              "cut\nfile://" + dir.Path().string() + "/r%E9sum%E9%201.txt\nfile://" + (dir / "b"));
    EXPECT_EQ(Format(data, "application/x-kde-cutselection"), "1");

    RunVerb(dir.Path().string(), {"sub"}, "paste");
    EXPECT_EQ(FolderNames(dir / "sub"), (std::set<std::string>{RawName, "b"}));
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"sub"});
    const QMimeData* emptied = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(emptied == nullptr || !emptied->hasFormat(QStringLiteral("text/uri-list")));
    EXPECT_TRUE(messages->shown.empty());
}

// What a program that knows only uri-lists leaves is copied, never moved.
TEST(QtDesktopServices, AnotherProgramsUriListIsPastedAsACopy) {
    ScopedQtDesktop desktop;
    ScopedScriptedMessages messages;
    TempDir dir;
    WriteFileBytes(dir / "a", "a");
    std::filesystem::create_directory(dir / "sub");
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(QString::fromStdString(dir / "a"))});
    QGuiApplication::clipboard()->setMimeData(data);

    RunVerb(dir.Path().string(), {"sub"}, "paste");
    EXPECT_EQ(ReadFileBytes(dir / "sub/a"), "a");
    EXPECT_EQ(ReadFileBytes(dir / "a"), "a");
    EXPECT_TRUE(messages->shown.empty());
}

TEST(QtDesktopServices, OpenHandsTheRawNameToTheDesktopsOpener) {
    FakeOpener opener(0);
    int failures = 0;
    QtDesktopServices().OpenPath("/tmp/" + RawName, [&] { ++failures; });
    ASSERT_TRUE(FakeOpener::WaitUntilEnded());
    EXPECT_EQ(opener.Opened(), std::vector<std::string>{"file:///tmp/r%E9sum%E9%201.txt"});
    EXPECT_EQ(failures, 0);
}

// The call returns at once; the failure comes when the opener ends with it.
TEST(QtDesktopServices, AnOpenerThatFindsNoApplicationFailsWhenItEnds) {
    FakeOpener noApplication(4);
    int failures = 0;
    QtDesktopServices().OpenPath("/tmp/" + RawName, [&] { ++failures; });
    EXPECT_EQ(failures, 0);
    ASSERT_TRUE(FakeOpener::WaitUntilEnded());
    EXPECT_EQ(failures, 1);
}

QString Field(const QWidget* dialog, const char* label) {
    const auto* field = FormChild<QLineEdit>(dialog, label);
    return field ? field->text() : QString();
}

TEST(ItemPropertiesDialog, OneFileBelongsToItsOwnerAndReadsFromTheKeyboard) {
    TempDir dir;
    WriteFileBytes(dir / "notes.txt", std::string(1234, 'n'));
    ASSERT_EQ(::chmod((dir / "notes.txt").c_str(), 0640), 0);
    QWidget owner;
    QtDesktopServices().ShowProperties(&owner, {dir / "notes.txt"});
    auto* dialog = owner.findChild<ItemPropertiesDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("notes.txt Properties"));
    EXPECT_EQ(Field(dialog, "Name"), QStringLiteral("notes.txt"));
    EXPECT_EQ(Field(dialog, "Kind"), QStringLiteral("plain text document"));
    EXPECT_EQ(Field(dialog, "Location"), QString::fromStdString(dir.Path().string()));
    EXPECT_TRUE(
        Field(dialog, "Size").endsWith(QLocale().toString(1234) + QStringLiteral(" bytes)")));
    EXPECT_EQ(Field(dialog, "Permissions"), QStringLiteral("rw-r----- (640)"));
    EXPECT_FALSE(Field(dialog, "Modified").isEmpty());

    for (auto* field : dialog->findChildren<QLineEdit*>()) {
        EXPECT_TRUE(field->isReadOnly());
        EXPECT_EQ(field->accessibleName(), field->objectName());
        EXPECT_NE(field->focusPolicy() & Qt::TabFocus, 0);
    }
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
}

TEST(ItemPropertiesDialog, ManyItemsShowTheirCountAndTotal) {
    TempDir dir;
    WriteFileBytes(dir / "a.txt", std::string(1000, 'a'));
    WriteFileBytes(dir / "b.txt", std::string(24, 'b'));
    std::filesystem::create_directory(dir / "sub");
    const ItemPropertiesDialog dialog({dir / "a.txt", dir / "b.txt", dir / "sub"});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("3 items Properties"));
    EXPECT_EQ(Field(&dialog, "Name"), QStringLiteral("3 items"));
    EXPECT_EQ(Field(&dialog, "Kind"), QStringLiteral("Multiple types"));
    EXPECT_EQ(Field(&dialog, "Location"), QString::fromStdString(dir.Path().string()));
    EXPECT_EQ(Field(&dialog, "Contains"), QStringLiteral("2 files, 1 folder"));
    EXPECT_TRUE(Field(&dialog, "Size of the files")
                    .endsWith(QLocale().toString(1024) + QStringLiteral(" bytes)")));
}

} // namespace
} // namespace quarn::test
