#include "trace.h"

#include <gtest/gtest.h>

#include "expected_logs.h"
#include "text_lines.h"

namespace quorvel {
namespace {

TEST(Trace, FieldsAsTheWindowOpens) {
  CodeTable table;
  const auto log = Trace(u"ABCDEFGHIJKLMNOPQUVWXYZ", u"47031", table);
  ASSERT_TRUE(log);
  EXPECT_EQ(*log, kInitialFieldsLog);
  EXPECT_EQ(Lines(*log).size(), 49u);
  EXPECT_EQ(table.At(1), 117);
  EXPECT_EQ(table.At(23), 106);
  EXPECT_EQ(table.At(24), 0);
}

TEST(Trace, CyrillicAndBlankKeyCharacters) {
  CodeTable table;
  const auto log = Trace(u"HELLO", u"Кл ю", table);
  ASSERT_TRUE(log);
  EXPECT_EQ(*log, kHelloLog);
}

TEST(Trace, OneCharacterKeyAndCodeZero) {
  CodeTable table;
  EXPECT_EQ(Trace(u"ABC", u"A", table),
            u"Дължина на въведената фраза и ключ за кодиране: 3:1\r\n"
            u"Последователно извеждам изчислените ASCII кодове:\r\n"
            u"A Xor A = 65 Xor 65 = 0\r\n"
            u"B Xor A = 66 Xor 65 = 3\r\n"
            u"C Xor A = 67 Xor 65 = 2\r\n"
            u"Извеждам обратно кодираната фраза:\r\n"
            u"65 Xor 0 = A\r\n"
            u"65 Xor 3 = B\r\n"
            u"65 Xor 2 = C\r\n");
}

TEST(Trace, KeyLongerThanPhraseReportsItsFullLength) {
  CodeTable table;
  EXPECT_EQ(Trace(u"AB", u"xyz12", table),
            u"Дължина на въведената фраза и ключ за кодиране: 2:5\r\n"
            u"Последователно извеждам изчислените ASCII кодове:\r\n"
            u"A Xor x = 65 Xor 120 = 57\r\n"
            u"B Xor y = 66 Xor 121 = 59\r\n"
            u"Извеждам обратно кодираната фраза:\r\n"
            u"120 Xor 57 = A\r\n"
            u"121 Xor 59 = B\r\n");
}

TEST(Trace, LongestPhraseAndKeyReuseTheKey) {
  CodeTable table;
  const auto log =
      Trace(u"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWX", u"0123456789abcdefghij", table);
  ASSERT_TRUE(log);
  const auto lines = Lines(*log);
  ASSERT_EQ(lines.size(), 103u);
  EXPECT_EQ(lines[0], u"Дължина на въведената фраза и ключ за кодиране: 50:20");
  EXPECT_EQ(lines[2 + 19], u"T Xor j = 84 Xor 106 = 62");
  EXPECT_EQ(lines[2 + 20], u"U Xor 0 = 85 Xor 48 = 101");
  EXPECT_EQ(lines[2 + 40], u"O Xor 0 = 79 Xor 48 = 127");
  EXPECT_EQ(lines[2 + 49], u"X Xor 9 = 88 Xor 57 = 97");
  EXPECT_EQ(lines[52], u"Извеждам обратно кодираната фраза:");
  EXPECT_EQ(lines[53 + 20], u"48 Xor 101 = U");
  EXPECT_EQ(lines[102], u"57 Xor 97 = X");
}

TEST(Trace, EmptyPhraseOrKeyGivesNothingAndLeavesTable) {
  CodeTable table;
  ASSERT_TRUE(Trace(u"AB", u"1", table));
  EXPECT_FALSE(Trace(u"", u"1", table));
  EXPECT_FALSE(Trace(u"CD", u"", table));
  EXPECT_FALSE(Trace(u"", u"", table));
  EXPECT_EQ(table.At(1), 65 ^ 49);
  EXPECT_EQ(table.At(2), 66 ^ 49);
}

TEST(Trace, ShorterRunLeavesLaterSlots) {
  CodeTable table;
  ASSERT_TRUE(Trace(u"ABCDEFGHIJ", u"1", table));
  ASSERT_TRUE(Trace(u"ZZZZ", u"1", table));
  const std::uint8_t expected[] = {0, 107, 107, 107, 107, 116, 119, 118, 121, 120, 123, 0};
  for (long i = 0; i <= 11; ++i) {
    EXPECT_EQ(table.At(i), expected[i]) << i;
  }
}

TEST(Trace, RepeatedRunGivesTheSameLog) {
  CodeTable table;
  const auto first = Trace(u"SAME", u"ключ", table);
  EXPECT_EQ(Trace(u"SAME", u"ключ", table), first);
}

TEST(Trace, PhraseBeyondTheTableFailsWithoutTouchingIt) {
  CodeTable table;
  const auto full = Trace(std::u16string(300, u'A'), u"B", table);
  ASSERT_TRUE(full);
  EXPECT_EQ(Lines(*full).size(), 603u);
  EXPECT_EQ(table.At(300), 3);

  EXPECT_FALSE(Trace(std::u16string(301, u'C'), u"B", table));
  EXPECT_EQ(table.At(1), 3);
  EXPECT_EQ(table.At(300), 3);
}

}  // namespace
}  // namespace quorvel
