// What typing and pasting admit into the fields, down to every UTF-16 code unit.
#include <gtest/gtest.h>

#include <map>

#include "window_fixture.h"

namespace quorvel {
namespace {

TEST_F(WindowTest, TypingStopsAtTheFieldLimits) {
  Set(PhraseField(), u"");
  Set(KeyField(), u"");
  Type(PhraseField(), std::u16string(60, u'a'));
  Type(KeyField(), u"Ключ, 0123456789 и още");
  EXPECT_EQ(Text(PhraseField()), std::u16string(50, u'a'));
  EXPECT_EQ(Text(KeyField()), u"Ключ, 0123456789 и о");
}

TEST_F(WindowTest, PasteReplacesTheSelectionWithinTheLimit) {
  Set(PhraseField(), u"abc");
  SendMessageW(PhraseField(), EM_SETSEL, 3, 3);
  Paste(PhraseField(), std::u16string(60, u'x'));
  EXPECT_EQ(Text(PhraseField()), u"abc" + std::u16string(47, u'x'));

  Set(KeyField(), u"01234567890123456789");
  SendMessageW(KeyField(), EM_SETSEL, 5, 10);
  Paste(KeyField(), u"ABCDEFGHIJ");
  EXPECT_EQ(Text(KeyField()), u"01234ABCDE0123456789");
  SendMessageW(KeyField(), EM_SETSEL, 20, 20);
  Paste(KeyField(), u"more");
  EXPECT_EQ(Text(KeyField()), u"01234ABCDE0123456789");

  Paste(PhraseField(), u"a\u263Ab");
  Set(KeyField(), u"");
  Type(KeyField(), u"\x16");  // Ctrl+V goes the same way
  EXPECT_EQ(Text(KeyField()), u"ab");
}

struct WordCase {
  std::u16string text;
  int selStart, selEnd;
  std::u16string after;  // what is left, with "|" typed where the caret then stands
};

// The edit box turns Ctrl+Backspace into the character DEL; the fields delete a word instead.
TEST_F(WindowTest, CtrlBackspaceDeletesTheWordBeforeTheCaret) {
  // clang-format off
  const WordCase cases[] = {
      {u"ab cd",   5, 5, u"ab |"},
      {u"ab cd  ", 7, 7, u"ab |"},
      {u"ab\tcd",  5, 5, u"ab\t|"},
      {u"ab cd",   4, 4, u"ab |d"},
      {u"Ключ 47", 4, 4, u"| 47"},
      {u"abc",     0, 0, u"|abc"},
      {u"   ",     3, 3, u"|"},
      {u"ab cd",   1, 4, u"a|d"},
  };
  // clang-format on
  for (HWND field : {PhraseField(), KeyField()}) {
    for (const WordCase& c : cases) {
      SCOPED_TRACE(::testing::Message()
                   << (field == KeyField() ? "key " : "phrase ") << c.selStart << "-" << c.selEnd);
      Set(field, c.text);
      SendMessageW(field, EM_SETSEL, c.selStart, c.selEnd);
      Type(field, u"\x7f|");
      EXPECT_EQ(Text(field), c.after);
    }
  }
}

// The Windows-1251 characters with their codes, as the system's own converter gives them.
std::map<char16_t, int> SystemCodePage() {
  std::map<char16_t, int> codes;
  for (int code = 0; code < 256; ++code) {
    const char byte = static_cast<char>(code);
    wchar_t wide = 0;
    if (MultiByteToWideChar(1251, MB_ERR_INVALID_CHARS, &byte, 1, &wide, 1) == 1) {
      codes[static_cast<char16_t>(wide)] = code;
    }
  }
  return codes;
}

TEST_F(WindowTest, EveryCodeUnitTypedIntoTheKeyThenComputed) {
  const std::map<char16_t, int> codePage = SystemCodePage();
  ASSERT_EQ(codePage.size(), 256u);
  Paste(PhraseField(), u"");  // leaves an empty clipboard for Ctrl+V
  Set(KeyField(), u"");
  int admitted = 0;
  for (int unit = 0; unit <= 0xFFFF; ++unit) {
    const auto ch = static_cast<char16_t>(unit);
    SendMessageW(KeyField(), WM_CHAR, ch, 1);
    const std::u16string key = Text(KeyField());
    const auto found = codePage.find(ch);
    if (unit < 0x20 || unit == 0x7F) {
      ASSERT_EQ(key, u"") << "control character " << unit << " is the edit box's own";
      continue;
    }
    if (found == codePage.end()) {
      ASSERT_EQ(key, u"") << "refused: " << unit;
      continue;
    }
    ASSERT_EQ(key, std::u16string(1, ch)) << "admitted: " << unit;
    ++admitted;
    Set(PhraseField(), u"a");
    Click(ComputeButton());
    const auto lines = Lines(Text(LogBox()));
    ASSERT_EQ(lines.size(), 5u) << unit;
    const int q = found->second;
    ASSERT_EQ(lines[2], u"A Xor " + key + u" = 65 Xor " + Number(q) + u" = " + Number(65 ^ q))
        << unit;
    ASSERT_EQ(lines[4], Number(q) + u" Xor " + Number(65 ^ q) + u" = A") << unit;
    Set(KeyField(), u"");
  }
  EXPECT_EQ(admitted, 256 - 33) << "all but the 32 control characters and DEL";
}

struct PasteCase {
  const char* name;
  std::u16string clipboard;
  std::u16string key;     // what the empty key field then holds
  std::u16string phrase;  // what the empty phrase field then holds
};

TEST_F(WindowTest, AwkwardPastes) {
  const std::u16string twenty = u"01234567890123456789";
  const std::u16string fifty = twenty + twenty + u"0123456789";
  std::u16string tenThousand;
  for (int i = 0; i < 1000; ++i) {
    tenThousand += u"\tпаст\u263A\r\nx";
  }
  const PasteCase cases[] = {
      {"empty", u"", u"", u""},
      {"one", u"я", u"я", u"я"},
      {"twenty", twenty, twenty, twenty},
      {"twenty-one", twenty + u"!", twenty, twenty + u"!"},
      {"fifty", fifty, twenty, fifty},
      {"fifty-one", fifty + u"?", twenty, fifty},
      {"ten thousand, line breaks", tenThousand, u"\tпаст", u"\tпаст"},
      {"ten thousand on one line", std::u16string(10000, u'ж'), std::u16string(20, u'ж'),
       std::u16string(50, u'ж')},
      {"tabs", std::u16string(30, u'\t'), std::u16string(20, u'\t'), std::u16string(30, u'\t')},
      {"NUL", std::u16string(u"ab\0cd", 5), u"ab", u"ab"},
      {"unpaired surrogates",
       std::u16string(u"a") + char16_t{0xD800} + u"b" + char16_t{0xDFFF} + char16_t{0xDC00} + u"c",
       u"abc", u"abc"},
      {"line feed first", u"\nabc", u"", u""},
  };
  for (const PasteCase& c : cases) {
    SCOPED_TRACE(c.name);
    Set(KeyField(), u"");
    Set(PhraseField(), u"");
    Paste(KeyField(), c.clipboard);
    Paste(PhraseField(), c.clipboard);
    EXPECT_EQ(Text(KeyField()), c.key);
    EXPECT_EQ(Text(PhraseField()), c.phrase);
  }
}

}  // namespace
}  // namespace quorvel
