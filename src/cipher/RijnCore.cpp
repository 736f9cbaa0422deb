#include "RijnCore.h"

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

void TRijnCore::Run(TCipherMode mode, bool encrypt, const std::uint8_t* iv, std::uint8_t* data,
                    std::size_t count) {
    EVP_CIPHER_CTX* ctx = Prepare(mode, encrypt).ctx.get();
    // A new IV keeps the expanded key: no schedule and no allocation here.
    if (mode != ECB && EVP_CipherInit_ex(ctx, nullptr, nullptr, nullptr, iv, -1) != 1)
        Fail();
    int written = 0;
    if (EVP_CipherUpdate(ctx, data, &written, data, static_cast<int>(count)) != 1 ||
        written != static_cast<int>(count))
        Fail();
}

} // namespace quarn
