#pragma once

#include <set>
#include <string>
#include <vector>

class QAccessibleInterface;

namespace quarn::test {

// One object of this program's accessible tree as a screen reader gets it over AT-SPI.
struct AtSpiObject {
    std::string path;   // its D-Bus object path
    std::string parent; // its parent's path; empty for the application
    std::string role;   // AT-SPI's role name: "push button", "frame", ...
    std::string name;
    std::set<std::string> states; // "showing", "focusable", ...

    bool Has(const char* state) const { return states.count(state) != 0; }
};

// This process's accessible tree as the AT-SPI client atspi-tree reads it, while this
// process answers the client's questions. The test fails when the client does.
std::vector<AtSpiObject> ReadOwnAccessibleTree();

// The interface in this process behind an object of the tree; none for the application.
QAccessibleInterface* InterfaceOf(const AtSpiObject& object);

} // namespace quarn::test
