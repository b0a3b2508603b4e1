#include "images/ImageFileFormat.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ImageFileFormatTest, TheExtensionIsWhatFollowsTheLastDotOfTheLastName) {
  struct Case {
    const char *path;
    const char *extension; // null: none
  };
  const Case cases[] = {
      {"picture.bmp", "bmp"},     {"c:\\pictures\\PICTURE.Bmp", "Bmp"},
      {"archive.tar.pcx", "pcx"}, {"c:\\my.pictures\\picture", nullptr}, // the dot lies before the last backslash
      {".bmp", nullptr},                                                 // the only dot is the first character
      {"picture.", ""},           {"c:/my.pictures/picture", "pictures/picture"}, // forward slashes are not separators
      {"picture", nullptr},       {"", nullptr},
  };
  for (const Case &c : cases) {
    const char *found = FindFileExtension(c.path);
    if (c.extension == nullptr)
      EXPECT_EQ(found, nullptr) << c.path;
    else
      EXPECT_STREQ(found, c.extension) << c.path;
  }
  EXPECT_EQ(FindFileExtension(nullptr), nullptr);
}

TEST(ImageFileFormatTest, ExtensionsNameTheirFormatsWhateverTheirCase) {
  struct Case {
    const char *extension;
    ImageFileFormat format;
  };
  const Case cases[] = {
      {"bmp", ImageFileFormat::kBmp},      {"BMP", ImageFileFormat::kBmp},      {"bMp", ImageFileFormat::kBmp},
      {"pcx", ImageFileFormat::kPcx},      {"Tga", ImageFileFormat::kTga},      {"JPG", ImageFileFormat::kJpg},
      {"cgm", ImageFileFormat::kCgm},      {"png", ImageFileFormat::kPng},      {"PCD", ImageFileFormat::kPcd},
      {"gif", ImageFileFormat::kUnknown},  {"jpeg", ImageFileFormat::kUnknown}, {"bm", ImageFileFormat::kUnknown},
      {"bmpx", ImageFileFormat::kUnknown}, {"", ImageFileFormat::kUnknown},
  };
  for (const Case &c : cases)
    EXPECT_EQ(ImageFileFormatOf(c.extension), c.format) << c.extension;
  EXPECT_EQ(ImageFileFormatOf(nullptr), ImageFileFormat::kUnknown);
}

} // namespace
