#pragma once

#include "namespace/ShellFolder.h"

namespace quarn {

// The detail columns of a folder: an adapter over its IShellFolder2 when that names a
// first column, else its own IShellDetails or the one its view object offers; none when
// there is none.
ComPtr<IShellDetails> GetShellDetails(IShellFolder* folder);

// Offers an IShellFolder2's leading run of columns that are shown by default.
class TShellFolder2ToShellDetailsAdapter final : public ComObject<IShellDetails> {
public:
    explicit TShellFolder2ToShellDetailsAdapter(ComPtr<IShellFolder2> folder)
        : folder_(std::move(folder)) {}

    HRESULT QueryInterface(const IID& iid, void** object) override;
    HRESULT GetDetailsOf(LPCITEMIDLIST item, ULONG column, SHELLDETAILS* details) override;
    HRESULT ColumnClick(ULONG column) override;

private:
    ComPtr<IShellFolder2> folder_;
};

} // namespace quarn
