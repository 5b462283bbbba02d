#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Picture.h"

namespace {

std::string ClassOf(std::string_view extension) {
  const TGraphicClass* graphicClass = FindPictureClass(extension);
  return graphicClass ? graphicClass->ClassName : "";
}

TEST(PictureFileFormats, FrameworkEntriesThenTheLoadersInTableOrder) {
  std::vector<std::string> extensions;
  for (const TPictureFileFormat& format : PictureFileFormats()) extensions.push_back(format.Extension);
  EXPECT_EQ(extensions,
            (std::vector<std::string>{"wmf", "emf", "ico", "bmp", "",    "jpeg", "jpg", "bmp", "rle", "dib",
                                      "ico", "wmf", "emf", "jfif", "jpg", "jpe", "jpeg", "win", "vst", "vda",
                                      "tga", "icb", "tiff", "tif", "fax", "eps", "pcx", "pcc", "scr", "rpf",
                                      "rla", "sgi", "rgb", "rgba", "bw",  "psd", "pdd", "ppm", "pgm", "pbm",
                                      "cel", "pic", "pcd", "gif", "cut", "psp", "png"}));
  const std::vector<TPictureFileFormat>& formats = PictureFileFormats();
  EXPECT_EQ(formats[0].Description, "Metafiles");
  EXPECT_EQ(formats[3].Description, "Bitmaps");
  EXPECT_EQ(formats[6].Description, "JPEG Image File");
  EXPECT_EQ(formats[9].Description, "Device independant Windows bitmaps");
  EXPECT_EQ(formats[12].Description, "Windows enhanced meta files");
  EXPECT_EQ(formats[14].Description, "JPG images");
  EXPECT_EQ(formats[46].Description, "Portable network graphic images");
  // An extension entered twice names the same class both times.
  for (const TPictureFileFormat& format : formats)
    EXPECT_EQ(format.GraphicClass, FindPictureClass(format.Extension)) << format.Extension;
}

TEST(PictureFileFormats, LookupIgnoresCase) {
  EXPECT_EQ(ClassOf("JPG"), "TJPEGImage");
  EXPECT_EQ(ClassOf("jpe"), "TJPEGImage");
  EXPECT_EQ(ClassOf("Png"), "TPNGGraphic");
  EXPECT_EQ(ClassOf("EPS"), "TEPSGraphic");
  EXPECT_EQ(ClassOf("bmp"), "TBitmap");
  EXPECT_EQ(ClassOf("RLE"), "TBitmap");
  EXPECT_EQ(ClassOf("ico"), "TIcon");
  EXPECT_EQ(ClassOf("emf"), "TMetafile");
  EXPECT_EQ(ClassOf(""), "TOleGraphic");
  EXPECT_EQ(FindPictureClass("xyz"), nullptr);
  EXPECT_EQ(FindPictureClass(".png"), nullptr);
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
