#pragma once
// TGraphic, the base of every picture class, and TGraphicClass, a class's name with its constructor.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "imaging/RowStream.h"
#include "graphics/Colors.h"


class TGraphic;

// Where a picture's rows can be read without decoding the picture whole: its size, and a way to open a
// stream of its rows as often as needed. Empty for a picture that has no such way.
struct TRowSource {
  int32_t Width = 0;
  int32_t Height = 0;
  std::function<std::unique_ptr<imaging::RowStream>()> Open;

  explicit operator bool() const { return static_cast<bool>(Open); }
};

// A class reference: the class's name and its virtual constructor.
struct TGraphicClass {
  std::string ClassName;
  std::function<std::unique_ptr<TGraphic>()> Create;
};

class TGraphic {
public:
  TGraphic() = default;
  virtual ~TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  virtual const TGraphicClass& ClassType() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Reads and decodes the whole file; raises on a file that cannot be read. On failure the graphic keeps
  // what it held.
  virtual void LoadFromFile(const std::string& fileName) = 0;
  // The copy that assignment makes: a new instance of the same class with the same picture.
  virtual std::unique_ptr<TGraphic> Clone() const = 0;
  // Draws the whole graphic stretched into rect.
  virtual void Draw(HDC dc, const RECT& rect) const = 0;
  // The rows of a graphic that decodes on demand and has not decoded yet, decoded as they are read: a
  // picture read once need not be held whole in memory. An empty source for any other graphic.
  virtual TRowSource RowSource() const { return {}; }
};
