#pragma once

#include "AtSpiTree.h"

#include <string>
#include <vector>

class QWidget;

namespace quarn::test {

// The objects of tree from window down: the window and everything inside it.
std::vector<AtSpiObject> WindowTree(const std::vector<AtSpiObject>& tree, const QWidget& window);

// Reads this process's tree over AT-SPI and expects window in it with role and its title as
// name, and no fault in the window's tree. The window's tree is returned for further checks.
std::vector<AtSpiObject> ExpectReadable(const QWidget& window, const std::string& role);

// The tree holds an object of this role and name.
bool Holds(const std::vector<AtSpiObject>& tree, const std::string& role, const std::string& name);

} // namespace quarn::test
