#pragma once

#include "AtSpiTree.h"

#include <string>
#include <vector>

namespace quarn::test {

// What a screen reader is told wrongly of the objects of a tree, one text per fault naming
// the object: a role that does not match what the object is (a radio button announced as a
// check box, a window as a filler, a role "unknown"), a control without a name or with a
// column's number for one, a focus that lands on a mere container. Labels, separators and
// containers may go without a name.
std::vector<std::string> AccessibilityFaults(const std::vector<AtSpiObject>& tree);

} // namespace quarn::test
