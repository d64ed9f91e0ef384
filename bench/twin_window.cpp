// The window made the plainest way, as the yardstick of what the program itself costs: the
// same nine controls with the same classes, styles, rectangles, texts and font, one
// CreateWindowEx each, and nothing else: no layout table, painting, colours, focus or DPI
// changes.
#include <windows.h>
#include <commctrl.h>

#include "initial_texts.h"

namespace {

LRESULT CALLBACK TwinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = TwinProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"QuorvelTwin";
  RegisterClassExW(&wc);

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  auto px = [dpi](int pixelsAt96) { return MulDiv(pixelsAt96, dpi, 96); };

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT rect = {0, 0, px(503), px(351)};
  AdjustWindowRectEx(&rect, style, FALSE, 0);
  HWND window = CreateWindowExW(0, L"QuorvelTwin", L"www.quorvel.example Информатика - криптиране",
                                style, CW_USEDEFAULT, CW_USEDEFAULT, rect.right - rect.left,
                                rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
  HFONT font = CreateFontW(-MulDiv(12, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                           RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, L"Times New Roman");

  const DWORD child = WS_CHILD | WS_VISIBLE;
  const DWORD box = WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
  const DWORD caption = SS_CENTER | SS_NOPREFIX;
  const DWORD field = WS_TABSTOP | ES_AUTOHSCROLL;
  const DWORD button = WS_TABSTOP | BS_PUSHBUTTON | BS_OWNERDRAW;
  HWND made[9] = {
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", reinterpret_cast<const wchar_t*>(quorvel::kTaskText), child | box, px(8), px(168),
                      px(489), px(177), window, nullptr, instance, nullptr),
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", reinterpret_cast<const wchar_t*>(quorvel::kQuoteText), WS_CHILD | box, px(40),
                      px(312), px(449), px(121), window, nullptr, instance, nullptr),
      CreateWindowExW(0, L"STATIC", L"Информатика - шифър на Виженер, cipher Vigenere",
                      child | caption, px(64), px(0), px(369), px(25), window, nullptr, instance,
                      nullptr),
      CreateWindowExW(0, L"STATIC", L"Текст:", child | caption, px(16), px(40), px(49), px(33),
                      window, nullptr, instance, nullptr),
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"abcdefghijklmnopquvwxyz", child | field,
                      px(64), px(40), px(433), px(33), window, nullptr, instance, nullptr),
      CreateWindowExW(0, L"STATIC", L"Ключ:", child | caption, px(112), px(80), px(89), px(33),
                      window, nullptr, instance, nullptr),
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"47031", child | field, px(200), px(80),
                      px(297), px(33), window, nullptr, instance, nullptr),
      CreateWindowExW(0, L"BUTTON", L"Изчисли", child | button, px(8), px(120), px(97), px(33),
                      window, nullptr, instance, nullptr),
      CreateWindowExW(0, L"BUTTON", L"Изчисти", child | button, px(392), px(128), px(105),
                      px(33), window, nullptr, instance, nullptr),
  };
  for (HWND control : made) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  ShowWindow(window, showCommand);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DeleteObject(font);
  return 0;
}
