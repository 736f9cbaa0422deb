#include "shell/dragdrop/DataTransfer.h"

#include <map>
#include <mutex>

namespace quarn {

CLIPFORMAT RegisterClipboardFormat(const std::string& name) {
    static std::mutex mutex;
    static std::map<std::string, CLIPFORMAT> formats;
    const std::lock_guard lock(mutex);
    const auto [entry, added] =
        formats.try_emplace(name, static_cast<CLIPFORMAT>(0xC000 + formats.size()));
    return entry->second;
}

CLIPFORMAT ShellIdListFormat() {
    static const CLIPFORMAT format = RegisterClipboardFormat(CFSTR_SHELLIDLIST);
    return format;
}

} // namespace quarn
