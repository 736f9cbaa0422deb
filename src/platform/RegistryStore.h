#pragma once

#include "platform/Registry.h"
#include "platform/RegistryDocument.h"

#include <functional>
#include <string>

namespace quarn {

// The file name part of a root: "HKEY_CURRENT_USER" and so on.
std::string RegistryRootName(RegistryRoot root);

// One root's file in one folder, with its lock file beside it. Failures raise
// ERegistryException with the system's reason.
class RegistryStore {
public:
    RegistryStore(std::string folder, RegistryRoot root);

    // The file as it is (empty when it does not exist), read under a shared lock.
    RegistryDocument Load() const;
    // Whether the folder (created when missing) and the file may be written.
    bool CanWrite() const;
    // Under the exclusive lock: re-reads the file, lets change edit it and, when the text
    // changed, replaces the file atomically and syncs it and its folder.
    void Update(const std::function<void(RegistryDocument&)>& change) const;

private:
    std::string folder_;
    std::string rootName_;
    std::string file_;
    std::string lockFile_;
};

} // namespace quarn
