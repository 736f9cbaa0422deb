// Every test process runs in a private temporary home: registry, XDG folders and HOME
// all point below it, so no test touches the user's files.
#include "TestFiles.h"

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <stdexcept>

namespace quarn::test {

namespace {
std::filesystem::path MakeRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quarn-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    return pattern;
}

void PointEnvironmentAt(const std::filesystem::path& root) {
    const std::pair<const char*, const char*> folders[] = {
        {"HOME", "home"},           {"XDG_CONFIG_HOME", "config"},
        {"XDG_DATA_HOME", "data"},  {"XDG_CACHE_HOME", "cache"},
        {"XDG_RUNTIME_DIR", "run"}, {"QUARN_REGISTRY_DIR", "registry"},
    };
    for (const auto& [variable, folder] : folders) {
        const auto path = root / folder;
        std::filesystem::create_directories(path);
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        setenv(variable, path.c_str(), 1);
    }
}
} // namespace

const std::filesystem::path& TestRoot() {
    static const std::filesystem::path root = MakeRoot();
    return root;
}

} // namespace quarn::test

int main(int argc, char** argv) {
    const auto& root = quarn::test::TestRoot();
    quarn::test::PointEnvironmentAt(root);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int result = 0;
    {
        QApplication app(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return result;
}
