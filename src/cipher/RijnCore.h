#pragma once

#include "cipher/Rijndael.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

struct evp_cipher_ctx_st;

namespace quarn {

// The AES key schedules of one TRijndael: one libcrypto context per direction, each set up for
// the mode it last ran, so that whole buffers go to libcrypto in one call.
class TRijnCore {
public:
    TRijnCore();
    ~TRijnCore();
    TRijnCore(const TRijnCore&) = delete;
    TRijnCore& operator=(const TRijnCore&) = delete;

    // key holds 16, 24 or 32 bytes. The schedules are expanded now for the last mode used.
    void SetKey(const std::uint8_t* key, std::size_t size);
    bool Keyed() const { return keySize_ != 0; }

    // Runs count bytes (a positive multiple of 16) in place through mode, starting from the
    // 16-byte chain, and leaves in chain what the block-by-block loop would leave there.
    void Run(TCipherMode mode, bool encrypt, std::uint8_t* chain, std::uint8_t* data,
             std::size_t count);

private:
    struct ContextFree {
        void operator()(evp_cipher_ctx_st* ctx) const;
    };
    struct Direction {
        std::unique_ptr<evp_cipher_ctx_st, ContextFree> ctx;
        TCipherMode mode = ECB;
        bool keyed = false;
        // The chain that libcrypto continues from after the last run, while inStep.
        std::array<std::uint8_t, 16> chain{};
        bool inStep = false;
    };

    Direction& Prepare(TCipherMode mode, bool encrypt);
    void Expand(Direction& direction, TCipherMode mode, bool encrypt);
    static void StartFrom(Direction& direction, const std::uint8_t* chain);

    std::array<std::uint8_t, 32> key_{};
    std::size_t keySize_ = 0;
    Direction encrypt_;
    Direction decrypt_;
};

} // namespace quarn
