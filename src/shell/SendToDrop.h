#pragma once

#include "shell/DataTransfer.h"

#include <string>

namespace quarn {

// Drops the data object on the entry name of the SendTo folder as a left-button copy: a
// folder there, or a link to one, takes copies of the items. Raises EOleSysError when the
// folder or the entry cannot be had or the entry takes no drop.
void DropDataObject(const std::string& name, IDataObject* data);

} // namespace quarn
