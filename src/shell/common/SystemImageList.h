#pragma once

#include "namespace/ItemIdList.h"

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <cstdint>
#include <string>

namespace quarn {

// The process-wide image list of the shell controls: the namespace's icon names, each given
// an index on first use (index 0 is never handed out) and drawn from the icon theme, or from
// the style's standard icons where the theme has none. The small and the large list share
// their indexes.
class TSystemImageList {
public:
    enum Kind { Small = 0, Large = 1 };

    QSize ImageSize() const { return {size_, size_}; }
    int Count() const; // images, the unused index 0 included
    QIcon Icon(int index) const;
    QPixmap Pixmap(int index) const;
    // The image of overlay 1 (shared) or 2 (link); 0 before the overlays are installed.
    int OverlayImage(int overlay) const;

private:
    friend TSystemImageList* GetSystemImageList(int kind);
    explicit TSystemImageList(int size) : size_(size) {}
    int size_;
};

// The index of the icon name that the namespace gives for an absolute list (nil: the
// desktop); extraFlags may add SHGFI_SMALLICON and SHGFI_OPENICON. 0 when it has none.
int GetPidlIconIndex(LPCITEMIDLIST list, std::uint32_t extraFlags);
// kind 0 small (16), 1 large (32); installs the overlays first where the platform allows.
TSystemImageList* GetSystemImageList(int kind);
void InitSystemImageListOverlays();
bool SystemImageListOverlaysInstalled();

// The index of an icon name, added when new.
int SystemIconIndex(const std::string& iconName);

} // namespace quarn
