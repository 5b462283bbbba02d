#pragma once
// TIcon: one image of an icon file, the one nearest to the system's icon size.
#include "graphics/Graphics.h"
#include "system/WinHandles.h"

class TIcon : public TGraphic {
public:
  static const TGraphicClass& Class();
  const TGraphicClass& ClassType() const override { return Class(); }

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  HICON Handle() const { return FIcon.get(); }

  void LoadFromFile(const std::string& fileName) override;
  std::unique_ptr<TGraphic> Clone() const override;
  void Draw(HDC dc, const RECT& rect) const override;

private:
  TIconHandle FIcon;
  int FWidth = 0;
  int FHeight = 0;
};
