#include "cipher/RijnCore.h"

#include <algorithm>
#include <cstring>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <stdexcept>

namespace quarn {
namespace {

using CipherFactory = const EVP_CIPHER* (*)();

// Rows: 16-, 24- and 32-byte keys; columns: ECB, CBC, CFB (128-bit feedback), OFB.
constexpr CipherFactory Ciphers[3][4] = {
    {EVP_aes_128_ecb, EVP_aes_128_cbc, EVP_aes_128_cfb128, EVP_aes_128_ofb},
    {EVP_aes_192_ecb, EVP_aes_192_cbc, EVP_aes_192_cfb128, EVP_aes_192_ofb},
    {EVP_aes_256_ecb, EVP_aes_256_cbc, EVP_aes_256_cfb128, EVP_aes_256_ofb},
};

// EVP counts in int: longer runs go in pieces of whole blocks.
constexpr std::size_t MaxPiece = std::size_t{1} << 30;

[[noreturn]] void Fail() {
    throw std::runtime_error("Rijndael: cipher library failure");
}

} // namespace

void TRijnCore::ContextFree::operator()(evp_cipher_ctx_st* ctx) const {
    EVP_CIPHER_CTX_free(ctx);
}

TRijnCore::TRijnCore() {
    encrypt_.ctx.reset(EVP_CIPHER_CTX_new());
    decrypt_.ctx.reset(EVP_CIPHER_CTX_new());
    if (!encrypt_.ctx || !decrypt_.ctx)
        Fail();
}

TRijnCore::~TRijnCore() {
    OPENSSL_cleanse(key_.data(), key_.size());
}

void TRijnCore::SetKey(const std::uint8_t* key, std::size_t size) {
    std::memcpy(key_.data(), key, size);
    keySize_ = size;
    Expand(encrypt_, encrypt_.mode, true);
    Expand(decrypt_, decrypt_.mode, false);
}

void TRijnCore::Expand(Direction& direction, TCipherMode mode, bool encrypt) {
    direction.keyed = false;
    direction.inStep = false;
    const EVP_CIPHER* cipher = Ciphers[keySize_ / 8 - 2][mode]();
    if (EVP_CipherInit_ex(direction.ctx.get(), cipher, nullptr, key_.data(), nullptr,
                          encrypt ? 1 : 0) != 1 ||
        EVP_CIPHER_CTX_set_padding(direction.ctx.get(), 0) != 1)
        Fail();
    direction.mode = mode;
    direction.keyed = true;
}

TRijnCore::Direction& TRijnCore::Prepare(TCipherMode mode, bool encrypt) {
    Direction& direction = encrypt ? encrypt_ : decrypt_;
    if (!direction.keyed || direction.mode != mode)
        Expand(direction, mode, encrypt);
    return direction;
}

// After whole blocks libcrypto holds the next chain itself, so an unchanged chain needs no new
// IV; otherwise the IV is set without a new key schedule and without allocation.
void TRijnCore::StartFrom(Direction& direction, const std::uint8_t* chain) {
    if (direction.inStep && std::memcmp(direction.chain.data(), chain, 16) == 0)
        return;
    direction.inStep = false;
    if (EVP_CipherInit_ex(direction.ctx.get(), nullptr, nullptr, nullptr, chain, -1) != 1)
        Fail();
}

void TRijnCore::Run(TCipherMode mode, bool encrypt, std::uint8_t* chain, std::uint8_t* data,
                    std::size_t count) {
    Direction& direction = Prepare(mode, encrypt);
    if (mode != ECB)
        StartFrom(direction, chain);
    std::array<std::uint8_t, 16> lastIn;
    std::uint8_t* lastOut = data + count - 16;
    std::memcpy(lastIn.data(), lastOut, 16);
    direction.inStep = false;
    for (std::size_t done = 0; done < count;) {
        const int piece = static_cast<int>(std::min(count - done, MaxPiece));
        int written = 0;
        if (EVP_CipherUpdate(direction.ctx.get(), data + done, &written, data + done, piece) != 1 ||
            written != piece)
            Fail();
        done += static_cast<std::size_t>(piece);
    }
    switch (mode) {
    case ECB:
        return;
    case CBC:
    case CFB:
        std::memcpy(chain, encrypt ? lastOut : lastIn.data(), 16);
        break;
    case OFB:
        for (int i = 0; i < 16; ++i)
            chain[i] = lastIn[i] ^ lastOut[i];
        break;
    }
    std::memcpy(direction.chain.data(), chain, 16);
    direction.inStep = true;
}

} // namespace quarn
