#pragma once
// Image lists of square pictures with their alpha, filled from icon resources: the toolbar's and the menus'.
#include <windows.h>

#include <commctrl.h>

#include <span>
#include <string>
#include <vector>

#include "gui/Controls.h"

// A list's pictures as icon resources in index order; 0 leaves an index without a picture.
struct TImageListDef {
  const char* Name = "";
  int Size = 16;  // as designed at 96 dpi
  std::span<const int> Icons;
};

class TImageList : public TObject {
public:
  explicit TImageList(const TImageListDef& def);
  ~TImageList() override;

  const std::string& Name() const { return FName; }
  HIMAGELIST Handle() const { return FHandle; }
  int Count() const { return static_cast<int>(FIcons.size()); }
  // The side of the pictures on the screen.
  int Size() const { return FSize; }
  bool HasPicture(int index) const {
    return index >= 0 && index < Count() && FIcons[static_cast<size_t>(index)] != 0;
  }
  // Draws a picture with its alpha over what dc shows.
  void Draw(HDC dc, int x, int y, int index) const;

private:
  std::string FName;
  int FSize;  // on the screen
  std::vector<int> FIcons;
  HIMAGELIST FHandle;
};
