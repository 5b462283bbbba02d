#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TempFolder.h"
#include "TestPictures.h"
#include "graphics/Bitmap.h"
#include "graphics/Icon.h"
#include "graphics/JPEG.h"
#include "graphics/Metafile.h"
#include "graphics/Picture.h"
#include "graphics/PictureFiles.h"
#include "system/SysUtils.h"

namespace {

int ScreenDpi() { return GetDeviceCaps(TScreenDc().Handle(), LOGPIXELSX); }

// A Windows metafile with one rectangle, drawn by GDI.
std::vector<uint8_t> WindowsMetafileBits() {
  HDC dc = CreateMetaFileA(nullptr);
  Rectangle(dc, 0, 0, 100, 50);
  HMETAFILE metafile = CloseMetaFile(dc);
  std::vector<uint8_t> bits(GetMetaFileBitsEx(metafile, 0, nullptr));
  GetMetaFileBitsEx(metafile, static_cast<UINT>(bits.size()), bits.data());
  DeleteMetaFile(metafile);
  return bits;
}

// The placeable header: bounds 0,0 to right,bottom in units of 1/inch, with its checksum.
std::vector<uint8_t> PlaceableMetafile(int16_t right, int16_t bottom, uint16_t inch) {
  const uint16_t words[10] = {0xCDD7, 0x9AC6, 0, 0, 0, static_cast<uint16_t>(right), static_cast<uint16_t>(bottom),
                              inch,   0,      0};
  uint16_t checksum = 0;
  for (const uint16_t word : words) checksum ^= word;
  std::vector<uint8_t> file(22);
  std::memcpy(file.data(), words, sizeof words);
  std::memcpy(file.data() + 20, &checksum, 2);
  const std::vector<uint8_t> bits = WindowsMetafileBits();
  file.insert(file.end(), bits.begin(), bits.end());
  return file;
}

TEST(TMetafile, SizeOfPlaceableAndEnhancedMetafiles) {
  TempFolder folder;
  const std::vector<uint8_t> placeable = PlaceableMetafile(1440, 720, 1440);  // 1 x 0.5 inch
  TMetafile wmf;
  wmf.LoadFromFile(folder.Write("placeable.wmf", placeable.data(), placeable.size()));
  EXPECT_EQ(wmf.Width(), ScreenDpi());
  EXPECT_EQ(wmf.Height(), ScreenDpi() / 2);

  const RECT frame{0, 0, 2540, 1270};  // hundredths of a millimetre: 1 x 0.5 inch
  HDC dc = CreateEnhMetaFileA(nullptr, folder.File("frame.emf").c_str(), &frame, nullptr);
  Rectangle(dc, 0, 0, 10, 10);
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));
  TMetafile emf;
  emf.LoadFromFile(folder.File("frame.emf"));
  EXPECT_EQ(emf.Width(), ScreenDpi());
  EXPECT_EQ(emf.Height(), ScreenDpi() / 2);

  const std::unique_ptr<TGraphic> copy = emf.Clone();
  EXPECT_NE(static_cast<const TMetafile*>(copy.get())->Handle(), emf.Handle());
  EXPECT_EQ(copy->Width(), emf.Width());
}

TEST(TMetafile, PlainWindowsMetafileAndBrokenFiles) {
  TempFolder folder;
  const std::vector<uint8_t> plain = WindowsMetafileBits();
  TMetafile metafile;
  metafile.LoadFromFile(folder.Write("plain.wmf", plain.data(), plain.size()));
  EXPECT_NE(metafile.Handle(), nullptr);
  EXPECT_THROW(metafile.LoadFromFile(folder.Write("text.wmf", "not a metafile at all")), EInvalidGraphic);
  const std::vector<uint8_t> noInch = PlaceableMetafile(100, 100, 0);
  EXPECT_THROW(metafile.LoadFromFile(folder.Write("noinch.wmf", noInch.data(), noInch.size())), EInvalidGraphic);
  EXPECT_NE(metafile.Handle(), nullptr);
}

TEST(TIcon, SizeOfTheChosenImage) {
  TIcon icon;
  icon.LoadFromFile(TestPicture("icon32.ico"));
  EXPECT_EQ(icon.Width(), 32);
  EXPECT_EQ(icon.Height(), 32);
  EXPECT_NE(icon.Handle(), nullptr);
  // Of 48, 32 and 16 pixels, the system's icon size wins.
  TIcon sizes;
  sizes.LoadFromFile(TestPicture("icon-sizes.ico"));
  EXPECT_EQ(sizes.Width(), GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(sizes.Height(), GetSystemMetrics(SM_CYICON));
}

TEST(TIcon, BrokenDirectoriesRaise) {
  TempFolder folder;
  const uint8_t outside[] = {0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0, 0x10, 0, 0, 0, 22, 0, 0, 0};
  const uint8_t none[] = {0, 0, 1, 0, 0, 0};
  TIcon icon;
  EXPECT_THROW(icon.LoadFromFile(folder.Write("outside.ico", outside, sizeof outside)), EInvalidGraphic);
  EXPECT_THROW(icon.LoadFromFile(folder.Write("none.ico", none, sizeof none)), EInvalidGraphic);
  EXPECT_THROW(icon.LoadFromFile(folder.Write("short.ico", none, 4)), EInvalidGraphic);
}

TEST(TPicture, AssigningStoresACopyOfTheSameClass) {
  TIcon icon;
  icon.LoadFromFile(TestPicture("icon32.ico"));
  TPicture picture;
  picture.SetGraphic(&icon);
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_NE(picture.Graphic(), &icon);
  EXPECT_EQ(&picture.Graphic()->ClassType(), &TIcon::Class());
  EXPECT_NE(static_cast<TIcon*>(picture.Graphic())->Handle(), icon.Handle());
  EXPECT_EQ(picture.Width(), 32);
  picture.SetGraphic(nullptr);
  EXPECT_EQ(picture.Graphic(), nullptr);
}

TEST(TPicture, LoadsByExtensionAndKeepsTheGraphicOnFailure) {
  TempFolder folder;
  TPicture picture;
  picture.LoadFromFile(TestPicture("icon32.ico"));
  TGraphic* const loaded = picture.Graphic();
  ASSERT_NE(loaded, nullptr);

  try {
    picture.LoadFromFile(folder.Write("note.Txt.XyZ", "text"));
    FAIL() << "an unknown extension loaded";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Unknown picture file extension (.XyZ)");
  }
  EXPECT_THROW(picture.LoadFromFile(folder.Write("broken.ICO", "text")), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(folder.File("missing.ico")), EFOpenError);
  EXPECT_EQ(picture.Graphic(), loaded);

  // A name without an extension (a dot in a folder's name does not count) gives an empty graphic.
  picture.LoadFromFile(TestPicture("../pictures/noextension"));
  EXPECT_EQ(picture.Graphic()->ClassType().ClassName, "TOleGraphic");
  EXPECT_EQ(picture.Width(), 0);
  EXPECT_EQ(picture.Height(), 0);
}

TEST(TJPEGImage, PixelFormatIsADecodingSetting) {
  TJPEGImage jpeg;
  jpeg.LoadFromFile(TestPicture("jpeg.jpg"));
  EXPECT_EQ(jpeg.PixelFormat(), jf24Bit);
  EXPECT_EQ(jpeg.Bitmap().PixelFormat(), pf24bit);
  EXPECT_EQ(jpeg.Width(), 20);
  EXPECT_EQ(jpeg.Height(), 12);
  jpeg.SetPixelFormat(jf8Bit);
  jpeg.LoadFromFile(TestPicture("jpeg.jpg"));
  EXPECT_EQ(jpeg.PixelFormat(), jf8Bit);
  EXPECT_EQ(jpeg.Bitmap().PixelFormat(), pf8bit);
  EXPECT_THROW(jpeg.LoadFromFile(TestPicture("png.png")), EInvalidGraphic);
  EXPECT_EQ(jpeg.Width(), 20);
  // Pixels decoded before are decoded anew in the format set since.
  jpeg.SetPixelFormat(jf24Bit);
  EXPECT_EQ(jpeg.Bitmap().PixelFormat(), pf24bit);
  EXPECT_EQ(jpeg.Clone()->Width(), 20);
}

TEST(PictureFiles, OpeningDeniesWritersAndReadingIsBounded) {
  TempFolder folder;
  const std::string path = folder.Write("held.bin", "0123456789");
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  try {
    ReadFileHead(path, 4);
    FAIL() << "opened a file that another process writes";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file " + path);
  }
  CloseHandle(writer);
  const TFileHead head = ReadFileHead(path, 4);
  EXPECT_EQ(head.size, 10u);
  EXPECT_EQ(std::string(head.bytes.begin(), head.bytes.end()), "0123");

  // A sparse file of 3 GB: refused before anything is allocated.
  const std::string huge = folder.File("huge.png");
  HANDLE file = CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  LARGE_INTEGER size;
  size.QuadPart = 3LL << 30;
  ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(file));
  CloseHandle(file);
  EXPECT_THROW(ReadPictureFile(huge), EInvalidGraphic);
  EXPECT_EQ(ReadFileHead(huge, 8).size, uint64_t{3} << 30);
}

// A Dr. Halo picture takes its colours from the palette file of its name beside it, read here for the
// decoder; without one it shows grey levels, and a palette file larger than any palette is refused.
TEST(PictureFiles, ADrHaloPictureReadsThePaletteBesideIt) {
  TempFolder folder;
  const std::vector<uint8_t> picture = ReadPictureFile(ORLO_TEST_DATA "/cut/halo.cut");
  const std::vector<uint8_t> palette = ReadPictureFile(ORLO_TEST_DATA "/cut/halo.pal");
  const std::string path = folder.Write("halo.cut", picture.data(), picture.size());
  auto firstPixel = [&] {
    TPicture loaded;
    loaded.LoadFromFile(path);
    return dynamic_cast<const TBitmap&>(*loaded.Graphic()).ToImage().pixels[0] & 0xFFFFFF;
  };
  const uint32_t grey = firstPixel();
  EXPECT_EQ((grey >> 16 & 0xFF), (grey & 0xFF));
  folder.Write("halo.pal", palette.data(), palette.size());
  EXPECT_EQ(firstPixel(), 0x00FF00u);
  const std::string tooLarge(kMaxCompanionFileBytes + 1, 'A');
  folder.Write("halo.pal", tooLarge);
  EXPECT_THROW(firstPixel(), EInvalidGraphic);
}

}  // namespace
