#include "quorvel_window.h"

#include <utility>

#include "button_painting.h"
#include "common_controls.h"
#include "control_class.h"
#include "dpi.h"
#include "edit_behaviour.h"
#include "resource_ids.h"
#include "text_box.h"

namespace quorvel {

static_assert(kSystemColours == CLR_INVALID && Rgb(1, 2, 3) == RGB(1, 2, 3),
              "the layout's colours are COLORREFs");

namespace {

constexpr wchar_t kClassName[] = L"Quorvel";
constexpr int kFirstControlId = 1000;  // clear of IDOK and IDCANCEL, which click nothing

constexpr int ControlId(std::size_t row) {
  return kFirstControlId + static_cast<int>(row);
}

void RegisterClassOnce(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL), IMAGE_ICON, 32,
                                           32, LR_DEFAULTCOLOR | LR_SHARED));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);  // fails harmlessly when a window of the process registered it before
}

Font CreateWindowFont(UINT dpi) {
  return Font(CreateFontW(-MulDiv(kFontPoints, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL,
                          FALSE, FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN,
                          Wide(kFontFace)));
}

}  // namespace

Quorvel::Quorvel(HINSTANCE instance, std::function<bool()> highContrast)
    : instance_(instance), highContrastOn_(std::move(highContrast)) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsAtRunTime(controls);
  RegisterClassOnce(instance, &Quorvel::WindowProc);
  CreateWindowExW(kWindowExStyle, kClassName, Wide(kWindowCaption), kWindowStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
  if (hwnd_ == nullptr) {
    return;
  }
  CreateControls();
  ApplyColours();
  ApplyDpi(DpiOf(hwnd_), nullptr);
}

Quorvel::~Quorvel() {
  if (hwnd_ != nullptr) {
    DestroyWindow(hwnd_);
  }
}

HWND Quorvel::Control(ControlArray array, int index) const {
  for (std::size_t row = 0; row < kControlCount; ++row) {
    if (kLayout[row].array == array && kLayout[row].index == index) {
      return children_[row].hwnd;
    }
  }
  return nullptr;
}

void Quorvel::CreateControls() {
  for (std::size_t row = 0; row < kControlCount; ++row) {
    const ControlSpec& spec = kLayout[row];
    const ControlClass cls = ClassOf(spec.kind);
    const DWORD visible = spec.shown ? WS_VISIBLE : 0;
    Child& child = children_[row];
    child.hwnd = CreateWindowExW(
        cls.exStyle, cls.className, Wide(spec.text), WS_CHILD | visible | cls.style, 0, 0, 0, 0,
        hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(row))), instance_, nullptr);
    if (spec.limit > 0) {
      SendMessageW(child.hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(spec.limit), 0);
    }
    if (spec.kind == Kind::Box) {
      LetTabThrough(child.hwnd);
    } else if (spec.kind == Kind::Field) {
      AdmitOnlyCodePage(child.hwnd);
    }
    const bool focusable = spec.kind != Kind::Caption && spec.shown;
    if (focus_ == nullptr && focusable) {
      focus_ = child.hwnd;
    }
  }
}

void Quorvel::ApplyDpi(UINT dpi, const RECT* suggested) {
  // The old font is deleted only once no control uses it any more.
  Font font = CreateWindowFont(dpi);
  for (std::size_t row = 0; row < kControlCount; ++row) {
    const TwipRect& r = kLayout[row].twips;
    HWND control = children_[row].hwnd;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    MoveWindow(control, ToPixels(r.left, dpi), ToPixels(r.top, dpi), ToPixels(r.width, dpi),
               ToPixels(r.height, dpi), FALSE);
  }
  font_ = std::move(font);
  ApplyIcons(dpi);

  const SIZE size = OuterSize(ToPixels(kClientWidthTwips, dpi), ToPixels(kClientHeightTwips, dpi),
                              kWindowStyle, kWindowExStyle, dpi);
  POINT at;
  if (suggested != nullptr) {
    at = {suggested->left, suggested->top};
  } else {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    at = {work.left + (work.right - work.left - size.cx) / 2,
          work.top + (work.bottom - work.top - size.cy) / 2};
  }
  SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);

  // The frame the system really draws can differ from the one computed for the dpi (a system
  // that scales frames only at start); the client area is what must come out exact.
  RECT client;
  GetClientRect(hwnd_, &client);
  const int dx = ToPixels(kClientWidthTwips, dpi) - client.right;
  const int dy = ToPixels(kClientHeightTwips, dpi) - client.bottom;
  if (dx != 0 || dy != 0) {
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx + dx, size.cy + dy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

// The icon drawn for the size the title bar, the taskbar and Alt+Tab want at this dpi.
void Quorvel::ApplyIcons(UINT dpi) {
  const auto load = [this, dpi](int metric) {
    const int size = SystemMetricForDpi(metric, dpi);
    return Icon(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_QUORVEL), IMAGE_ICON,
                                              size, size, LR_DEFAULTCOLOR)));
  };
  Icon bigIcon = load(SM_CXICON);
  Icon smallIcon = load(SM_CXSMICON);
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
  bigIcon_ = std::move(bigIcon);  // the icons before go only once the window has let them go
  smallIcon_ = std::move(smallIcon);
}

void Quorvel::ApplyColours() {
  highContrast_ = highContrastOn_();
  background_.Reset(CreateSolidBrush(SurfaceColour(kWindowBackground, highContrast_)));
  for (std::size_t row = 0; row < kControlCount; ++row) {
    const COLORREF own = kLayout[row].background;
    if (own != kSystemColours) {
      children_[row].brush.Reset(CreateSolidBrush(SurfaceColour(own, highContrast_)));
    }
  }
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

std::size_t Quorvel::RowOf(HWND control) const {
  for (std::size_t row = 0; row < kControlCount; ++row) {
    if (children_[row].hwnd == control) {
      return row;
    }
  }
  return kControlCount;
}

LRESULT Quorvel::ColourStatic(HDC dc, HWND control) {
  const std::size_t row = RowOf(control);
  if (row < kControlCount && kLayout[row].background != kSystemColours) {
    SetBkColor(dc, SurfaceColour(kLayout[row].background, highContrast_));
    if (highContrast_) {
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    return reinterpret_cast<LRESULT>(children_[row].brush.get());
  }
  // Read-only edit boxes keep the colours of any other edit box.
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

void Quorvel::OnCommand(int id, int notification) {
  const int row = id - kFirstControlId;
  if (row < 0 || row >= static_cast<int>(kControlCount) || notification != BN_CLICKED) {
    return;
  }
  const ControlSpec& spec = kLayout[static_cast<std::size_t>(row)];
  if (spec.array == ControlArray::Command1) {
    Command1_Click(static_cast<short>(spec.index));
  }
}

void Quorvel::OnActivate(bool active) {
  if (!active) {
    HWND focused = GetFocus();
    if (focused != nullptr && IsChild(hwnd_, focused)) {
      focus_ = focused;
    }
  } else if (focus_ != nullptr) {
    SetFocus(focus_);
  }
}

LRESULT CALLBACK Quorvel::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Quorvel*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Quorvel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  // No exception may cross back into the system; the user is never shown an error.
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT Quorvel::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
      return 1;
    }
    case WM_CTLCOLORSTATIC:
      return ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      const std::size_t row = RowOf(item.hwndItem);
      if (row >= kControlCount || kLayout[row].kind != Kind::Button) {
        break;
      }
      PaintButton(item, children_[row].brush.get());
      return TRUE;
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_SETFOCUS:
      if (focus_ != nullptr) {
        SetFocus(focus_);
      }
      return 0;
    case WM_SETTINGCHANGE:
      if (highContrastOn_() != highContrast_) {
        ApplyColours();
      }
      break;
    case WM_SYSCOLORCHANGE:
      ApplyColours();
      break;
    case WM_DPICHANGED:
      ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace quorvel
