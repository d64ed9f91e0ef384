#pragma once

// What the window is, without any platform: its controls in tab order, their rectangles in
// twips, texts, limits and colours, its caption, size, background and font. The Win32 window
// and the page both read it.
#include <array>
#include <cstddef>
#include <cstdint>

namespace quorvel {

// The control arrays of the window; a control is named by its array and its index.
enum class ControlArray { Label1, Text1, Text2, Command1 };
constexpr const char16_t* kArrayNames[] = {u"Label1", u"Text1", u"Text2", u"Command1"};

enum class Kind {
  Caption,  // static text on its own background
  Field,    // single-line edit box the user types into
  Box,      // multi-line, word-wrapping, read-only edit box with a vertical scroll bar
  Button,   // push button painted in its own background
};

struct TwipRect {
  int left, top, width, height;
};

// 0x00BBGGRR, the order of Windows' COLORREF.
using Colour = std::uint32_t;
constexpr Colour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return Colour{red} | Colour{green} << 8 | Colour{blue} << 16;
}
constexpr Colour kSystemColours = 0xFFFFFFFF;  // the system's own colours

struct ControlSpec {
  ControlArray array;
  int index;
  Kind kind;
  TwipRect twips;
  const char16_t* text;
  int limit;          // characters the user may type, 0 for none
  Colour background;  // kSystemColours: the system's own
  bool shown;
};

constexpr int kTwipsPerInch = 1440;
constexpr int kClientWidthTwips = 7545;
constexpr int kClientHeightTwips = 5265;
constexpr Colour kWindowBackground = Rgb(192, 192, 255);
constexpr int kFontPoints = 12;
constexpr char16_t kFontFace[] = u"Times New Roman";
extern const char16_t kWindowCaption[];

constexpr std::size_t kControlCount = 10;

// Every control of the window, in tab order: creation, painting, focus and dispatch all read
// this one table.
extern const std::array<ControlSpec, kControlCount> kLayout;

}  // namespace quorvel
