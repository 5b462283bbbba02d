#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/FileFormatList.h"
#include "tests/imaging/TestFiles.h"

namespace imaging {
namespace {

Bytes Head(const std::vector<uint8_t>& file) { return Bytes(file).first(std::min(file.size(), kContentTestBytes)); }

// A DOS EPS file around a TIFF preview.
std::vector<uint8_t> Eps(const std::vector<uint8_t>& tiff) {
  std::vector<uint8_t> bytes = {0xC5, 0xD0, 0xD3, 0xC6};
  for (uint32_t value : {30u, 0u, 0u, 0u, 30u, static_cast<uint32_t>(tiff.size())})
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  bytes.insert(bytes.end(), {0xFF, 0xFF});
  bytes.insert(bytes.end(), tiff.begin(), tiff.end());
  return bytes;
}

// Each test picture, with the format whose content test must accept it alone (none for JPEG files).
std::vector<std::pair<std::string, const FileFormat*>> Pictures() {
  const std::pair<const char*, const FileFormat*> folders[] = {
      {"png", &kPngFormat}, {"gif", &kGifFormat}, {"tiff", &kTiffFormat}, {"jpeg", nullptr}};
  std::vector<std::pair<std::string, const FileFormat*>> pictures;
  for (const auto& [folder, format] : folders)
    for (const auto& entry : std::filesystem::directory_iterator(std::string(ORLO_TEST_DATA) + "/" + folder))
      if (entry.path().extension() != ".rgba")
        pictures.emplace_back(std::string(folder) + "/" + entry.path().filename().string(), format);
  return pictures;
}

TEST(LibraryContentTests, EachPictureIsAcceptedByItsOwnFormatOnly) {
  const auto pictures = Pictures();
  EXPECT_GE(pictures.size(), 50u);
  for (const auto& [path, format] : pictures) {
    const std::vector<uint8_t> file = test::ReadTestFile(path);
    EXPECT_EQ(FindFormatByContent(Head(file), file.size()), format) << path;
    for (const FileFormat* other : FileFormats()) {
      if (other == format) continue;
      EXPECT_FALSE(other->canLoad(Head(file), file.size())) << other->className << " " << path;
    }
    if (format == &kTiffFormat) {
      const std::vector<uint8_t> eps = Eps(file);
      EXPECT_EQ(FindFormatByContent(Head(eps), eps.size()), &kEpsFormat) << path;
    }
  }
}

// Content tests read only the head they are given: each short head is its own allocation.
TEST(LibraryContentTests, ShortHeadsAreRefusedSafely) {
  for (const char* path : {"png/rgb8.png", "gif/palette.gif", "tiff/rgb8.tif", "jpeg/baseline.jpg"}) {
    const std::vector<uint8_t> file = test::ReadTestFile(path);
    for (const std::vector<uint8_t>& whole : {file, Eps(file)})
      for (size_t length = 0; length < 40; ++length) {
        const std::vector<uint8_t> head(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        for (const FileFormat* format : {&kPngFormat, &kGifFormat, &kTiffFormat, &kEpsFormat})
          format->canLoad(Bytes(head), whole.size());
      }
  }
}

}  // namespace
}  // namespace imaging
