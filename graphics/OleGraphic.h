#pragma once
// TOleGraphic, the picture class of file names without an extension. It stays an empty 0 x 0
// graphic: loading reads nothing and raises nothing, so such a file loads as an empty picture, whose
// 0 x 0 size the fitting then rejects.
#include "graphics/Graphics.h"

class TOleGraphic : public TGraphic {
public:
  static const TGraphicClass& Class() {
    static const TGraphicClass graphicClass{"TOleGraphic", [] { return std::make_unique<TOleGraphic>(); }};
    return graphicClass;
  }
  const TGraphicClass& ClassType() const override { return Class(); }

  int Width() const override { return 0; }
  int Height() const override { return 0; }
  void LoadFromFile(const std::string&) override {}
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TOleGraphic>(); }
  void Draw(HDC, const RECT&) const override {}
};
