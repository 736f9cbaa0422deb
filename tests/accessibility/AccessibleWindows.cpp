#include "AccessibleWindows.h"

#include "AccessibilityFaults.h"

#include <QAccessible>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace quarn::test {

std::vector<AtSpiObject> WindowTree(const std::vector<AtSpiObject>& tree, const QWidget& window) {
    std::vector<AtSpiObject> inside;
    std::set<std::string> paths;
    // Parents come before their children.
    for (const AtSpiObject& object : tree) {
        const QAccessibleInterface* iface = InterfaceOf(object);
        if ((iface != nullptr && iface->object() == &window) || paths.count(object.parent) != 0) {
            paths.insert(object.path);
            inside.push_back(object);
        }
    }
    return inside;
}

std::vector<AtSpiObject> ExpectReadable(const QWidget& window, const std::string& role) {
    const std::vector<AtSpiObject> tree = WindowTree(ReadOwnAccessibleTree(), window);
    if (tree.empty()) {
        ADD_FAILURE() << window.objectName().toStdString() << " is not on the accessibility bus";
        return tree;
    }
    EXPECT_EQ(tree.front().role, role);
    EXPECT_EQ(tree.front().name, window.windowTitle().toStdString());
    for (const std::string& fault : AccessibilityFaults(tree)) {
        ADD_FAILURE() << fault;
    }
    return tree;
}

bool Holds(const std::vector<AtSpiObject>& tree, const std::string& role, const std::string& name) {
    return std::any_of(tree.begin(), tree.end(), [&](const AtSpiObject& object) {
        return object.role == role && object.name == name;
    });
}

} // namespace quarn::test
