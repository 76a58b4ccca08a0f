// Base64: the encodings of every padding length and every byte value, and
// the texts the strict decoder refuses.
#include "common/base64.h"

#include <gtest/gtest.h>

namespace {

using VardelCommon::DecodeBase64;
using VardelCommon::EncodeBase64;

TEST(Base64, EncodesEveryPaddingLengthAndDecodesItBack) {
    const struct {
        std::string_view bytes;
        std::string_view text;
    } cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {std::string_view("\x00\xFF\xFE", 3), "AP/+"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeBase64(c.bytes), c.text);
        EXPECT_EQ(DecodeBase64(c.text), std::string(c.bytes)) << c.text;
    }
}

TEST(Base64, EveryByteValueRoundTrips) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(255 - i);
    }
    for (std::size_t length = 0; length <= bytes.size(); ++length) {
        const std::string part = bytes.substr(0, length);
        EXPECT_EQ(DecodeBase64(EncodeBase64(part)), part) << length;
    }
}

TEST(Base64, RefusesWhatTheEncoderNeverWrites) {
    for (const std::string_view text : {
             "Zg=",       // length not a multiple of 4
             "Zg==Zg==",  // padding before the end
             "Z===",      // a lone digit
             "====",
             "Zm9\n",  // a line break
             "Zm 9",   // a blank
             "Zm-_",   // the URL alphabet
             "Zh==",   // bits after the last byte are not zero
             "Zm9=",   // likewise
             "Zm=v",   // padding inside
         }) {
        EXPECT_EQ(DecodeBase64(text), std::nullopt) << text;
    }
}

}  // namespace
