#include "CipherTestUtil.h"
#include "cipher/Rijndael.h"
#include "cipher/TextCoding.h"

#include <gtest/gtest.h>

namespace quarn {
namespace {

using test::FromHex;

struct Coded {
    const char* label;
    std::string bytes;
    std::string text;
};

void PrintTo(const Coded& coded, std::ostream* out) {
    *out << coded.label;
}

std::string LabelOf(const testing::TestParamInfo<Coded>& info) {
    return info.param.label;
}

class SixBitTest : public ::testing::TestWithParam<Coded> {};

TEST_P(SixBitTest, EncodesAndDecodesBack) {
    EXPECT_EQ(SixBitEncode(GetParam().bytes), GetParam().text);
    EXPECT_EQ(SixBitDecode(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Examples, SixBitTest,
                         ::testing::Values(Coded{"Empty", "", ""}, Coded{"a", "a", "ME"},
                                           Coded{"ab", "ab", "MK6"}, Coded{"abc", "abc", "MK7X"},
                                           Coded{"abca", "abca", "MK7XME"},
                                           Coded{"Zeros", std::string("\0\0\0", 3), "++++"},
                                           Coded{"Ones", "\xff\xff\xff", "zzzz"}),
                         LabelOf);

class Base64Test : public ::testing::TestWithParam<Coded> {};

TEST_P(Base64Test, EncodesAndDecodesBack) {
    EXPECT_EQ(Base64Encode(GetParam().bytes), GetParam().text);
    EXPECT_EQ(Base64Decode(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Rfc4648, Base64Test,
                         ::testing::Values(Coded{"Empty", "", ""}, Coded{"f", "f", "Zg=="},
                                           Coded{"fo", "fo", "Zm8="}, Coded{"foo", "foo", "Zm9v"},
                                           Coded{"foob", "foob", "Zm9vYg=="},
                                           Coded{"fooba", "fooba", "Zm9vYmE="},
                                           Coded{"foobar", "foobar", "Zm9vYmFy"},
                                           Coded{"PlusSlash", "\xfb\xff", "+/8="}),
                         LabelOf);

TEST(Base64Decode, Quirks) {
    EXPECT_EQ(Base64Decode("Zm=9v"), "foo"); // "=" skipped anywhere
    EXPECT_EQ(Base64Decode("=Z=m=9=v="), "foo");
    EXPECT_EQ(Base64Decode("Zm9\nv"), Base64Decode("Zm9Av")); // non-alphabet counts as "A"
    EXPECT_EQ(Base64Decode("Zm 9v"), Base64Decode("ZmA9v"));
    EXPECT_EQ(Base64Decode("Zm9vY"), "foo"); // a lone trailing character gives nothing
    EXPECT_EQ(Base64Decode("Z"), "");
    EXPECT_EQ(Base64Decode("===="), "");
}

TEST(SixBitDecode, OtherCharactersCountAsZero) {
    EXPECT_EQ(SixBitDecode("M*7X"), SixBitDecode("M+7X"));
    EXPECT_EQ(SixBitDecode("MK7XM"), "abc");
}

class StringRoundTrip : public ::testing::TestWithParam<std::tuple<TCipherMode, TStringMode>> {
protected:
    void SetUp() override {
        r_.CipherMode = std::get<0>(GetParam());
        r_.StringMode = std::get<1>(GetParam());
        r_.KeySize = Large256;
    }
    void Start() {
        r_.SetIV("favorites iv");
        r_.SetKey("favorites key");
    }
    TRijndael r_;
};

TEST_P(StringRoundTrip, EveryLengthComesBack) {
    for (std::size_t length = 0; length <= 40; ++length) {
        std::string plain(length, '\0');
        for (std::size_t i = 0; i < length; ++i)
            plain[i] = static_cast<char>(i * 37 + 200);
        Start();
        const std::string cipher = r_.EncryptString(plain);
        Start();
        EXPECT_EQ(r_.DecryptString(cipher), plain) << length;
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, StringRoundTrip,
                         ::testing::Combine(::testing::Values(ECB, CBC, CFB, OFB),
                                            ::testing::Values(smMime, smEncode, smNormal)),
                         [](const auto& info) {
                             return ModeName(std::get<0>(info.param)) + "_" +
                                    StringModeName(std::get<1>(info.param));
                         });

class StringTest : public ::testing::Test {
protected:
    void Start(TStringMode mode) {
        r_.CipherMode = CBC;
        r_.KeySize = Large256;
        r_.StringMode = mode;
        r_.SetIV("iv");
        r_.SetKey("key");
    }

    void ExpectInputError(const std::string& input, const char* message) {
        try {
            r_.DecryptString(input);
            ADD_FAILURE() << "accepted " << input.size() << " bytes";
        } catch (const EInputError& e) {
            EXPECT_STREQ(e.what(), message);
        }
    }

    TRijndael r_;
};

TEST_F(StringTest, PaddingAddsOneToSixteenBytes) {
    Start(smNormal);
    EXPECT_EQ(r_.EncryptString(std::string(15, 'x')).size(), 16u);
    EXPECT_EQ(r_.EncryptString(std::string(16, 'x')).size(), 32u);
    EXPECT_EQ(r_.EncryptString("x").size(), 16u);
    EXPECT_EQ(r_.EncryptString("").size(), 0u);
    Start(smMime);
    EXPECT_EQ(r_.EncryptString(std::string(16, 'x')).size(), 44u);
    Start(smEncode);
    EXPECT_EQ(r_.EncryptString(std::string(16, 'x')).size(), 43u);
}

TEST_F(StringTest, PaddingBlockHoldsItsLength) {
    Start(smNormal);
    r_.CipherMode = ECB;
    const std::string cipher = r_.EncryptString(std::string(16, 'x'));
    std::string tail = cipher.substr(16);
    r_.DecryptBlock(reinterpret_cast<std::uint8_t*>(tail.data()));
    EXPECT_EQ(tail, std::string(16, '\x10'));
}

TEST_F(StringTest, EmptyInputGivesEmptyResult) {
    Start(smMime);
    EXPECT_EQ(r_.DecryptString(""), "");
}

TEST_F(StringTest, ShortOrBrokenInputIsRefused) {
    Start(smMime);
    ExpectInputError("QUJDREVGR0g=", "Rijndael: Input not valid - too short"); // 8 bytes
    ExpectInputError("====", "Rijndael: Input not valid - too short");
    Start(smNormal);
    ExpectInputError(std::string(15, 'x'), "Rijndael: Input not valid - too short");
    ExpectInputError(std::string(20, 'x'), "Rijndael: Input not valid - incomplete block");
    Start(smEncode);
    ExpectInputError(std::string(30, 'A'), "Rijndael: Input not valid - incomplete block");
}

TEST_F(StringTest, PaddingByteOutOfRangeDropsOneByte) {
    for (const char last : {'\0', '\x11', '\xff'}) {
        Start(smNormal);
        r_.CipherMode = ECB;
        std::string block = "fifteen bytes.." + std::string(1, last);
        r_.EncryptBlock(reinterpret_cast<std::uint8_t*>(block.data()));
        EXPECT_EQ(r_.DecryptString(block), "fifteen bytes..") << int(last);
    }
}

TEST_F(StringTest, MimeDecodingSkipsEqualsButCountsLineBreaks) {
    Start(smMime);
    const std::string cipher = r_.EncryptString("a favorite folder"); // 32 bytes, 44 characters
    ASSERT_EQ(cipher.size(), 44u);
    Start(smMime);
    EXPECT_EQ(r_.DecryptString("==" + cipher.substr(0, 10) + "=" + cipher.substr(10)),
              "a favorite folder");
    Start(smMime);
    ExpectInputError(cipher.substr(0, 43) + "\n=", "Rijndael: Input not valid - incomplete block");
}

} // namespace
} // namespace quarn
