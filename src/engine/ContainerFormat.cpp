#include "engine/ContainerFormat.h"

#include "cipher/Rijndael.h"
#include "engine/Container.h"

#include <algorithm>
#include <cstring>
#include <openssl/crypto.h>

namespace quarn {

bool IsStorablePassword(std::string_view password) {
    return password.find(ContainerSeparator, 1) == std::string_view::npos;
}

bool IsStorableName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos &&
           name.find(ContainerSeparator, 1) == std::string_view::npos;
}

std::size_t AppendPadding(std::uint8_t* buffer, std::size_t count) {
    const std::size_t padding = TRijndael::BlockSize - count % TRijndael::BlockSize;
    std::memset(buffer + count, static_cast<int>(padding), padding);
    return count + padding;
}

std::optional<std::size_t> PaddingLength(const std::uint8_t* data, std::size_t length) {
    if (length == 0) {
        return std::nullopt;
    }
    const std::size_t padding = data[length - 1];
    if (padding < 1 || padding > TRijndael::BlockSize || padding > length) {
        return std::nullopt;
    }
    const bool equal = std::all_of(data + length - padding, data + length,
                                   [padding](std::uint8_t byte) { return byte == padding; });
    return equal ? std::optional<std::size_t>(padding) : std::nullopt;
}

ContainerKeying::ContainerKeying(TRijndael& cipher, std::string_view password) : cipher_(cipher) {
    cipher_.CipherMode = CBC;
    cipher_.KeySize = Large256;
    cipher_.SetIV(ContainerIVSeed);
    try {
        cipher_.SetKey(password);
    } catch (...) {
        cipher_.Reset();
        throw;
    }
}

ContainerKeying::~ContainerKeying() {
    cipher_.Reset();
    OPENSSL_cleanse(cipher_.Buffer.data(), cipher_.Buffer.size());
}

} // namespace quarn
