#include <gtest/gtest.h>

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

TEST_F(WindowTest, TypedCharactersOutsideTheCodePageAreRefused) {
  Set(KeyField(), u"");
  Type(KeyField(), u"a\u263Aя\u00E9€\u4E2D№\U0001F600b");
  EXPECT_EQ(Text(KeyField()), u"aя€№b");
  Type(KeyField(), u"\b\b");
  EXPECT_EQ(Text(KeyField()), u"aя€") << "Backspace still works";
}

TEST_F(WindowTest, PastingIsCutAtTheLimit) {
  Set(PhraseField(), u"abc");
  SendMessageW(PhraseField(), EM_SETSEL, 3, 3);
  Paste(PhraseField(), std::u16string(60, u'x'));
  EXPECT_EQ(Text(PhraseField()), u"abc" + std::u16string(47, u'x'));

  Set(KeyField(), u"01234567890123456789");
  SendMessageW(KeyField(), EM_SETSEL, 5, 10);
  Paste(KeyField(), u"ABCDEFGHIJ");
  EXPECT_EQ(Text(KeyField()), u"01234ABCDE0123456789") << "the selection makes room";

  SendMessageW(KeyField(), EM_SETSEL, 20, 20);
  Paste(KeyField(), u"more");
  EXPECT_EQ(Text(KeyField()), u"01234ABCDE0123456789");
}

TEST_F(WindowTest, PastedTextKeepsItsFirstLineAndTheCodePage) {
  Set(KeyField(), u"");
  Paste(KeyField(), u"k\u263Aл\tю\U0001F600!\r\nsecond line");
  EXPECT_EQ(Text(KeyField()), u"kл\tю!");

  Set(PhraseField(), u"");
  Paste(PhraseField(), u"\nnothing on the first line");
  EXPECT_EQ(Text(PhraseField()), u"");
  Paste(PhraseField(), u"only\u4E2D\u263A\rrest");
  EXPECT_EQ(Text(PhraseField()), u"only");
}

}  // namespace
}  // namespace quorvel
