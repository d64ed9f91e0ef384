#pragma once

#include <windows.h>

#include <array>

namespace quorvel {

// The control arrays of the window; a control is named by its array and its index.
enum class ControlArray { Label1, Text1, Text2, Command1 };

enum class Kind {
  Caption,  // static text on its own background
  Field,    // single-line edit box the user types into
  Box,      // multi-line, word-wrapping, read-only edit box with a vertical scroll bar
  Button,   // push button painted in its own background
};

struct TwipRect {
  int left, top, width, height;
};

constexpr COLORREF kSystemColours = CLR_INVALID;

struct ControlSpec {
  ControlArray array;
  int index;
  Kind kind;
  TwipRect twips;
  const wchar_t* text;
  int limit;            // characters the user may type, 0 for none
  COLORREF background;  // kSystemColours: the system's own
  bool shown;
};

constexpr int kTwipsPerInch = 1440;
constexpr int kClientWidthTwips = 7545;
constexpr int kClientHeightTwips = 5265;
constexpr COLORREF kWindowBackground = RGB(192, 192, 255);
constexpr int kFontPoints = 12;
constexpr wchar_t kFontFace[] = L"Times New Roman";
extern const wchar_t kWindowCaption[];

constexpr std::size_t kControlCount = 10;

// Every control of the window, in tab order: creation, painting, focus and dispatch all read
// this one table.
extern const std::array<ControlSpec, kControlCount> kLayout;

// Pixels of a length in twips at the given dots per inch.
inline int ToPixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

}  // namespace quorvel
