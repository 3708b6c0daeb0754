#include "app/Base64.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::wstring Encode(const std::string& bytes) {
    std::vector<wchar_t> out(bytes.size() / 3 * 4 + 8, L'#');
    int n = Base64Encode(reinterpret_cast<const unsigned char*>(bytes.data()), out.data(),
                         static_cast<int>(out.size()), static_cast<int>(bytes.size()));
    return n < 0 ? L"<" + std::to_wstring(n) + L">" : std::wstring(out.data(), n);
}

std::string Decode(const std::wstring& chars) {
    std::vector<unsigned char> out(chars.size() / 4 * 3 + 1);
    int n = Base64Decode(chars.data(), out.data(), static_cast<int>(out.size()), static_cast<int>(chars.size()));
    return n < 0 ? "<" + std::to_string(n) + ">" : std::string(out.begin(), out.begin() + n);
}

}  // namespace

TEST(Base64, EncodesStandardVectors) {
    // RFC 4648 test vectors.
    EXPECT_EQ(L"Zg==", Encode("f"));
    EXPECT_EQ(L"Zm8=", Encode("fo"));
    EXPECT_EQ(L"Zm9v", Encode("foo"));
    EXPECT_EQ(L"Zm9vYg==", Encode("foob"));
    EXPECT_EQ(L"Zm9vYmE=", Encode("fooba"));
    EXPECT_EQ(L"Zm9vYmFy", Encode("foobar"));
    EXPECT_EQ(L"YWJj", Encode("abc"));
    EXPECT_EQ(L"+/8=", Encode(std::string("\xFB\xFF", 2)));
}

TEST(Base64, EncodeRefusesMissingOrSmallBuffers) {
    const unsigned char abc[] = {'a', 'b', 'c', 'd'};
    wchar_t out[8] = {L'#', L'#', L'#', L'#', L'#', L'#', L'#', L'#'};
    EXPECT_EQ(-4, Base64Encode(abc, out, 8, 0));
    EXPECT_EQ(L'#', out[0]);
    EXPECT_EQ(-8, Base64Encode(abc, out, 7, 4));   // needs 8
    EXPECT_EQ(L'#', out[0]);
    EXPECT_EQ(-4, Base64Encode(nullptr, out, 8, 3));
    EXPECT_EQ(-4, Base64Encode(abc, nullptr, 8, 3));
    // Exactly the needed characters, no terminator.
    EXPECT_EQ(4, Base64Encode(abc, out, 4, 3));
    EXPECT_EQ(L'#', out[4]);
}

TEST(Base64, DecodesAndSkipsBreaks) {
    EXPECT_EQ("abc", Decode(L"YWJj"));
    EXPECT_EQ("a", Decode(L"YQ=="));
    EXPECT_EQ("ab", Decode(L"YWI="));
    EXPECT_EQ("foobar", Decode(L"Zm9v\r\nYmFy"));
    EXPECT_EQ("foobar", Decode(L"Zm9v YmFy\n"));
    // A remainder of fewer than four characters is ignored.
    EXPECT_EQ("abc", Decode(L"YWJjYW"));
    EXPECT_EQ(std::string("\xFB\xFF", 2), Decode(L"+/8="));
}

TEST(Base64, DecodeOfOddLengthsAndRubbish) {
    for (size_t length = 0; length < 40; ++length) {
        std::string bytes;
        for (size_t i = 0; i < length; ++i) bytes.push_back(static_cast<char>(i * 37 + 11));
        std::wstring encoded = Encode(bytes);
        if (length == 0) {
            EXPECT_EQ(L"<-4>", encoded);
            continue;
        }
        EXPECT_EQ(bytes, Decode(encoded)) << length;
    }
    // Characters outside the alphabet (also above 0xFF) decode as zero bits, never out of range.
    EXPECT_EQ(std::string(3, '\0'), Decode(L"\x3042\x00E9\x7FFF!"));
    // Too small an output buffer, or nothing to decode.
    unsigned char out[4];
    EXPECT_EQ(-6, Base64Decode(L"YWJjYWJj", out, 4, 8));
    EXPECT_EQ(0, Base64Decode(L"YWJj", out, 4, 0));
    EXPECT_EQ(-3, Base64Decode(nullptr, out, 4, 4));
}
