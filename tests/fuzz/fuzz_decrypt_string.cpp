// DecryptString on arbitrary text in every string and cipher mode: each input gives a result or
// EInputError, and whatever EncryptString makes of it decrypts back.
#include "cipher/Rijndael.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the modes and the key size, the rest is the text.
    const std::uint8_t selector = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    static quarn::TRijndael rijndael;
    rijndael.StringMode = static_cast<quarn::TStringMode>(selector % 3);
    rijndael.CipherMode = static_cast<quarn::TCipherMode>(selector / 3 % 4);
    rijndael.KeySize = static_cast<quarn::TKeySize>(selector / 12 % 3);
    const auto start = [&] {
        rijndael.SetIV("fuzz initial vector");
        rijndael.SetKey("fuzz key");
    };

    start();
    try {
        const std::string plain = rijndael.DecryptString(text);
        // Decoding never grows the text and at least one padding byte goes.
        Check(plain.size() < text.size() || text.empty());
    } catch (const quarn::EInputError&) {
    }

    start();
    const std::string cipher = rijndael.EncryptString(text);
    start();
    Check(rijndael.DecryptString(cipher) == text);
    rijndael.Reset();
    return 0;
}
