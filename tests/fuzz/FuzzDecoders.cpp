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

// A side of the resampled picture: shrunk, enlarged or kept by a factor that the input's length picks, and at
// most 256 pixels, so that every input runs quickly.
int32_t ScaledSide(int32_t side, size_t choice) {
  static constexpr int64_t kPercent[] = {7, 31, 62, 100, 160, 410};
  return static_cast<int32_t>(std::clamp<int64_t>(side * kPercent[choice % 6] / 100, 1, 256));
}

// The picture resampled as the conversion does it, whole or, for an odd length, only its top rows: the reading
// then stops before the last row.
Image Resampled(imaging::RowStream& rows, size_t choice) {
  imaging::Bitmap32 target;
  target.SetSize(ScaledSide(rows.Width(), choice), ScaledSide(rows.Height(), choice / 6));
  const imaging::Rect area = target.BoundsRect();
  const imaging::Rect clip{0, 0, area.right, choice % 2 ? area.bottom / 2 + 1 : area.bottom};
  imaging::StretchTransfer(target, area, clip, rows, {0, 0, rows.Width(), rows.Height()});
  Image image = imaging::AllocateImage(static_cast<uint32_t>(area.right), static_cast<uint32_t>(area.bottom), 32);
  for (int32_t y = 0; y < area.bottom; ++y)
    std::copy_n(target.Row(y), area.right, image.Row(static_cast<uint32_t>(y)));
  return image;
}

// Pictures of more pixels than this only cost time here: the rows and the resampler work alike at any size.
template <typename Rows>
bool TooLargeToFuzz(Bytes data) {
  try {
    const Rows rows(data);
    return int64_t{rows.Width()} * rows.Height() > int64_t{1} << 22;
  } catch (const DecodeError&) {
    return false;
  }
}

// The conversion's streamed path: a PNG or JPEG picture's rows read ahead on a second thread straight into the
// resampler. Read to the end, it must fail as resampling the whole decode does, and otherwise give the same
// pixels; read only in part, the damage below may never be reached.
template <typename Rows>
void ResampleStreamed(Bytes data, Image (*decodeWhole)(Bytes)) {
  if (TooLargeToFuzz<Rows>(data)) return;
  const auto streamed = [&] {
    imaging::ReadAheadRows rows(std::make_unique<Rows>(data));
    return Resampled(rows, data.size());
  };
  if (data.size() % 2) return Guarded(streamed);
  const auto whole = [&] {
    const Image picture = decodeWhole(data);
    imaging::Bitmap32 raster;
    raster.Assign(picture);
    imaging::RasterRows rows(raster);
    return Resampled(rows, data.size());
  };
  ExpectRowsAsWhole(whole, streamed);
}

void ResampleStreamedFile(Bytes data) {
  if (imaging::kPngFormat.canLoad(data.first(std::min(data.size(), imaging::kContentTestBytes)), data.size()))
    ResampleStreamed<imaging::PngRows>(data, [](Bytes file) { return imaging::kPngFormat.load(file, {}); });
  else
    ResampleStreamed<imaging::JpegRows>(data, [](Bytes file) { return imaging::DecodeJpeg(file); });
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
