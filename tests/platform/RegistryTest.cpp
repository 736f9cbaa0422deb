#include "platform/Registry.h"

#include "ScopedEnvironment.h"
#include "TestFiles.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarn {
namespace {

using test::ReadFileBytes;
using test::ScopedEnvironment;
using test::TempDir;
using test::WriteFileBytes;

constexpr char Key[] = "SOFTWARE\\Ostrel\\Quarn!";

class RegistryTest : public ::testing::Test {
protected:
    std::string UserFile(const std::string& root = "HKEY_CURRENT_USER") const {
        return folder_ / (root + ".txt");
    }

    static std::unique_ptr<TRegistry> Opened(const std::string& key = Key,
                                             RegistryRoot root = RegistryRoot::CurrentUser) {
        auto registry = std::make_unique<TRegistry>(root);
        EXPECT_TRUE(registry->OpenKey(key, true)) << key;
        return registry;
    }

    TempDir folder_;
    ScopedEnvironment registryFolder_{"QUARN_REGISTRY_DIR", folder_.Path().string()};
    ScopedEnvironment noSystemLayer_{"QUARN_SYSTEM_REGISTRY_DIR", ""};
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Odd bytes in every place a name or a text can hold them.
const std::vector<std::string> OddTexts = {
    "",
    "plain",
    "/home/me/a.txt\r\n/home/me/b c.txt\r\n",
    "lone\rcr and lone\nlf",
    "say \"hi\" \\ and \\x41 and \\\"",
    std::string("nul\0inside", 10),
    "\x01\x1f\x7f\t control",
    "Gr\xC3\xBC\xC3\x9F"
    "e \xE2\x82\xAC",                          // valid UTF-8
    "latin-1 \xE9t\xE9 and \xFF\xFE and \xC3", // not UTF-8
    "\xED\xA0\x80 surrogate, \xC0\xAF overlong",
    "% and %41 and [brackets] and = and # and ;",
    "  spaces around  ",
};

TEST_F(RegistryTest, StringsWithOddBytesRoundTripAsValueNamesTextsAndKeyNames) {
    for (std::size_t i = 0; i < OddTexts.size(); ++i) {
        const std::string& odd = OddTexts[i];
        const std::string key = std::string(Key) + "\\" + (odd.empty() ? "empty" : odd);
        const std::string name = odd + "#" + std::to_string(i);
        Opened(key)->WriteString(name, odd);
        Opened(Key)->WriteString(name, odd);
    }
    for (std::size_t i = 0; i < OddTexts.size(); ++i) {
        const std::string& odd = OddTexts[i];
        const std::string key = std::string(Key) + "\\" + (odd.empty() ? "empty" : odd);
        const std::string name = odd + "#" + std::to_string(i);
        TRegistry reader;
        ASSERT_TRUE(reader.OpenKeyReadOnly(key)) << i;
        EXPECT_EQ(reader.ReadString(name), odd) << i;
        ASSERT_TRUE(reader.OpenKeyReadOnly(Key));
        EXPECT_EQ(reader.ReadString(name), odd) << i;
        EXPECT_EQ(reader.GetDataType(name), RegistryDataType::String);
    }
    // Every line of the file is one entry: no raw line break, quote or control byte leaks.
    for (const std::string& line : Lines(ReadFileBytes(UserFile()))) {
        EXPECT_EQ(line.find('\r'), std::string::npos) << line;
        EXPECT_EQ(line.find('\0'), std::string::npos) << line;
    }
}

TEST_F(RegistryTest, IntegersBooleansAndBinaryRoundTrip) {
    const std::int32_t numbers[] = {0, 1, -1, 258, INT32_MIN, INT32_MAX};
    std::vector<std::uint8_t> everyByte;
    for (int b = 0; b < 256; ++b) {
        everyByte.push_back(static_cast<std::uint8_t>(b));
    }
    {
        auto registry = Opened();
        for (const std::int32_t n : numbers) {
            registry->WriteInteger("N" + std::to_string(n), n);
        }
        registry->WriteBool("Yes", true);
        registry->WriteBool("No", false);
        registry->WriteBinaryData("Bytes", everyByte);
        registry->WriteBinaryData("None", {});
    }
    TRegistry reader;
    ASSERT_TRUE(reader.OpenKeyReadOnly(Key));
    for (const std::int32_t n : numbers) {
        EXPECT_EQ(reader.ReadInteger("N" + std::to_string(n)), n);
    }
    EXPECT_TRUE(reader.ReadBool("Yes"));
    EXPECT_FALSE(reader.ReadBool("No"));
    EXPECT_TRUE(reader.ReadBool("N258"));
    EXPECT_EQ(reader.ReadInteger("Yes"), 1); // booleans are the numbers 1 and 0
    EXPECT_EQ(reader.ReadBinaryData("Bytes"), everyByte);
    EXPECT_TRUE(reader.ReadBinaryData("None").empty());
    EXPECT_EQ(reader.GetDataType("Yes"), RegistryDataType::DWord);
    EXPECT_EQ(reader.GetDataType("Bytes"), RegistryDataType::Binary);
    EXPECT_EQ(reader.GetDataType("Absent"), std::nullopt);
}

TEST_F(RegistryTest, FileIsPlainTextAPersonCanRead) {
    {
        auto registry = Opened();
        registry->WriteInteger("Startup", 258);
        registry->WriteString("ContextMenu", "/a b\r\n/c\"d\"");
        registry->WriteBinaryData("Data", {0x01, 0xAB});
        registry->WriteString("", "default");
    }
    const std::string text = ReadFileBytes(UserFile());
    EXPECT_NE(text.find("[SOFTWARE\\Ostrel\\Quarn!]\n"
                        "\"Startup\"=dword:00000102\n"
                        "\"ContextMenu\"=\"/a b\\r\\n/c\\\"d\\\"\"\n"
                        "\"Data\"=hex:01,ab\n"
                        "@=\"default\"\n"),
              std::string::npos)
        << text;
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreAsciiCaseAndKeepTheirSpelling) {
    Opened("SOFTWARE\\Ostrel\\Quarn!")->WriteInteger("Startup", 1);
    Opened("software\\OSTREL\\quarn!")->WriteInteger("STARTUP", 2);
    Opened("\\Software\\\\Ostrel\\Quarn!\\")->WriteString("\xC3\x84", "upper umlaut");
    Opened()->WriteString("\xC3\xA4", "lower umlaut"); // no folding beyond ASCII

    TRegistry reader;
    ASSERT_TRUE(reader.OpenKeyReadOnly("SoFtWaRe\\oStReL\\QUARN!"));
    EXPECT_EQ(reader.ReadInteger("startup"), 2);
    EXPECT_EQ(reader.ReadString("\xC3\x84"), "upper umlaut");
    EXPECT_EQ(reader.ReadString("\xC3\xA4"), "lower umlaut");

    const std::string text = ReadFileBytes(UserFile());
    EXPECT_NE(text.find("\"Startup\"=dword:00000002"), std::string::npos) << text;
    EXPECT_EQ(text.find("STARTUP"), std::string::npos) << text;
    EXPECT_EQ(text.find("[software"), std::string::npos) << text;
}

struct TypeCase {
    const char* stored; // "string", "dword", "binary" or "absent"
    const char* read;   // "string", "integer", "bool" or "binary"
    bool fails;
};

std::string Capitalised(std::string word) {
    word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    return word;
}

// "DwordReadAsString": what is stored and how it is read.
std::string CaseName(const TypeCase& c) {
    return Capitalised(c.stored) + "ReadAs" + Capitalised(c.read);
}

void PrintTo(const TypeCase& c, std::ostream* out) {
    *out << CaseName(c) << (c.fails ? " fails" : " succeeds");
}

class RegistryTypeTest : public RegistryTest, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(RegistryTypeTest, ReadsCheckTheStoredType) {
    const TypeCase& c = GetParam();
    auto registry = Opened();
    const std::string stored = c.stored;
    if (stored == "string") {
        registry->WriteString("V", "7");
    } else if (stored == "dword") {
        registry->WriteInteger("V", 7);
    } else if (stored == "binary") {
        registry->WriteBinaryData("V", {7, 0, 0, 0});
    }
    const std::string read = c.read;
    const auto Read = [&] {
        if (read == "string") {
            registry->ReadString("V");
        } else if (read == "integer") {
            registry->ReadInteger("V");
        } else if (read == "bool") {
            registry->ReadBool("V");
        } else {
            registry->ReadBinaryData("V");
        }
    };
    if (c.fails) {
        EXPECT_THROW(Read(), ERegistryException);
    } else {
        EXPECT_NO_THROW(Read());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RegistryTypeTest,
    ::testing::Values(TypeCase{"absent", "string", false}, TypeCase{"absent", "integer", true},
                      TypeCase{"absent", "bool", true}, TypeCase{"absent", "binary", true},
                      TypeCase{"dword", "string", true}, TypeCase{"binary", "string", true},
                      TypeCase{"string", "integer", true}, TypeCase{"string", "bool", true},
                      TypeCase{"binary", "integer", true}, TypeCase{"dword", "binary", true},
                      TypeCase{"string", "string", false}, TypeCase{"dword", "bool", false},
                      TypeCase{"binary", "binary", false}),
    [](const ::testing::TestParamInfo<TypeCase>& info) { return CaseName(info.param); });

TEST_F(RegistryTest, AbsentStringReadsEmpty) {
    EXPECT_EQ(Opened()->ReadString("Favorites"), "");
}

TEST_F(RegistryTest, OpeningCreatingAndClosingKeys) {
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKey(Key, false));
    EXPECT_FALSE(registry.OpenKeyReadOnly(Key));
    EXPECT_FALSE(registry.KeyExists(Key));
    EXPECT_THROW(registry.ReadString("x"), ERegistryException); // no key open
    EXPECT_THROW(registry.WriteString("x", "y"), ERegistryException);

    ASSERT_TRUE(registry.OpenKey(Key, true));
    EXPECT_TRUE(registry.HasOpenKey());
    EXPECT_TRUE(registry.KeyExists("SOFTWARE\\Ostrel")); // parents exist with their children
    EXPECT_TRUE(registry.KeyExists(Key));
    EXPECT_FALSE(registry.ValueExists("Startup"));
    registry.WriteInteger("Startup", 1);
    EXPECT_TRUE(registry.ValueExists("Startup"));
    EXPECT_TRUE(registry.DeleteValue("startup"));
    EXPECT_FALSE(registry.DeleteValue("Startup"));
    registry.CloseKey();
    EXPECT_FALSE(registry.HasOpenKey());

    ASSERT_TRUE(registry.OpenKeyReadOnly(Key));
    EXPECT_THROW(registry.WriteString("x", "y"), ERegistryException);
    EXPECT_FALSE(registry.DeleteValue("x"));
    registry.SetRootKey(RegistryRoot::LocalMachine);
    EXPECT_FALSE(registry.HasOpenKey());
    EXPECT_FALSE(registry.KeyExists(Key)); // each root is a store of its own
}

TEST_F(RegistryTest, BrokenLinesAreSkippedAndKeptVerbatim) {
    const std::string original = "# edited by hand\r\n"
                                 "[SOFTWARE\\Ostrel\\Quarn!]\r\n"
                                 "\"Startup\"=dword:2\r\n"
                                 "\"Bad\"=dword:zz\r\n"
                                 "\"Unclosed\"=\"text\r\n"
                                 "\"Escape\"=\"\\q\"\r\n"
                                 "garbage without equals\r\n"
                                 "  \"Spaced\" = \"ok\"  \r\n"
                                 "[SOFTWARE\\Ostrel\\Broken\r\n"
                                 "\"Orphan\"=\"not in any key\"\r\n"
                                 "[SOFTWARE\\Ostrel\\Quarn!\\Later]\r\n"
                                 "\"After\"=hex:01, 02\r\n"
                                 "\"Last\"=\"no line end\"";
    WriteFileBytes(UserFile(), original);

    TRegistry reader;
    ASSERT_TRUE(reader.OpenKeyReadOnly(Key));
    EXPECT_EQ(reader.ReadInteger("Startup"), 2);
    EXPECT_EQ(reader.ReadString("Spaced"), "ok");
    for (const char* broken : {"Bad", "Unclosed", "Escape", "Orphan"}) {
        EXPECT_FALSE(reader.ValueExists(broken)) << broken;
    }
    ASSERT_TRUE(reader.OpenKeyReadOnly(std::string(Key) + "\\Later"));
    EXPECT_EQ(reader.ReadBinaryData("After"), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(reader.ReadString("Last"), "no line end");
    EXPECT_FALSE(reader.KeyExists("SOFTWARE\\Ostrel\\Broken"));

    Opened()->WriteInteger("Startup", 1);
    Opened()->WriteString("New", "value");
    // Only the lines of the two values changed; the rest is byte for byte as it was.
    EXPECT_EQ(ReadFileBytes(UserFile()), "# edited by hand\r\n"
                                         "[SOFTWARE\\Ostrel\\Quarn!]\r\n"
                                         "\"Startup\"=dword:00000001\n"
                                         "\"Bad\"=dword:zz\r\n"
                                         "\"Unclosed\"=\"text\r\n"
                                         "\"Escape\"=\"\\q\"\r\n"
                                         "garbage without equals\r\n"
                                         "  \"Spaced\" = \"ok\"  \r\n"
                                         "\"New\"=\"value\"\n"
                                         "[SOFTWARE\\Ostrel\\Broken\r\n"
                                         "\"Orphan\"=\"not in any key\"\r\n"
                                         "[SOFTWARE\\Ostrel\\Quarn!\\Later]\r\n"
                                         "\"After\"=hex:01, 02\r\n"
                                         "\"Last\"=\"no line end\"\n");
}

TEST_F(RegistryTest, DuplicateValuesReadTheFirstAndWriteReplacesAll) {
    WriteFileBytes(UserFile(), "[A]\n\"V\"=\"one\"\n[a]\n\"v\"=\"two\"\n");
    auto registry = Opened("A");
    EXPECT_EQ(registry->ReadString("V"), "one");
    registry->WriteString("V", "three");
    EXPECT_EQ(registry->ReadString("V"), "three");
    EXPECT_TRUE(registry->DeleteValue("V"));
    EXPECT_FALSE(registry->ValueExists("V"));
}

TEST_F(RegistryTest, UnreadableFileFailsReadsAndIsNeverOverwritten) {
    const std::string userText = "[K]\n\"V\"=\"kept\"\n";
    WriteFileBytes(UserFile(), userText);
    // A folder in the place of the file cannot be read: nothing may replace it.
    const std::string blocked = UserFile("HKEY_LOCAL_MACHINE");
    ASSERT_EQ(::mkdir(blocked.c_str(), 0700), 0);
    TRegistry machine(RegistryRoot::LocalMachine);
    EXPECT_FALSE(machine.OpenKey("K", true));
    EXPECT_FALSE(machine.KeyExists("K"));
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    EXPECT_EQ(ReadFileBytes(UserFile()), userText);
}

// Runs check in a child process of an ordinary user when the tests run as root, who could
// write anywhere; returns the check's result (0 = passed).
int AsOrdinaryUser(const std::function<int()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    const pid_t child = ::fork();
    if (child == 0) {
        int result = 100;
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
            try {
                result = check();
            } catch (...) {
                result = 101;
            }
        }
        ::_exit(result);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 102;
}

// A folder outside the private test root, so that another user may look into it.
class SharedFolder {
public:
    SharedFolder() {
        std::string pattern = "/tmp/quarn-registry-XXXXXX";
        path_ = ::mkdtemp(pattern.data());
        ::chmod(path_.c_str(), 0755);
    }
    ~SharedFolder() {
        ::chmod(path_.c_str(), 0755);
        std::filesystem::remove_all(path_);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

TEST_F(RegistryTest, RootThatCannotBeWrittenOpensOnlyForReading) {
    SharedFolder readOnly;
    WriteFileBytes(readOnly.Path() + "/HKEY_LOCAL_MACHINE.txt",
                   "[SOFTWARE\\Ostrel\\Quarn!]\n\"Path\"=\"/opt/quarn/bin\"\n");
    ::chmod(readOnly.Path().c_str(), 0555);
    SharedFolder readOnlyFile;
    ::chmod(readOnlyFile.Path().c_str(), 0777);
    WriteFileBytes(readOnlyFile.Path() + "/HKEY_CURRENT_USER.txt", "[K]\n");
    ::chmod((readOnlyFile.Path() + "/HKEY_CURRENT_USER.txt").c_str(), 0444);

    const int failed = AsOrdinaryUser([&] {
        ScopedEnvironment folder("QUARN_REGISTRY_DIR", readOnly.Path());
        TRegistry machine(RegistryRoot::LocalMachine);
        if (machine.OpenKey(Key, true) || machine.OpenKey(Key, false)) {
            return 1;
        }
        if (!machine.OpenKeyReadOnly(Key) || machine.ReadString("Path") != "/opt/quarn/bin") {
            return 2;
        }
        TRegistry user; // no file yet, and none can be made
        if (user.OpenKey(Key, true) ||
            test::PathExists(readOnly.Path() + "/HKEY_CURRENT_USER.txt")) {
            return 3;
        }
        ScopedEnvironment other("QUARN_REGISTRY_DIR", readOnlyFile.Path());
        if (user.OpenKey("K", true) || !user.OpenKeyReadOnly("K")) {
            return 4;
        }
        return 0;
    });
    EXPECT_EQ(failed, 0) << "check " << failed << " failed";
}

class RegistrySystemLayerTest : public RegistryTest {
protected:
    void SetUp() override {
        WriteFileBytes(system_ / "HKEY_CLASSES_ROOT.txt",
                       "[CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32]\n"
                       "@=\"/usr/lib/quarn/libhhctrl.so\"\n"
                       "\"ThreadingModel\"=\"Apartment\"\n");
        WriteFileBytes(system_ / "HKEY_CURRENT_USER.txt", "[Only\\Machine\\Roots]\n");
    }

    TempDir system_;
    ScopedEnvironment systemFolder_{"QUARN_SYSTEM_REGISTRY_DIR", system_.Path().string()};
    const std::string clsid_ = "CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}\\InprocServer32";
};

TEST_F(RegistrySystemLayerTest, ReadsFallBackToTheInstalledLayer) {
    TRegistry classes(RegistryRoot::ClassesRoot);
    EXPECT_TRUE(classes.KeyExists("CLSID"));
    ASSERT_TRUE(classes.OpenKeyReadOnly(clsid_));
    EXPECT_EQ(classes.ReadString(""), "/usr/lib/quarn/libhhctrl.so");
    EXPECT_FALSE(TRegistry().KeyExists("Only\\Machine\\Roots"));
    EXPECT_FALSE(TRegistry(RegistryRoot::LocalMachine).KeyExists("CLSID"));
    // Reading leaves the installed folder as setup made it: no lock files appear there.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(system_.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"HKEY_CLASSES_ROOT.txt", "HKEY_CURRENT_USER.txt"}));
}

TEST_F(RegistrySystemLayerTest, TheUsersKeyWinsAndWritesNeverTouchTheLayer) {
    const std::string layer = ReadFileBytes(system_ / "HKEY_CLASSES_ROOT.txt");
    TRegistry classes(RegistryRoot::ClassesRoot);
    ASSERT_TRUE(classes.OpenKey(clsid_, false));
    classes.WriteString("", "/home/me/libhhctrl.so");
    EXPECT_EQ(classes.ReadString(""), "/home/me/libhhctrl.so");
    EXPECT_EQ(classes.ReadString("ThreadingModel"), "Apartment"); // taken over with the key
    EXPECT_TRUE(classes.DeleteValue("ThreadingModel"));
    EXPECT_FALSE(classes.ValueExists("ThreadingModel"));
    EXPECT_EQ(ReadFileBytes(system_ / "HKEY_CLASSES_ROOT.txt"), layer);
    EXPECT_NE(ReadFileBytes(UserFile("HKEY_CLASSES_ROOT")).find("/home/me/libhhctrl.so"),
              std::string::npos);
}

} // namespace
} // namespace quarn
