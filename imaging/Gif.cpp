// GIF pictures through giflib: the first image of the file. A GIF file is a logical screen descriptor
// with an optional global palette, then records: extensions (a graphics control extension before an image
// names its transparent index) and images, each with a position in the screen, an optional local palette
// and LZW data in sub-blocks, rows optionally interlaced in four passes. The records are read one by one
// up to the first image, so a hostile file cannot make giflib hold more than that image's rows.
//
// The picture is the logical screen, grown where the first image reaches beyond it; pixels that the image
// does not cover are transparent, as are pixels of the transparent index. Pixel indices beyond the
// palette are opaque black.
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

struct MemoryInput {
  const uint8_t* data;
  size_t size;
  size_t offset;
};

// A short count tells giflib that the file ended.
int OnRead(GifFileType* gif, GifByteType* out, int length) {
  auto* input = static_cast<MemoryInput*>(gif->UserData);
  const size_t count = std::min(static_cast<size_t>(std::max(length, 0)), input->size - input->offset);
  if (count > 0) std::memcpy(out, input->data + input->offset, count);
  input->offset += count;
  return static_cast<int>(count);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void Fail(int error) {
  const char* text = GifErrorString(error);
  throw DecodeError(std::string("Cannot read the GIF picture: ") + (text ? text : "unknown error"));
}

void Check(GifFileType* gif, int result) {
  if (result == GIF_ERROR) Fail(gif->Error);
}

// Reads one extension record; returns the transparent index that applies to the next image.
int ReadExtension(GifFileType* gif, int transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  Check(gif, DGifGetExtension(gif, &code, &block));
  GraphicsControlBlock control;
  if (code == GRAPHICS_EXT_FUNC_CODE && block && DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
    transparent = control.TransparentColor;
  while (block) Check(gif, DGifGetExtensionNext(gif, &block));
  return transparent;
}

std::array<uint32_t, 256> Palette(const ColorMapObject& colors, int transparent) {
  std::array<uint32_t, 256> palette;
  palette.fill(Argb(0, 0, 0));
  const int count = std::clamp(colors.ColorCount, 0, 256);
  for (int i = 0; i < count; ++i)
    palette[i] = Argb(colors.Colors[i].Red, colors.Colors[i].Green, colors.Colors[i].Blue);
  if (transparent >= 0 && transparent < 256) palette[transparent] &= 0x00FFFFFFu;
  return palette;
}

// The rows of the image in the order the file stores them.
std::vector<uint32_t> RowOrder(uint32_t height, bool interlaced) {
  std::vector<uint32_t> order;
  order.reserve(height);
  if (!interlaced) {
    for (uint32_t y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  constexpr uint32_t kStart[4] = {0, 4, 2, 1};
  constexpr uint32_t kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (uint32_t y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
  return order;
}

Image ReadFirstImage(GifFileType* gif, int transparent) {
  Check(gif, DGifGetImageDesc(gif));
  const GifImageDesc& desc = gif->Image;
  const ColorMapObject* colors = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (!colors) throw DecodeError("Cannot read the GIF picture: it has no palette");
  CheckDimensions(desc.Width, desc.Height);
  const uint32_t left = desc.Left, top = desc.Top, width = desc.Width, height = desc.Height;
  const uint32_t screenWidth = std::max<uint32_t>(gif->SWidth, left + width);
  const uint32_t screenHeight = std::max<uint32_t>(gif->SHeight, top + height);
  Image image = AllocateImage(screenWidth, screenHeight, colors->BitsPerPixel);
  const bool covered = left == 0 && top == 0 && width == screenWidth && height == screenHeight;
  if (!covered) std::fill(image.pixels.begin(), image.pixels.end(), 0u);
  image.hasAlpha = !covered || transparent != NO_TRANSPARENT_COLOR;

  const std::array<uint32_t, 256> palette = Palette(*colors, transparent);
  std::vector<GifPixelType> line(width);
  for (uint32_t y : RowOrder(height, desc.Interlace)) {
    Check(gif, DGifGetLine(gif, line.data(), static_cast<int>(width)));
    uint32_t* row = image.Row(top + y) + left;
    for (uint32_t x = 0; x < width; ++x) row[x] = palette[line[x]];
  }
  return image;
}

bool CanLoad(Bytes head, uint64_t) {
  return head.size() >= 6 && (std::memcmp(head.data(), "GIF87a", 6) == 0 || std::memcmp(head.data(), "GIF89a", 6) == 0);
}

Image Load(Bytes file, Bytes) {
  MemoryInput input{file.data(), file.size(), 0};
  int error = 0;
  GifHandle gif(DGifOpen(&input, OnRead, &error));
  if (!gif) Fail(error);
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    Check(gif.get(), DGifGetRecordType(gif.get(), &type));
    if (type == IMAGE_DESC_RECORD_TYPE) return ReadFirstImage(gif.get(), transparent);
    if (type == EXTENSION_RECORD_TYPE)
      transparent = ReadExtension(gif.get(), transparent);
    else
      throw DecodeError("Cannot read the GIF picture: it holds no image");
  }
}

}  // namespace

const FileFormat kGifFormat = {
    "TGIFGraphic",
    {{"gif", "CompuServe images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
