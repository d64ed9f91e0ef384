#include <gtest/gtest.h>

#include "window_fixture.h"

namespace quorvel {
namespace {

TEST_F(WindowTest, FocusStartsInTheLogBox) {
  ShowAndActivate();
  EXPECT_EQ(GetFocus(), LogBox());
}

TEST_F(WindowTest, TabFollowsTheTabPositions) {
  ShowAndActivate();
  const HWND forward[] = {PhraseField(), KeyField(), ComputeButton(), ClearButton(), LogBox()};
  for (HWND next : forward) {
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), next);
  }
  const HWND backward[] = {ClearButton(), ComputeButton(), KeyField(), PhraseField(), LogBox()};
  for (HWND previous : backward) {
    PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), previous);
  }
}

TEST_F(WindowTest, FocusComesBackAfterAnotherWindowWasActive) {
  ShowAndActivate();
  SetFocus(KeyField());
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                               nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  Pump();
  EXPECT_NE(GetFocus(), KeyField());
  DestroyWindow(other);
  SetActiveWindow(Window());
  Pump();
  EXPECT_EQ(GetFocus(), KeyField());
}

}  // namespace
}  // namespace quorvel
