#pragma once

#include "namespace/ComBase.h"

#include <stdexcept>
#include <string>

namespace quarn {

// A failed shell call that the routines raise rather than answer.
class EOleSysError : public std::runtime_error {
public:
    explicit EOleSysError(HRESULT code) : std::runtime_error(HResultMessage(code)), code_(code) {}
    HRESULT ErrorCode() const { return code_; }

private:
    HRESULT code_;
};

// Raises EOleSysError for a failure code; answers a success code.
inline HRESULT OleCheck(HRESULT code) {
    if (Failed(code)) {
        throw EOleSysError(code);
    }
    return code;
}

// An index or capacity outside a list.
class EListError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// Ends an operation without a message: the rest of it is skipped and nothing is reported.
class EAbort : public std::runtime_error {
public:
    EAbort() : std::runtime_error("Operation aborted") {}
};

// A stream that ends early or holds a block that cannot be read.
class EReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace quarn
