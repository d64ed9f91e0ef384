#include "field_input.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(AdmitPaste, TakesTheFirstLineOfCodePageTextCutToTheRoom) {
  const Admitted cut = AdmitPaste(u"Ключ 47\u4E2D031\r\nвтори ред", 8);
  EXPECT_EQ(cut.text, u"Ключ 470");
  EXPECT_TRUE(cut.refused);

  const Admitted plain = AdmitPaste(u"abc\ndef", 50);
  EXPECT_EQ(plain.text, u"abc");
  EXPECT_FALSE(plain.refused) << "a line break is no refused character";
  EXPECT_EQ(AdmitPaste(u"abc", 0).text, u"");
}

TEST(PasteRoom, IsTheLimitLessWhatStays) {
  EXPECT_EQ(PasteRoom(50, 10, 0), 40u);
  EXPECT_EQ(PasteRoom(50, 50, 5), 5u) << "the selection makes room";
  EXPECT_EQ(PasteRoom(5, 8, 1), 0u) << "a field already over its limit has none";
}

TEST(WordStartBefore, GoesBackOverBlanksThenTheWord) {
  EXPECT_EQ(WordStartBefore(u"abc def  ", 9), 4u);
  EXPECT_EQ(WordStartBefore(u"abc\tdef", 5), 4u) << "from inside a word";
  EXPECT_EQ(WordStartBefore(u"abc", 3), 0u);
  EXPECT_EQ(WordStartBefore(u"abc", 99), 0u) << "a caret past the end is at the end";
  EXPECT_EQ(WordStartBefore(u"", 0), 0u);
}

}  // namespace
}  // namespace quorvel
