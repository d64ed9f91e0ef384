#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "code_table.h"
#include "colours.h"
#include "layout.h"
#include "owned_handle.h"

namespace quorvel {

// The program's one window: its controls laid out from kLayout, their colours and font, and
// the actions of its two buttons. It owns its controls and the code table of the latest run.
class Quorvel {
 public:
  // Creates the window and its controls, hidden, centred on its screen. highContrast tells
  // whether the system's high-contrast mode is on; it is asked again whenever a setting or
  // the system's colours change.
  explicit Quorvel(HINSTANCE instance, std::function<bool()> highContrast = SystemHighContrast);
  ~Quorvel();
  Quorvel(const Quorvel&) = delete;
  Quorvel& operator=(const Quorvel&) = delete;

  HWND hwnd() const { return hwnd_; }
  HWND Control(ControlArray array, int index) const;
  const CodeTable& codeTable() const { return codeTable_; }

  // The one click handler of the two buttons, given the index of the one clicked.
  void Command1_Click(short index);

 private:
  struct Child {
    HWND hwnd = nullptr;
    Brush brush;  // its own background, when it has one
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void ApplyDpi(UINT dpi, const RECT* suggested);
  void ApplyIcons(UINT dpi);
  void ApplyColours();
  std::size_t RowOf(HWND control) const;  // kControlCount for none of them
  LRESULT ColourStatic(HDC dc, HWND control);
  void OnCommand(int id, int notification);
  void OnActivate(bool active);

  void NormalizePhrase();
  void TraceXorCipher();
  void ClearInputs();

  HINSTANCE instance_;
  std::function<bool()> highContrastOn_;
  bool highContrast_ = false;
  HWND hwnd_ = nullptr;
  Font font_;
  Icon bigIcon_;
  Icon smallIcon_;
  Brush background_;
  std::array<Child, kControlCount> children_;
  HWND focus_ = nullptr;  // the control that gets the focus back when the window is activated
  CodeTable codeTable_;
};

}  // namespace quorvel
