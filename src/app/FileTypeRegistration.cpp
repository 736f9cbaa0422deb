#include "app/FileTypeRegistration.h"

#include "app/DesktopIntegration.h"
#include "platform/Registry.h"

#include <utility>

namespace quarn {

void RegisterFileType(const std::string& extension, const std::string& progID,
                      const std::string& description, const std::string& programPath, int iconIndex,
                      bool notify) {
    const std::pair<std::string, std::string> keys[] = {
        {extension, progID},
        {progID, description},
        {progID + "\\DefaultIcon", programPath + "," + std::to_string(iconIndex)},
        {progID + "\\Shell\\Open", "&Open"},
        {progID + "\\Shell\\Open\\Command", "\"" + programPath + "\" \"%1\""},
    };
    TRegistry registry(RegistryRoot::ClassesRoot);
    for (const auto& [key, value] : keys) {
        try {
            if (registry.OpenKey(key, true)) {
                const RegistryKeyGuard close(registry);
                registry.WriteString("", value);
            }
        } catch (const ERegistryException&) {
            // Skipped like a key that does not open; the next one follows.
        }
    }
    if (notify) {
        PublishFileType({extension, progID, description, programPath});
    }
}

} // namespace quarn
