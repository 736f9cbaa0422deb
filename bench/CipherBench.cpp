#include "cipher/Rijndael.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <numeric>
#include <openssl/evp.h>
#include <vector>

namespace {

using quarn::TRijndael;

constexpr int Chunk = TRijndael::ChunkSize;
constexpr std::int64_t StreamBytes = 1 << 20; // 256 chunks per iteration

std::unique_ptr<TRijndael> FileCipher() {
    auto r = std::make_unique<TRijndael>();
    r->CipherMode = quarn::CBC;
    r->KeySize = quarn::Large256;
    r->SetIV("0123456789abcdef");
    r->SetKey("0123456789abcdef0123456789abcdef");
    std::iota(r->Buffer.begin(), r->Buffer.end(), std::uint8_t{1});
    return r;
}

// The container's use: one stream, one call per 4096-byte chunk of the in-place buffer.
void BM_EncryptBuffer(benchmark::State& state) {
    auto r = FileCipher();
    for (auto _ : state) {
        for (std::int64_t done = 0; done < StreamBytes; done += Chunk)
            r->EncryptBuffer(Chunk);
        benchmark::DoNotOptimize(r->Buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * StreamBytes);
}

void BM_DecryptBuffer(benchmark::State& state) {
    auto r = FileCipher();
    for (auto _ : state) {
        for (std::int64_t done = 0; done < StreamBytes; done += Chunk)
            r->DecryptBuffer(Chunk);
        benchmark::DoNotOptimize(r->Buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * StreamBytes);
}

// libcrypto alone: AES-256-CBC over the same 4096-byte chunks of one stream.
void EvpCbc(benchmark::State& state, int encrypt) {
    const unsigned char key[32] = {1, 2, 3};
    const unsigned char iv[16] = {4, 5, 6};
    std::vector<unsigned char> buffer(Chunk);
    std::iota(buffer.begin(), buffer.end(), std::uint8_t{1});
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    EVP_CipherInit_ex(ctx, EVP_aes_256_cbc(), nullptr, key, iv, encrypt);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    int written = 0;
    for (auto _ : state) {
        for (std::int64_t done = 0; done < StreamBytes; done += Chunk)
            EVP_CipherUpdate(ctx, buffer.data(), &written, buffer.data(), Chunk);
        benchmark::DoNotOptimize(buffer.data());
    }
    EVP_CIPHER_CTX_free(ctx);
    state.SetBytesProcessed(state.iterations() * StreamBytes);
}

void BM_EvpAes256CbcEncrypt(benchmark::State& state) {
    EvpCbc(state, 1);
}
void BM_EvpAes256CbcDecrypt(benchmark::State& state) {
    EvpCbc(state, 0);
}

BENCHMARK(BM_EncryptBuffer);
BENCHMARK(BM_EvpAes256CbcEncrypt);
BENCHMARK(BM_DecryptBuffer);
BENCHMARK(BM_EvpAes256CbcDecrypt);

} // namespace
