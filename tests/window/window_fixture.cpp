#include "window_fixture.h"

#include "text_box.h"

namespace quorvel {

void WindowTest::SetUp() {
  window_ = std::make_unique<Quorvel>(GetModuleHandleW(nullptr));
  ASSERT_NE(window_->hwnd(), nullptr);
  Pump();
}

void WindowTest::TearDown() {
  window_.reset();
  Pump();  // also takes the quit message the closing window posted
}

void WindowTest::ShowAndActivate() {
  ShowWindow(Window(), SW_SHOW);
  SetForegroundWindow(Window());
  SetActiveWindow(Window());
  Pump();
}

void WindowTest::Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message != WM_QUIT) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void WindowTest::PressKey(UINT key, bool shift) {
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(state);
  MSG message = {};
  message.hwnd = GetFocus();
  message.message = WM_KEYDOWN;
  message.wParam = key;
  message.lParam = 1;
  if (!IsDialogMessageW(Window(), &message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  state[VK_SHIFT] = 0;
  SetKeyboardState(state);
  Pump();
}

RECT RectInParent(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::u16string Text(HWND control) {
  return ReadText(control);
}

}  // namespace quorvel
