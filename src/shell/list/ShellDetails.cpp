#include "shell/list/ShellDetails.h"

namespace quarn {

namespace {

ComPtr<IShellDetails> ViewObjectDetails(IShellFolder* folder) {
    void* object = nullptr;
    if (Failed(folder->CreateViewObject(nullptr, IID_IShellDetails, &object))) {
        return nullptr;
    }
    return ComPtr<IShellDetails>::Attach(static_cast<IShellDetails*>(object));
}

} // namespace

ComPtr<IShellDetails> GetShellDetails(IShellFolder* folder) {
    if (folder == nullptr) {
        return nullptr;
    }
    const ComPtr<IShellFolder> held(folder);
    ComPtr<IShellFolder2> folder2;
    if (Failed(held.As(folder2))) {
        return ViewObjectDetails(folder);
    }
    SHELLDETAILS caption;
    if (Succeeded(folder2->GetDetailsOf(nullptr, 0, &caption))) {
        return MakeCom<TShellFolder2ToShellDetailsAdapter>(folder2);
    }
    ComPtr<IShellDetails> own;
    if (Succeeded(held.As(own))) {
        return own;
    }
    return ViewObjectDetails(folder);
}

HRESULT TShellFolder2ToShellDetailsAdapter::QueryInterface(const IID& iid, void** object) {
    return QueryOwnInterface<IShellDetails>(this, iid, object);
}

HRESULT TShellFolder2ToShellDetailsAdapter::GetDetailsOf(LPCITEMIDLIST item, ULONG column,
                                                         SHELLDETAILS* details) {
    std::uint32_t state = 0;
    const HRESULT hr = folder_->GetDefaultColumnState(column, &state);
    if (Failed(hr) || (state & SHCOLSTATE_ONBYDEFAULT)) {
        return folder_->GetDetailsOf(item, column, details);
    }
    return E_INVALIDARG;
}

HRESULT TShellFolder2ToShellDetailsAdapter::ColumnClick(ULONG) {
    return E_NOTIMPL;
}

} // namespace quarn
