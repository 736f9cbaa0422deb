#include "app/common/Settings.h"

#include "CaseNames.h"
#include "ScopedEnvironment.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "platform/QuarnRegistryKey.h"
#include "platform/Registry.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace quarn {
namespace {

using test::ScopedEnvironment;
using test::ScopedScriptedMessages;
using test::TempDir;

constexpr char SaveSettingsFailed[] =
    "An unexpected error has occurred: Quarn! was unable to save your settings.";
constexpr char SaveStartupFolderFailed[] = "An unexpected error has occurred: Quarn! was unable "
                                           "to save the current folder as your Start-up Folder.";
constexpr char ClearContextMenuFailed[] =
    "Quarn! was unable to clear the temporary file list created for Windows Explorer use. "
    "This is a potential security risk if the file names are sensitive.";

const char* const SettingNames[] = {
    "Startup",     "StartupFolder",   "DisplayFolderSize", "DisplaySelectedSize",
    "EncryptName", "AppendExtension", "DeleteOriginal",    "FastWipe",
    "HexValue",    "WipeCount"};

std::string Describe(const EngineOptions& o) {
    std::ostringstream out;
    out << "EncryptName=" << o.EncryptName << " AppendExtension=" << o.AppendExtension
        << " DeleteOriginal=" << o.DeleteOriginal << " FastWipe=" << o.FastWipe
        << " HexValue=" << o.HexValue << " WipeCount=" << o.WipeCount;
    return out.str();
}

std::string Describe(const Settings& s) {
    std::ostringstream out;
    out << "Startup=" << int(s.Startup) << " StartupFolder=" << s.StartupFolder
        << " DisplayFolderSize=" << s.DisplayFolderSize
        << " DisplaySelectedSize=" << s.DisplaySelectedSize << " " << Describe(s.Engine);
    return out.str();
}

// Every field away from its default.
Settings Changed() {
    Settings s;
    s.Startup = 2;
    s.StartupFolder = "/home/me/Private files/";
    s.DisplayFolderSize = true;
    s.DisplaySelectedSize = true;
    s.Engine.EncryptName = false;
    s.Engine.AppendExtension = true;
    s.Engine.DeleteOriginal = true;
    s.Engine.FastWipe = false;
    s.Engine.HexValue = 0xA5;
    s.Engine.WipeCount = 7;
    return s;
}

class SettingsTest : public ::testing::Test {
protected:
    // Changes the per-user key directly, as another tool or a hand edit would.
    static void Edit(const std::function<void(TRegistry&)>& change) {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(QuarnRegistryKey, true));
        change(registry);
    }

    static std::unique_ptr<TRegistry> Key(RegistryRoot root = RegistryRoot::CurrentUser) {
        auto registry = std::make_unique<TRegistry>(root);
        EXPECT_TRUE(registry->OpenKeyReadOnly(QuarnRegistryKey));
        return registry;
    }

    // A folder in the place of the root's lock file: the key still opens and reads, every
    // write fails.
    void BlockWrites(const std::string& root = "HKEY_CURRENT_USER") const {
        const auto lock = folder_.Path() / (root + ".lock");
        std::filesystem::remove(lock);
        std::filesystem::create_directory(lock);
    }
    // A folder in the place of the root's file: the key does not open at all.
    void BlockRoot(const std::string& root) const {
        std::filesystem::create_directory(folder_.Path() / (root + ".txt"));
    }

    TempDir folder_;
    ScopedEnvironment registryFolder_{"QUARN_REGISTRY_DIR", folder_.Path().string()};
    ScopedEnvironment noSystemLayer_{"QUARN_SYSTEM_REGISTRY_DIR", ""};
    ScopedScriptedMessages messages_;
};

TEST_F(SettingsTest, CleanAccountGetsDefaultsAndAnEmptyKey) {
    TRegistry registry(RegistryRoot::LocalMachine);
    const StoredSettings stored = ReadSettings(registry);
    EXPECT_EQ(Describe(stored.Values), Describe(Settings{}));
    EXPECT_EQ(Describe(Settings{}), "Startup=0 StartupFolder= DisplayFolderSize=0 "
                                    "DisplaySelectedSize=0 EncryptName=1 AppendExtension=0 "
                                    "DeleteOriginal=0 FastWipe=1 HexValue=0 WipeCount=1");
    EXPECT_EQ(stored.Favorites, "");
    EXPECT_EQ(registry.RootKey(), RegistryRoot::CurrentUser);
    EXPECT_FALSE(registry.HasOpenKey());
    auto key = Key();
    for (const char* name : SettingNames) {
        EXPECT_FALSE(key->ValueExists(name)) << name;
    }
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(SettingsTest, SavedSettingsReadBackWithTheirTypes) {
    TRegistry registry;
    SaveSettings(registry, Changed());
    EXPECT_FALSE(registry.HasOpenKey());
    EXPECT_EQ(Describe(ReadSettings(registry).Values), Describe(Changed()));

    auto key = Key();
    for (const char* name : SettingNames) {
        const auto expected = std::string(name) == "StartupFolder" ? RegistryDataType::String
                                                                   : RegistryDataType::DWord;
        EXPECT_EQ(key->GetDataType(name), expected) << name;
    }
    EXPECT_EQ(key->ReadInteger("DisplayFolderSize"), 1); // booleans as 1 and 0
    EXPECT_EQ(key->ReadInteger("FastWipe"), 0);
    EXPECT_TRUE(messages_->shown.empty());
}

struct BrokenValue {
    const char* name;
    std::function<void(TRegistry&)> breakIt;
    std::string favorites; // what the read still hands to the favorites loader
};

void PrintTo(const BrokenValue& c, std::ostream* out) {
    *out << c.name;
}

class OneFailedRead : public SettingsTest, public ::testing::WithParamInterface<BrokenValue> {};

TEST_P(OneFailedRead, GivesEverySettingItsDefault) {
    TRegistry registry;
    SaveSettings(registry, Changed());
    Edit([](TRegistry& key) { key.WriteString("Favorites", "c2VjcmV0"); });
    Edit(GetParam().breakIt);
    const StoredSettings stored = ReadSettings(registry);
    EXPECT_EQ(Describe(stored.Values), Describe(Settings{}));
    EXPECT_EQ(stored.Favorites, GetParam().favorites);
    EXPECT_FALSE(registry.HasOpenKey());
    EXPECT_TRUE(messages_->shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Settings, OneFailedRead,
    ::testing::Values(BrokenValue{"StartupFolderAsDWord",
                                  [](TRegistry& key) { key.WriteInteger("StartupFolder", 3); },
                                  "c2VjcmV0"},
                      BrokenValue{"StartupDeleted",
                                  [](TRegistry& key) { key.DeleteValue("Startup"); }, "c2VjcmV0"},
                      BrokenValue{"LastValueAsString",
                                  [](TRegistry& key) { key.WriteString("WipeCount", "3"); },
                                  "c2VjcmV0"},
                      BrokenValue{"BooleanAsBinary",
                                  [](TRegistry& key) {
                                      key.WriteBinaryData("EncryptName", {1, 0, 0, 0});
                                  },
                                  "c2VjcmV0"},
                      BrokenValue{"FavoritesAsDWord",
                                  [](TRegistry& key) { key.WriteInteger("Favorites", 1); }, ""}),
    quarn::test::CaseName());

TEST_F(SettingsTest, AKeyThatDoesNotOpenGivesDefaultsSilently) {
    BlockRoot("HKEY_CURRENT_USER");
    TRegistry registry;
    const StoredSettings stored = ReadSettings(registry);
    EXPECT_EQ(Describe(stored.Values), Describe(Settings{}));
    EXPECT_EQ(stored.Favorites, "");
    SaveSettings(registry, Changed()); // does not open: nothing written, nothing said
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(SettingsTest, ValuesAreTakenAsStoredWithoutARangeCheck) {
    TRegistry registry;
    SaveSettings(registry, Settings{});
    struct Stored {
        std::int32_t startup, hexValue, wipeCount;
        int wantStartup;
    };
    for (const Stored& s :
         {Stored{258, 300, 0, 2}, Stored{-1, -1, 500, 255}, Stored{2, 255, -7, 2}}) {
        Edit([&](TRegistry& key) {
            key.WriteInteger("Startup", s.startup);
            key.WriteInteger("HexValue", s.hexValue);
            key.WriteInteger("WipeCount", s.wipeCount);
        });
        const Settings read = ReadSettings(registry).Values;
        EXPECT_EQ(read.Startup, s.wantStartup) << s.startup; // the low 8 bits
        EXPECT_EQ(read.Engine.HexValue, s.hexValue);
        EXPECT_EQ(read.Engine.WipeCount, s.wipeCount);
    }
}

TEST_F(SettingsTest, AFailedSaveShowsItsErrorAndKeepsWhatWasStored) {
    TRegistry registry;
    SaveSettings(registry, Settings{});
    BlockWrites();
    SaveSettings(registry, Changed());
    ASSERT_EQ(messages_->shown.size(), 1u);
    EXPECT_EQ(messages_->shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages_->shown[0].text, SaveSettingsFailed);
    EXPECT_EQ(messages_->shown[0].buttons, MessageButtons::Ok);
    EXPECT_FALSE(registry.HasOpenKey());
    EXPECT_EQ(Describe(ReadSettings(registry).Values), Describe(Settings{}));
}

TEST_F(SettingsTest, TheStartupFolderIsSavedOnlyForTheLastFolderRule) {
    TRegistry registry;
    for (const std::uint8_t startup : {0, 2}) {
        Settings settings = Changed();
        settings.Startup = startup;
        SaveSettings(registry, settings);
        SaveStartupFolder(registry, settings, "/srv/elsewhere/");
        EXPECT_EQ(Key()->ReadString("StartupFolder"), settings.StartupFolder);
    }
    Settings lastFolder = Changed();
    lastFolder.Startup = 1;
    SaveStartupFolder(registry, lastFolder, "/home/me/Mail \"x\"/");
    EXPECT_EQ(Key()->ReadString("StartupFolder"), "/home/me/Mail \"x\"/");
    EXPECT_FALSE(registry.HasOpenKey());
    EXPECT_TRUE(messages_->shown.empty());

    BlockWrites();
    SaveStartupFolder(registry, lastFolder, "/tmp/");
    ASSERT_EQ(messages_->shown.size(), 1u);
    EXPECT_EQ(messages_->shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages_->shown[0].text, SaveStartupFolderFailed);
    EXPECT_EQ(Key()->ReadString("StartupFolder"), "/home/me/Mail \"x\"/");
}

TEST_F(SettingsTest, TheProgramPathIsTheProgramsFolder) {
    TRegistry registry;
    const std::pair<std::string, std::string> cases[] = {
        {"/opt/Quarn 2/bin/quarn", "/opt/Quarn 2/bin"},
        {"/quarn", "/"},
    };
    for (const auto& [program, folder] : cases) {
        WriteProgramPath(registry, program);
        EXPECT_EQ(registry.RootKey(), RegistryRoot::LocalMachine);
        EXPECT_FALSE(registry.HasOpenKey());
        EXPECT_EQ(Key(RegistryRoot::LocalMachine)->ReadString("Path"), folder);
    }
    EXPECT_FALSE(TRegistry().KeyExists(QuarnRegistryKey)); // only the machine-wide root
}

TEST_F(SettingsTest, AMachineKeyThatCannotBeWrittenIsLeftSilently) {
    TRegistry registry;
    WriteProgramPath(registry, "/opt/a/quarn");
    BlockWrites("HKEY_LOCAL_MACHINE"); // the key opens, "Path" cannot be written
    WriteProgramPath(registry, "/opt/b/quarn");
    EXPECT_EQ(Key(RegistryRoot::LocalMachine)->ReadString("Path"), "/opt/a");

    TempDir other;
    ScopedEnvironment otherFolder("QUARN_REGISTRY_DIR", other.Path().string());
    std::filesystem::create_directory(other.Path() / "HKEY_LOCAL_MACHINE.txt");
    WriteProgramPath(registry, "/opt/c/quarn"); // the key does not open
    EXPECT_FALSE(registry.HasOpenKey());
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(SettingsTest, TheUtilityTakesAndEmptiesTheContextMenuList) {
    TRegistry registry;
    SaveSettings(registry, Changed());
    Edit([](TRegistry& key) {
        key.WriteString("ContextMenu", "/a/one.txt\r\n/b/two words.txt\n/c/three\r/d/last");
    });
    const UtilityStart start = ReadUtilityStart();
    EXPECT_EQ(start.ContextMenuFiles,
              (std::vector<std::string>{"/a/one.txt", "/b/two words.txt", "/c/three", "/d/last"}));
    EXPECT_EQ(Describe(start.Options), Describe(Changed().Engine));
    auto key = Key();
    EXPECT_EQ(key->GetDataType("ContextMenu"), RegistryDataType::String);
    EXPECT_EQ(key->ReadString("ContextMenu"), "");
    EXPECT_TRUE(messages_->shown.empty());

    const UtilityStart again = ReadUtilityStart();
    EXPECT_TRUE(again.ContextMenuFiles.empty());
}

TEST_F(SettingsTest, TheUtilityKeepsTheListButNotTheSettingsAfterAFailedRead) {
    Edit([](TRegistry& key) { key.WriteString("ContextMenu", "/x\r\n\r\n/y\r\n"); });
    const UtilityStart start = ReadUtilityStart(); // no settings stored
    EXPECT_EQ(start.ContextMenuFiles, (std::vector<std::string>{"/x", "", "/y"}));
    EXPECT_EQ(Describe(start.Options), Describe(EngineOptions{}));
    EXPECT_EQ(Key()->ReadString("ContextMenu"), "");
}

TEST_F(SettingsTest, AContextMenuListThatCannotBeEmptiedIsWarnedAboutAndStillUsed) {
    TRegistry registry;
    SaveSettings(registry, Changed());
    Edit([](TRegistry& key) { key.WriteString("ContextMenu", "/secret/name.doc"); });
    BlockWrites();
    const UtilityStart start = ReadUtilityStart();
    ASSERT_EQ(messages_->shown.size(), 1u);
    EXPECT_EQ(messages_->shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(messages_->shown[0].text, ClearContextMenuFailed);
    EXPECT_EQ(messages_->shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(start.ContextMenuFiles, std::vector<std::string>{"/secret/name.doc"});
    EXPECT_EQ(Describe(start.Options), Describe(Changed().Engine));
}

} // namespace
} // namespace quarn
