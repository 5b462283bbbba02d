#pragma once
// An Active Desktop object that keeps what it was told: the options last set and the changes applied.
#include <windows.h>
// IActiveDesktop is declared only after the Internet types.
#include <wininet.h>
#include <shlobj.h>

#include "system/ComObj.h"

class TFakeActiveDesktop final : public IActiveDesktop {
public:
  COMPONENTSOPT Options{};
  int Applied = 0;
  DWORD ApplyFlags = 0;
  ULONG References = 0;

  // A new reference, as creating the object hands one out.
  TComPtr<IActiveDesktop> Reference() {
    TComPtr<IActiveDesktop> reference;
    AddRef();
    *reference.Put() = static_cast<IActiveDesktop*>(this);
    return reference;
  }

  STDMETHODIMP QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++References; }
  STDMETHODIMP_(ULONG) Release() override { return --References; }
  STDMETHODIMP ApplyChanges(DWORD flags) override {
    ++Applied;
    ApplyFlags = flags;
    return S_OK;
  }
  STDMETHODIMP SetDesktopItemOptions(LPCCOMPONENTSOPT options, DWORD) override {
    Options = *options;
    return S_OK;
  }
  STDMETHODIMP GetWallpaper(PWSTR, UINT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetWallpaper(PCWSTR, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetWallpaperOptions(LPWALLPAPEROPT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetWallpaperOptions(LPCWALLPAPEROPT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetPattern(PWSTR, UINT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetPattern(PCWSTR, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetDesktopItemOptions(LPCOMPONENTSOPT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP AddDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP AddDesktopItemWithUI(HWND, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP ModifyDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP RemoveDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetDesktopItemCount(int*, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetDesktopItem(int, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetDesktopItemByID(ULONG_PTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GenerateDesktopItemHtml(PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP AddUrl(HWND, PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetDesktopItemBySource(PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
};
