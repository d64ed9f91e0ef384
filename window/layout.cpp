#include "layout.h"

#include "initial_texts.h"

namespace quorvel {

const wchar_t kWindowCaption[] = L"www.quorvel.example Информатика - криптиране";

namespace {
constexpr COLORREF kCaptionBackground = RGB(255, 192, 128);
}  // namespace

// The quote box reaches below the client area and would cover the lowest lines and the
// scroll bar of the log box, so it is created with its text but never shown (and so never
// takes the focus).
const std::array<ControlSpec, kControlCount> kLayout = {{
    {ControlArray::Text1,
     0,
     Kind::Box,
     {120, 2520, 7335, 2655},
     kTaskText,
     0,
     kSystemColours,
     true},
    {ControlArray::Text1,
     1,
     Kind::Box,
     {600, 4680, 6735, 1815},
     kQuoteText,
     0,
     kSystemColours,
     false},
    {ControlArray::Label1,
     0,
     Kind::Caption,
     {960, 0, 5535, 375},
     L"Информатика - шифър на Виженер, cipher Vigenere",
     0,
     kCaptionBackground,
     true},
    {ControlArray::Label1,
     1,
     Kind::Caption,
     {240, 600, 735, 495},
     L"Текст:",
     0,
     kCaptionBackground,
     true},
    {ControlArray::Text2,
     0,
     Kind::Field,
     {960, 600, 6495, 495},
     L"abcdefghijklmnopquvwxyz",
     50,
     kSystemColours,
     true},
    {ControlArray::Label1,
     2,
     Kind::Caption,
     {1680, 1200, 1335, 495},
     L"Ключ:",
     0,
     kCaptionBackground,
     true},
    {ControlArray::Text2,
     1,
     Kind::Field,
     {3000, 1200, 4455, 495},
     L"47031",
     20,
     kSystemColours,
     true},
    {ControlArray::Command1,
     0,
     Kind::Button,
     {120, 1800, 1455, 495},
     L"Изчисли",
     0,
     RGB(0, 255, 0),
     true},
    {ControlArray::Command1,
     1,
     Kind::Button,
     {5880, 1920, 1575, 495},
     L"Изчисти",
     0,
     RGB(255, 0, 0),
     true},
}};

}  // namespace quorvel
