// The content test across formats: each picture in tests/data is claimed by its own format and by no other,
// and files that load by extension only (bitmaps, icons, metafiles, JPEG, Dr. Halo) are claimed by none.
#include <filesystem>
#include <map>

#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging::test {
namespace {

const std::map<std::string, const FileFormat*>& OwnFolders() {
  static const std::map<std::string, const FileFormat*> folders = {
      {"rla", &kRlaFormat},           {"sgi", &kSgiFormat}, {"psd", &kPsdFormat}, {"autodesk", &kAutodeskFormat},
      {"pcd", &kPcdFormat},           {"cut", &kCutFormat}, {"psp", &kPspFormat},
  };
  return folders;
}

std::vector<std::vector<uint8_t>> ExtensionOnlyFiles() {
  ByteWriter bmp, jpeg, ico, wmf, emf;
  bmp.Text("BM").U32Le(58).U32Le(0).U32Le(54).U32Le(40).U32Le(1).U32Le(1).U16Le(1).U16Le(24).Zeros(24).U32Le(0xFF);
  jpeg.U8(0xFF).U8(0xD8).U8(0xFF).U8(0xE0).U16Be(16).Text("JFIF").Zeros(600);
  ico.U16Le(0).U16Le(1).U16Le(1).U8(16).U8(16).Zeros(2).U16Le(1).U16Le(32).U32Le(1128).U32Le(22).Zeros(1128);
  wmf.U32Le(0x9AC6CDD7).Zeros(18).U16Le(1).U16Le(9).U16Le(0x300).Zeros(800);
  emf.U32Le(1).U32Le(108).Zeros(32).Text(" EMF").U32Le(0x10000).Zeros(900);
  return {bmp.bytes, jpeg.bytes, ico.bytes, wmf.bytes, emf.bytes};
}

TEST(ContentTest, EachTestPictureIsClaimedByItsOwnFormatOnly) {
  size_t checked = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ORLO_TEST_DATA)) {
    if (!entry.is_regular_file()) continue;
    const std::string folder = entry.path().parent_path().filename().string();
    const std::vector<uint8_t> file = ReadTestFile(std::filesystem::relative(entry.path(), ORLO_TEST_DATA).string());
    for (const auto& [name, format] : OwnFolders()) {
      const bool own = name == folder && format != &kCutFormat && entry.path().extension() != ".pal";
      EXPECT_EQ(Accepts(*format, file), own) << format->className << " on " << entry.path();
    }
    if (OwnFolders().count(folder) && folder != "cut") {
      EXPECT_EQ(FindFormatByContent(Bytes(file).first(std::min(file.size(), kContentTestBytes)), file.size()),
                OwnFolders().at(folder))
          << entry.path();
    }
    ++checked;
  }
  EXPECT_GT(checked, 15u);
}

TEST(ContentTest, FilesThatLoadByExtensionAreNotClaimed) {
  for (const std::vector<uint8_t>& file : ExtensionOnlyFiles())
    for (const auto& [name, format] : OwnFolders()) EXPECT_FALSE(Accepts(*format, file)) << format->className;
}

}  // namespace
}  // namespace imaging::test
