// Program entry: the single-instance guard, the four windows, the message loop.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "app/about_form.h"
#include "app/app_windows.h"
#include "app/tb_form.h"
#include "backup/progress_form_win.h"
#include "platform/environment.h"
#include "platform/local_file_system.h"
#include "platform/registry.h"
#include "ui/application_win.h"

namespace {

// Only the first argument is ever looked at, and "/auto" matches exactly.
bool started_with_auto() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  bool is_auto = argv && argc > 1 && std::wstring(argv[1]) == L"/auto";
  LocalFree(argv);
  return is_auto;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything else is touched: a second instance ends silently. The mutex is never
  // released; it goes away with the process, also when the process is killed.
  HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Quillane");
  if (!mutex || GetLastError() != 0) return 0;

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  qln::ui::WinApplication app(instance, "Quillane");
  qln::AppWindows windows;

  auto& tb_form =
      app.add<qln::Ttb_form>(app, windows, qln::local_file_system(), qln::local_environment(),
                             qln::local_registry(), started_with_auto());
  windows.tb_form = &tb_form;
  tb_form.create();

  auto& progress = app.add<qln::TfrmProgress>(app);
  windows.frmProgress = &progress;
  progress.FormCreate();
  auto& about = app.add<qln::Tabout>(app);
  windows.about = &about;
  about.FormCreate();

  tb_form.show();
  int code = app.run();
  CoUninitialize();
  return code;
}
