#pragma once

// What the default keys do in a control, and the one switch that runs them.

#include <Qt>
#include <functional>
#include <string>

namespace quarn {

// A control's actions for the keys of DefaultKeyTable; an empty action leaves its key to the
// view.
struct TSCDefaultKeyActions {
    std::function<void()> selectAll = {};                         // Ctrl+A
    std::function<void()> rename = {};                            // F2
    std::function<void()> refresh = {};                           // F5
    std::function<void(const std::string& verb)> itemVerb = {};   // "copy", "cut", "delete"
    std::function<void(const std::string& verb)> folderVerb = {}; // "paste"
    std::function<void()> afterChange = {};                       // after a paste or a delete
};

// Runs the action of the default key pressed and consumes the key (sets it to 0); a key that
// is no default key, or whose action is empty, stays as it is.
void RunDefaultKey(int& key, Qt::KeyboardModifiers shift, const TSCDefaultKeyActions& actions);

} // namespace quarn
