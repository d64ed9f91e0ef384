#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource_ids.h"
#include "window_fixture.h"

namespace quorvel {
namespace {

// A 64 x 40 memory bitmap to let the window paint into.
class Canvas {
 public:
  Canvas() { old_ = SelectObject(dc_, bitmap_); }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = CreateCompatibleDC(nullptr);
  HBITMAP bitmap_ = CreateBitmap(64, 40, 1, 32, nullptr);
  HGDIOBJ old_;
};

COLORREF BrushColour(LRESULT brush) {
  LOGBRUSH info = {};
  GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof info, &info);
  return info.lbColor;
}

// What the window hands a static control or read-only box to paint with.
struct StaticColours {
  COLORREF brush, back, text;
};

StaticColours ColoursFor(HWND window, HWND control) {
  Canvas canvas;
  SetTextColor(canvas.dc(), RGB(1, 2, 3));
  const LRESULT brush =
      SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.dc()),
                   reinterpret_cast<LPARAM>(control));
  return {BrushColour(brush), GetBkColor(canvas.dc()), GetTextColor(canvas.dc())};
}

COLORREF BackgroundPainted(HWND window) {
  Canvas canvas;
  SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
  return GetPixel(canvas.dc(), 30, 20);
}

// A button painted into a 64 x 40 canvas: its fill, and what stands at its corner.
std::pair<COLORREF, COLORREF> ButtonPainted(HWND window, HWND button, UINT state) {
  Canvas canvas;
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = state;
  item.hwndItem = button;
  item.hDC = canvas.dc();
  item.rcItem = {0, 0, 64, 40};
  EXPECT_TRUE(SendMessageW(window, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(GetPixel(canvas.dc(), 5, 5), GetPixel(canvas.dc(), 58, 34)) << "one fill";
  return {GetPixel(canvas.dc(), 5, 5), GetPixel(canvas.dc(), 0, 0)};
}

TEST_F(WindowTest, CaptionsOnTheirOwnBackground) {
  for (int index = 0; index < 3; ++index) {
    HWND label = window_->Control(ControlArray::Label1, index);
    const StaticColours colours = ColoursFor(Window(), label);
    EXPECT_EQ(colours.brush, RGB(255, 192, 128)) << index;
    EXPECT_EQ(colours.back, RGB(255, 192, 128)) << index;
    EXPECT_TRUE(GetWindowLongW(label, GWL_STYLE) & SS_CENTER) << index;
  }
  EXPECT_EQ(ColoursFor(Window(), LogBox()).brush, GetSysColor(COLOR_WINDOW))
      << "the log box keeps edit colours";
}

TEST_F(WindowTest, WindowAndButtonsPaintTheirColours) {
  EXPECT_EQ(BackgroundPainted(Window()), RGB(192, 192, 255));
  const std::pair<HWND, COLORREF> buttons[] = {{ComputeButton(), RGB(0, 255, 0)},
                                               {ClearButton(), RGB(255, 0, 0)}};
  for (const auto& [button, colour] : buttons) {
    for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED | ODS_FOCUS)}) {
      const auto [fill, corner] = ButtonPainted(Window(), button, state);
      EXPECT_EQ(fill, colour);
      EXPECT_NE(corner, colour) << "an edge round the button";
    }
  }
}

// Wine cannot turn high contrast on, so the test answers the window's question itself, and
// sets the system's colours to ones a contrast theme might have.
TEST_F(WindowTest, HighContrastTakesTheSystemColoursLive) {
  bool highContrast = false;
  window_.reset();
  window_ = std::make_unique<Quorvel>(GetModuleHandleW(nullptr), [&] { return highContrast; });
  Pump();
  static const INT elements[] = {COLOR_BTNFACE, COLOR_BTNTEXT};
  struct Restore {
    COLORREF saved[2] = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)};
    ~Restore() { SetSysColors(2, elements, saved); }
  } restore;
  const COLORREF theme[] = {RGB(0, 0, 0), RGB(255, 255, 0)};
  ASSERT_TRUE(SetSysColors(2, elements, theme));
  HWND title = window_->Control(ControlArray::Label1, 0);

  highContrast = true;
  SendMessageW(Window(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_EQ(BackgroundPainted(Window()), RGB(0, 0, 0));
  const StaticColours caption = ColoursFor(Window(), title);
  EXPECT_EQ(caption.brush, RGB(0, 0, 0));
  EXPECT_EQ(caption.back, RGB(0, 0, 0));
  EXPECT_EQ(caption.text, RGB(255, 255, 0));
  EXPECT_EQ(ButtonPainted(Window(), ComputeButton(), 0).first, RGB(0, 0, 0));
  EXPECT_EQ(ButtonPainted(Window(), ClearButton(), 0).first, RGB(0, 0, 0));

  const COLORREF white[] = {RGB(255, 255, 255), RGB(0, 0, 0)};
  SetSysColors(2, elements, white);  // the system tells its windows of the change itself
  Pump();
  EXPECT_EQ(BackgroundPainted(Window()), RGB(255, 255, 255));
  EXPECT_EQ(ColoursFor(Window(), title).brush, RGB(255, 255, 255));
  EXPECT_EQ(ButtonPainted(Window(), ClearButton(), 0).first, RGB(255, 255, 255));

  highContrast = false;
  SendMessageW(Window(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_EQ(BackgroundPainted(Window()), RGB(192, 192, 255));
  EXPECT_EQ(ColoursFor(Window(), title).back, RGB(255, 192, 128));
  EXPECT_EQ(ColoursFor(Window(), title).text, RGB(1, 2, 3)) << "text colour left alone";
  EXPECT_EQ(ButtonPainted(Window(), ComputeButton(), 0).first, RGB(0, 255, 0));
}

TEST_F(WindowTest, TimesNewRoman12PointCyrillicEverywhere) {
  std::vector<HWND> controls = {LogBox(),   QuoteBox(),      PhraseField(),
                                KeyField(), ComputeButton(), ClearButton()};
  for (int index = 0; index < 3; ++index) {
    controls.push_back(window_->Control(ControlArray::Label1, index));
  }
  for (HWND control : controls) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW info;
    ASSERT_EQ(GetObjectW(font, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_STREQ(info.lfFaceName, L"Times New Roman");
    EXPECT_EQ(info.lfHeight, -16);
    EXPECT_EQ(info.lfWeight, FW_NORMAL);
    EXPECT_FALSE(info.lfItalic);
    EXPECT_EQ(info.lfCharSet, RUSSIAN_CHARSET);
  }
  HDC dc = GetDC(LogBox());
  const auto old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(LogBox(), WM_GETFONT, 0, 0)));
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(LogBox(), dc);
  EXPECT_STREQ(face, L"Times New Roman") << "the face the system really serves";
  EXPECT_EQ(metrics.tmCharSet, RUSSIAN_CHARSET);
}

TEST_F(WindowTest, HasItsIconInTheSizesOfItsDpi) {
  EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(GetClassLongPtrW(Window(), GCLP_HICON))), 32);
  EXPECT_EQ(IconWidth(WindowIcon(Window(), ICON_BIG)), 32);
  EXPECT_EQ(IconWidth(WindowIcon(Window(), ICON_SMALL)), 16);
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bits;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

// Every size Windows shows the icon at from 100 % to 200 %, each an image of its own.
TEST(IconResource, HoldsEverySizeFrom16To256) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(IDI_QUORVEL), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const auto* header = static_cast<const WORD*>(LockResource(LoadResource(module, group)));
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 3);
  std::vector<std::pair<int, int>> sizes;  // width, bits per pixel
  for (WORD i = 0; i < header[2]; ++i) {
    const int width = entries[i].width == 0 ? 256 : entries[i].width;
    sizes.emplace_back(width, entries[i].bits);
    const auto icon = static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(IDI_QUORVEL), IMAGE_ICON, width, width, 0));
    EXPECT_EQ(IconWidth(icon), width) << "loads at its own size";
    DestroyIcon(icon);
    HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(entries[i].id), RT_ICON);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, image)));
    EXPECT_EQ(std::string(bytes, 4) == "\x89PNG", width >= 40) << width << " stored as PNG";
  }
  const std::vector<std::pair<int, int>> expected = {
      {16, 32}, {20, 32}, {24, 32}, {32, 8}, {32, 32}, {40, 32}, {48, 32}, {64, 32}, {256, 32}};
  EXPECT_EQ(sizes, expected);
}

}  // namespace
}  // namespace quorvel
