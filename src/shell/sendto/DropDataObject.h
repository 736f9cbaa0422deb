#pragma once

#include "shell/dragdrop/DataTransfer.h"

#include <string>

namespace quarn {

// Drops the items of a data object on the entry name of the Send To folder, as SendFilesTo
// sends their paths there (SendToTarget.h). Raises EOleSysError when the Send To folder or
// the entry cannot be found.
void DropDataObject(const std::string& name, IDataObject* data);

} // namespace quarn
