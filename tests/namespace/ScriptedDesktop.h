#pragma once

#include "namespace/DesktopServices.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quarn::test {

// Desktop services that only record: what was opened, the properties asked for, and a
// clipboard of its own.
class ScriptedDesktop : public DesktopServices {
public:
    void OpenPath(const std::string& path, std::function<void()> failed) override {
        opened.push_back(path);
        if (!opens) {
            failed();
        }
    }
    void SetClipboard(const MimeData& data) override { clipboard = data; }
    MimeData Clipboard() override { return clipboard; }
    void ShowProperties(HWND owner, const std::vector<std::string>& paths) override {
        properties.emplace_back(owner, paths);
    }

    bool opens = true; // false: every OpenPath fails at once
    std::vector<std::string> opened;
    MimeData clipboard;
    std::vector<std::pair<HWND, std::vector<std::string>>> properties;
};

// Installs a ScriptedDesktop for the object's lifetime.
class ScopedScriptedDesktop {
public:
    ScopedScriptedDesktop() {
        auto desktop = std::make_unique<ScriptedDesktop>();
        desktop_ = desktop.get();
        previous_ = InstallDesktopServices(std::move(desktop));
    }
    ~ScopedScriptedDesktop() { InstallDesktopServices(std::move(previous_)); }
    ScopedScriptedDesktop(const ScopedScriptedDesktop&) = delete;
    ScopedScriptedDesktop& operator=(const ScopedScriptedDesktop&) = delete;

    ScriptedDesktop* operator->() { return desktop_; }
    ScriptedDesktop& operator*() { return *desktop_; }

private:
    ScriptedDesktop* desktop_;
    std::unique_ptr<DesktopServices> previous_;
};

} // namespace quarn::test
