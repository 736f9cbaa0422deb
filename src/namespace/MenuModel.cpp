#include "namespace/MenuModel.h"

#include <algorithm>

namespace quarn {

void MenuModel::Insert(std::size_t position, MenuItem item) {
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(std::min(position, items_.size())),
                  std::move(item));
}

} // namespace quarn
