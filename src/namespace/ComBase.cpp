#include "ComBase.h"

#include <cerrno>

namespace quarn {

HRESULT HResultFromErrno(int error) {
    if (error == ENOMEM) {
        return E_OUTOFMEMORY;
    }
    if (error <= 0 || error > 0xFFFF) {
        return E_FAIL;
    }
    return static_cast<HRESULT>(0x80000000u | (FacilityErrno << 16) |
                                static_cast<std::uint32_t>(error));
}

int ErrnoFromHResult(HRESULT hr) {
    const auto code = static_cast<std::uint32_t>(hr);
    if (hr == E_OUTOFMEMORY) {
        return ENOMEM;
    }
    if ((code & 0x80000000u) == 0 || ((code >> 16) & 0x7FF) != FacilityErrno) {
        return 0;
    }
    return static_cast<int>(code & 0xFFFF);
}

} // namespace quarn
