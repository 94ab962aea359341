#pragma once
// The window procedure of a class whose objects handle their own window's
// messages. CreateWindowExW gets the object as its last argument, which the
// window keeps in its user data; messages that come before the object knows
// its window go to the default procedure. A class using it befriends it:
//   template <typename W> friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
#include <windows.h>

namespace varnelko::win32 {

template <typename Window>
LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->hwnd_) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

// Registers the class `name` of top-level windows of `Window` objects, with
// the dialog face behind them and the arrow cursor. A second registration
// fails harmlessly: the class is the same.
template <typename Window>
void RegisterObjectClass(HINSTANCE instance, const wchar_t* name) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = ObjectWindowProc<Window>;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = name;
  RegisterClassExW(&cls);
}

}  // namespace varnelko::win32
