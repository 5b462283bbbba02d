// Starts orlo.exe as a user would and drives it through its windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

HWND WaitForWindow(const char* caption, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (HWND window = FindWindowA(nullptr, caption)) return window;
    Sleep(50);
  }
  return nullptr;
}

// orlo.exe started for one test; a test that stops early (a failed assertion returns at once) must not leave
// it running, so whatever is still running at the end is ended, and the handles are closed.
class TOrloProcess {
public:
  TOrloProcess() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = std::string("\"") + ORLO_EXE + "\"";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &FProcess))
      FProcess = {};
  }
  ~TOrloProcess() {
    if (!FProcess.hProcess) return;
    if (WaitForSingleObject(FProcess.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(FProcess.hProcess, 1);
      WaitForSingleObject(FProcess.hProcess, 10000);
    }
    CloseHandle(FProcess.hThread);
    CloseHandle(FProcess.hProcess);
  }
  TOrloProcess(const TOrloProcess&) = delete;
  TOrloProcess& operator=(const TOrloProcess&) = delete;

  bool Started() const { return FProcess.hProcess != nullptr; }
  // True when the process ends within the time; its exit code then in exitCode.
  bool WaitForExit(DWORD timeoutMs, DWORD& exitCode) const {
    if (WaitForSingleObject(FProcess.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(FProcess.hProcess, &exitCode) != 0;
  }

private:
  PROCESS_INFORMATION FProcess{};
};

TEST(Orlo, ShowsControlPanelAndExitsCleanlyWhenClosed) {
  const TOrloProcess orlo;
  ASSERT_TRUE(orlo.Started());
  HWND window = WaitForWindow("Muralia Control Panel", 20000);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(orlo.WaitForExit(20000, exitCode));
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
