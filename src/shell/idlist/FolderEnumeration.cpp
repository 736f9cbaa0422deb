#include "shell/idlist/FolderEnumeration.h"

#include "shell/common/ShellErrors.h"
#include "shell/idlist/ShellItemRoutines.h"

#include <utility>

namespace quarn {

bool IsEnumerationEnd(HRESULT answer) {
    return answer == S_FALSE || answer == NoMoreItems;
}

HRESULT EnumerateItems(IEnumIDList& items, const std::function<void(PidlPtr item)>& take) {
    for (;;) {
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        const HRESULT answer = items.Next(1, &item, &fetched);
        PidlPtr owned(item);
        if (answer != S_OK) {
            return answer;
        }
        take(std::move(owned));
    }
}

void CheckEnumerationEnd(HRESULT answer) {
    if (IsEnumerationEnd(answer)) {
        return;
    }
    if (answer == E_FAIL) {
        throw EAbort();
    }
    RaiseOSError(answer);
}

} // namespace quarn
