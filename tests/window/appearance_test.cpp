#include <gtest/gtest.h>

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

TEST_F(WindowTest, CaptionsOnTheirOwnBackground) {
  for (int index = 0; index < 3; ++index) {
    Canvas canvas;
    HWND label = window_->Control(ControlArray::Label1, index);
    const LRESULT brush =
        SendMessageW(Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.dc()),
                     reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(BrushColour(brush), RGB(255, 192, 128)) << index;
    EXPECT_EQ(GetBkColor(canvas.dc()), RGB(255, 192, 128)) << index;
    EXPECT_TRUE(GetWindowLongW(label, GWL_STYLE) & SS_CENTER) << index;
  }
  Canvas canvas;
  const LRESULT brush =
      SendMessageW(Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.dc()),
                   reinterpret_cast<LPARAM>(LogBox()));
  EXPECT_EQ(BrushColour(brush), GetSysColor(COLOR_WINDOW)) << "the log box keeps edit colours";
}

TEST_F(WindowTest, WindowAndButtonsPaintTheirColours) {
  Canvas canvas;
  SendMessageW(Window(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
  EXPECT_EQ(GetPixel(canvas.dc(), 30, 20), RGB(192, 192, 255));

  const std::pair<HWND, COLORREF> buttons[] = {{ComputeButton(), RGB(0, 255, 0)},
                                               {ClearButton(), RGB(255, 0, 0)}};
  for (const auto& [button, colour] : buttons) {
    for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED | ODS_FOCUS)}) {
      DRAWITEMSTRUCT item = {};
      item.CtlType = ODT_BUTTON;
      item.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
      item.itemAction = ODA_DRAWENTIRE;
      item.itemState = state;
      item.hwndItem = button;
      item.hDC = canvas.dc();
      item.rcItem = {0, 0, 64, 40};
      EXPECT_TRUE(SendMessageW(Window(), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item)));
      EXPECT_EQ(GetPixel(canvas.dc(), 5, 5), colour);
      EXPECT_EQ(GetPixel(canvas.dc(), 58, 34), colour);
      EXPECT_NE(GetPixel(canvas.dc(), 0, 0), colour) << "an edge round the button";
    }
  }
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

TEST_F(WindowTest, HasItsIcon) {
  const auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(Window(), GCLP_HICON));
  ASSERT_NE(icon, nullptr);
  ICONINFO info;
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP mask;
  GetObjectW(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, 32);
  DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) {
    DeleteObject(info.hbmColor);
  }
}

}  // namespace
}  // namespace quorvel
