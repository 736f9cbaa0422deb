#include "AccessibilityFaults.h"

#include <QAccessible>
#include <QAction>
#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <algorithm>
#include <set>
#include <utility>

namespace quarn::test {

namespace {

using Roles = std::set<std::string>;

// Roles whose objects need no name: what they hold speaks for itself.
const Roles NamelessRoles = {"filler",    "panel",      "layered pane", "split pane",
                             "separator", "menu bar",   "status bar",   "page tab list",
                             "label",     "application"};
const Roles ContainerRoles = {"filler", "panel"};
const Roles NeverRight = {"unknown", "invalid"};

// The roles an object of each kind may have, the most derived kinds first.
const std::vector<std::pair<const char*, Roles>> RolesOfKinds = {
    {"QMenu", {"popup menu"}},
    {"QMenuBar", {"menu bar"}},
    {"QToolBar", {"tool bar"}},
    {"QToolBarSeparator", {"separator"}},
    {"QStatusBar", {"status bar"}},
    {"quarn::TStatusBar", {"status bar"}},
    {"QSplitterHandle", {"separator"}},
    {"QSplitter", {"split pane"}},
    {"QSizeGrip", {"image"}},
    {"QRadioButton", {"radio button"}},
    {"QCheckBox", {"check box"}},
    {"QPushButton", {"push button"}},
    {"QProgressBar", {"progress bar"}},
    {"QTabBar", {"page tab list"}},
    {"QTreeView", {"tree", "tree table"}},
    {"QListView", {"list"}},
    {"QStackedWidget", {"layered pane"}},
    {"QGroupBox", {"panel"}},
    {"quarn::TKVBEllipsisLabel", {"label"}},
    {"QLabel", {"label", "image"}},
};

Roles ExpectedRoles(const QObject* object) {
    if (const auto* action = qobject_cast<const QAction*>(object)) {
        return {action->isSeparator() ? "separator" : "menu item"};
    }
    if (const auto* button = qobject_cast<const QToolButton*>(object)) {
        // A button that drops a menu down is pressed, whether or not it stays down.
        const bool toggles = button->isCheckable() && button->menu() == nullptr;
        return toggles ? Roles{"check box", "toggle button"} : Roles{"push button"};
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(object)) {
        return {edit->echoMode() == QLineEdit::Normal ? "text" : "password text"};
    }
    for (const auto& [kind, roles] : RolesOfKinds) {
        if (object->inherits(kind)) {
            return roles;
        }
    }
    const auto* widget = qobject_cast<const QWidget*>(object);
    if (widget != nullptr && widget->isWindow()) {
        return {qobject_cast<const QDialog*>(widget) != nullptr ? "dialog" : "frame"};
    }
    const auto* frame = qobject_cast<const QFrame*>(object);
    if (frame != nullptr &&
        (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine)) {
        return {"separator"};
    }
    return {};
}

// "fOptions/PageControl1/.../rbFastWipe (QRadioButton)", or the object's role and name with
// its parent's description for the items of views, which have no object of their own.
std::string Describe(const AtSpiObject& object, const QAccessibleInterface* iface) {
    const QObject* qobject = iface != nullptr ? iface->object() : nullptr;
    if (qobject == nullptr || qobject_cast<const QAction*>(qobject) != nullptr) {
        std::string text = "\"" + object.name + "\" (" + object.role + ")";
        const QAccessibleInterface* parent = iface != nullptr ? iface->parent() : nullptr;
        if (parent != nullptr && parent->object() != nullptr) {
            text += " in " + parent->object()->objectName().toStdString();
        }
        return text;
    }
    std::string path;
    for (const QObject* each = qobject; each != nullptr; each = each->parent()) {
        const QString name =
            each->objectName().isEmpty() ? QStringLiteral("?") : each->objectName();
        path = name.toStdString() + (path.empty() ? "" : "/") + path;
        if (each->isWidgetType() && static_cast<const QWidget*>(each)->isWindow()) {
            break;
        }
    }
    return path + " (" + qobject->metaObject()->className() + ")";
}

std::string Quoted(const Roles& roles) {
    std::string text;
    for (const std::string& role : roles) {
        text += (text.empty() ? "\"" : " or \"") + role + "\"";
    }
    return text;
}

// Qt reads the header of a column without a title as the column's number.
bool IsNumber(const std::string& name) {
    return !name.empty() &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A container may take the focus for a control inside it, as a tab widget does for its tabs.
bool PassesFocusOn(const QObject* object) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget != nullptr && widget->focusProxy() != nullptr;
}

} // namespace

std::vector<std::string> AccessibilityFaults(const std::vector<AtSpiObject>& tree) {
    std::vector<std::string> faults;
    for (const AtSpiObject& object : tree) {
        const QAccessibleInterface* iface = InterfaceOf(object);
        const QObject* qobject = iface != nullptr ? iface->object() : nullptr;
        const std::string what = Describe(object, iface);
        if (NeverRight.count(object.role) != 0) {
            faults.push_back(what + " has the role \"" + object.role + "\"");
        }
        const Roles expected = qobject != nullptr ? ExpectedRoles(qobject) : Roles{};
        if (!expected.empty() && expected.count(object.role) == 0) {
            faults.push_back(what + " is announced as \"" + object.role + "\", not as " +
                             Quoted(expected));
        }
        if (object.name.empty() && NamelessRoles.count(object.role) == 0) {
            faults.push_back(what + " has no name");
        }
        if (object.role == "table column header" && IsNumber(object.name)) {
            faults.push_back(what + " is read as a number: its column has no title");
        }
        if (object.Has("focusable") && ContainerRoles.count(object.role) != 0 &&
            !PassesFocusOn(qobject)) {
            faults.push_back(what + " takes the focus as a \"" + object.role + "\"");
        }
    }
    return faults;
}

} // namespace quarn::test
