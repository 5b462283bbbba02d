// Makes WinHelp requests as the program does, for the viewer tests, and always ends the viewer it started.
//   winhelp_call <help file> context <number>...   HELP_CONTEXT for each number
//   winhelp_call <help file> popup <number>         HELP_CONTEXTPOPUP
//   winhelp_call <help file> key <keyword>          HELP_KEY
//   winhelp_call <help file> index <keyword>        opens the viewer's Index and chooses the keyword there
// Before each request it writes "winhelp_call: <request>" to stderr, where the viewer's trace also goes, so
// the trace can be split by request. Exit status 0 when every step was made, else 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr DWORD kStepTimeoutMs = 20000;

struct Request {
  std::string helpFile, command;
  std::vector<std::string> arguments;
};

HWND ViewerWindow() { return FindWindowA("MS_WINHELP", nullptr); }

template <typename Predicate>
bool WaitFor(Predicate done) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < kStepTimeoutMs; Sleep(50))
    if (done()) return true;
  return false;
}

bool Fail(const char* what) {
  std::fprintf(stderr, "winhelp_call: failed: %s\n", what);
  return false;
}

// The first request starts the viewer and may return before its window exists: then wait and ask again.
bool Help(const Request& request, UINT command, ULONG_PTR data) {
  if (WinHelpA(nullptr, request.helpFile.c_str(), command, data)) return true;
  return WaitFor([] { return ViewerWindow() != nullptr; }) &&
         WinHelpA(nullptr, request.helpFile.c_str(), command, data);
}

struct WindowSearch {
  DWORD process;
  const char* className;
  const char* text;  // compared without the access-key ampersand; null matches any
  HWND found = nullptr;
};

bool Matches(HWND window, const WindowSearch& search) {
  char className[64] = {}, text[128] = {};
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpiA(className, search.className) != 0) return false;
  if (!search.text) return true;
  GetWindowTextA(window, text, sizeof text);
  std::string plain;
  for (const char* c = text; *c; ++c)
    if (*c != '&') plain += *c;
  return plain == search.text;
}

BOOL CALLBACK VisitChild(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<WindowSearch*>(parameter);
  if (Matches(window, search)) search.found = window;
  return search.found == nullptr;
}

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<WindowSearch*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search.process && IsWindowVisible(window)) EnumChildWindows(window, VisitChild, parameter);
  return search.found == nullptr;
}

// A control of the given class and caption in any visible window of the viewer.
HWND FindViewerControl(DWORD process, const char* className, const char* text) {
  HWND found = nullptr;
  WaitFor([&] {
    WindowSearch search{process, className, text};
    EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&search));
    return (found = search.found) != nullptr;
  });
  return found;
}

// What a user does: the Index button, the keyword in the list, a double-click on it.
bool ChooseInIndex(const Request& request, DWORD process) {
  HWND indexButton = FindViewerControl(process, "Button", "Index");
  if (!indexButton) return Fail("no Index button");
  PostMessageA(indexButton, BM_CLICK, 0, 0);
  HWND list = FindViewerControl(process, "ListBox", nullptr);
  if (!list) return Fail("no keyword list");
  // Read as wide text: an ANSI read from another process is not converted under Wine.
  const std::string& keyword = request.arguments.at(0);
  const std::wstring wideKeyword(keyword.begin(), keyword.end());
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT row = 0; row < count; ++row) {
    wchar_t text[256] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, row, 0) >= LRESULT(std::size(text))) continue;
    SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
    if (wideKeyword != text) continue;
    SendMessageA(list, LB_SETCURSEL, row, 0);
    PostMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list));
    return WaitFor([&] { return !IsWindow(list); }) || Fail("the Index dialog stayed open");
  }
  return Fail("keyword not in the Index");
}

bool Run(const Request& request, DWORD& viewer) {
  auto announce = [&](const std::string& what) {
    std::fprintf(stderr, "winhelp_call: %s %s\n", request.command.c_str(), what.c_str());
    std::fflush(stderr);
  };
  auto noteViewer = [&] {
    if (HWND window = ViewerWindow()) GetWindowThreadProcessId(window, &viewer);
  };
  bool ok = true;
  if (request.command == "context") {
    for (const std::string& number : request.arguments) {
      announce(number);
      ok = Help(request, HELP_CONTEXT, std::strtoul(number.c_str(), nullptr, 10)) && ok;
      noteViewer();
    }
  } else if (request.command == "popup") {
    announce(request.arguments.at(0));
    ok = Help(request, HELP_CONTEXTPOPUP, std::strtoul(request.arguments.at(0).c_str(), nullptr, 10));
  } else if (request.command == "key") {
    announce(request.arguments.at(0));
    ok = Help(request, HELP_KEY, reinterpret_cast<ULONG_PTR>(request.arguments.at(0).c_str()));
  } else if (request.command == "index") {
    ok = Help(request, HELP_CONTENTS, 0);
    noteViewer();
    announce(request.arguments.at(0));
    ok = ok && viewer && ChooseInIndex(request, viewer);
  } else {
    return Fail("unknown command");
  }
  noteViewer();
  return ok;
}

struct Job {
  Request request;
  DWORD viewer = 0;
  bool ok = false;
};

DWORD WINAPI RunJob(LPVOID parameter) {
  auto& job = *static_cast<Job*>(parameter);
  job.ok = Run(job.request, job.viewer);
  return 0;
}

// Asks the viewer to quit and waits for it; a viewer that does not end in time, or that is stuck and cannot
// be asked, is ended.
bool EndViewer(const std::string& helpFile, DWORD viewer, bool ask) {
  if (!viewer) return true;
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, viewer);
  if (!process) return true;  // already gone
  bool ended = ask && WinHelpA(nullptr, helpFile.c_str(), HELP_QUIT, 0) &&
               WaitForSingleObject(process, kStepTimeoutMs) == WAIT_OBJECT_0;
  if (!ended) {
    if (ask) Fail("the viewer did not quit");
    TerminateProcess(process, 1);
    WaitForSingleObject(process, kStepTimeoutMs);
  }
  CloseHandle(process);
  return ended;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: winhelp_call <help file> context|popup|key|index <argument>...\n");
    return 2;
  }
  Job job{Request{argv[1], argv[2], std::vector<std::string>(argv + 3, argv + argc)}};
  // The requests run on a thread of their own: a viewer that blocks in a message box would otherwise hold
  // this program for ever.
  HANDLE thread = CreateThread(nullptr, 0, RunJob, &job, 0, nullptr);
  const bool finished = WaitForSingleObject(thread, 4 * kStepTimeoutMs) == WAIT_OBJECT_0;
  DWORD viewer = 0;
  if (finished) {
    viewer = job.viewer;
  } else {
    Fail("a request did not return");
    if (HWND window = ViewerWindow()) GetWindowThreadProcessId(window, &viewer);
  }
  const bool ended = EndViewer(job.request.helpFile, viewer, finished);
  std::fflush(stderr);
  if (!finished) ExitProcess(1);  // the request thread is still stuck
  CloseHandle(thread);
  return job.ok && ended ? 0 : 1;
}
