#include "edit_behaviour.h"

#include <algorithm>
#include <string>

#include "common_controls.h"
#include "cp1251.h"
#include "field_input.h"
#include "text_box.h"

namespace quorvel {
namespace {

constexpr WPARAM kDelete = 0x7F;

LRESULT CALLBACK TabThroughProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR) {
  switch (message) {
    case WM_GETDLGCODE:
      return DefSubclass(box, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    case WM_NCDESTROY:
      RemoveSubclass(box, TabThroughProc, id);
      break;
    default:
      break;
  }
  return DefSubclass(box, message, wParam, lParam);
}

// The clipboard's text, read no further than the memory that holds it.
std::u16string ClipboardText(HWND owner) {
  std::u16string text;
  if (!OpenClipboard(owner)) {
    return text;
  }
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const char16_t*>(GlobalLock(data))) {
      const std::size_t capacity = GlobalSize(data) / sizeof(char16_t);
      text.assign(chars, std::find(chars, chars + capacity, u'\0'));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void PasteAdmitted(HWND field) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const auto limit = static_cast<std::size_t>(SendMessageW(field, EM_GETLIMITTEXT, 0, 0));
  const auto length = static_cast<std::size_t>(GetWindowTextLengthW(field));
  const Admitted paste = AdmitPaste(ClipboardText(field), PasteRoom(limit, length, end - start));
  if (paste.refused) {
    MessageBeep(MB_OK);
  }
  if (!paste.text.empty()) {
    SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Wide(paste.text)));
  }
}

// Ctrl+Backspace: the word before the caret, or the selection, goes, and can be undone.
void DeleteWordBeforeCaret(HWND field) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start == end) {
    start = static_cast<DWORD>(WordStartBefore(ReadText(field), end));
    SendMessageW(field, EM_SETSEL, start, end);
  }
  SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
}

LRESULT CALLBACK CodePageFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR) {
  switch (message) {
    case WM_CHAR:
      // The edit box would insert Ctrl+Backspace as the character DEL, a code-page character
      // nobody means to type.
      if (wParam == kDelete) {
        DeleteWordBeforeCaret(field);
        return 0;
      }
      // Other control characters (Backspace, Ctrl+C and the like) are the edit box's own business.
      if (wParam >= 0x20 && (wParam > 0xFFFF || !InCodePage(static_cast<char16_t>(wParam)))) {
        MessageBeep(MB_OK);
        return 0;
      }
      break;
    case WM_PASTE:
      PasteAdmitted(field);
      return 0;
    case WM_NCDESTROY:
      RemoveSubclass(field, CodePageFieldProc, id);
      break;
    default:
      break;
  }
  return DefSubclass(field, message, wParam, lParam);
}

}  // namespace

void LetTabThrough(HWND box) {
  SetSubclass(box, TabThroughProc, 1);
}

void AdmitOnlyCodePage(HWND field) {
  SetSubclass(field, CodePageFieldProc, 1);
}

}  // namespace quorvel
