// Starts orlo.exe as a user would, from a program folder of the test's own, and watches what it does: the
// wallpaper it applies, its windows, its registry values and its list file. Every process it starts is ended
// when the test ends, whatever happened.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "TestPictures.h"
#include "settings/RegistryTestSupport.h"

namespace {

using namespace regtest;

const char kPanel[] = "Muralia Control Panel";

class Child {
public:
  explicit Child(const std::string& program) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    EXPECT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &FProcess));
  }
  ~Child() {
    if (Running()) {
      TerminateProcess(FProcess.hProcess, 99);
      WaitForSingleObject(FProcess.hProcess, 5000);
    }
    CloseHandle(FProcess.hThread);
    CloseHandle(FProcess.hProcess);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Running() const { return FProcess.hProcess && WaitForSingleObject(FProcess.hProcess, 0) == WAIT_TIMEOUT; }
  // The exit code once the process has ended within the time, else STILL_ACTIVE.
  DWORD ExitCode(DWORD timeoutMs) const {
    WaitForSingleObject(FProcess.hProcess, timeoutMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(FProcess.hProcess, &code);
    return code;
  }
  void Kill() {
    TerminateProcess(FProcess.hProcess, 99);
    WaitForSingleObject(FProcess.hProcess, 5000);
  }
  // The process's top-level window of the given class (and caption), once it is there.
  HWND Window(const char* className, const char* caption = nullptr, DWORD timeoutMs = 20000) const {
    const DWORD start = GetTickCount();
    do {
      for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        char text[64] = "";
        GetWindowTextA(window, text, sizeof text);
        if (process == FProcess.dwProcessId && std::string(name) == className &&
            (!caption || std::string(text) == caption)) {
          return window;
        }
      }
      Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
  }
  // The control panel once the message loop has shown it; null when it is not there.
  HWND ShownPanel() const {
    HWND panel = Window("TForm", kPanel);
    const DWORD start = GetTickCount();
    while (panel && !IsWindowVisible(panel) && GetTickCount() - start < 20000) Sleep(50);
    return panel;
  }
  // Ends the Windows session as Windows does: no WM_CLOSE follows.
  void EndSession() const {
    HWND window = Window("TForm", kPanel);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(1, SendMessageA(window, WM_QUERYENDSESSION, 0, 0));
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
  }

private:
  PROCESS_INFORMATION FProcess{};
};

class Program : public testing::Test {
protected:
  Program() {
    DeleteKey(kOptionsKey);
    SetDword(kOptionsKey, "FirstRun", 0);
    SetDword(kOptionsKey, "WallpaperStyle", 0);
    SetDword(kOptionsKey, "ChangeOnTimer", 0);
    CopyFileA(WinePath(ORLO_EXE).c_str(), FExe.c_str(), FALSE);
  }

  void MakeCollection(int n) {
    std::string list;
    for (int k = 0; k < n; ++k) {
      list += FFolder.Write("picture" + std::to_string(k) + ".bmp", SolidBitmap(RGB(k, 100, 200))) + "\r\n";
    }
    FFolder.Write("wallp.sl", list);
  }
  // The picture that the desktop bitmap shows: pictureK.bmp is one colour, with K in its red byte.
  int AppliedPicture() const {
    const std::optional<COLORREF> colour = FirstPixel(FFolder.Read("Muralia.bmp"));
    return colour ? GetRValue(*colour) : -1;
  }
  int WaitForPicture(DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    while (AppliedPicture() < 0 && GetTickCount() - start < timeoutMs) Sleep(50);
    return AppliedPicture();
  }

  KeyGuard FOptions{kOptionsKey};
  KeyGuard FRun{kRunKey};
  TempFolder FFolder;
  const std::string FExe = FFolder.File("orlo.exe");
};

TEST_F(Program, StartsIntoTheTrayAndAppliesTheFirstPicture) {
  MakeCollection(2);
  Child program(FExe);
  EXPECT_EQ(0, WaitForPicture(20000));
  char wallpaper[MAX_PATH] = "";
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, wallpaper, 0);
  EXPECT_EQ(FFolder.File("Muralia.bmp"), wallpaper);
  HWND panel = program.Window("TForm", kPanel);
  ASSERT_NE(nullptr, panel);
  EXPECT_FALSE(IsWindowVisible(panel));
  EXPECT_FALSE(IsWindowVisible(program.Window("TApplication")));
  const std::string list = FFolder.Read("wallp.sl");

  program.EndSession();
  EXPECT_EQ(0u, program.ExitCode(20000));
  EXPECT_EQ(0u, GetDword(kOptionsKey, "LastActiveWallpaperIndex").value_or(99));  // 1 applied next, then 0
  EXPECT_EQ(list, FFolder.Read("wallp.sl"));
}

TEST_F(Program, ShowsTheControlPanelWithoutATaskbarButtonWhenNotStartingInTheTray) {
  MakeCollection(1);
  SetDword(kOptionsKey, "MinimizeToSystemTray", 0);
  Child program(FExe);
  HWND panel = program.ShownPanel();
  ASSERT_NE(nullptr, panel);
  EXPECT_TRUE(IsWindowVisible(panel));
  EXPECT_FALSE(IsWindowVisible(program.Window("TApplication")));
  EXPECT_FALSE(GetWindowLongA(panel, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_NE(nullptr, GetWindow(panel, GW_OWNER));  // owned windows get no taskbar button
  program.EndSession();
  EXPECT_EQ(0u, program.ExitCode(20000));
}

TEST_F(Program, OnlyOneInstanceRuns) {
  MakeCollection(1);
  auto first = std::make_unique<Child>(FExe);
  ASSERT_NE(nullptr, first->Window("TForm", kPanel));

  Child second(FExe);
  EXPECT_EQ(0u, second.ExitCode(15000));
  const std::string renamed = FFolder.File("other.exe");
  CopyFileA(FExe.c_str(), renamed.c_str(), FALSE);
  Child third(renamed);
  EXPECT_EQ(0u, third.ExitCode(15000));
  EXPECT_TRUE(first->Running());

  first->Kill();  // the mutex is abandoned, not released
  first.reset();
  Child next(FExe);
  EXPECT_NE(nullptr, next.Window("TForm", kPanel));
  Sleep(500);
  EXPECT_TRUE(next.Running());
}

TEST_F(Program, OfTwentyStartedAtOnceExactlyOneRuns) {
  MakeCollection(1);
  std::vector<std::unique_ptr<Child>> copies;
  for (int i = 0; i < 20; ++i) copies.push_back(std::make_unique<Child>(FExe));
  const DWORD start = GetTickCount();
  int running = 0;
  do {
    Sleep(200);
    running = 0;
    for (const auto& copy : copies) running += copy->Running();
  } while (running > 1 && GetTickCount() - start < 40000);
  EXPECT_EQ(1, running);
  for (const auto& copy : copies) {
    if (!copy->Running()) {
      EXPECT_EQ(0u, copy->ExitCode(0));
    }
  }
}

TEST_F(Program, TheTimerChangesInListOrderAndExitStoresThePosition) {
  MakeCollection(3);
  SetDword(kOptionsKey, "ChangeWallpaperOnStartup", 0);
  SetDword(kOptionsKey, "ChangeOnTimer", 1);
  SetDword(kOptionsKey, "ChangeFrequency", 2);  // long enough for a starved test to see every picture
  Child program(FExe);
  std::vector<int> seen;
  const DWORD start = GetTickCount();
  while (seen.size() < 3 && GetTickCount() - start < 30000) {
    const int picture = AppliedPicture();
    if (picture >= 0 && (seen.empty() || seen.back() != picture)) seen.push_back(picture);
    Sleep(30);
  }
  EXPECT_EQ((std::vector<int>{0, 1, 2}), seen);
  const std::string list = FFolder.Read("wallp.sl");
  program.EndSession();
  EXPECT_EQ(0u, program.ExitCode(20000));
  // The position named the entry after the last applied; at exit it moves on once more.
  const int applied = AppliedPicture();
  EXPECT_EQ(static_cast<uint32_t>((applied + 2) % 3), GetDword(kOptionsKey, "LastActiveWallpaperIndex").value_or(99));
  EXPECT_EQ(list, FFolder.Read("wallp.sl"));
}

// The end of the session, and the end after a failed read before the message loop, store everything.
TEST_F(Program, TheEndOfTheSessionOrOfAFailedStartStoresTheCollectionAndThePosition) {
  MakeCollection(3);
  for (const bool failedRead : {false, true}) {
    SetDword(kOptionsKey, "LastActiveWallpaperIndex", 0);
    if (failedRead) SetString(kOptionsKey, "MinimizeToSystemTray", "yes");
    else SetDword(kOptionsKey, "MinimizeToSystemTray", 0);
    Child program(FExe);
    HWND shown = failedRead ? program.Window("#32770") : program.ShownPanel();  // the start is over
    ASSERT_NE(nullptr, shown);
    EXPECT_EQ(0, AppliedPicture());
    const std::string list = FFolder.Read("wallp.sl");
    DeleteFileA(FFolder.File("wallp.sl").c_str());  // the collection edited since its last save
    if (failedRead) PostMessageA(shown, WM_COMMAND, IDOK, 0);
    else program.EndSession();
    EXPECT_EQ(failedRead ? 1u : 0u, program.ExitCode(20000));
    EXPECT_EQ(2u, GetDword(kOptionsKey, "LastActiveWallpaperIndex").value_or(99));  // 0 applied, 1 next, then 2
    EXPECT_EQ(list, FFolder.Read("wallp.sl"));
  }
}

}  // namespace
