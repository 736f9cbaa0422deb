#include "app/ItemFilters.h"

#include "namespace/ShellConstants.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellFolders.h"

namespace quarn {

bool TreeShowsItem(LPCITEMIDLIST parentAbsolutePidl, LPCITEMIDLIST itemRelativePidl) {
    const PidlPtr item(JoinPidls(GetShellMalloc(), parentAbsolutePidl, itemRelativePidl));
    return !PidlIsSpecialFolder(item.get(), CSIDL_BITBUCKET);
}

bool ListShowsItem(SFGAOF attributes, const std::string& parsingName) {
    if ((attributes & (SFGAO_FOLDER | SFGAO_LINK)) != 0) {
        return false;
    }
    return parsingName.rfind("::", 0) != 0;
}

} // namespace quarn
