#include "cipher/Rijndael.h"

#include "CipherTestUtil.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <numeric>

namespace quarn {
namespace {

using test::FromHex;
using test::ToHex;

std::string BufferBytes(const TRijndael& r, int count) {
    return {reinterpret_cast<const char*>(r.Buffer.data()), static_cast<std::size_t>(count)};
}

void FillBuffer(TRijndael& r) {
    std::iota(r.Buffer.begin(), r.Buffer.end(), std::uint8_t{7});
}

// One ECB block of zeros under the key: a fingerprint of the key schedule.
std::string EcbFingerprint(TRijndael& r) {
    const TCipherMode mode = r.CipherMode;
    r.CipherMode = ECB;
    std::uint8_t block[16] = {};
    r.EncryptBlock(block);
    r.CipherMode = mode;
    return ToHex({reinterpret_cast<const char*>(block), 16});
}

std::string FingerprintOf(TKeySize size, const std::string& key) {
    TRijndael r;
    r.KeySize = size;
    r.SetKey(key);
    return EcbFingerprint(r);
}

TEST(KeyFolding, LongKeyWrapsAndXorsAgain) {
    std::string key(40, '\0');
    for (int i = 0; i < 40; ++i)
        key[i] = static_cast<char>('A' + i);
    std::string folded = key.substr(0, 32);
    for (int i = 32; i < 40; ++i)
        folded[i - 32] = static_cast<char>(folded[i - 32] ^ key[i]);
    EXPECT_EQ(FingerprintOf(Large256, key), FingerprintOf(Large256, folded));
    EXPECT_NE(FingerprintOf(Large256, key), FingerprintOf(Large256, key.substr(0, 32)));
}

TEST(KeyFolding, ShortKeyLeavesTheRestZero) {
    EXPECT_EQ(FingerprintOf(Large256, "abcde"),
              FingerprintOf(Large256, "abcde" + std::string(27, '\0')));
    EXPECT_EQ(FingerprintOf(Small128, "abcde"),
              FingerprintOf(Small128, "abcde" + std::string(11, '\0')));
}

TEST(KeyFolding, KeySizeSetsTheFoldWidth) {
    const std::string key(24, 'k');
    // 24 bytes fold onto 16 for Small128: bytes 16..23 cancel bytes 0..7.
    EXPECT_EQ(FingerprintOf(Small128, key),
              FingerprintOf(Small128, std::string(8, '\0') + std::string(8, 'k')));
    EXPECT_NE(FingerprintOf(Med192, key), FingerprintOf(Large256, key));
}

TEST(KeyFolding, KeyLengthLimits) {
    TRijndael r;
    EXPECT_NO_THROW(r.SetKey(std::string(255, 'x')));
    EXPECT_NO_THROW(r.SetKey("x"));
    for (const std::string& bad : {std::string(), std::string(256, 'x'), std::string(1000, 'x')}) {
        try {
            r.SetKey(bad);
            ADD_FAILURE() << "length " << bad.size() << " accepted";
        } catch (const EKeyError& e) {
            EXPECT_STREQ(e.what(), "Rijndael: Key must be between 1 and 255 bytes");
        }
    }
}

TEST(KeyFolding, FailingSetKeyChangesNothing) {
    TRijndael r;
    r.CipherMode = CBC;
    r.SetIV("iv");
    r.SetKey("old key");
    const std::string before = EcbFingerprint(r);
    const auto chain = r.Chain();
    r.Reset();
    EXPECT_THROW(r.SetKey(""), EKeyError);
    EXPECT_FALSE(r.KeySet());
    r.SetIV("iv");
    r.SetKey("old key");
    EXPECT_THROW(r.SetKey(std::string(256, 'n')), EKeyError);
    EXPECT_TRUE(r.KeySet());
    EXPECT_EQ(r.Chain(), chain);
    EXPECT_EQ(EcbFingerprint(r), before);
}

TEST(KeyFolding, KeySizeChangedAfterSetKeyKeepsTheSchedule) {
    TRijndael r;
    r.KeySize = Large256;
    r.SetKey("secret");
    const std::string before = EcbFingerprint(r);
    r.KeySize = Small128;
    EXPECT_EQ(EcbFingerprint(r), before);
}

TEST(IVFolding, LongTextXorsOverTheChainAgain) {
    TRijndael r;
    const std::string iv = "0123456789abcdefghijklmnopqrstuvwxyzAB"; // 38 characters
    r.SetIV(iv);
    std::array<std::uint8_t, 16> expected{};
    for (std::size_t i = 0; i < iv.size(); ++i)
        expected[i % 16] ^= static_cast<std::uint8_t>(iv[i]);
    EXPECT_EQ(r.Chain(), expected);
    EXPECT_TRUE(r.IVSet());
}

TEST(IVFolding, EmptyTextGivesZeroChain) {
    TRijndael r;
    r.SetIV("something");
    r.SetIV("");
    EXPECT_EQ(r.Chain(), (std::array<std::uint8_t, 16>{}));
    EXPECT_TRUE(r.IVSet());
}

TEST(CheckReady, ReportsWhatIsMissing) {
    TRijndael r;
    r.CipherMode = CBC;
    try {
        r.EncryptString("text");
        ADD_FAILURE();
    } catch (const EKeyError& e) {
        EXPECT_STREQ(e.what(), "Rijndael: Key not set");
    }
    r.SetKey("key");
    try {
        r.DecryptString("text");
        ADD_FAILURE();
    } catch (const EKeyError& e) {
        EXPECT_STREQ(e.what(), "Rijndael: IV not set");
    }
    r.CipherMode = ECB;
    EXPECT_NO_THROW(r.EncryptString("text"));
    r.SetIV("iv");
    r.Reset();
    EXPECT_THROW(r.EncryptString("text"), EKeyError);
}

class ModeTest : public ::testing::TestWithParam<TCipherMode> {
protected:
    void Start(TRijndael& r) {
        r.CipherMode = GetParam();
        r.KeySize = Large256;
        r.SetIV("initial vector text");
        r.SetKey("a password");
    }
};

TEST_P(ModeTest, ChainedBufferCallsContinueOneStream) {
    TRijndael whole;
    Start(whole);
    FillBuffer(whole);
    whole.EncryptBuffer(4112);
    const std::string stream = BufferBytes(whole, 4112);

    TRijndael parts;
    Start(parts);
    FillBuffer(parts);
    parts.EncryptBuffer(4096);
    std::string chunked = BufferBytes(parts, 4096);
    std::memmove(parts.Buffer.data(), parts.Buffer.data() + 4096, 16);
    parts.EncryptBuffer(16);
    chunked += BufferBytes(parts, 16);
    EXPECT_EQ(ToHex(chunked), ToHex(stream));
    EXPECT_EQ(parts.Chain(), whole.Chain());

    // And back, in the same two calls.
    parts.SetIV("initial vector text");
    std::memcpy(parts.Buffer.data(), stream.data(), 4096);
    parts.DecryptBuffer(4096);
    std::string plain = BufferBytes(parts, 4096);
    std::memcpy(parts.Buffer.data(), stream.data() + 4096, 16);
    parts.DecryptBuffer(16);
    plain += BufferBytes(parts, 16);
    FillBuffer(whole);
    EXPECT_EQ(ToHex(plain), ToHex(BufferBytes(whole, 4112)));
}

TEST_P(ModeTest, SetIVBetweenCallsRestartsTheStream) {
    TRijndael r;
    Start(r);
    FillBuffer(r);
    r.EncryptBuffer(4096);
    const std::string first = BufferBytes(r, 4096);
    FillBuffer(r);
    r.DecryptBuffer(64); // the other direction in between
    r.SetIV("initial vector text");
    FillBuffer(r);
    r.EncryptBuffer(4096);
    EXPECT_EQ(BufferBytes(r, 4096), first);
}

TEST_P(ModeTest, ResetThenTheSameTextsReproducesTheCipherText) {
    TRijndael r;
    Start(r);
    r.StringMode = smMime;
    const std::string first = r.EncryptString("the same plain text");
    r.Reset();
    EXPECT_FALSE(r.KeySet());
    EXPECT_FALSE(r.IVSet());
    EXPECT_EQ(r.Chain(), (std::array<std::uint8_t, 16>{}));
    Start(r);
    EXPECT_EQ(r.EncryptString("the same plain text"), first);
}

TEST_P(ModeTest, ModeChangedAfterSetKeyTakesEffect) {
    TRijndael late;
    late.KeySize = Large256;
    late.SetIV("initial vector text");
    late.SetKey("a password");
    late.CipherMode = GetParam();
    FillBuffer(late);
    late.EncryptBuffer(64);
    TRijndael early;
    Start(early);
    FillBuffer(early);
    early.EncryptBuffer(64);
    EXPECT_EQ(BufferBytes(late, 64), BufferBytes(early, 64));
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeTest, ::testing::Values(ECB, CBC, CFB, OFB),
                         [](const auto& info) { return ModeName(info.param); });

TEST(BufferCount, InvalidCountsThrowAndTouchNothing) {
    TRijndael r;
    r.CipherMode = CBC;
    r.SetIV("iv");
    r.SetKey("key");
    FillBuffer(r);
    const std::string before = BufferBytes(r, TRijndael::BufferSize);
    const auto chain = r.Chain();
    for (const int count : {0, -16, -1, 1, 15, 17, 4104, 4113, 4128, 1 << 30}) {
        EXPECT_THROW(r.EncryptBuffer(count), std::invalid_argument) << count;
        EXPECT_THROW(r.DecryptBuffer(count), std::invalid_argument) << count;
    }
    EXPECT_EQ(BufferBytes(r, TRijndael::BufferSize), before);
    EXPECT_EQ(r.Chain(), chain);
    EXPECT_NO_THROW(r.EncryptBuffer(16));
    EXPECT_NO_THROW(r.EncryptBuffer(TRijndael::BufferSize));
}

TEST(BufferCount, NeverKeyedComponentRefusesToEncrypt) {
    TRijndael r;
    FillBuffer(r);
    const std::string before = BufferBytes(r, 16);
    EXPECT_THROW(r.EncryptBuffer(16), EKeyError);
    EXPECT_EQ(BufferBytes(r, 16), before);
}

TEST(BufferCount, ResetKeepsTheScheduleForTheBufferOperations) {
    TRijndael r;
    r.CipherMode = CBC;
    r.SetIV("iv");
    r.SetKey("key");
    FillBuffer(r);
    r.EncryptBuffer(32);
    const std::string first = BufferBytes(r, 32);
    r.Reset();
    r.SetIV("iv");
    FillBuffer(r);
    r.EncryptBuffer(32);
    EXPECT_EQ(BufferBytes(r, 32), first);
}

} // namespace
} // namespace quarn
