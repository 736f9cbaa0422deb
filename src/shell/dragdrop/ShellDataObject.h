#pragma once

#include "shell/dragdrop/FormatEtcList.h"

#include <memory>
#include <optional>
#include <string>

namespace quarn {

// The blocks a data object offers; a missing one is not offered.
struct TSCDataBlocks {
    std::optional<std::string> shellIdList;
    std::optional<std::string> hDrop;
};

// A data object over the two blocks the shell understands, offering each block it holds:
// "Shell IDList Array" first, then CF_HDROP. Readers get copies of the blocks.
class TSCShellDataObject : public ComObject<IDataObject> {
public:
    explicit TSCShellDataObject(TSCDataBlocks blocks);

    HRESULT QueryInterface(const IID& iid, void** object) override {
        return QueryOwnInterface<IDataObject>(this, iid, object);
    }
    HRESULT GetData(const FORMATETC& format, STGMEDIUM* medium) override;
    HRESULT GetDataHere(const FORMATETC& format, STGMEDIUM* medium) override;
    HRESULT QueryGetData(const FORMATETC& format) override;
    HRESULT GetCanonicalFormatEtc(const FORMATETC& format, FORMATETC* canonical) override;
    HRESULT SetData(const FORMATETC& format, STGMEDIUM* medium, bool release) override;
    HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    HRESULT DAdvise(const FORMATETC& format, DWORD flags, IUnknown* sink,
                    DWORD* connection) override;
    HRESULT DUnadvise(DWORD connection) override;
    HRESULT EnumDAdvise(IUnknown** advises) override;

private:
    TSCDataBlocks blocks_;
    std::shared_ptr<TSCFormatEtcList> formats_ = std::make_shared<TSCFormatEtcList>();
};

// The block of a format that a data object offers; nothing when it offers none.
std::optional<std::string> ReadDataBlock(IDataObject* data, CLIPFORMAT format);

} // namespace quarn
