#include "tests/fuzz/FuzzDecoders.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <utility>

#include "imaging/Bmp.h"
#include "imaging/FileFormatList.h"
#include "imaging/Jpeg.h"
#include "imaging/Png.h"
#include "imaging/ReadAheadRows.h"
#include "imaging/Resample.h"
#include "tests/imaging/RowsImage.h"

namespace fuzz {

namespace {

using imaging::Bytes;
using imaging::DecodeError;
using imaging::Image;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz: %s\n", what);
  std::abort();
}

void CheckImage(const Image& image) {
  if (image.width == 0 || image.height == 0 || image.pixels.size() != uint64_t{image.width} * image.height)
    Fail("decoded picture has inconsistent dimensions");
}

// The decoded picture, or nothing when the decoder failed as it should, with DecodeError.
template <typename Decode>
std::optional<Image> Attempt(Decode decode) {
  try {
    Image image = decode();
    CheckImage(image);
    return image;
  } catch (const DecodeError&) {
    return std::nullopt;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fuzz: exception other than DecodeError: %s\n", e.what());
    std::abort();
  }
}

template <typename Decode>
void Guarded(Decode decode) {
  Attempt(decode);
}

std::string NameOf(const imaging::FileFormat& format) {
  std::string name = format.className;
  name = name.substr(1, name.size() - 1 - std::string("Graphic").size());
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name;
}

// Decoded whole and row by row, a file must fail both ways or give the same pixels both ways.
template <typename Whole, typename Rows>
void ExpectRowsAsWhole(Whole decodeWhole, Rows decodeRows) {
  const std::optional<Image> whole = Attempt(decodeWhole);
  const std::optional<Image> streamed = Attempt(decodeRows);
  if (whole.has_value() != streamed.has_value()) Fail("the row stream and the whole decode disagree on failing");
  if (whole && whole->pixels != streamed->pixels) Fail("the row stream gives other pixels than the whole decode");
}

template <size_t Index>
void DecodeFormat(Bytes data) {
  const imaging::FileFormat& format = *imaging::FileFormats().at(Index);
  format.canLoad(data.first(std::min(data.size(), imaging::kContentTestBytes)), data.size());
  const auto load = [&] { return format.load(data, {}); };
  if (&format == &imaging::kPngFormat)
    return ExpectRowsAsWhole(load, [&] { return imaging::test::ReadAllPngRows(data); });
  Guarded(load);
}

void DecodeBmpFile(Bytes data) {
  Guarded([&] { return imaging::DecodeBmp(data, nullptr); });
}

void DecodeJpegFile(Bytes data) {
  ExpectRowsAsWhole([&] { return imaging::DecodeJpeg(data); }, [&] { return imaging::test::ReadAllJpegRows(data); });
}

// The conversion's streamed path: PNG or JPEG rows resampled straight from the decoder or read ahead on a
// second thread, whole or (for an odd length) only the top rows, to a size that the length picks.
Image Resampled(Bytes data, bool readAhead) {
  std::unique_ptr<imaging::RowStream> rows;
  if (imaging::kPngFormat.canLoad(data.first(std::min(data.size(), imaging::kContentTestBytes)), data.size()))
    rows = std::make_unique<imaging::PngRows>(data);
  else
    rows = std::make_unique<imaging::JpegRows>(data);
  if (int64_t{rows->Width()} * rows->Height() > int64_t{1} << 22) throw DecodeError("too large to fuzz quickly");
  if (readAhead) rows = std::make_unique<imaging::ReadAheadRows>(std::move(rows));
  const auto side = [&](int32_t length, size_t choice) {
    return static_cast<int32_t>(std::clamp<int64_t>(length * static_cast<int64_t>(choice % 500 + 5) / 100, 1, 256));
  };
  imaging::Bitmap32 target;
  target.SetSize(side(rows->Width(), data.size()), side(rows->Height(), data.size() / 7));
  const imaging::Rect area = target.BoundsRect();
  const imaging::Rect clip{0, 0, area.right, data.size() % 2 ? area.bottom / 2 + 1 : area.bottom};
  imaging::StretchTransfer(target, area, clip, *rows, {0, 0, rows->Width(), rows->Height()});
  Image image = imaging::AllocateImage(area.right, area.bottom, 32);
  for (int32_t y = 0; y < area.bottom; ++y)
    std::copy_n(target.Row(y), area.right, image.Row(static_cast<uint32_t>(y)));
  return image;
}

// Read in part, the rows ahead fail with their whole batch, and the damage below may never be reached.
void ResampleStreamedFile(Bytes data) {
  const auto readAhead = [&] { return Resampled(data, true); };
  if (data.size() % 2) return Guarded(readAhead);
  ExpectRowsAsWhole([&] { return Resampled(data, false); }, readAhead);
}

template <size_t... Indexes>
std::vector<Decoder> FormatDecoders(std::index_sequence<Indexes...>) {
  return {&DecodeFormat<Indexes>...};
}

}  // namespace

std::vector<std::string> FormatNames() {
  std::vector<std::string> names;
  for (const imaging::FileFormat* format : imaging::FileFormats()) names.push_back(NameOf(*format));
  names.push_back("bmp");
  names.push_back("jpeg");
  names.push_back("streamed");
  return names;
}

Decoder FindDecoder(const std::string& name) {
  constexpr size_t kFormats = 14;
  if (imaging::FileFormats().size() != kFormats) Fail("the format list changed; update the fuzz decoders");
  std::vector<Decoder> decoders = FormatDecoders(std::make_index_sequence<kFormats>());
  decoders.push_back(&DecodeBmpFile);
  decoders.push_back(&DecodeJpegFile);
  decoders.push_back(&ResampleStreamedFile);
  const std::vector<std::string> names = FormatNames();
  const auto found = std::find(names.begin(), names.end(), name);
  if (found == names.end()) Fail("unknown format name");
  return decoders[found - names.begin()];
}

}  // namespace fuzz
