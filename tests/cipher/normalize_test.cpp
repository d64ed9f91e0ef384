#include "normalize.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(Normalize, LowerCaseLettersBecomeCapitalsInOrder) {
  const Normalized n = Normalize(u"abcdefghijklmnopquvwxyz");
  EXPECT_EQ(n.upper, u"ABCDEFGHIJKLMNOPQUVWXYZ");
  EXPECT_EQ(n.phrase, u"ABCDEFGHIJKLMNOPQUVWXYZ");
  EXPECT_EQ(Normalize(u"aAbBaa").phrase, u"AABBAA");
}

TEST(Normalize, EverythingButLatinLettersIsDropped) {
  const Normalized n = Normalize(u"Hi, 2 you! [x]^_`{z} Ёжик über ÀÉ");
  EXPECT_EQ(n.upper, u"HI, 2 YOU! [X]^_`{Z} Ёжик üBER ÀÉ");
  EXPECT_EQ(n.phrase, u"HIYOUXZBER");
  EXPECT_EQ(Normalize(u"@[\\]^_`{").phrase, u"");
}

TEST(Normalize, NothingLeftGivesEmptyPhrase) {
  EXPECT_EQ(Normalize(u"").phrase, u"");
  EXPECT_EQ(Normalize(u"").upper, u"");
  EXPECT_EQ(Normalize(u"12 345").phrase, u"");
  EXPECT_EQ(Normalize(u"Информатика").phrase, u"");
  EXPECT_EQ(Normalize(u"Информатика").upper, u"Информатика");
}

TEST(Normalize, IsIdempotent) {
  EXPECT_EQ(Normalize(u"QWERTY").phrase, u"QWERTY");
  EXPECT_EQ(Normalize(u"QWERTY").upper, u"QWERTY");
}

}  // namespace
}  // namespace quorvel
