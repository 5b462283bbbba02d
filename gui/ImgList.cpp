#include "gui/ImgList.h"

#include "system/SysUtils.h"
#include "system/WinHandles.h"

namespace {

TIconHandle LoadIconResource(int resource, int size) {
  return TIconHandle(static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

// A top-down 32-bit bitmap whose pixels can be written.
TBitmapHandle NewBitmap32(int size, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return TBitmapHandle(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

}  // namespace

TImageList::TImageList(const TImageListDef& def)
    : FName(def.Name), FSize(ScaleToScreen(def.Size)), FIcons(def.Icons.begin(), def.Icons.end()),
      FHandle(ImageList_Create(FSize, FSize, ILC_COLOR32, static_cast<int>(FIcons.size()), 0)) {
  if (!FHandle) throw EOutOfResources(Format("Cannot create image list %s", FName.c_str()));
  for (const int resource : FIcons) {
    if (TIconHandle icon = resource ? LoadIconResource(resource, FSize) : nullptr) {
      ImageList_ReplaceIcon(FHandle, -1, icon.get());
    } else {  // an index without a picture: fully transparent
      void* bits = nullptr;
      TBitmapHandle empty = NewBitmap32(FSize, &bits);
      ImageList_Add(FHandle, empty.get(), nullptr);
    }
  }
}

TImageList::~TImageList() { ImageList_Destroy(FHandle); }

void TImageList::Draw(HDC dc, int x, int y, int index) const {
  ImageList_Draw(FHandle, index, dc, x, y, ILD_TRANSPARENT);
}
