#pragma once

#include <exception>
#include <string>

namespace quarn {

// Handles pending window events, as long operations do between blocks.
void ProcessMessages();

// The program's title, the caption of every message box.
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

// The application's default error report: an error box with the exception's message.
// Never throws; every event handler hands what it caught to this (platform/gui/Guard.h).
void ReportException(std::exception_ptr error);

} // namespace quarn
