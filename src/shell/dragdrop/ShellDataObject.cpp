#include "shell/dragdrop/ShellDataObject.h"

#include <new>

namespace quarn {

TSCShellDataObject::TSCShellDataObject(TSCDataBlocks blocks) : blocks_(std::move(blocks)) {
    if (blocks_.shellIdList) {
        formats_->Add({ShellIdListFormat()});
    }
    if (blocks_.hDrop) {
        formats_->Add({CF_HDROP});
    }
}

HRESULT TSCShellDataObject::GetData(const FORMATETC& format, STGMEDIUM* medium) {
    if (const HRESULT hr = QueryGetData(format); hr != S_OK) {
        return hr;
    }
    const std::optional<std::string>& block =
        format.cfFormat == CF_HDROP ? blocks_.hDrop : blocks_.shellIdList;
    try {
        medium->hGlobal = *block;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    medium->tymed = TYMED_HGLOBAL;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT TSCShellDataObject::GetDataHere(const FORMATETC&, STGMEDIUM*) {
    return E_NOTIMPL;
}

HRESULT TSCShellDataObject::QueryGetData(const FORMATETC& format) {
    return formats_->Matches(format);
}

HRESULT TSCShellDataObject::GetCanonicalFormatEtc(const FORMATETC&, FORMATETC* canonical) {
    if (canonical != nullptr) {
        canonical->ptd = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT TSCShellDataObject::SetData(const FORMATETC&, STGMEDIUM*, bool) {
    return E_NOTIMPL;
}

HRESULT TSCShellDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
    if (formats == nullptr) {
        return E_POINTER;
    }
    if (direction != DATADIR_GET) {
        *formats = nullptr;
        return E_NOTIMPL;
    }
    *formats = CreateFormatEtcEnumerator(formats_).Detach();
    return S_OK;
}

HRESULT TSCShellDataObject::DAdvise(const FORMATETC&, DWORD, IUnknown*, DWORD*) {
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TSCShellDataObject::DUnadvise(DWORD) {
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TSCShellDataObject::EnumDAdvise(IUnknown**) {
    return OLE_E_ADVISENOTSUPPORTED;
}

std::optional<std::string> ReadDataBlock(IDataObject* data, CLIPFORMAT format) {
    const FORMATETC request{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium;
    if (data == nullptr || data->QueryGetData(request) != S_OK ||
        data->GetData(request, &medium) != S_OK || medium.tymed != TYMED_HGLOBAL) {
        return std::nullopt;
    }
    return std::move(medium.hGlobal);
}

} // namespace quarn
