#include "cp1251.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace quorvel {
namespace {

TEST(CodePage, KnownCharactersHaveTheirCodes) {
  EXPECT_EQ(ToAnsi(u'\u0098'), 0x98);  // unassigned, passed through as Windows does
  EXPECT_EQ(ToAnsi(u'№'), 0xB9);
  EXPECT_EQ(ToAnsi(u'А'), 192);
  EXPECT_EQ(ToAnsi(u'я'), 255);
  EXPECT_EQ(FromAnsi(0x88), u'€');
}

TEST(CodePage, CharactersOutsideBecomeQuestionMark) {
  for (char16_t ch : {u'é', u'ß', u'Ω', u'\u0400', u'\u0450', u'\u263A', char16_t{0xD800},
                      char16_t{0xDFFF}, u'\uFFFF', u'\u0080', u'\u009F'}) {
    EXPECT_EQ(ToAnsi(ch), 63) << static_cast<int>(ch);
    EXPECT_FALSE(InCodePage(ch)) << static_cast<int>(ch);
  }
  EXPECT_TRUE(InCodePage(u'?'));
  EXPECT_TRUE(InCodePage(u'ё'));
}

TEST(CodePage, EveryCodeRoundTrips) {
  for (int code = 0; code < 256; ++code) {
    const char16_t ch = FromAnsi(static_cast<AnsiCode>(code));
    EXPECT_EQ(ToAnsi(ch), code);
    EXPECT_TRUE(InCodePage(ch));
  }
}

// The system's own converter decides every code (glibc leaves 0x98 unassigned; Windows maps
// it to U+0098).
TEST(CodePage, AgreesWithTheSystemConverter) {
  for (int code = 0; code < 256; ++code) {
    const char byte = static_cast<char>(code);
    char16_t expected = 0;
#ifdef _WIN32
    wchar_t wide = 0;
    ASSERT_EQ(MultiByteToWideChar(1251, MB_ERR_INVALID_CHARS, &byte, 1, &wide, 1), 1) << code;
    expected = static_cast<char16_t>(wide);
#else
    if (code == 0x98) {
      expected = u'\u0098';
    } else {
      iconv_t cd = iconv_open("UTF-16LE", "CP1251");
      ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
      char in = byte;
      unsigned char out[2] = {0, 0};
      char* inp = &in;
      char* outp = reinterpret_cast<char*>(out);
      size_t inLeft = 1;
      size_t outLeft = 2;
      ASSERT_NE(iconv(cd, &inp, &inLeft, &outp, &outLeft), static_cast<size_t>(-1)) << code;
      iconv_close(cd);
      expected = static_cast<char16_t>(out[0] | (out[1] << 8));
    }
#endif
    EXPECT_EQ(FromAnsi(static_cast<AnsiCode>(code)), expected) << code;
  }
}

}  // namespace
}  // namespace quorvel
