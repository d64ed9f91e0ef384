#include "layout.h"

#include "initial_texts.h"

namespace quorvel {

const wchar_t kWindowCaption[] = L"www.quorvel.example Информатика - криптиране";

namespace {
constexpr COLORREF kPeach = RGB(255, 192, 128);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kSystem = kSystemColours;
constexpr wchar_t kTitle[] = L"Информатика - шифър на Виженер, cipher Vigenere";
// Screen readers name an edit box after the caption before it, shown or not; the log box has
// none on screen.
constexpr wchar_t kLogName[] = L"Криптиране и декриптиране";
}  // namespace

// The quote box reaches below the client area and would cover the lowest lines and the
// scroll bar of the log box, so it is created with its text but never shown (and so never
// takes the focus).
// clang-format off
const std::array<ControlSpec, kControlCount> kLayout = {{
//   array               index  kind            left   top  width height  text                    limit colour  shown
    {ControlArray::Label1,   3, Kind::Caption, { 120, 2520,    0,    0}, kLogName,                   0, kSystem, false},
    {ControlArray::Text1,    0, Kind::Box,     { 120, 2520, 7335, 2655}, kTaskText,                  0, kSystem, true},
    {ControlArray::Text1,    1, Kind::Box,     { 600, 4680, 6735, 1815}, kQuoteText,                 0, kSystem, false},
    {ControlArray::Label1,   0, Kind::Caption, { 960,    0, 5535,  375}, kTitle,                     0, kPeach,  true},
    {ControlArray::Label1,   1, Kind::Caption, { 240,  600,  735,  495}, L"Текст:",                  0, kPeach,  true},
    {ControlArray::Text2,    0, Kind::Field,   { 960,  600, 6495,  495}, L"abcdefghijklmnopquvwxyz", 50, kSystem, true},
    {ControlArray::Label1,   2, Kind::Caption, {1680, 1200, 1335,  495}, L"Ключ:",                   0, kPeach,  true},
    {ControlArray::Text2,    1, Kind::Field,   {3000, 1200, 4455,  495}, L"47031",                  20, kSystem, true},
    {ControlArray::Command1, 0, Kind::Button,  { 120, 1800, 1455,  495}, L"Изчисли",                 0, kGreen,  true},
    {ControlArray::Command1, 1, Kind::Button,  {5880, 1920, 1575,  495}, L"Изчисти",                 0, kRed,    true},
}};
// clang-format on

}  // namespace quorvel
