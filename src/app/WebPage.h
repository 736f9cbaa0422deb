#pragma once

#include <string>

namespace quarn {

// The product's home page.
inline constexpr const char* QuarnHomePage = "https://quarn.ostrel.example/";
// Its support page.
inline constexpr const char* QuarnSupportPage = "https://quarn.ostrel.example/support/";

// Opens address in the desktop's web browser, through the desktop's opener, and returns at
// once. When no browser opens it, the information box "Unable to launch web browser: ..."
// tells the user the address: at once for what is no web address (the result is false),
// later, from the event loop, when the opener reports its failure.
bool OpenWebPage(const std::string& address);

} // namespace quarn
