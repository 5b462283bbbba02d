#include "graphics/Bitmap32.h"

#include <cstring>
#include <new>
#include <stdexcept>

#include "imaging/BmpWriter.h"
#include "imaging/ReadAheadRows.h"
#include "graphics/Bitmap.h"
#include "graphics/Dib.h"
#include "system/FileUtils.h"
#include "graphics/JPEG.h"
#include "system/SysUtils.h"

namespace {

// A JPEG picture is a bitmap inside: its pixels are what drawing it would give.
const TBitmap* BitmapOf(const TGraphic& graphic) {
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(&graphic)) return bitmap;
  if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(&graphic)) return &jpeg->Bitmap();
  return nullptr;
}

[[noreturn]] void RaiseOutOfResources() { throw EOutOfResources("Out of system resources"); }

// The raster's own errors become the program's.
template <class Call>
void Translated(Call call) {
  try {
    call();
  } catch (const std::length_error&) {
    RaiseOutOfResources();
  } catch (const std::bad_alloc&) {
    RaiseOutOfResources();
  } catch (const std::invalid_argument& e) {
    throw EInvalidGraphic(e.what());
  }
}

}  // namespace

TDibPixelStore::TDibPixelStore() : FCanvas(CreateCompatibleDC(nullptr)) {
  if (!FCanvas) RaiseOutOfResources();
  FStockBitmap = GetCurrentObject(FCanvas.get(), OBJ_BITMAP);
}

// The section must leave the device context before either is deleted.
TDibPixelStore::~TDibPixelStore() { Release(); }

imaging::PixelMemory TDibPixelStore::Allocate(int32_t width, int32_t height) {
  Release();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  // Bottom row first, as a bitmap file keeps its rows: the whole picture is then saved in one write.
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TBitmapHandle bitmap(CreateDIBSection(FCanvas.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) RaiseOutOfResources();
  SelectObject(FCanvas.get(), bitmap.get());
  FBitmap = std::move(bitmap);
  // A section's memory comes zeroed; 32-bit rows need no padding. The raster's top row is the last one.
  return {static_cast<uint32_t*>(bits) + static_cast<ptrdiff_t>(height - 1) * width, -static_cast<ptrdiff_t>(width)};
}

void TDibPixelStore::Release() {
  SelectObject(FCanvas.get(), FStockBitmap);
  FBitmap.reset();
}

TBitmap32::TBitmap32() : TBitmap32(std::make_unique<TDibPixelStore>()) {}

TBitmap32::TBitmap32(std::unique_ptr<TDibPixelStore> store) : FStore(store.get()), FRaster(std::move(store)) {}

HDC TBitmap32::Handle() const {
  Realize();
  return FStore->Handle();
}

imaging::Bitmap32& TBitmap32::Raster() {
  Realize();
  GdiFlush();
  return FRaster;
}

const imaging::Bitmap32& TBitmap32::Raster() const {
  Realize();
  GdiFlush();
  return FRaster;
}

std::unique_ptr<imaging::RowStream> TBitmap32::ReadRows() const {
  if (FPending) return std::make_unique<imaging::ReadAheadRows>(FPending.Open());
  return std::make_unique<imaging::RasterRows>(Raster());
}

// Copies rows one by one from the decoder, which holds only a few of them at a time.
void TBitmap32::Realize() const {
  if (!FPending) return;
  const std::unique_ptr<imaging::RowStream> rows = FPending.Open();
  Translated([&] { FRaster.SetSize(rows->Width(), rows->Height()); });
  for (int32_t y = 0; y < FRaster.Height(); ++y)
    std::memcpy(FRaster.Row(y), rows->Row(y), static_cast<size_t>(FRaster.Width()) * sizeof(uint32_t));
  FPending = {};
}

void TBitmap32::Defer(TRowSource picture) {
  SetSize(0, 0);
  FPending = std::move(picture);
}

void TBitmap32::SetSize(int32_t width, int32_t height) {
  FPending = {};
  Translated([&] { FRaster.SetSize(width, height); });
}

void TBitmap32::FillRectS(const imaging::Rect& rect, imaging::Color32 color) { Raster().FillRectS(rect, color); }

void TBitmap32::Assign(const TGraphic& graphic) {
  FPending = {};
  if (TRowSource rows = graphic.RowSource()) return Defer(std::move(rows));
  if (const TBitmap* bitmap = BitmapOf(graphic)) return AssignBitmap(*bitmap);
  SetSize(graphic.Width(), graphic.Height());
  FillRectS(BoundsRect(), 0xFFFFFFFFu);
  graphic.Draw(Handle(), RECT{0, 0, Width(), Height()});
  // GDI leaves the alpha byte of what it draws at zero.
  imaging::Bitmap32& raster = Raster();
  for (int32_t y = 0; y < raster.Height(); ++y)
    for (uint32_t* pixel = raster.Row(y); pixel != raster.Row(y) + raster.Width(); ++pixel) *pixel |= 0xFF000000u;
}

// Rows of 24 or 32 bits are read straight into the raster, in one pass.
void TBitmap32::AssignBitmap(const TBitmap& bitmap) {
  if (!bitmap.Handle()) return SetSize(bitmap.Width(), bitmap.Height());
  if (!bitmap.RowBitCount()) return Translated([&] { FRaster.Assign(bitmap.ToImage()); });
  SetSize(bitmap.Width(), bitmap.Height());
  const imaging::PixelRows rows = bitmap.Rows();
  imaging::Bitmap32& raster = Raster();
  for (int32_t y = 0; y < raster.Height(); ++y)
    DibRowToPixels(rows.Row(static_cast<uint32_t>(y)), bitmap.RowBitCount(), raster.Width(), raster.Row(y));
}

void TBitmap32::Assign(const TBitmap32& other) {
  if (&other == this) return;
  if (other.FPending) return Defer(other.FPending);
  FPending = {};
  Translated([&] { FRaster.Assign(other.Raster()); });
}

void TBitmap32::SaveToFile(const std::string& fileName) const {
  const imaging::Bitmap32& raster = Raster();
  WriteFileReplacing(fileName, [&raster](const TWritePiece& write) {
    Translated([&] {
      imaging::WriteBmp32(raster, [&write](std::span<const uint8_t> bytes) {
        write({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
      });
    });
  }, TReplaceFlush::Deferred);
}
