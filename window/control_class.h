#pragma once

#include <windows.h>

#include "layout.h"

namespace quorvel {

// The window's own style, and each kind of control's window class and styles.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;

struct ControlClass {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

constexpr ControlClass ClassOf(Kind kind) {
  switch (kind) {
    case Kind::Caption:
      return {L"STATIC", SS_CENTER | SS_NOPREFIX, 0};
    case Kind::Field:
      return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::Box:
      return {L"EDIT", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
              WS_EX_CLIENTEDGE};
    case Kind::Button:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_OWNERDRAW, 0};
  }
  return {L"STATIC", 0, 0};
}

}  // namespace quorvel
