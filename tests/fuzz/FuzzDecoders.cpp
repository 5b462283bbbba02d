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
  return names;
}

Decoder FindDecoder(const std::string& name) {
  constexpr size_t kFormats = 14;
  if (imaging::FileFormats().size() != kFormats) Fail("the format list changed; update the fuzz decoders");
  std::vector<Decoder> decoders = FormatDecoders(std::make_index_sequence<kFormats>());
  decoders.push_back(&DecodeBmpFile);
  decoders.push_back(&DecodeJpegFile);
  const std::vector<std::string> names = FormatNames();
  const auto found = std::find(names.begin(), names.end(), name);
  if (found == names.end()) Fail("unknown format name");
  return decoders[found - names.begin()];
}

}  // namespace fuzz
