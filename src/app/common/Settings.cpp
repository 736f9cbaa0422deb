#include "app/common/Settings.h"

#include "platform/MessageService.h"
#include "platform/PosixFile.h"
#include "platform/QuarnRegistryKey.h"
#include "platform/Registry.h"

namespace quarn {

namespace {
constexpr char SaveSettingsFailed[] =
    "An unexpected error has occurred: Quarn! was unable to save your settings.";
constexpr char SaveStartupFolderFailed[] = "An unexpected error has occurred: Quarn! was unable "
                                           "to save the current folder as your Start-up Folder.";
constexpr char ClearContextMenuFailed[] =
    "Quarn! was unable to clear the temporary file list created for Windows Explorer use. "
    "This is a potential security risk if the file names are sensitive.";

// The six engine settings in the order both programs read them; throws on the first
// value that is absent or of another type.
EngineOptions ReadEngineOptions(const TRegistry& registry) {
    EngineOptions options;
    options.EncryptName = registry.ReadBool("EncryptName");
    options.AppendExtension = registry.ReadBool("AppendExtension");
    options.DeleteOriginal = registry.ReadBool("DeleteOriginal");
    options.FastWipe = registry.ReadBool("FastWipe");
    options.HexValue = registry.ReadInteger("HexValue");
    options.WipeCount = registry.ReadInteger("WipeCount");
    return options;
}

// A string list's text: each CR, LF or CR LF ends a line, a last line needs no line end,
// and the text ends at a NUL byte, which no file name can hold.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    const std::string_view rest(text.c_str());
    std::size_t start = 0;
    while (start < rest.size()) {
        const std::size_t end = std::min(rest.find_first_of("\r\n", start), rest.size());
        lines.emplace_back(rest.substr(start, end - start));
        start = end;
        if (start < rest.size() && rest[start] == '\r') {
            ++start;
        }
        if (start < rest.size() && rest[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

void ShowError(const char* text) {
    Messages().Show(MessageKind::Error, text, MessageButtons::Ok);
}
} // namespace

StoredSettings ReadSettings(TRegistry& registry) {
    StoredSettings stored;
    registry.SetRootKey(RegistryRoot::CurrentUser);
    try {
        if (!registry.OpenKey(QuarnRegistryKey, true)) {
            return stored;
        }
        const RegistryKeyGuard close(registry);
        stored.Favorites = registry.ReadString("Favorites");
        Settings read;
        read.Startup = static_cast<std::uint8_t>(registry.ReadInteger("Startup") & 0xFF);
        read.StartupFolder = registry.ReadString("StartupFolder");
        read.DisplayFolderSize = registry.ReadBool("DisplayFolderSize");
        read.DisplaySelectedSize = registry.ReadBool("DisplaySelectedSize");
        read.Engine = ReadEngineOptions(registry);
        stored.Values = read;
    } catch (const ERegistryException&) {
        stored.Values = Settings{};
    }
    return stored;
}

void SaveSettings(TRegistry& registry, const Settings& settings) {
    registry.SetRootKey(RegistryRoot::CurrentUser);
    try {
        if (!registry.OpenKey(QuarnRegistryKey, true)) {
            return;
        }
        const RegistryKeyGuard close(registry);
        registry.WriteInteger("Startup", settings.Startup);
        registry.WriteString("StartupFolder", settings.StartupFolder);
        registry.WriteBool("DisplayFolderSize", settings.DisplayFolderSize);
        registry.WriteBool("DisplaySelectedSize", settings.DisplaySelectedSize);
        registry.WriteBool("EncryptName", settings.Engine.EncryptName);
        registry.WriteBool("AppendExtension", settings.Engine.AppendExtension);
        registry.WriteBool("DeleteOriginal", settings.Engine.DeleteOriginal);
        registry.WriteBool("FastWipe", settings.Engine.FastWipe);
        registry.WriteInteger("HexValue", settings.Engine.HexValue);
        registry.WriteInteger("WipeCount", settings.Engine.WipeCount);
    } catch (const ERegistryException&) {
        ShowError(SaveSettingsFailed);
    }
}

void WriteProgramPath(TRegistry& registry, const std::string& programFile) {
    registry.SetRootKey(RegistryRoot::LocalMachine);
    std::string folder = FolderPart(programFile);
    if (folder.size() > 1) {
        folder.pop_back(); // the root folder stays "/"
    }
    try {
        if (registry.OpenKey(QuarnRegistryKey, true)) {
            const RegistryKeyGuard close(registry);
            registry.WriteString("Path", folder);
        }
    } catch (const ERegistryException&) {
        // Nothing reads "Path"; a start never fails over it.
    }
}

void SaveStartupFolder(TRegistry& registry, const Settings& settings,
                       const std::string& currentFolder) {
    if (settings.Startup != 1) {
        return;
    }
    registry.SetRootKey(RegistryRoot::CurrentUser);
    try {
        if (registry.OpenKey(QuarnRegistryKey, true)) {
            const RegistryKeyGuard close(registry);
            registry.WriteString("StartupFolder", currentFolder);
        }
    } catch (const ERegistryException&) {
        ShowError(SaveStartupFolderFailed);
    }
}

UtilityStart ReadUtilityStart() {
    UtilityStart start;
    TRegistry registry(RegistryRoot::CurrentUser);
    try {
        if (!registry.OpenKey(QuarnRegistryKey, true)) {
            return start;
        }
        const RegistryKeyGuard close(registry);
        const TRegistry::TakenString list = registry.TakeString("ContextMenu");
        start.ContextMenuFiles = SplitLines(list.Value);
        if (!list.Emptied) {
            Messages().Show(MessageKind::Warning, ClearContextMenuFailed, MessageButtons::Ok);
        }
        start.Options = ReadEngineOptions(registry);
    } catch (const ERegistryException&) {
        start.Options = EngineOptions{};
    }
    return start;
}

} // namespace quarn
