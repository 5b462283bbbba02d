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

TEST(Orlo, ShowsControlPanelAndExitsCleanlyWhenClosed) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string commandLine = std::string("\"") + ORLO_EXE + "\"";
  ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process));
  HWND window = WaitForWindow("Muralia Control Panel", 20000);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace
