#include "cp1251.h"

namespace quorvel {
namespace {

constexpr AnsiCode kUnknown = u'?';

// 0x00..0x7F are ASCII and 0xC0..0xFF are U+0410..U+044F; only this row is irregular.
// 0x98 is unassigned; Windows passes it through as the C1 control U+0098.
constexpr char16_t kHigh[64] = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',  // 80
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',  // 88
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',  // 90
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',  // 98
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',  // A0
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',  // A8
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',  // B0
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',  // B8
};

constexpr char16_t kCyrillicA = u'\u0410';
constexpr AnsiCode kCyrillicACode = 0xC0;

}  // namespace

AnsiCode ToAnsi(char16_t ch) {
  if (ch < 0x80) {
    return static_cast<AnsiCode>(ch);
  }
  if (ch >= kCyrillicA && ch < kCyrillicA + 64) {
    return static_cast<AnsiCode>(kCyrillicACode + (ch - kCyrillicA));
  }
  for (int i = 0; i < 64; ++i) {
    if (kHigh[i] == ch) {
      return static_cast<AnsiCode>(0x80 + i);
    }
  }
  return kUnknown;
}

char16_t FromAnsi(AnsiCode code) {
  if (code < 0x80) {
    return code;
  }
  if (code >= kCyrillicACode) {
    return static_cast<char16_t>(kCyrillicA + (code - kCyrillicACode));
  }
  return kHigh[code - 0x80];
}

bool InCodePage(char16_t ch) {
  return FromAnsi(ToAnsi(ch)) == ch;
}

}  // namespace quorvel
