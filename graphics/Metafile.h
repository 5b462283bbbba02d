#pragma once
// TMetafile: enhanced metafiles and Windows metafiles (placeable or plain), all kept as an enhanced metafile.
// Its size is in screen pixels.
#include "graphics/Graphics.h"
#include "system/WinHandles.h"

class TMetafile : public TGraphic {
public:
  static const TGraphicClass& Class();
  const TGraphicClass& ClassType() const override { return Class(); }

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  HENHMETAFILE Handle() const { return FMetafile.get(); }

  void LoadFromFile(const std::string& fileName) override;
  std::unique_ptr<TGraphic> Clone() const override;
  void Draw(HDC dc, const RECT& rect) const override;

private:
  TEnhMetaFileHandle FMetafile;
  int FWidth = 0;
  int FHeight = 0;
};
