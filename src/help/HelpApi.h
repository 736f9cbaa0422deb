#pragma once

#include <cstdint>
#include <string>

namespace quarn {

// Commands of the help control that the programs use.
constexpr unsigned HH_DISPLAY_TOPIC = 0;
constexpr unsigned HH_CLOSE_ALL = 18;

// The help control's registration: its default value is the control's path.
inline constexpr const char* HtmlHelpControlKey =
    "CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}\\InprocServer32";

// Entry points exported by the help control (extern "C" HtmlHelpA / HtmlHelpW).
// caller: the calling window or 0; file: "<chm>" or "<chm>::/<topic>.htm" (no file for
// HH_CLOSE_ALL); data: 0. Result: the help window's handle, or 0 on failure.
using HtmlHelpAProc = std::uintptr_t (*)(std::uintptr_t caller, const char* file, unsigned command,
                                         std::uintptr_t data);
using HtmlHelpWProc = std::uintptr_t (*)(std::uintptr_t caller, const wchar_t* file,
                                         unsigned command, std::uintptr_t data);

// The control's path from HKEY_CLASSES_ROOT, or "" when it is not registered or its file
// does not exist.
std::string FindHtmlHelpControl();
// Loads the registered control and resolves its entries, unless one is loaded already.
void BindHtmlHelp();
// Unloads the control; every help window it still shows is closed with it.
void ReleaseHtmlHelp();
bool HtmlHelpBound();

// The generic entry every help call goes through; 0 when no control is loaded.
std::uintptr_t HtmlHelp(std::uintptr_t caller, const char* file, unsigned command,
                        std::uintptr_t data);

// Writes the control's path as the default value of the registration key in the user's
// registry. False when the key cannot be written.
bool RegisterHtmlHelpControl(const std::string& controlPath);

} // namespace quarn
