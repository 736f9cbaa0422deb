#include "TestHome.h"

#include "TestFiles.h"

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
} // namespace

const std::filesystem::path& TestRoot() {
    static const std::filesystem::path root = MakeRoot();
    return root;
}

PrivateTestHome::PrivateTestHome() {
    const std::pair<const char*, const char*> folders[] = {
        {"HOME", "home"},           {"XDG_CONFIG_HOME", "config"},
        {"XDG_DATA_HOME", "data"},  {"XDG_CACHE_HOME", "cache"},
        {"XDG_RUNTIME_DIR", "run"}, {"QUARN_REGISTRY_DIR", "registry"},
    };
    for (const auto& [variable, folder] : folders) {
        const auto path = TestRoot() / folder;
        std::filesystem::create_directories(path);
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        setenv(variable, path.c_str(), 1);
    }
}

PrivateTestHome::~PrivateTestHome() {
    std::error_code ignored;
    std::filesystem::remove_all(TestRoot(), ignored);
}

void EmptyTestRegistry() {
    const char* registry = std::getenv("QUARN_REGISTRY_DIR");
    ASSERT_NE(registry, nullptr);
    for (const auto& entry : std::filesystem::directory_iterator(registry)) {
        std::filesystem::remove_all(entry.path());
    }
}

} // namespace quarn::test
