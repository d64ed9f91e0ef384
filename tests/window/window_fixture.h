#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "quorvel_window.h"
#include "text_lines.h"

namespace quorvel {

// A fresh window for every test, created in the test's own process and driven by messages.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND Window() const { return window_->hwnd(); }
  HWND LogBox() const { return window_->Control(ControlArray::Text1, 0); }
  HWND QuoteBox() const { return window_->Control(ControlArray::Text1, 1); }
  HWND PhraseField() const { return window_->Control(ControlArray::Text2, 0); }
  HWND KeyField() const { return window_->Control(ControlArray::Text2, 1); }
  HWND ComputeButton() const { return window_->Control(ControlArray::Command1, 0); }
  HWND ClearButton() const { return window_->Control(ControlArray::Command1, 1); }

  // Shows the window, makes it the active one and handles what that queued.
  void ShowAndActivate();
  // Handles every message waiting in the thread's queue.
  static void Pump();
  // A key pressed in the focused control, routed as the program's message loop routes it.
  void PressKey(UINT key, bool shift = false);
  // A button clicked, and what the click queued handled.
  static void Click(HWND button);
  // Characters typed one by one into a control.
  static void Type(HWND control, const std::u16string& text);
  // Text put into a control the way another program would: not typed.
  static void Set(HWND control, const std::u16string& text);
  // Pastes the text through the clipboard at the control's selection.
  static void Paste(HWND control, const std::u16string& text);

  std::unique_ptr<Quorvel> window_;
};

// The rectangle of a control in its parent's client coordinates.
RECT RectInParent(HWND control);

std::u16string Text(HWND control);

// The big or small icon the window shows.
HICON WindowIcon(HWND window, WPARAM which);

// The width of an icon in pixels, 0 for none.
int IconWidth(HICON icon);

// A number in decimal.
std::u16string Number(int value);

// The clipboard's text.
std::u16string ClipboardText();

}  // namespace quorvel
