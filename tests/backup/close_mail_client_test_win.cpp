// CloseMailClient against a real stand-in process of the mail client.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <string>

#include "backup/close_mail_client.h"
#include "platform/win32/handle.h"

namespace qln::backup {
namespace {

std::wstring own_folder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

bool opens_exclusively(const std::wstring& file) {
  win32::Handle h(CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return bool(h);
}

class StandIn : public ::testing::Test {
 protected:
  void TearDown() override {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.get(), 1);
      WaitForSingleObject(process_.get(), 5000);
    }
    process_.reset();
    if (!mail_file_.empty()) DeleteFileW(mail_file_.c_str());
  }

  // Starts the stand-in and returns once its window exists and it holds the mail file.
  void start(const std::wstring& behaviour) {
    std::wstring tag = std::to_wstring(GetCurrentProcessId()) + L"-" + behaviour;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    mail_file_ = std::wstring(temp) + L"qln-stand-in-" + tag + L".tbb";
    std::wstring event_name = L"qln-stand-in-ready-" + tag;
    win32::Handle ready(CreateEventW(nullptr, TRUE, FALSE, event_name.c_str()));
    ASSERT_TRUE(ready);

    std::wstring exe = own_folder() + L"qln_mail_client_stand_in.exe";
    std::wstring command =
        L"\"" + exe + L"\" " + behaviour + L" \"" + mail_file_ + L"\" " + event_name;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi))
        << GetLastError();
    CloseHandle(pi.hThread);
    process_.reset(pi.hProcess);
    HANDLE waits[] = {ready.get(), process_.get()};
    ASSERT_EQ(WaitForMultipleObjects(2, waits, FALSE, 20000), WAIT_OBJECT_0)
        << "the stand-in did not get ready";
    ASSERT_FALSE(opens_exclusively(mail_file_)) << "the stand-in does not hold its file";
  }

  DWORD exit_code() {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &code);
    return code;
  }

  MailClientShutdown timed_close(const char* what, const MailClientShutdownTimes& times = {}) {
    auto t0 = std::chrono::steady_clock::now();
    MailClientShutdown result = CloseMailClient(times);
    auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
            .count();
    std::cout << what << ": CloseMailClient took " << ms << " ms\n";
    return result;
  }

  std::wstring mail_file_;
  win32::Handle process_;
};

TEST_F(StandIn, NoClientRunning) { EXPECT_EQ(CloseMailClient(), MailClientShutdown::not_running); }

TEST_F(StandIn, ClientThatClosesIsNotTerminatedAndHasReleasedItsFile) {
  start(L"close");
  EXPECT_EQ(timed_close("close"), MailClientShutdown::closed);
  EXPECT_TRUE(opens_exclusively(mail_file_));
  EXPECT_EQ(exit_code(), 7u);
}

TEST_F(StandIn, ClientThatKeepsItsWindowIsEnded) {
  start(L"keep");
  EXPECT_EQ(timed_close("keep"), MailClientShutdown::ended);
  EXPECT_TRUE(opens_exclusively(mail_file_));
  EXPECT_EQ(exit_code(), 0u);
}

TEST_F(StandIn, ClientThatNeverAnswersTheCloseRequestIsEndedAfterTheTimeOut) {
  start(L"ask");
  MailClientShutdownTimes times;
  times.close_request_ms = 2000;
  EXPECT_EQ(timed_close("ask", times), MailClientShutdown::ended);
  EXPECT_TRUE(opens_exclusively(mail_file_));
  EXPECT_EQ(exit_code(), 0u);
}

TEST_F(StandIn, HungClientIsEnded) {
  start(L"hang");
  Sleep(5500);  // the system calls a window hung once it has handled no message for 5 s
  EXPECT_EQ(timed_close("hang"), MailClientShutdown::ended);
  EXPECT_TRUE(opens_exclusively(mail_file_));
  EXPECT_EQ(exit_code(), 0u);
}

TEST_F(StandIn, ClientThatStaysAfterClosingItsWindowIsReported) {
  start(L"linger");
  EXPECT_EQ(timed_close("linger"), MailClientShutdown::still_running);
  EXPECT_EQ(exit_code(), STILL_ACTIVE);
}

}  // namespace
}  // namespace qln::backup
