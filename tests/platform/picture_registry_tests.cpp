#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "graphics/Picture.h"
#include "graphics/PictureFiles.h"
#include "system/SysUtils.h"

namespace {

std::string ClassOf(std::string_view extension) {
  const TGraphicClass* graphicClass = FindPictureClass(extension);
  return graphicClass ? graphicClass->ClassName : "";
}

// A picture of each kind under tests/data, by the class that reads it.
std::string SampleOf(const std::string& className) {
  static const std::map<std::string, std::string> samples = {
      {"TBitmap", "bmp/rgb24-v3.bmp"},      {"TIcon", "pictures/icon32.ico"},      {"TMetafile", "probe/ref.emf"},
      {"TJPEGImage", "pictures/jpeg.jpg"},  {"TTargaGraphic", "targa/rgb24.tga"},  {"TTIFFGraphic", "tiff/rgb8.tif"},
      {"TEPSGraphic", "eps/grey8.eps"},     {"TPCXGraphic", "pcx/rgb24.pcx"},      {"TRLAGraphic", "rla/rgba8.rla"},
      {"TSGIGraphic", "sgi/rgb-rle.sgi"},   {"TPSDGraphic", "psd/rgb-raw.psd"},    {"TPPMGraphic", "ppm/p6.ppm"},
      {"TAutodeskGraphic", "autodesk/six-bit.cel"}, {"TPCDGraphic", "pcd/portrait.pcd"},
      {"TGIFGraphic", "gif/palette.gif"},   {"TCUTGraphic", "cut/halo.cut"},       {"TPSPGraphic", "psp/composite-rle.psp"},
      {"TPNGGraphic", "png/grey1.png"}};
  const auto sample = samples.find(className);
  return sample == samples.end() ? "" : std::string(ORLO_TEST_DATA) + "/" + sample->second;
}

// Every extension of the registry loads a picture of its kind by its class, whatever the letter case; the
// empty extension is the OLE picture's, which reads nothing.
TEST(PictureFileFormats, EveryExtensionLoadsItsKindOfPicture) {
  TempFolder folder;
  std::set<std::string> extensions;
  for (const TPictureFileFormat& format : PictureFileFormats()) {
    if (format.Extension.empty() || !extensions.insert(format.Extension).second) continue;
    const std::string sample = SampleOf(format.GraphicClass->ClassName);
    ASSERT_NE(sample, "") << format.GraphicClass->ClassName;
    const std::vector<uint8_t> bytes = ReadPictureFile(sample);
    const std::string path = folder.Write("sample." + UpperCase(format.Extension), bytes.data(), bytes.size());
    TPicture picture;
    EXPECT_NO_THROW(picture.LoadFromFile(path)) << format.Extension;
    ASSERT_NE(picture.Graphic(), nullptr) << format.Extension;
    EXPECT_EQ(picture.Graphic()->ClassType().ClassName, format.GraphicClass->ClassName) << format.Extension;
    EXPECT_GT(picture.Width(), 0) << format.Extension;
  }
  EXPECT_EQ(extensions.size(), 40u);
}

TEST(PictureFileFormats, OnlyRegisteredExtensionsHaveAClass) {
  EXPECT_EQ(ClassOf(""), "TOleGraphic");
  EXPECT_EQ(FindPictureClass("xyz"), nullptr);
  EXPECT_EQ(FindPictureClass(".png"), nullptr);
  EXPECT_EQ(FindPictureClass("pn"), nullptr);
}

TEST(PictureFileFormats, FilterListsNewestFirstAfterAll) {
  const std::string filter = GraphicFilter();
  EXPECT_EQ(filter.rfind("All (*.png;*.psp;*.cut;*.gif;*.pcd;*.pic;*.cel;", 0), 0u) << filter;
  EXPECT_NE(filter.find(";*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.png;*.psp;"), std::string::npos);
  EXPECT_NE(filter.find("*.wmf|Portable network graphic images (*.png)|*.png|Paintshop Pro images (*.psp)|*.psp|"),
            std::string::npos);
  const std::string end = "|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|"
                          "Metafiles (*.wmf)|*.wmf";
  ASSERT_GE(filter.size(), end.size());
  EXPECT_EQ(filter.substr(filter.size() - end.size()), end);
  // All, then one entry (label and pattern) per extension but the empty one.
  EXPECT_EQ(std::count(filter.begin(), filter.end(), '|'), 2 * 47 - 1);
  EXPECT_EQ(filter.find("*.)"), std::string::npos);
}

}  // namespace
