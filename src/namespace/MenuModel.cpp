#include "namespace/MenuModel.h"

#include <algorithm>

namespace quarn {

void MenuModel::Insert(std::size_t position, MenuItem item) {
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(std::min(position, items_.size())),
                  std::move(item));
}

int MenuModel::DefaultItem() const {
    const auto item = std::find_if(items_.begin(), items_.end(), [](const MenuItem& each) {
        return (each.flags & MFS_DEFAULT) != 0;
    });
    return item == items_.end() ? -1 : static_cast<int>(item->id);
}

} // namespace quarn
