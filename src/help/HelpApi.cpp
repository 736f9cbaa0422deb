#include "help/HelpApi.h"

#include "platform/PosixFile.h"
#include "platform/Registry.h"

#include <dlfcn.h>
#include <memory>

namespace quarn {

namespace {

struct LibraryCloser {
    void operator()(void* handle) const { dlclose(handle); }
};
using LibraryHandle = std::unique_ptr<void, LibraryCloser>;

// The loaded control and its entries; the generic entry is the one every call uses.
struct HelpControl {
    LibraryHandle library;
    HtmlHelpAProc htmlHelpA = nullptr;
    HtmlHelpWProc htmlHelpW = nullptr;
    HtmlHelpAProc generic = nullptr;
};

HelpControl& Control() {
    static HelpControl control;
    return control;
}

} // namespace

std::string FindHtmlHelpControl() {
    try {
        TRegistry registry(RegistryRoot::ClassesRoot);
        if (!registry.OpenKeyReadOnly(HtmlHelpControlKey)) {
            return {};
        }
        std::string path = registry.ReadString("");
        return IsRegularFile(path) ? path : std::string();
    } catch (const ERegistryException&) {
        return {}; // a value of another type or an unreadable registry: not registered
    }
}

void BindHtmlHelp() {
    HelpControl& control = Control();
    if (control.library) {
        return;
    }
    const std::string path = FindHtmlHelpControl();
    if (path.empty()) {
        return;
    }
    LibraryHandle library(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!library) {
        return;
    }
    auto* htmlHelpA = reinterpret_cast<HtmlHelpAProc>(dlsym(library.get(), "HtmlHelpA"));
    if (htmlHelpA == nullptr) {
        return; // not a help control
    }
    control.htmlHelpA = htmlHelpA;
    control.htmlHelpW = reinterpret_cast<HtmlHelpWProc>(dlsym(library.get(), "HtmlHelpW"));
    control.generic = htmlHelpA;
    control.library = std::move(library);
}

void ReleaseHtmlHelp() {
    HelpControl& control = Control();
    control.generic = nullptr;
    control.htmlHelpA = nullptr;
    control.htmlHelpW = nullptr;
    control.library.reset();
}

bool HtmlHelpBound() {
    return Control().generic != nullptr;
}

std::uintptr_t HtmlHelp(std::uintptr_t caller, const char* file, unsigned command,
                        std::uintptr_t data) {
    const HtmlHelpAProc entry = Control().generic;
    return entry != nullptr ? entry(caller, file, command, data) : 0;
}

bool RegisterHtmlHelpControl(const std::string& controlPath) {
    try {
        TRegistry registry(RegistryRoot::ClassesRoot);
        if (!registry.OpenKey(HtmlHelpControlKey, true)) {
            return false;
        }
        registry.WriteString("", controlPath);
        return true;
    } catch (const ERegistryException&) {
        return false;
    }
}

} // namespace quarn
