#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quarn::bench {

// What other programs take for the same jobs, run as the user would run them.

// openssl enc -aes-256-cbc, encrypting (or with decrypt, decrypting) in to out with the raw key
// and IV (PKCS padding, which a container's padding is).
void OpensslEnc(bool decrypt, const std::array<std::uint8_t, 32>& key,
                const std::array<std::uint8_t, 16>& iv, const std::string& in,
                const std::string& out);

// dd if=/dev/zero of=path bs=1M count=mebibytes conv=notrunc,fsync: one pass over the first
// mebibytes MiB of the file in place, flushed at its end.
void DdOverwrite(const std::string& path, std::int64_t mebibytes);

} // namespace quarn::bench
