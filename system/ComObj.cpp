#include "system/ComObj.h"

#include "system/SysUtils.h"

void OleCheck(HRESULT result) {
  if (SUCCEEDED(result)) return;
  std::string message = SysErrorMessage(static_cast<uint32_t>(result));
  if (message.empty()) message = Format("OLE error %.8lX", static_cast<unsigned long>(result));
  throw EOleSysError(message);
}

TComPtr<IUnknown> CreateComObject(REFCLSID classId) {
  TComPtr<IUnknown> object;
  OleCheck(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                            object.Put()));
  return object;
}
