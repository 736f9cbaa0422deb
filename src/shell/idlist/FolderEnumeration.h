#pragma once

// The reading of a folder's enumerator, for the tree's fill and refresh and the list's.

#include "namespace/ShellFolder.h"

#include <functional>

namespace quarn {

// "No more items" as an error code (ERROR_NO_MORE_ITEMS in an HRESULT).
inline constexpr HRESULT NoMoreItems = static_cast<HRESULT>(0x80070103);

// Next's answer ended the enumeration normally: S_FALSE, the end the interface defines, or
// NoMoreItems, which some folders answer for the same end; it says nothing was left, so it is
// no failure.
bool IsEnumerationEnd(HRESULT answer);

// Hands the enumerator's items to take one by one, in order, until Next answers anything but
// S_OK, and answers that. An exception of take ends the reading.
HRESULT EnumerateItems(IEnumIDList& items, const std::function<void(PidlPtr item)>& take);

// After a fill: an enumeration that broke off rather than ended raises; E_FAIL, which names no
// reason, silently (EAbort), any other code with the system's text.
void CheckEnumerationEnd(HRESULT answer);

} // namespace quarn
