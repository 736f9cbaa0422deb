#include "CipherTestUtil.h"
#include "cipher/Rijndael.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <openssl/evp.h>
#include <random>
#include <string>

namespace quarn {
namespace {

using Block = std::array<std::uint8_t, 16>;

struct ContextFree {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using Context = std::unique_ptr<EVP_CIPHER_CTX, ContextFree>;

// The modes written out block by block over single AES-256 blocks, chaining register
// included: the reference that the whole-buffer path must match call for call.
class BlockLoop {
public:
    BlockLoop(TCipherMode mode, const std::string& key) : mode_(mode) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(key.data());
        EVP_EncryptInit_ex(e_.get(), EVP_aes_256_ecb(), nullptr, bytes, nullptr);
        EVP_DecryptInit_ex(d_.get(), EVP_aes_256_ecb(), nullptr, bytes, nullptr);
        EVP_CIPHER_CTX_set_padding(e_.get(), 0);
        EVP_CIPHER_CTX_set_padding(d_.get(), 0);
    }

    void SetIV(const std::string& iv) {
        chain.fill(0);
        for (std::size_t i = 0; i < iv.size(); ++i)
            chain[i & 15] ^= static_cast<std::uint8_t>(iv[i]);
    }

    void Run(bool encrypt, std::uint8_t* data, std::size_t count) {
        for (std::size_t offset = 0; offset < count; offset += 16) {
            Block b;
            std::memcpy(b.data(), data + offset, 16);
            encrypt ? EncryptBlock(b) : DecryptBlock(b);
            std::memcpy(data + offset, b.data(), 16);
        }
    }

    Block chain{};

private:
    Block Aes(EVP_CIPHER_CTX* ctx, const Block& in) {
        Block out;
        int written = 0;
        EVP_CipherUpdate(ctx, out.data(), &written, in.data(), 16);
        return out;
    }
    static Block Xor(const Block& a, const Block& b) {
        Block r;
        for (int i = 0; i < 16; ++i)
            r[i] = a[i] ^ b[i];
        return r;
    }

    void EncryptBlock(Block& b) {
        switch (mode_) {
        case ECB:
            b = Aes(e_.get(), b);
            break;
        case CBC:
            b = Aes(e_.get(), Xor(b, chain));
            chain = b;
            break;
        case CFB:
            chain = Aes(e_.get(), chain);
            b = Xor(b, chain);
            chain = b;
            break;
        case OFB:
            chain = Aes(e_.get(), chain);
            b = Xor(b, chain);
            break;
        }
    }

    void DecryptBlock(Block& b) {
        const Block saved = b;
        switch (mode_) {
        case ECB:
            b = Aes(d_.get(), b);
            break;
        case CBC:
            b = Xor(Aes(d_.get(), b), chain);
            chain = saved;
            break;
        case CFB:
            chain = Aes(e_.get(), chain);
            b = Xor(saved, chain);
            chain = saved;
            break;
        case OFB:
            EncryptBlock(b);
            break;
        }
    }

    TCipherMode mode_;
    Context e_{EVP_CIPHER_CTX_new()};
    Context d_{EVP_CIPHER_CTX_new()};
};

class BlockLoopTest : public ::testing::TestWithParam<TCipherMode> {};

// Buffers of every size in both directions, single blocks on outside memory and new IVs, in
// a random order: libcrypto's own chaining must stay in step with the register throughout.
TEST_P(BlockLoopTest, MixedCallsMatchTheBlockLoop) {
    const std::string key = "0123456789abcdef0123456789ABCDEF";
    TRijndael r;
    r.CipherMode = GetParam();
    r.KeySize = Large256;
    r.SetIV("first iv");
    r.SetKey(key);
    BlockLoop reference(GetParam(), key);
    reference.SetIV("first iv");

    std::mt19937 random(1234);
    for (int step = 0; step < 400; ++step) {
        const int action = static_cast<int>(random() % 7);
        if (action == 0) {
            const std::string iv = "iv " + std::to_string(random());
            r.SetIV(iv);
            reference.SetIV(iv);
            continue;
        }
        const bool encrypt = action % 2 == 1;
        const bool buffer = action <= 4;
        const std::size_t count = buffer ? 16 * (1 + random() % 257) : 16;
        std::string expected(count, '\0');
        for (char& c : expected)
            c = static_cast<char>(random());
        auto* bytes = reinterpret_cast<std::uint8_t*>(expected.data());
        Block outside;
        std::uint8_t* target = buffer ? r.Buffer.data() : outside.data();
        std::memcpy(target, bytes, count);
        if (buffer)
            encrypt ? r.EncryptBuffer(static_cast<int>(count))
                    : r.DecryptBuffer(static_cast<int>(count));
        else
            encrypt ? r.EncryptBlock(target) : r.DecryptBlock(target);
        reference.Run(encrypt, bytes, count);
        ASSERT_EQ(std::memcmp(target, bytes, count), 0) << "step " << step;
        ASSERT_EQ(r.Chain(), reference.chain) << "step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, BlockLoopTest, ::testing::Values(ECB, CBC, CFB, OFB),
                         [](const auto& info) { return ModeName(info.param); });

} // namespace
} // namespace quarn
