#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quarn {

enum TCipherMode : std::uint8_t { ECB = 0, CBC = 1, CFB = 2, OFB = 3 };
enum TKeySize : std::uint8_t { Small128 = 0, Med192 = 1, Large256 = 2 };
enum TStringMode : std::uint8_t { smMime = 0, smEncode = 1, smNormal = 2 };

class EKeyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EInputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TRijnCore;

// AES with text-folded key and IV, four block modes over a persistent chaining
// register, an in-place work buffer for file data and padded string operations.
class TRijndael {
public:
    static constexpr int BlockSize = 16;
    static constexpr int ChunkSize = 4096;
    static constexpr int BufferSize = ChunkSize + BlockSize;

    TRijndael();
    ~TRijndael();
    TRijndael(const TRijndael&) = delete;
    TRijndael& operator=(const TRijndael&) = delete;

    TCipherMode CipherMode = ECB;
    TKeySize KeySize = Small128;
    TStringMode StringMode = smMime;

    // Callers fill up to 4096 data bytes plus up to 16 padding bytes and process in place.
    std::array<std::uint8_t, BufferSize> Buffer{};

    void SetKey(std::string_view key);
    void SetIV(std::string_view iv);

    // Count must be a positive multiple of 16 and at most BufferSize; anything else is a
    // programming error and throws std::invalid_argument without touching Buffer.
    void EncryptBuffer(int count);
    void DecryptBuffer(int count);

    std::string EncryptString(std::string_view input);
    std::string DecryptString(std::string_view input);

    void Reset();
    void EncryptBlock(std::uint8_t* block);
    void DecryptBlock(std::uint8_t* block);
    void CheckReady() const;

    bool KeySet() const { return keySet_; }
    bool IVSet() const { return ivSet_; }
    const std::array<std::uint8_t, BlockSize>& Chain() const { return chain_; }

private:
    void Run(bool encrypt, std::uint8_t* data, std::size_t count);
    void RunBlocks(bool encrypt, std::uint8_t* data, std::size_t count);
    void RunBuffer(bool encrypt, int count);

    std::unique_ptr<TRijnCore> core_;
    bool keySet_ = false;
    bool ivSet_ = false;
    std::array<std::uint8_t, BlockSize> chain_{};
    std::array<std::uint8_t, BlockSize> savedBlock_{};
    std::array<std::uint8_t, BlockSize> block_{};
};

} // namespace quarn
