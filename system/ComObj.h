#pragma once
// COM objects: a move-only owner of an interface reference, and creation and interface queries that raise
// EOleSysError instead of returning an HRESULT.
#include <windows.h>
#include <objbase.h>

#include <utility>

// Raises EOleSysError with the system's text for a failed result.
void OleCheck(HRESULT result);

// Owns one reference to an interface and releases it once.
template <typename T>
class TComPtr {
public:
  TComPtr() = default;
  ~TComPtr() { Reset(); }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  TComPtr(TComPtr&& other) noexcept : FInterface(std::exchange(other.FInterface, nullptr)) {}
  TComPtr& operator=(TComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      FInterface = std::exchange(other.FInterface, nullptr);
    }
    return *this;
  }

  T* Get() const { return FInterface; }
  T* operator->() const { return FInterface; }
  explicit operator bool() const { return FInterface != nullptr; }

  void Reset() {
    if (FInterface) std::exchange(FInterface, nullptr)->Release();
  }
  // The place where a call that hands out a reference puts it; the old reference is released first.
  void** Put() {
    Reset();
    return reinterpret_cast<void**>(&FInterface);
  }

  // The object's interface iid, as a reference of its own.
  template <typename U>
  TComPtr<U> QueryInterface(REFIID iid) const {
    TComPtr<U> result;
    OleCheck(FInterface->QueryInterface(iid, result.Put()));
    return result;
  }

private:
  T* FInterface = nullptr;
};

// A new in-process or local instance of the class, as its IUnknown.
TComPtr<IUnknown> CreateComObject(REFCLSID classId);
