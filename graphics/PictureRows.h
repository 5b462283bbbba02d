#pragma once
// Pictures read row by row straight from their file's bytes, as the conversion reads them: the rows of a
// decoder's stream kept together with the bytes it reads, and a PNG picture opened for its rows alone.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/RowStream.h"
#include "graphics/Graphics.h"
#include "graphics/PictureFiles.h"

using TPictureData = std::shared_ptr<const std::vector<uint8_t>>;

// A decoder's rows over the file's bytes, which the stream keeps alive; its failures become EInvalidGraphic.
template <class Rows>
class TPictureRows final : public imaging::RowStream {
public:
  explicit TPictureRows(TPictureData data)
      : FData(std::move(data)), FRows(Decode([&] { return std::make_unique<Rows>(*FData); })) {}
  int32_t Width() const override { return FRows->Width(); }
  int32_t Height() const override { return FRows->Height(); }
  const uint32_t* Row(int32_t y) override {
    return Decode([&] { return FRows->Row(y); });
  }
  void ReadInto(int32_t first, int32_t count, uint32_t* rows, ptrdiff_t stride) override {
    Decode([&] { FRows->ReadInto(first, count, rows, stride); });
  }

private:
  TPictureData FData;
  std::unique_ptr<Rows> FRows;
};

// A PNG picture for one reading of its rows: loading reads the file and its header (EInvalidGraphic when it
// is no PNG picture), and its pixels are decoded only as a raster reads the rows, never whole; a failure
// there is the picture's own, as EInvalidGraphic. Its class is the multi-format loader's PNG class, which
// decodes on loading.
class TStreamedPNG final : public TGraphic {
public:
  const TGraphicClass& ClassType() const override;
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void LoadFromFile(const std::string& fileName) override;
  std::unique_ptr<TGraphic> Clone() const override;
  // Decodes the rows into a raster and draws that.
  void Draw(HDC dc, const RECT& rect) const override;
  TRowSource RowSource() const override;

private:
  TPictureData FData;  // null until a file is loaded
  int FWidth = 0;
  int FHeight = 0;
};
