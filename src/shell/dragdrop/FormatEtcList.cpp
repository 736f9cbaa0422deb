#include "shell/dragdrop/FormatEtcList.h"

#include <cstring>

namespace quarn {

FORMATETC CopyFormatEtc(const FORMATETC& format) {
    FORMATETC copy = format;
    if (format.ptd != nullptr) {
        const std::size_t size = std::max<std::size_t>(format.ptd->tdSize, sizeof(DVTARGETDEVICE));
        copy.ptd = static_cast<DVTARGETDEVICE*>(::operator new(size));
        std::memcpy(copy.ptd, format.ptd, size);
        copy.ptd->tdSize = static_cast<std::uint32_t>(size);
    }
    return copy;
}

void FreeFormatEtc(FORMATETC& format) {
    ::operator delete(format.ptd);
    format.ptd = nullptr;
}

void TSCFormatEtcList::Add(std::initializer_list<CLIPFORMAT> formats) {
    for (const CLIPFORMAT format : formats) {
        items_.push_back(FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
    }
}

void TSCFormatEtcList::Clear() {
    for (FORMATETC& item : items_) {
        FreeFormatEtc(item);
    }
    items_.clear();
}

HRESULT TSCFormatEtcList::Matches(const FORMATETC& format) const {
    if (format.dwAspect != DVASPECT_CONTENT) {
        return DV_E_FORMATETC;
    }
    HRESULT result = DV_E_FORMATETC;
    for (const FORMATETC& item : items_) {
        if (item.cfFormat == format.cfFormat) {
            if (item.tymed & format.tymed) {
                return S_OK;
            }
            result = DV_E_TYMED;
        }
    }
    return result;
}

HRESULT TSCFormatEtcList_IEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched) {
    ULONG copied = 0;
    while (copied < count && position_ < list_->Count()) {
        formats[copied++] = CopyFormatEtc(list_->Items(position_++));
    }
    if (fetched != nullptr) {
        *fetched = copied;
    }
    return copied == count ? S_OK : S_FALSE;
}

HRESULT TSCFormatEtcList_IEnumFormatEtc::Skip(ULONG count) {
    const ULONG left = static_cast<ULONG>(list_->Count() - position_);
    if (count > left) {
        position_ = list_->Count();
        return S_FALSE;
    }
    position_ += static_cast<int>(count);
    return S_OK;
}

HRESULT TSCFormatEtcList_IEnumFormatEtc::Reset() {
    position_ = 0;
    return S_OK;
}

HRESULT TSCFormatEtcList_IEnumFormatEtc::Clone(IEnumFORMATETC** copy) {
    if (copy == nullptr) {
        return E_POINTER;
    }
    *copy = MakeCom<TSCFormatEtcList_IEnumFormatEtc>(list_, position_).Detach();
    return S_OK;
}

ComPtr<IEnumFORMATETC> CreateFormatEtcEnumerator(std::shared_ptr<const TSCFormatEtcList> list) {
    return MakeCom<TSCFormatEtcList_IEnumFormatEtc>(std::move(list), 0);
}

} // namespace quarn
