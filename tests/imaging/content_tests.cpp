// The content test over all fourteen formats. Each test picture in tests/data/<format folder> is claimed by
// its own format and by no other, so the loader finds its own format first; files that load by extension only
// (bitmaps, icons, metafiles, JPEG, Dr. Halo, and the misnamed pictures) are claimed by none, or by exactly
// the format that their content is.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging::test {
namespace {

namespace fs = std::filesystem;

const std::map<std::string, const FileFormat*> kFormatFolders = {
    {"targa", &kTargaFormat}, {"tiff", &kTiffFormat}, {"eps", &kEpsFormat}, {"pcx", &kPcxFormat},
    {"rla", &kRlaFormat},     {"sgi", &kSgiFormat},   {"psd", &kPsdFormat}, {"ppm", &kPpmFormat},
    {"autodesk", &kAutodeskFormat}, {"pcd", &kPcdFormat}, {"gif", &kGifFormat}, {"cut", &kCutFormat},
    {"psp", &kPspFormat},     {"png", &kPngFormat},   {"png-damaged", &kPngFormat},
};

// Pictures outside the format folders whose content is one of the formats, whatever their names say.
const std::map<std::string, const FileFormat*> kClaimedElsewhere = {
    {"probe/ref.png", &kPngFormat},  {"probe/ref.gif", &kGifFormat},         {"probe/ref.tif", &kTiffFormat},
    {"probe/ref-lzw.tif", &kTiffFormat}, {"pictures/png.png", &kPngFormat}, {"pictures/png-named.jpg", &kPngFormat},
    {"conversion/photo.png", &kPngFormat}, {"conversion/interlaced-alpha.png", &kPngFormat},
    {"conversion/grey16.png", &kPngFormat}, {"conversion/palette.png", &kPngFormat},
};

Bytes Head(const std::vector<uint8_t>& file) { return Bytes(file).first(std::min(file.size(), kContentTestBytes)); }

// The one format that must claim a file under tests/data, or nullptr.
const FileFormat* Owner(const fs::path& relative) {
  const std::string extension = relative.extension().string();
  if (extension == ".rgba" || extension == ".pal" || extension == ".sh" || extension == ".py") return nullptr;
  if (const auto it = kClaimedElsewhere.find(relative.generic_string()); it != kClaimedElsewhere.end())
    return it->second;
  const auto folder = kFormatFolders.find(relative.parent_path().generic_string());
  // Dr. Halo files have no signature: they load by extension only.
  if (folder == kFormatFolders.end() || folder->second == &kCutFormat) return nullptr;
  return folder->second;
}

void ExpectClaimedBy(const std::vector<uint8_t>& file, const FileFormat* owner) {
  for (const FileFormat* format : FileFormats())
    EXPECT_EQ(format->canLoad(Head(file), file.size()), format == owner) << format->className;
  EXPECT_EQ(FindFormatByContent(Head(file), file.size()), owner);
}

TEST(ContentTest, EachTestFileIsClaimedByItsOwnFormatOnly) {
  std::map<const FileFormat*, size_t> claimed;
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(ORLO_TEST_DATA)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), ORLO_TEST_DATA);
    SCOPED_TRACE(relative.generic_string());
    const FileFormat* owner = Owner(relative);
    ExpectClaimedBy(ReadTestFile(relative.generic_string()), owner);
    ++claimed[owner];
    ++files;
  }
  for (const FileFormat* format : FileFormats()) {
    if (format != &kCutFormat) {
      EXPECT_GT(claimed[format], 0u) << format->className;
    }
  }
  EXPECT_GE(files, 200u);
}

// Every TIFF picture, behind a DOS EPS header, is an EPS picture first.
TEST(ContentTest, TiffPicturesBehindAnEpsHeaderAreEps) {
  for (const auto& entry : fs::directory_iterator(std::string(ORLO_TEST_DATA) + "/tiff")) {
    if (entry.path().extension() != ".tif") continue;
    SCOPED_TRACE(entry.path().filename().string());
    ExpectClaimedBy(DosEps(ReadTestFile("tiff/" + entry.path().filename().string()), 0), &kEpsFormat);
  }
}

// Hand-made heads of the kinds that load by extension: no format may claim them.
TEST(ContentTest, FilesThatLoadByExtensionAreNotClaimed) {
  ByteWriter bmp, jpeg, ico, wmf, emf;
  bmp.Text("BM").U32Le(58).U32Le(0).U32Le(54).U32Le(40).U32Le(1).U32Le(1).U16Le(1).U16Le(24).Zeros(24).U32Le(0xFF);
  jpeg.U8(0xFF).U8(0xD8).U8(0xFF).U8(0xE0).U16Be(16).Text("JFIF").Zeros(600);
  ico.U16Le(0).U16Le(1).U16Le(1).U8(16).U8(16).Zeros(2).U16Le(1).U16Le(32).U32Le(1128).U32Le(22).Zeros(1128);
  wmf.U32Le(0x9AC6CDD7).Zeros(18).U16Le(1).U16Le(9).U16Le(0x300).Zeros(800);
  emf.U32Le(1).U32Le(108).Zeros(32).Text(" EMF").U32Le(0x10000).Zeros(900);
  for (const ByteWriter* file : {&bmp, &jpeg, &ico, &wmf, &emf}) ExpectClaimedBy(file->bytes, nullptr);
}

// Content tests read only the head they are given: each short head is its own allocation, so that the
// sanitizers catch a read past it, and none is claimed.
TEST(ContentTest, ShortHeadsAreRefusedSafely) {
  for (const char* path : {"png/rgb8.png", "gif/palette.gif", "tiff/rgb8.tif", "jpeg/baseline.jpg", "targa/rgb24.tga",
                           "pcx/rgb24.pcx", "ppm/p6.ppm", "sgi/rgb-rle.sgi", "psd/rgb-raw.psd", "psp/composite-rle.psp"}) {
    const std::vector<uint8_t> file = ReadTestFile(path);
    for (const std::vector<uint8_t>& whole : {file, DosEps(file, 0)})
      for (size_t length = 0; length < 40; ++length) {
        const std::vector<uint8_t> head(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        for (const FileFormat* format : FileFormats()) format->canLoad(Bytes(head), whole.size());
      }
  }
  const std::vector<uint8_t> pcxStart = {0x0A, 5, 1, 8};
  for (const FileFormat* format : FileFormats()) {
    EXPECT_FALSE(format->canLoad(Bytes(), 0)) << format->className;
    EXPECT_FALSE(format->canLoad(Bytes(pcxStart), 4)) << format->className;
  }
}

}  // namespace
}  // namespace imaging::test
