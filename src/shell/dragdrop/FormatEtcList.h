#pragma once

#include "shell/dragdrop/DataTransfer.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace quarn {

// A copy of the entry with its own copy of the target device; FreeFormatEtc frees it.
FORMATETC CopyFormatEtc(const FORMATETC& format);
void FreeFormatEtc(FORMATETC& format);

// The formats a data object offers, each for its content in a memory block.
class TSCFormatEtcList {
public:
    TSCFormatEtcList() = default;
    TSCFormatEtcList(const TSCFormatEtcList&) = delete;
    TSCFormatEtcList& operator=(const TSCFormatEtcList&) = delete;
    ~TSCFormatEtcList() { Clear(); }

    void Add(std::initializer_list<CLIPFORMAT> formats);
    int Count() const { return static_cast<int>(items_.size()); }
    const FORMATETC& Items(int index) const { return items_.at(index); }
    void Clear();
    // S_OK for an offered format and medium; DV_E_TYMED when only the medium differs;
    // DV_E_FORMATETC otherwise.
    HRESULT Matches(const FORMATETC& format) const;

private:
    std::vector<FORMATETC> items_;
};

// Walks a format list; the list lives as long as any enumerator over it.
class TSCFormatEtcList_IEnumFormatEtc : public ComObject<IEnumFORMATETC> {
public:
    TSCFormatEtcList_IEnumFormatEtc(std::shared_ptr<const TSCFormatEtcList> list, int position)
        : list_(std::move(list)), position_(position) {}

    HRESULT QueryInterface(const IID& iid, void** object) override {
        return QueryOwnInterface<IEnumFORMATETC>(this, iid, object);
    }
    // The caller frees each entry's target device (FreeFormatEtc).
    HRESULT Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumFORMATETC** copy) override;

private:
    std::shared_ptr<const TSCFormatEtcList> list_;
    int position_;
};

ComPtr<IEnumFORMATETC> CreateFormatEtcEnumerator(std::shared_ptr<const TSCFormatEtcList> list);

} // namespace quarn
