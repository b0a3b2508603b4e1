#include "images/ImageLoader.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "images/BmpReader.h"
#include "images/PhotoCdLibrary.h"
#include "support/BmpFileWriter.h"
#include "support/PhotoCdStandIn.h"
#include "support/ProgramDriver.h"
#include "vorfile/XQImageFile.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes SmallBmp() {
  BmpFileWriter::Picture picture;
  picture.width = 3;
  picture.height = -2; // top-down, so that what is read differs from the file
  picture.bitCount = 8;
  picture.colors = BmpFileWriter::GreyRamp(256);
  picture.pixels = {1, 2, 3, 0, 4, 5, 6, 0};
  return BmpFileWriter::Write(picture);
}

Bytes PackedDibOf(const Bytes &file) {
  Bytes dib;
  EXPECT_TRUE(BmpReader::ReadBmp(file.data(), file.size(), dib));
  return dib;
}

Bytes HeldImage(const ImageLoader &loader, size_t size) {
  if (loader.GetImage() == nullptr)
    return {};
  return Bytes(loader.GetImage(), loader.GetImage() + size);
}

class ImageLoaderTest : public ::testing::Test {
protected:
  void SetUp() override { folder.WriteFile("picture.bmp", std::string(bmp.begin(), bmp.end())); }

  ScratchFolder folder;
  const Bytes bmp = SmallBmp();
  const Bytes dib = PackedDibOf(bmp);
};

TEST_F(ImageLoaderTest, BmpFilesLoadByTheirExtensionWhateverItsCase) {
  folder.WriteFile("PICTURE2.Bmp", std::string(bmp.begin(), bmp.end()));
  for (const char *name : {"picture.bmp", "PICTURE2.Bmp"}) {
    ImageLoader loader;
    EXPECT_EQ(loader.LoadFile(folder.File(name).c_str()), ImageLoader::kLoaded) << name;
    EXPECT_EQ(HeldImage(loader, dib.size()), dib) << name;
    EXPECT_GE(loader.GetImageBlockSize(), dib.size()) << name;
    EXPECT_EQ(loader.GetErrorWord(), 0) << name;
  }
}

TEST_F(ImageLoaderTest, FilesThatDoNotLoadLeaveNoPictureAndSayWhyWhereTheReaderDoes) {
  folder.WriteFile("cut.bmp", std::string(bmp.begin(), bmp.end() - 1));
  folder.WriteFile("picture", std::string(bmp.begin(), bmp.end()));
  folder.WriteFile("picture.gif", std::string(bmp.begin(), bmp.end()));
  struct Case {
    const char *name;
    int32_t errorWord;
  };
  const Case cases[] = {
      {"missing.bmp", ImageLoader::kCannotOpen},
      {"cut.bmp", ImageLoader::kNotBmp},
      // No extension once answered a code that callers took for "loaded".
      {"picture", 0},
      {"picture.gif", 0},
  };
  for (const Case &c : cases) {
    ImageLoader loader;
    ASSERT_EQ(loader.LoadFile(folder.File("picture.bmp").c_str()), ImageLoader::kLoaded);
    EXPECT_EQ(loader.LoadFile(folder.File(c.name).c_str()), ImageLoader::kNotLoaded) << c.name;
    EXPECT_EQ(loader.GetImage(), nullptr) << c.name;
    EXPECT_EQ(loader.GetImageBlockSize(), 0u) << c.name;
    EXPECT_EQ(loader.GetErrorWord(), c.errorWord) << c.name;
  }
}

TEST_F(ImageLoaderTest, AnImageFilePresentsThePictureAsAPackedDib) {
  const XQImageFile::LoaderFactory previous = XQImageFile::SetLoaderFactory(ImageLoader::Make);
  XQImageFile file(folder.File("picture.bmp").c_str());
  ASSERT_TRUE(file.Open(XQFile::kRead));
  Bytes read(dib.size() + 16);
  uint32_t got = 0;
  EXPECT_TRUE(file.Read(read.data(), static_cast<uint32_t>(read.size()), got));
  read.resize(got);
  EXPECT_EQ(read, dib);
  file.Close();

  folder.WriteFile("picture", std::string(bmp.begin(), bmp.end()));
  XQImageFile unnamed(folder.File("picture").c_str());
  EXPECT_FALSE(unnamed.Open(XQFile::kRead)) << "a name without an extension has no picture";
  XQImageFile::SetLoaderFactory(previous);
}

// ---- Readers installed from outside --------------------------------------

uint16_t g_answer = 0;
std::string g_readerPath;

uint16_t FakeReader(const char *path, void **picture) {
  g_readerPath = path;
  if (g_answer != 0)
    return g_answer;
  const Bytes dib = PackedDibOf(SmallBmp());
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, dib.size());
  std::memcpy(GlobalLock(block), dib.data(), dib.size());
  GlobalUnlock(block);
  *picture = block;
  return 0;
}

class InstalledReaderTest : public ImageLoaderTest {
protected:
  void TearDown() override {
    for (ImageFileFormat format : {ImageFileFormat::kPcx, ImageFileFormat::kTga, ImageFileFormat::kJpg,
                                   ImageFileFormat::kCgm, ImageFileFormat::kPng})
      ImageLoader::SetFormatReader(format, nullptr);
    g_answer = 0;
  }
};

TEST_F(InstalledReaderTest, WithoutReadersOnlyBmpAndPhotoCdAreKnown) {
  for (const char *name : {"picture.pcx", "picture.tga", "picture.jpg", "picture.cgm", "picture.png"}) {
    folder.WriteFile(name, "anything");
    ImageLoader loader;
    EXPECT_EQ(loader.LoadFile(folder.File(name).c_str()), ImageLoader::kNotLoaded) << name;
    EXPECT_EQ(loader.GetErrorWord(), 0) << name;
  }
  EXPECT_EQ(ImageLoader::SetFormatReader(ImageFileFormat::kBmp, FakeReader), nullptr);
  ImageLoader loader;
  g_readerPath.clear();
  EXPECT_EQ(loader.LoadFile(folder.File("picture.bmp").c_str()), ImageLoader::kLoaded);
  EXPECT_TRUE(g_readerPath.empty()) << "BMP files are always read here";
}

TEST_F(InstalledReaderTest, AnInstalledReaderLoadsItsFormatAndSomeReportTheirErrors) {
  struct Case {
    ImageFileFormat format;
    const char *name;
    bool reportsError;
  };
  const Case cases[] = {
      {ImageFileFormat::kPcx, "picture.PCX", true},  {ImageFileFormat::kTga, "picture.tga", false},
      {ImageFileFormat::kJpg, "picture.jpg", false}, {ImageFileFormat::kCgm, "picture.cgm", true},
      {ImageFileFormat::kPng, "picture.png", false},
  };
  for (const Case &c : cases) {
    ImageLoader::SetFormatReader(c.format, FakeReader);
    ImageLoader loader;
    g_answer = 0;
    EXPECT_EQ(loader.LoadFile(folder.File(c.name).c_str()), ImageLoader::kLoaded) << c.name;
    EXPECT_EQ(g_readerPath, folder.File(c.name)) << c.name;
    EXPECT_EQ(HeldImage(loader, dib.size()), dib) << c.name;
    g_answer = 202;
    EXPECT_EQ(loader.LoadFile(folder.File(c.name).c_str()), ImageLoader::kNotLoaded) << c.name;
    EXPECT_EQ(loader.GetImage(), nullptr) << c.name;
    EXPECT_EQ(loader.GetErrorWord(), c.reportsError ? 202 : 0) << c.name;
  }
}

// ---- Photo CD ----------------------------------------------------------------

template <class Entry>
Entry Control(HMODULE module, const char *name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

// The library is looked up by name: the tests point the search at a folder
// that holds a stand-in, or at an empty one.
class PhotoCdTest : public ImageLoaderTest {
protected:
  void SetUp() override {
    ImageLoaderTest::SetUp();
    folder.WriteFile("picture.pcd", "a Photo CD picture");
    folder.WriteFile("unreadable.pcd", "a Photo CD picture");
  }
  void TearDown() override {
    if (m_module)
      FreeLibrary(m_module);
    SetDllDirectoryA(nullptr);
  }

  // Loads the stand-in of that folder and keeps it loaded, so that its log
  // outlives the loader's FreeLibrary.
  void UseStandIn(const char *standInFolder) {
    const std::string path = ProgramDriver::ProgramFolder() + standInFolder;
    ASSERT_TRUE(SetDllDirectoryA(path.c_str()));
    m_module = LoadLibraryA((path + PhotoCdStandIn::kFileName).c_str());
    ASSERT_NE(m_module, nullptr) << path;
    calls = Control<PhotoCdStandIn::CallsControl>(m_module, "standInPhotoCdCalls");
    reset = Control<PhotoCdStandIn::ResetControl>(m_module, "standInPhotoCdReset");
    ASSERT_TRUE(calls && reset);
    reset();
  }
  std::string Calls() const {
    char buffer[512];
    calls(buffer, sizeof buffer);
    return buffer;
  }

  HMODULE m_module = nullptr;
  PhotoCdStandIn::CallsControl calls = nullptr;
  PhotoCdStandIn::ResetControl reset = nullptr;
};

TEST_F(PhotoCdTest, WithoutTheLibraryNoPictureLoads) {
  ScratchFolder empty;
  ASSERT_TRUE(SetDllDirectoryA(empty.Path().c_str()));
  ASSERT_EQ(GetModuleHandleA(PhotoCdLibrary::kLibraryName), nullptr);
  ImageLoader loader;
  EXPECT_EQ(loader.LoadFile(folder.File("picture.pcd").c_str()), ImageLoader::kNotLoaded);
  EXPECT_EQ(loader.GetImage(), nullptr);
  EXPECT_EQ(loader.GetErrorWord(), PhotoCdLibrary::kCannotOpen);
}

TEST_F(PhotoCdTest, ALibraryWithoutOneOfItsEntriesIsNotUsed) {
  UseStandIn(PhotoCdStandIn::kPartialFolder);
  ImageLoader loader;
  EXPECT_EQ(loader.LoadFile(folder.File("picture.pcd").c_str()), ImageLoader::kNotLoaded);
  EXPECT_EQ(loader.GetErrorWord(), PhotoCdLibrary::kCannotOpen);
  EXPECT_EQ(Calls(), "");
}

TEST_F(PhotoCdTest, TheLibraryIsAskedInOrderAndItsPictureHeld) {
  UseStandIn(PhotoCdStandIn::kFolder);
  ImageLoader loader;
  ASSERT_EQ(loader.LoadFile(folder.File("picture.pcd").c_str()), ImageLoader::kLoaded);
  EXPECT_EQ(Calls(), "PCDopen PCDsetProgress(0) PCDsetResolution(2) PCDsetFormat(2) PCDloadImage(0) progress=0 "
                     "PCDclose");
  const auto *header = reinterpret_cast<const BITMAPINFOHEADER *>(loader.GetImage());
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->biWidth, PhotoCdStandIn::kWidth);
  EXPECT_EQ(header->biHeight, PhotoCdStandIn::kHeight);
  EXPECT_EQ(header->biBitCount, 24);
  const uint8_t *topRow = loader.GetImage() + sizeof(BITMAPINFOHEADER) + 12;
  EXPECT_EQ(topRow[6], PhotoCdStandIn::kOddBlue);
  EXPECT_EQ(topRow[7], PhotoCdStandIn::kOddGreen);
  EXPECT_EQ(topRow[8], PhotoCdStandIn::kOddRed);
  EXPECT_EQ(GetModuleHandleA(PhotoCdLibrary::kLibraryName), m_module) << "freed once: only the test's load remains";
}

TEST_F(PhotoCdTest, APictureTheLibraryCannotGiveDoesNotLoad) {
  UseStandIn(PhotoCdStandIn::kFolder);
  struct Case {
    const char *name;
    const char *calls;
  };
  const Case cases[] = {
      {"missing.pcd", "PCDopen(missing)"},
      {"unreadable.pcd",
       "PCDopen PCDsetProgress(0) PCDsetResolution(2) PCDsetFormat(2) PCDloadImage(0) progress=0 PCDclose"},
  };
  for (const Case &c : cases) {
    reset();
    ImageLoader loader;
    EXPECT_EQ(loader.LoadFile(folder.File(c.name).c_str()), ImageLoader::kNotLoaded) << c.name;
    EXPECT_EQ(loader.GetImage(), nullptr) << c.name;
    EXPECT_EQ(loader.GetErrorWord(), PhotoCdLibrary::kCannotOpen) << c.name;
    EXPECT_EQ(Calls(), c.calls) << c.name;
  }
}

} // namespace
