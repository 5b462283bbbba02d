// The COM reference owner and the Windows 95 version flags.
#include <gtest/gtest.h>

#include <thread>

#include "system/ComObj.h"
#include "system/SysUtils.h"

namespace {

// An object that counts its references and tells how many Release calls reached it.
class TCountingObject : public IUnknown {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!IsEqualIID(iid, IID_IUnknown)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++References; }
  ULONG STDMETHODCALLTYPE Release() override {
    ++Releases;
    return --References;
  }

  ULONG References = 1;
  int Releases = 0;
};

TEST(ComPtr, ReleasesItsReferenceOnceThroughMovesAndFailedQueries) {
  TCountingObject object;
  {
    TComPtr<IUnknown> first;
    *first.Put() = &object;
    TComPtr<IUnknown> second = std::move(first);
    EXPECT_FALSE(first);
    {
      TComPtr<IUnknown> queried = second.QueryInterface<IUnknown>(IID_IUnknown);
      EXPECT_EQ(object.References, 2u);
    }
    EXPECT_EQ(object.References, 1u);
    EXPECT_THROW(second.QueryInterface<IClassFactory>(IID_IClassFactory), EOleSysError);
    TComPtr<IUnknown> third;
    third = std::move(second);
    third = std::move(third);
    EXPECT_EQ(object.Releases, 1);
  }
  EXPECT_EQ(object.References, 0u);
  EXPECT_EQ(object.Releases, 2);
}

TEST(ComObj, CreationWithoutComOnTheThreadRaises) {
  bool raised = false;
  std::thread([&] {
    try {
      CreateComObject(CLSID_StdGlobalInterfaceTable);
    } catch (const EOleSysError&) {
      raised = true;
    }
  }).join();
  EXPECT_TRUE(raised);
}

}  // namespace
