// A stand-in for the mail client: a main window of class "TMailerForm" and one mail file held
// open without sharing. Arguments: the behaviour, the mail file, the name of an event it sets
// once the window exists and the file is held.
//   close   closes on WM_CLOSE, keeps the file a second longer and ends with exit code 7
//   linger  closes its window on WM_CLOSE but stays, file held, for eight seconds
//   keep    hides its window on WM_CLOSE and goes on
//   ask     answers WM_CLOSE with a question nobody answers: handles messages, never returns
//   hang    stops handling messages once ready
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::wstring behaviour;

LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      if (behaviour == L"keep") {
        ShowWindow(window, SW_HIDE);
        return 0;
      }
      if (behaviour == L"ask") {  // a modal question's own message loop
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
          TranslateMessage(&msg);
          DispatchMessageW(&msg);
        }
        return 0;
      }
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 4) return 2;
  behaviour = argv[1];

  HANDLE mail = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (mail == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  WriteFile(mail, "From: stand-in\r\n", 16, &written, nullptr);

  WNDCLASSW wc{};
  wc.lpfnWndProc = window_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TMailerForm";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, L"TMailerForm", L"The Bat! stand-in", WS_OVERLAPPEDWINDOW, 10,
                                10, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return 4;
  ShowWindow(window, SW_SHOWNOACTIVATE);

  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
  if (!ready) return 5;
  SetEvent(ready);
  CloseHandle(ready);

  if (behaviour == L"hang") Sleep(INFINITE);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // Like a real client, it writes its last state after the window has gone.
  Sleep(behaviour == L"linger" ? 8000 : 1000);
  CloseHandle(mail);
  return 7;
}
