// The entries' size, type and dimensions texts, and the cache that keeps them.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "FakeShell.h"
#include "ProgramFolder.h"
#include "TempFolder.h"
#include "TestPictures.h"
#include "engine/uWallPaper.h"
#include "graphics/Bitmap32.h"
#include "graphics/PictureFiles.h"

namespace {

constexpr int64_t MB = 1048576, GB = 1073741824;

// Sets the user's decimal separator for the test's lifetime.
class DecimalSeparator {
public:
  explicit DecimalSeparator(const char* separator) {
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FOld, sizeof FOld);
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator);
  }
  ~DecimalSeparator() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FOld); }
  DecimalSeparator(const DecimalSeparator&) = delete;
  DecimalSeparator& operator=(const DecimalSeparator&) = delete;

private:
  char FOld[8] = ".";
};

TEST(FormatSize, UnitsAndRounding) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0 bytes"},
      {1023, "1023 bytes"},
      {1024, "1.0 KB"},
      {1536, "1.5 KB"},
      {1280, "1.3 KB"},  // exactly halfway: up
      {1792, "1.8 KB"},
      {1075, "1.0 KB"},
      {1076, "1.1 KB"},
      {1048575, "1024.0 KB"},  // rounds up to the next unit's boundary but stays in KB
      {MB, "1.0 MB"},
      {2 * MB + MB / 4, "2.3 MB"},
      {1073741823, "1024.0 MB"},
      {GB, "1.0 GB"},
      {5 * GB, "5.0 GB"},
      {2048 * GB, "2048.0 GB"},
      {INT64_MAX, "8589934592.0 GB"},
      {-1, "-1 bytes"},
      {-5 * GB, "-5368709120 bytes"},
      {INT64_MIN, "-9223372036854775808 bytes"},
  };
  for (const auto& [size, text] : cases) EXPECT_EQ(TWallpaperList::FormatSize(size), text) << size;
}

TEST(FormatSize, UsesTheLocaleDecimalSeparator) {
  {
    DecimalSeparator comma(",");
    EXPECT_EQ(TWallpaperList::FormatSize(1536), "1,5 KB");
    EXPECT_EQ(TWallpaperList::FormatSize(5 * GB), "5,0 GB");
    EXPECT_EQ(TWallpaperList::FormatSize(1000), "1000 bytes");
  }
  EXPECT_EQ(TWallpaperList::FormatSize(1536), "1.5 KB");
}

// Points the program folder at a temporary folder, where the list saves its list file at the end.
class EntryTextsTest : public ::testing::Test {
protected:
  // A copy of a sample picture in the temporary folder, cut after length bytes when asked.
  std::string Copy(const std::string& sample, const std::string& name, size_t length = SIZE_MAX) {
    const std::vector<uint8_t> bytes = ReadPictureFile(TestPicture(sample));
    return Folder.Write(name, std::string(bytes.begin(), bytes.begin() + std::min(length, bytes.size())));
  }
  int32_t Add(const std::string& path) {
    List.Add(path);
    return List.LastIndex();
  }

  TempFolder Folder;
  ProgramFolder Program{Folder.Path()};
  TWallpaperList List;
};

TEST_F(EntryTextsTest, InvalidIndexesGiveEmptyTexts) {
  Add(Folder.Write("a.bmp", "x"));
  for (int32_t index : {-1, 1, INT32_MIN}) {
    EXPECT_EQ(List.GetSizeText(index), "");
    EXPECT_EQ(List.GetTypeText(index), "");
    EXPECT_EQ(List.GetDimensionsText(index), "");
  }
  EXPECT_EQ(List.GetProperties(0), nullptr);
}

TEST_F(EntryTextsTest, SizeTextIsKeptOnceKnownAndRetriedWhileUnknown) {
  const int32_t kept = Add(Folder.Write("kept.jpg", std::string(1536, 'x')));
  const std::string latePath = Folder.Path() + "late.jpg";
  const int32_t late = Add(latePath);
  EXPECT_EQ(List.GetProperties(kept), nullptr);

  EXPECT_EQ(List.GetSizeText(kept), "1.5 KB");
  ASSERT_NE(List.GetProperties(kept), nullptr);
  EXPECT_EQ(List.GetProperties(kept)->SizeText, "1.5 KB");
  DeleteFileA(List.GetFileName(kept).c_str());
  EXPECT_EQ(List.GetSizeText(kept), "1.5 KB");

  EXPECT_EQ(List.GetSizeText(late), "");
  ASSERT_NE(List.GetProperties(late), nullptr);
  EXPECT_EQ(List.GetProperties(late)->SizeText, "");
  EXPECT_NE(List.GetTypeText(late), "");
  Folder.Write("late.jpg", std::string(1023, 'x'));
  EXPECT_EQ(List.GetSizeText(late), "1023 bytes");
}

TEST_F(EntryTextsTest, SizeTextTakesAll64Bits) {
  const std::string path = Folder.Path() + "huge.bmp";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = 5 * GB;
  const bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  if (!sized) GTEST_SKIP() << "no room for a sparse file of 5 GB";
  EXPECT_EQ(List.GetSizeText(Add(path)), "5.0 GB");
}

// The name alone decides: a file that is gone has the shell's name all the same, and keeps it once known.
TEST_F(EntryTextsTest, TypeTextComesFromTheShellForAnyName) {
  const int32_t missing = Add(Folder.Path() + "gone.jpg");
  {
    FakeShell shell("JPEG picture");
    EXPECT_EQ(List.GetTypeText(missing), "JPEG picture");
  }
  FakeShell other("Other name");
  EXPECT_EQ(List.GetTypeText(missing), "JPEG picture");
  TWallpaperList list;
  list.Add(Folder.Path() + "gone.png");
  EXPECT_EQ(list.GetTypeText(0), "Other name");
}

// Without a test's shell, the system's own answers: never the empty text.
TEST_F(EntryTextsTest, TypeTextOfTheSystemShellIsNeverEmpty) {
  for (const char* name : {"a.jpg", "a.xyz-unknown", "noextension"})
    EXPECT_NE(List.GetTypeText(Add(Folder.Path() + name)), "") << name;
}

TEST_F(EntryTextsTest, TypeTextFallsBackToTheExtensionWhenTheShellHasNoName) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\pictures\\a.jpe", "JPE File"},
      {"C:\\pictures\\a.Tiff", "TIFF File"},
      {"C:\\pictures\\a.tar.gz", "GZ File"},
      {"C:\\pictures\\a.b c", "B C File"},
      {"C:\\pictures\\a. x", "X File"},  // blanks before the name are trimmed
      {"C:\\pictures\\a.", "File"},
      {"C:\\pictures\\noextension", "File"},
      {"C:\\pictures.d\\noextension", "File"},  // a dot in a folder's name is no extension
      {"C:a", "File"},
      {"C:\\pictures\\a.j\xE9g", "J\xE9G File"},  // only a to z are upper-cased
  };
  for (const char* shellName : {"", " \t\r\n"}) {
    FakeShell shell(shellName);
    TWallpaperList list;
    for (const auto& [path, text] : cases) {
      list.Add(path);
      EXPECT_EQ(list.GetTypeText(list.LastIndex()), text) << path;
    }
    list.Clear();
  }
}

TEST_F(EntryTextsTest, TypeTextOfABlankedEntry) {
  FakeShell shell("");
  const int32_t index = Add(Folder.Path() + "a.png");
  List.Delete(index);
  EXPECT_EQ(List.GetTypeText(index), "File");
  EXPECT_EQ(List.GetSizeText(index), "");
}

TEST_F(EntryTextsTest, BitsPerPixelOfPicturesLoadedByExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"bmp16-rgb.bmp", "4x2x15b"},  // 16 bits without masks
      {"bmp565.bmp", "10x6x15b"},    // 5-6-5 masks count as 15 too
      {"bmp555.bmp", "10x6x0b"},     // any other masks: custom
      {"bmp24.bmp", "10x6x24b"},
      {"bmp4.bmp", "10x6x4b"},
      {"jpeg.jpg", "20x12x24b"},
      {"capitals.JPG", "20x12x24b"},
      {"icon32.ico", "32x32x0b"},
      {"../bmp/argb32-v5.bmp", "7x5x0b"},  // 32 bits with masks (an alpha one too): custom
  };
  for (const auto& [name, text] : cases) {
    const int32_t index = Add(TestPicture(name));
    EXPECT_EQ(List.GetDimensionsText(index), text) << name;
  }
  TBitmap32 plain;  // 32 bits without masks, as the desktop bitmap is written
  plain.SetSize(9, 7);
  plain.SaveToFile(Folder.File("plain32.bmp"));
  EXPECT_EQ(List.GetDimensionsText(Add(Folder.File("plain32.bmp"))), "9x7x32b");
}

TEST_F(EntryTextsTest, ContentChosenClassesGiveTheirReadersValues) {
  const std::pair<std::string, const char*> cases[] = {
      {TestPicture("png.png"), "24x16x24b"},
      {TestPicture("png-named.jpg"), "24x16x24b"},  // the content decides, not the extension
      {std::string("Z:") + ORLO_TEST_DATA + "/targa/palette.tga", "7x5x8b"},
      {std::string("Z:") + ORLO_TEST_DATA + "/gif/palette.gif", "13x9x3b"},  // an 8-colour palette
      {std::string("Z:") + ORLO_TEST_DATA + "/png/rgba16.png", "13x9x64b"},
  };
  for (const auto& [path, text] : cases) EXPECT_EQ(List.GetDimensionsText(Add(path)), text) << path;
}

TEST_F(EntryTextsTest, DimensionsAreKeptOnceKnown) {
  const std::string path = Copy("png.png", "a.png");
  const int32_t index = Add(path);
  EXPECT_EQ(List.GetProperties(index), nullptr);
  EXPECT_EQ(List.GetDimensionsText(index), "24x16x24b");
  ASSERT_NE(List.GetProperties(index), nullptr);
  EXPECT_EQ(List.GetProperties(index)->Width, 24);
  EXPECT_EQ(List.GetProperties(index)->Height, 16);
  EXPECT_EQ(List.GetProperties(index)->BitsPerPixel, 24u);
  DeleteFileA(path.c_str());
  EXPECT_EQ(List.GetDimensionsText(index), "24x16x24b");
}

TEST_F(EntryTextsTest, AContentChosenClassThatFailsGivesZerosAndIsRetried) {
  const int32_t index = Add(Copy("png.png", "cut.png", 60));
  EXPECT_EQ(List.GetDimensionsText(index), "0x0x0b");
  ASSERT_NE(List.GetProperties(index), nullptr);
  EXPECT_EQ(List.GetProperties(index)->Width, 0);
  EXPECT_EQ(List.GetProperties(index)->SizeText, "");
  EXPECT_EQ(List.GetProperties(index)->TypeText, "");

  Copy("png.png", "cut.png");
  EXPECT_EQ(List.GetDimensionsText(index), "24x16x24b");
}

TEST_F(EntryTextsTest, PicturesThatCannotBeLoadedGiveAnEmptyDimensionsTextAndStoreNothing) {
  const int32_t unknown = Add(TestPicture("unknown.xyz"));
  const int32_t rejected = Add(TestPicture("jpeg-named.png"));  // no content class; the PNG class rejects it
  const int32_t missing = Add(Folder.Path() + "missing.png");
  for (int32_t index : {unknown, rejected, missing}) {
    EXPECT_EQ(List.GetDimensionsText(index), "") << index;
    EXPECT_EQ(List.GetProperties(index), nullptr) << index;
  }
  EXPECT_EQ(List.GetSizeText(unknown), "16 bytes");
  EXPECT_NE(List.GetTypeText(unknown), "");
  EXPECT_EQ(List.GetDimensionsText(unknown), "");
  EXPECT_EQ(List.GetProperties(unknown)->Width, 0);
}

// A JPEG picture loads by its header and decodes later; its dimensions are those of a picture that decodes.
TEST_F(EntryTextsTest, AJpegPictureThatCannotBeDecodedHasNoDimensions) {
  const std::vector<uint8_t> bytes = ReadPictureFile(TestPicture("jpeg.jpg"));
  const int32_t index = Add(Copy("jpeg.jpg", "cut.jpg", bytes.size() - 20));
  EXPECT_EQ(List.GetDimensionsText(index), "");
  EXPECT_EQ(List.GetProperties(index), nullptr);
  Copy("jpeg.jpg", "cut.jpg");
  EXPECT_EQ(List.GetDimensionsText(index), "20x12x24b");
}

TEST_F(EntryTextsTest, ANameWithoutExtensionLoadsAsAnEmptyPicture) {
  const int32_t index = Add(TestPicture("noextension"));
  EXPECT_EQ(List.GetDimensionsText(index), "0x0x0b");
  ASSERT_NE(List.GetProperties(index), nullptr);
  EXPECT_EQ(List.GetProperties(index)->Width, 0);
}

TEST_F(EntryTextsTest, ALockedFileHasASizeButNoDimensions) {
  const std::string path = Copy("png.png", "locked.png");
  const int32_t index = Add(path);
  HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_EQ(List.GetDimensionsText(index), "");
  EXPECT_EQ(List.GetProperties(index), nullptr);
  EXPECT_EQ(List.GetSizeText(index), "285 bytes");
  CloseHandle(lock);
  EXPECT_EQ(List.GetDimensionsText(index), "24x16x24b");
}

TEST(GetImageProperties, RaisesWhenTheFileCannotBeOpened) {
  TImageProperties props{1, 2, 3};
  EXPECT_THROW(TWallpaperList::GetImageProperties(TestPicture("missing.png"), props), EFOpenError);
  EXPECT_EQ(props.Width, 0u);
  EXPECT_EQ(props.Height, 0u);
  EXPECT_EQ(props.BitsPerPixel, 0);
}

}  // namespace
