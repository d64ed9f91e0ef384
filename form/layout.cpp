#include "layout.h"

#include "initial_texts.h"

namespace quorvel {

const char16_t kWindowCaption[] = u"www.quorvel.example Информатика - криптиране";

namespace {
constexpr Colour kPeach = Rgb(255, 192, 128);
constexpr Colour kGreen = Rgb(0, 255, 0);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kSystem = kSystemColours;
constexpr char16_t kTitle[] = u"Информатика - шифър на Виженер, cipher Vigenere";
// Screen readers name an edit box after the caption before it, shown or not; the log box has
// none on screen.
constexpr char16_t kLogName[] = u"Криптиране и декриптиране";
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
    {ControlArray::Label1,   1, Kind::Caption, { 240,  600,  735,  495}, u"Текст:",                  0, kPeach,  true},
    {ControlArray::Text2,    0, Kind::Field,   { 960,  600, 6495,  495}, u"abcdefghijklmnopquvwxyz", 50, kSystem, true},
    {ControlArray::Label1,   2, Kind::Caption, {1680, 1200, 1335,  495}, u"Ключ:",                   0, kPeach,  true},
    {ControlArray::Text2,    1, Kind::Field,   {3000, 1200, 4455,  495}, u"47031",                  20, kSystem, true},
    {ControlArray::Command1, 0, Kind::Button,  { 120, 1800, 1455,  495}, u"Изчисли",                 0, kGreen,  true},
    {ControlArray::Command1, 1, Kind::Button,  {5880, 1920, 1575,  495}, u"Изчисти",                 0, kRed,    true},
}};
// clang-format on

}  // namespace quorvel
