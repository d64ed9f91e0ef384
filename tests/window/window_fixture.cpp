#include "window_fixture.h"

#include <algorithm>

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

void WindowTest::Click(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
  Pump();
}

void WindowTest::Type(HWND control, const std::u16string& text) {
  for (char16_t ch : text) {
    SendMessageW(control, WM_CHAR, ch, 1);
  }
  Pump();
}

void WindowTest::Set(HWND control, const std::u16string& text) {
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text)));
}

void WindowTest::Paste(HWND control, const std::u16string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  auto* chars = static_cast<char16_t*>(GlobalLock(memory));
  std::copy(text.begin(), text.end(), chars);
  chars[text.size()] = u'\0';
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  SendMessageW(control, WM_PASTE, 0, 0);
  Pump();
}

std::u16string Number(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string ClipboardText() {
  std::u16string text;
  if (OpenClipboard(nullptr)) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      text = static_cast<const char16_t*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
  }
  return text;
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

HICON WindowIcon(HWND window, WPARAM which) {
  return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
}

int IconWidth(HICON icon) {
  ICONINFO info;
  if (icon == nullptr || !GetIconInfo(icon, &info)) {
    return 0;
  }
  BITMAP mask;
  GetObjectW(info.hbmMask, sizeof mask, &mask);
  DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) {
    DeleteObject(info.hbmColor);
  }
  return mask.bmWidth;
}

}  // namespace quorvel
