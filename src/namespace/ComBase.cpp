#include "namespace/ComBase.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

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

std::string HResultMessage(HRESULT hr) {
    if (const int error = ErrnoFromHResult(hr)) {
        return std::strerror(error);
    }
    switch (hr) {
    case S_OK:
        return "The operation completed successfully.";
    case E_NOTIMPL:
        return "Not implemented.";
    case E_NOINTERFACE:
        return "No such interface supported.";
    case E_POINTER:
        return "Invalid pointer.";
    case E_INVALIDARG:
        return "The parameter is incorrect.";
    default:
        break;
    }
    char text[40];
    std::snprintf(text, sizeof text, "Unspecified error (0x%08X).", static_cast<unsigned>(hr));
    return text;
}

} // namespace quarn
