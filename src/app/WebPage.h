#pragma once

#include <string>

namespace quarn {

// The product's home page.
inline constexpr const char* QuarnHomePage = "https://quarn.ostrel.example/";
// Its support page.
inline constexpr const char* QuarnSupportPage = "https://quarn.ostrel.example/support/";

// Opens address in the desktop's web browser. When none opens it, the information box
// "Unable to launch web browser: ..." tells the user the address; the result is false.
bool OpenWebPage(const std::string& address);

} // namespace quarn
