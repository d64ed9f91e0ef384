#include <gtest/gtest.h>

#include "xor_cipher.h"

namespace quorvel {
namespace {

TEST(KeyPosition, KeyRepeatsFromItsFirstCharacter) {
  EXPECT_EQ(KeyPosition(1, 5), 1);
  EXPECT_EQ(KeyPosition(4, 5), 4);
  EXPECT_EQ(KeyPosition(5, 5), 5);
  EXPECT_EQ(KeyPosition(6, 5), 1);
  EXPECT_EQ(KeyPosition(10, 5), 5);
  EXPECT_EQ(KeyPosition(21, 20), 1);
  EXPECT_EQ(KeyPosition(41, 20), 1);
  EXPECT_EQ(KeyPosition(50, 20), 10);
  EXPECT_EQ(KeyPosition(7, 1), 1);
  EXPECT_EQ(KeyPosition(3, 9), 3);
}

TEST(CodeTable, StartsZeroAndChecksEveryIndex) {
  CodeTable table;
  EXPECT_EQ(table.At(0), 0);
  EXPECT_EQ(table.At(150), 0);
  EXPECT_EQ(table.At(300), 0);
  table.Set(300, 0xAB);
  EXPECT_EQ(table.At(300), 0xAB);
  EXPECT_EQ(table.At(299), 0);
  EXPECT_THROW(table.At(301), SubscriptOutOfRange);
  EXPECT_THROW(table.At(-1), SubscriptOutOfRange);
  EXPECT_THROW(table.Set(301, 1), SubscriptOutOfRange);
  EXPECT_THROW(table.Set(-300, 1), SubscriptOutOfRange);
  EXPECT_THROW(table.Set(1L << 30, 1), SubscriptOutOfRange);
  EXPECT_EQ(table.At(300), 0xAB);
}

TEST(Cipher, EncryptKeepsCodeAndDecryptGivesLetterBack) {
  CodeTable table;
  const std::u16string key = u"Ая 7";
  const TraceStep step = Encrypt(u"QWERTZ", key, 2, table);
  EXPECT_EQ(step.i, 2);
  EXPECT_EQ(step.k, 2);
  EXPECT_EQ(step.letter, u'W');
  EXPECT_EQ(step.keyChar, u'я');
  EXPECT_EQ(step.p, 87);
  EXPECT_EQ(step.q, 255);
  EXPECT_EQ(step.x, 168);
  EXPECT_EQ(table.At(2), 168);
  EXPECT_EQ(table.At(1), 0);
  EXPECT_EQ(table.At(3), 0);

  const DecryptStep back = Decrypt(key, 2, table);
  EXPECT_EQ(back.q, 255);
  EXPECT_EQ(back.x, 168);
  EXPECT_EQ(back.letter, u'W');
}

TEST(Cipher, KeyEqualToLetterGivesCodeZero) {
  CodeTable table;
  table.Set(1, 99);
  EXPECT_EQ(Encrypt(u"K", u"K", 1, table).x, 0);
  EXPECT_EQ(table.At(1), 0);
  EXPECT_EQ(Decrypt(u"K", 1, table).letter, u'K');
}

TEST(Cipher, KeyOutsideCodePageCountsAsQuestionMark) {
  CodeTable table;
  const TraceStep step = Encrypt(u"A", u"\u263A", 1, table);
  EXPECT_EQ(step.q, 63);
  EXPECT_EQ(step.keyChar, u'?');
  EXPECT_EQ(step.x, 126);
  EXPECT_EQ(Decrypt(u"\u263A", 1, table).letter, u'A');
}

}  // namespace
}  // namespace quorvel
