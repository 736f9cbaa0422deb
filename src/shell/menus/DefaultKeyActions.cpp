#include "shell/menus/DefaultKeyActions.h"

#include "shell/menus/ShortcutKeys.h"
#include "shell/winapi/VirtualKeys.h"

namespace quarn {

namespace {

// Consumes the key for an action there is, and runs it; false when there is none.
template <typename Action, typename... Args>
bool Take(int& key, const Action& action, const Args&... args) {
    if (!action) {
        return false;
    }
    key = 0;
    action(args...);
    return true;
}

} // namespace

void RunDefaultKey(int& key, Qt::KeyboardModifiers shift, const TSCDefaultKeyActions& actions) {
    const auto changed = [&](bool taken) {
        if (taken && actions.afterChange) {
            actions.afterChange();
        }
    };
    switch (FindDefaultKey(ShortcutCodeOf(key, shift))) {
    case SelectAllKey:
        Take(key, actions.selectAll);
        break;
    case RenameKey:
        Take(key, actions.rename);
        break;
    case RefreshKey:
        Take(key, actions.refresh);
        break;
    case CopyKey:
        Take(key, actions.itemVerb, std::string("copy"));
        break;
    case CutKey:
        Take(key, actions.itemVerb, std::string("cut"));
        break;
    case PasteKey:
        changed(Take(key, actions.folderVerb, std::string("paste")));
        break;
    case DeleteKey:
        changed(Take(key, actions.itemVerb, std::string("delete")));
        break;
    default:
        break;
    }
}

} // namespace quarn
