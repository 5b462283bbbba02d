#include "shell/uOneInstance32.h"

#include <cstdint>
#include <string>

#include "gui/Forms.h"
#include "system/WinHandles.h"

namespace {

// Lives as long as the process: the mutex is given up at its very end, after the forms have gone.
TMutexHandle OneInstanceMutex;

}  // namespace

bool IsFirstInstance() {
  const std::string titleMutexName = Application.Title() + ".OneInstance32.CriticalSection";
  HANDLE titleMutex = CreateMutexA(nullptr, TRUE, titleMutexName.c_str());
  OneInstanceMutex.reset(CreateMutexA(nullptr, FALSE, "Muralia_OneInstance32.Default"));
  const DWORD wait = WaitForSingleObject(OneInstanceMutex.get(), 0);
  if (wait > static_cast<DWORD>(INT32_MAX)) RaiseRangeError();  // WAIT_FAILED read as a signed number
  const bool first = wait != WAIT_TIMEOUT;
  CloseHandle(titleMutex);
  return first;
}
