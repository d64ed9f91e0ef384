#include <gtest/gtest.h>

#include "window_fixture.h"

namespace quorvel {
namespace {

struct Expected {
  ControlArray array;
  int index;
  RECT pixels;  // left, top, right, bottom
};

void ExpectRect(HWND control, const RECT& expected) {
  const RECT r = RectInParent(control);
  EXPECT_EQ(r.left, expected.left);
  EXPECT_EQ(r.top, expected.top);
  EXPECT_EQ(r.right, expected.right);
  EXPECT_EQ(r.bottom, expected.bottom);
}

TEST_F(WindowTest, EveryControlInItsPlaceAt96Dpi) {
  RECT client;
  GetClientRect(Window(), &client);
  EXPECT_EQ(client.right, 503);
  EXPECT_EQ(client.bottom, 351);

  const Expected expected[] = {
      {ControlArray::Label1, 0, {64, 0, 433, 25}},
      {ControlArray::Label1, 1, {16, 40, 65, 73}},
      {ControlArray::Text2, 0, {64, 40, 497, 73}},
      {ControlArray::Label1, 2, {112, 80, 201, 113}},
      {ControlArray::Text2, 1, {200, 80, 497, 113}},
      {ControlArray::Command1, 0, {8, 120, 105, 153}},
      {ControlArray::Command1, 1, {392, 128, 497, 161}},
      {ControlArray::Text1, 0, {8, 168, 497, 345}},
      {ControlArray::Text1, 1, {40, 312, 489, 433}},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(::testing::Message()
                 << "array " << static_cast<int>(e.array) << " index " << e.index);
    HWND control = window_->Control(e.array, e.index);
    ASSERT_NE(control, nullptr);
    ExpectRect(control, e.pixels);
  }
}

TEST_F(WindowTest, FixedFrameCentredWithItsCaption) {
  const LONG style = GetWindowLongW(Window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_EQ(Text(Window()), u"www.quorvel.example Информатика - криптиране");

  RECT work, frame;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(Window(), &frame);
  EXPECT_NEAR(frame.left - work.left, work.right - frame.right, 1);
  EXPECT_NEAR(frame.top - work.top, work.bottom - frame.bottom, 1);
}

TEST_F(WindowTest, BoxesFieldsAndButtonsHaveTheirStyles) {
  for (HWND box : {LogBox(), QuoteBox()}) {
    const LONG style = GetWindowLongW(box, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & (ES_AUTOHSCROLL | WS_HSCROLL)) << "boxes wrap their lines";
  }
  EXPECT_TRUE(GetWindowLongW(LogBox(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(GetWindowLongW(QuoteBox(), GWL_STYLE) & WS_VISIBLE);

  for (HWND field : {PhraseField(), KeyField()}) {
    const LONG style = GetWindowLongW(field, GWL_STYLE);
    EXPECT_FALSE(style & (ES_MULTILINE | ES_READONLY));
    EXPECT_TRUE(style & WS_TABSTOP);
  }
  EXPECT_EQ(SendMessageW(PhraseField(), EM_GETLIMITTEXT, 0, 0), 50);
  EXPECT_EQ(SendMessageW(KeyField(), EM_GETLIMITTEXT, 0, 0), 20);

  for (HWND button : {ComputeButton(), ClearButton()}) {
    const LONG type = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
    EXPECT_EQ(type, BS_OWNERDRAW) << "painted by the window, never a default button";
  }
  EXPECT_EQ(Text(ComputeButton()), u"Изчисли");
  EXPECT_EQ(Text(ClearButton()), u"Изчисти");
}

TEST_F(WindowTest, InitialTexts) {
  EXPECT_EQ(Text(window_->Control(ControlArray::Label1, 0)),
            u"Информатика - шифър на Виженер, cipher Vigenere");
  EXPECT_EQ(Text(window_->Control(ControlArray::Label1, 1)), u"Текст:");
  EXPECT_EQ(Text(window_->Control(ControlArray::Label1, 2)), u"Ключ:");
  EXPECT_EQ(Text(PhraseField()), u"abcdefghijklmnopquvwxyz");
  EXPECT_EQ(Text(KeyField()), u"47031");
  EXPECT_EQ(Text(QuoteBox()),
            u"Неприятното в това да си първият, направил нещо по \r\n"
            u"правилния начин, е, че никой не оценява колко трудно е \r\n"
            u"било. \r\n");
  EXPECT_EQ(
      Text(LogBox()),
      u"След използване на криптографски алгоритми писмото/съобщението е явно/видимо, но "
      u"съдържанието скрито\r\n"
      u"В многоазбучния шифър на Виженер, за криптиране се използва ключова дума. По принцип "
      u"дължината на ключовата дума е по-малка от дължината на криптираното съобщение и знаците от "
      u"първата се ползват циклично. За всеки пореден знак от криптираното съобщение (резултат от "
      u"двуаргументна функция Xor) се използват: пореден знак некриптираното съобщение и пореден "
      u"знак от ключовата дума. При работа с логическата функция се използва ASCII кодовете на "
      u"двата знака.\r\n"
      u"Да се реализира проект, представящ вътрешнопредметни връзки в Информатика.\r\n"
      u"Тема на проекта: Информатика - шифър на Виженер, cipher Vigenere.\r\n"
      u"Реализираният проект използва:\r\n"
      u"два радиобутона за избор вид криптиране;\r\n"
      u"три текстови полета - за начален текст, отместване/ключ; за извеждане на криптираното "
      u"съобщение.\r\n"
      u"Съберете допълнително информация относно методи за криптиране като: Bifid, Hill, Ceasar, "
      u"Playfear, шифър на руските нихилисти и др.\r\n");
}

class DpiTest : public WindowTest {
 protected:
  // At 144 dpi every length in the table is 1.5 times its 96-dpi pixels, rounded.
  void ExpectLaidOutAt144Dpi() {
    RECT client;
    GetClientRect(Window(), &client);
    EXPECT_EQ(client.right, 755);
    EXPECT_EQ(client.bottom, 527);
    ExpectRect(PhraseField(), {96, 60, 746, 110});
    ExpectRect(KeyField(), {300, 120, 746, 170});
    ExpectRect(ComputeButton(), {12, 180, 158, 230});
    ExpectRect(ClearButton(), {588, 192, 746, 242});
    ExpectRect(LogBox(), {12, 252, 746, 518});
    LOGFONTW font;
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(LogBox(), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(font.lfHeight, -24);
    EXPECT_EQ(IconWidth(WindowIcon(Window(), ICON_BIG)), 48);
    EXPECT_EQ(IconWidth(WindowIcon(Window(), ICON_SMALL)), 24);
  }
};

TEST_F(DpiTest, FollowsADpiChange) {
  RECT suggested = {10, 20, 900, 700};
  SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  ExpectLaidOutAt144Dpi();
  RECT frame;
  GetWindowRect(Window(), &frame);
  EXPECT_EQ(frame.left, 10);
  EXPECT_EQ(frame.top, 20);
}

// The test command runs this once more with the system at 144 dpi.
TEST_F(DpiTest, OpensScaledAtTheSystemDpi) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (dpi != 144) {
    GTEST_SKIP() << "the system is at " << dpi << " dpi";
  }
  ExpectLaidOutAt144Dpi();
}

}  // namespace
}  // namespace quorvel
