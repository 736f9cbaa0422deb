#include "cipher/Rijndael.h"

#include "cipher/RijnCore.h"
#include "cipher/TextCoding.h"

#include <cstring>
#include <openssl/crypto.h>

namespace quarn {
namespace {

constexpr const char* KeyLengthMessage = "Rijndael: Key must be between 1 and 255 bytes";
constexpr const char* KeyNotSetMessage = "Rijndael: Key not set";
constexpr const char* IVNotSetMessage = "Rijndael: IV not set";
constexpr const char* TooShortMessage = "Rijndael: Input not valid - too short";
constexpr const char* IncompleteBlockMessage = "Rijndael: Input not valid - incomplete block";
constexpr const char* BufferCountMessage =
    "Rijndael: Buffer count must be a positive multiple of 16 up to 4112";

constexpr std::size_t MaxKeyLength = 255;

using BlockBytes = std::array<std::uint8_t, TRijndael::BlockSize>;

void CopyBlock(BlockBytes& to, const std::uint8_t* from) {
    std::memcpy(to.data(), from, to.size());
}

std::uint8_t* Bytes(std::string& text) {
    return reinterpret_cast<std::uint8_t*>(text.data());
}

} // namespace

TRijndael::TRijndael() : core_(std::make_unique<TRijnCore>()) {
}

TRijndael::~TRijndael() {
    OPENSSL_cleanse(Buffer.data(), Buffer.size());
    OPENSSL_cleanse(chain_.data(), chain_.size());
    OPENSSL_cleanse(savedBlock_.data(), savedBlock_.size());
    OPENSSL_cleanse(block_.data(), block_.size());
}

void TRijndael::SetKey(std::string_view key) {
    if (key.empty() || key.size() > MaxKeyLength)
        throw EKeyError(KeyLengthMessage);
    const std::size_t size = 16 + 8 * static_cast<std::size_t>(KeySize);
    std::array<std::uint8_t, 32> folded{};
    for (std::size_t i = 0; i < key.size(); ++i)
        folded[i % size] ^= static_cast<std::uint8_t>(key[i]);
    core_->SetKey(folded.data(), size);
    OPENSSL_cleanse(folded.data(), folded.size());
    savedBlock_.fill(0);
    block_.fill(0);
    keySet_ = true;
}

void TRijndael::SetIV(std::string_view iv) {
    chain_.fill(0);
    for (std::size_t i = 0; i < iv.size(); ++i)
        chain_[i & 15] ^= static_cast<std::uint8_t>(iv[i]);
    ivSet_ = true;
}

void TRijndael::Reset() {
    keySet_ = false;
    ivSet_ = false;
    chain_.fill(0);
    savedBlock_.fill(0);
    block_.fill(0);
}

void TRijndael::CheckReady() const {
    if (!keySet_)
        throw EKeyError(KeyNotSetMessage);
    if (CipherMode != ECB && !ivSet_)
        throw EKeyError(IVNotSetMessage);
}

// One pass of libcrypto over whole blocks; the core advances the chain, and SavedBlock ends as
// the block loop leaves it after the last block.
void TRijndael::Run(bool encrypt, std::uint8_t* data, std::size_t count) {
    if (!core_->Keyed())
        throw EKeyError(KeyNotSetMessage);
    BlockBytes lastIn;
    CopyBlock(lastIn, data + count - BlockSize);
    core_->Run(CipherMode, encrypt, chain_.data(), data, count);
    if (CipherMode == CFB || CipherMode == OFB || (CipherMode == CBC && !encrypt))
        savedBlock_ = lastIn;
}

void TRijndael::RunBlocks(bool encrypt, std::uint8_t* data, std::size_t count) {
    Run(encrypt, data, count);
    CopyBlock(block_, data + count - BlockSize);
}

void TRijndael::EncryptBlock(std::uint8_t* block) {
    Run(true, block, BlockSize);
}
void TRijndael::DecryptBlock(std::uint8_t* block) {
    Run(false, block, BlockSize);
}

void TRijndael::RunBuffer(bool encrypt, int count) {
    if (count <= 0 || count % BlockSize != 0 || count > BufferSize)
        throw std::invalid_argument(BufferCountMessage);
    RunBlocks(encrypt, Buffer.data(), static_cast<std::size_t>(count));
}

void TRijndael::EncryptBuffer(int count) {
    RunBuffer(true, count);
}
void TRijndael::DecryptBuffer(int count) {
    RunBuffer(false, count);
}

std::string TRijndael::EncryptString(std::string_view input) {
    CheckReady();
    if (input.empty())
        return {};
    const std::size_t padding = BlockSize - input.size() % BlockSize;
    std::string data(input);
    data.append(padding, static_cast<char>(padding));
    RunBlocks(true, Bytes(data), data.size());
    switch (StringMode) {
    case smMime:
        return Base64Encode(data);
    case smEncode:
        return SixBitEncode(data);
    case smNormal:
        break;
    }
    return data;
}

std::string TRijndael::DecryptString(std::string_view input) {
    CheckReady();
    if (input.empty())
        return {};
    std::string data = StringMode == smMime     ? Base64Decode(input)
                       : StringMode == smEncode ? SixBitDecode(input)
                                                : std::string(input);
    if (data.size() < static_cast<std::size_t>(BlockSize))
        throw EInputError(TooShortMessage);
    if (data.size() % BlockSize != 0)
        throw EInputError(IncompleteBlockMessage);
    RunBlocks(false, Bytes(data), data.size());
    const std::size_t padding = static_cast<std::uint8_t>(data.back());
    data.resize(data.size() - (padding >= 1 && padding <= BlockSize ? padding : 1));
    return data;
}

} // namespace quarn
