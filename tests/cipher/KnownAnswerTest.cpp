#include "CaseNames.h"
#include "CipherTestUtil.h"
#include "cipher/Rijndael.h"

#include <cstring>
#include <gtest/gtest.h>

namespace quarn {
namespace {

using test::FromHex;
using test::ToHex;

struct KnownAnswer {
    const char* name;
    TCipherMode mode;
    TKeySize keySize;
    const char* key;
    const char* iv;
    const char* plain;
    const char* cipher;
};

constexpr const char* Key128 = "2b7e151628aed2a6abf7158809cf4f3c";
constexpr const char* Key192 = "8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b";
constexpr const char* Key256 = "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4";
constexpr const char* Iv = "000102030405060708090a0b0c0d0e0f";
constexpr const char* Plain = "6bc1bee22e409f96e93d7e117393172a"
                              "ae2d8a571e03ac9c9eb76fac45af8e51"
                              "30c81c46a35ce411e5fbc1191a0a52ef"
                              "f69f2445df4f9b17ad2b417be66c3710";

// FIPS-197 appendix C and NIST SP 800-38A appendix F (CFB with 128-bit feedback).
const KnownAnswer KnownAnswers[] = {
    {"Fips128", ECB, Small128, "000102030405060708090a0b0c0d0e0f", "",
     "00112233445566778899aabbccddeeff", "69c4e0d86a7b0430d8cdb78070b4c55a"},
    {"Fips192", ECB, Med192, "000102030405060708090a0b0c0d0e0f1011121314151617", "",
     "00112233445566778899aabbccddeeff", "dda97ca4864cdfe06eaf70a0ec0d7191"},
    {"Fips256", ECB, Large256, "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
     "", "00112233445566778899aabbccddeeff", "8ea2b7ca516745bfeafc49904b496089"},
    {"Ecb128", ECB, Small128, Key128, "", Plain,
     "3ad77bb40d7a3660a89ecaf32466ef97f5d3d58503b9699de785895a96fdbaaf"
     "43b1cd7f598ece23881b00e3ed0306887b0c785e27e8ad3f8223207104725dd4"},
    {"Ecb192", ECB, Med192, Key192, "", Plain,
     "bd334f1d6e45f25ff712a214571fa5cc974104846d0ad3ad7734ecb3ecee4eef"
     "ef7afd2270e2e60adce0ba2face6444e9a4b41ba738d6c72fb16691603c18e0e"},
    {"Ecb256", ECB, Large256, Key256, "", Plain,
     "f3eed1bdb5d2a03c064b5a7e3db181f8591ccb10d410ed26dc5ba74a31362870"
     "b6ed21b99ca6f4f9f153e7b1beafed1d23304b7a39f9f3ff067d8d8f9e24ecc7"},
    {"Cbc128", CBC, Small128, Key128, Iv, Plain,
     "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
     "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7"},
    {"Cbc192", CBC, Med192, Key192, Iv, Plain,
     "4f021db243bc633d7178183a9fa071e8b4d9ada9ad7dedf4e5e738763f69145a"
     "571b242012fb7ae07fa9baac3df102e008b0e27988598881d920a9e64f5615cd"},
    {"Cbc256", CBC, Large256, Key256, Iv, Plain,
     "f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d"
     "39f23369a9d9bacfa530e26304231461b2eb05e2c39be9fcda6c19078c6a9d1b"},
    {"Cfb128", CFB, Small128, Key128, Iv, Plain,
     "3b3fd92eb72dad20333449f8e83cfb4ac8a64537a0b3a93fcde3cdad9f1ce58b"
     "26751f67a3cbb140b1808cf187a4f4dfc04b05357c5d1c0eeac4c66f9ff7f2e6"},
    {"Cfb192", CFB, Med192, Key192, Iv, Plain,
     "cdc80d6fddf18cab34c25909c99a417467ce7f7f81173621961a2b70171d3d7a"
     "2e1e8a1dd59b88b1c8e60fed1efac4c9c05f9f9ca9834fa042ae8fba584b09ff"},
    {"Cfb256", CFB, Large256, Key256, Iv, Plain,
     "dc7e84bfda79164b7ecd8486985d386039ffed143b28b1c832113c6331e5407b"
     "df10132415e54b92a13ed0a8267ae2f975a385741ab9cef82031623d55b1e471"},
    {"Ofb128", OFB, Small128, Key128, Iv, Plain,
     "3b3fd92eb72dad20333449f8e83cfb4a7789508d16918f03f53c52dac54ed825"
     "9740051e9c5fecf64344f7a82260edcc304c6528f659c77866a510d9c1d6ae5e"},
    {"Ofb192", OFB, Med192, Key192, Iv, Plain,
     "cdc80d6fddf18cab34c25909c99a4174fcc28b8d4c63837c09e81700c1100401"
     "8d9a9aeac0f6596f559c6d4daf59a5f26d9f200857ca6c3e9cac524bd9acc92a"},
    {"Ofb256", OFB, Large256, Key256, Iv, Plain,
     "dc7e84bfda79164b7ecd8486985d38604febdc6740d20b3ac88f6ad82a4fb08d"
     "71ab47a086e86eedf39d1c5bba97c4080126141d67f37be8538f5a8be740e484"},
};

void PrintTo(const KnownAnswer& vector, std::ostream* out) {
    *out << vector.name;
}

class KnownAnswerTest : public ::testing::TestWithParam<KnownAnswer> {
protected:
    // Raw key bytes of the full key size and a 16-byte IV fold onto themselves.
    void SetUp() override {
        const KnownAnswer& v = GetParam();
        rijndael_.CipherMode = v.mode;
        rijndael_.KeySize = v.keySize;
        rijndael_.SetIV(FromHex(v.iv));
        rijndael_.SetKey(FromHex(v.key));
    }

    std::string ThroughBuffer(const std::string& in, bool encrypt) {
        std::memcpy(rijndael_.Buffer.data(), in.data(), in.size());
        const int count = static_cast<int>(in.size());
        encrypt ? rijndael_.EncryptBuffer(count) : rijndael_.DecryptBuffer(count);
        return {reinterpret_cast<const char*>(rijndael_.Buffer.data()), in.size()};
    }

    std::string ThroughBlocks(std::string data, bool encrypt) {
        for (std::size_t i = 0; i < data.size(); i += 16) {
            auto* block = reinterpret_cast<std::uint8_t*>(data.data() + i);
            encrypt ? rijndael_.EncryptBlock(block) : rijndael_.DecryptBlock(block);
        }
        return data;
    }

    TRijndael rijndael_;
};

TEST_P(KnownAnswerTest, EncryptBufferGivesTheVector) {
    EXPECT_EQ(ToHex(ThroughBuffer(FromHex(GetParam().plain), true)), GetParam().cipher);
}

TEST_P(KnownAnswerTest, DecryptBufferGivesThePlainText) {
    EXPECT_EQ(ToHex(ThroughBuffer(FromHex(GetParam().cipher), false)), GetParam().plain);
}

TEST_P(KnownAnswerTest, BlockByBlockOnOutsideMemoryGivesTheVectorBothWays) {
    EXPECT_EQ(ToHex(ThroughBlocks(FromHex(GetParam().plain), true)), GetParam().cipher);
    rijndael_.SetIV(FromHex(GetParam().iv));
    EXPECT_EQ(ToHex(ThroughBlocks(FromHex(GetParam().cipher), false)), GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(Vectors, KnownAnswerTest, ::testing::ValuesIn(KnownAnswers),
                         quarn::test::CaseName());

} // namespace
} // namespace quarn
