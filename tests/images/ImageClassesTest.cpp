#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "display/DrawingContext.h"
#include "display/GdiCanvas.h"
#include "images/CoverWindow.h"
#include "images/ImageFactory.h"
#include "images/VORDIBResourceImage.h"
#include "images/VORInternalImage.h"
#include "images/VORMetaFileImage.h"
#include "model/VORFileKind.h"
#include "model/VORResource.h"
#include "model/VORResourceManager.h"
#include "support/FakeApp.h"
#include "support/FakeRecordFile.h"
#include "support/FakeResourceFile.h"
#include "support/FakeResourcePlatform.h"
#include "support/InternalImageWriter.h"

namespace {

constexpr uint32_t kBackground = 0x808080;
constexpr uint32_t kMagenta = 0xFF00FF;

// The picture's pixels as 0xRRGGBB, rows from the top.
const std::vector<uint32_t> kPicture = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00,  // top row
                                        0x00FFFF, kMagenta, 0x000080, 0xFFFFFF}; // bottom row

// A 4 x 2 24-bit packed DIB of kPicture, rows bottom-up as stored.
std::vector<uint8_t> PackedPicture(uint32_t firstWord = 40) {
  RecordBytes bytes;
  bytes.Uint32(firstWord).Uint32(4).Uint32(2).Uint16(1).Uint16(24);
  for (int i = 0; i < 6; ++i)
    bytes.Uint32(0);
  for (int row = 1; row >= 0; --row)
    for (int x = 0; x < 4; ++x) {
      const uint32_t colour = kPicture[static_cast<size_t>(row * 4 + x)];
      bytes.Byte(static_cast<uint8_t>(colour))
          .Byte(static_cast<uint8_t>(colour >> 8))
          .Byte(static_cast<uint8_t>(colour >> 16));
    }
  return bytes.Take();
}

// kPicture in the internal format (24 bits, one raw part, rows from the top).
std::vector<uint8_t> InternalPicture() {
  InternalImageWriter::Picture picture;
  picture.depth = 24;
  picture.width = 4;
  picture.height = 2;
  std::vector<uint8_t> rows;
  for (uint32_t colour : kPicture) {
    rows.push_back(static_cast<uint8_t>(colour));
    rows.push_back(static_cast<uint8_t>(colour >> 8));
    rows.push_back(static_cast<uint8_t>(colour >> 16));
  }
  InternalImageWriter::Frame frame;
  frame.parts = {InternalImageWriter::RawPart(0, 0, 4, 2, rows)};
  picture.frames = {frame};
  return picture.Bytes();
}

ImageLayout Layout(int32_t fitMode, int32_t left = 0, int32_t top = 0, int32_t right = -1, int32_t bottom = -1) {
  ImageLayout layout;
  layout.fitMode = fitMode;
  layout.keepAspect = 0;
  layout.left = left;
  layout.top = top;
  layout.right = right;
  layout.bottom = bottom;
  return layout;
}

class ImageClassesTest : public ::testing::Test {
protected:
  ImageClassesTest() {
    app.SetResourceManager(&manager);
    canvas.Fill(RGB(0x80, 0x80, 0x80));
  }

  uint32_t AddResource(std::vector<uint8_t> bytes, int32_t kind) {
    return manager.OpenResource(std::make_unique<FakeResourceFile>(std::move(bytes), kind), 0, 0, 0);
  }
  uint32_t ResourceLocks(uint32_t handle) { return manager.GetResource(handle)->GetLockCount(); }
  // Draws the image into the canvas (a 20 x 10 24-bit one).
  bool Draw(VORGfxImage &image, const VORRect &destination, const VORRect &clip = VORRect::NotSet()) {
    DrawingContext context(canvas.dc(), nullptr);
    return image.Draw(context, destination, clip);
  }
  // The canvas from (x, y) on, count pixels of one row.
  std::vector<uint32_t> Row(int x, int y, int count) {
    std::vector<uint32_t> pixels;
    for (int i = 0; i < count; ++i)
      pixels.push_back(canvas.Pixel(x + i, y));
    return pixels;
  }
  std::vector<uint32_t> PictureRow(int row) {
    return std::vector<uint32_t>(kPicture.begin() + row * 4, kPicture.begin() + row * 4 + 4);
  }

  FakeApp app;
  FakeMachine machine;
  VORResourceManager manager{machine.MakePlatform()};
  GdiCanvas canvas{20, 10, 24};
};

TEST_F(ImageClassesTest, ADibResourceImageLoadsOnTheFirstLockAndFreesOnTheLast) {
  const uint32_t handle = AddResource(PackedPicture(), VORFileKind::kPictureFile);
  VORDIBResourceImage image(handle, Layout(ImageLayout::kCorner));
  EXPECT_EQ(image.GetDib(), nullptr);
  ASSERT_TRUE(image.Lock());
  ASSERT_TRUE(image.Lock());
  EXPECT_EQ(ResourceLocks(handle), 1u) << "the resource is locked once";
  EXPECT_EQ(image.GetLayout().right, 4);
  EXPECT_EQ(image.GetLayout().bottom, 2);
  int32_t width = 0, height = 0, depth = 0;
  image.GetSize(width, height, depth);
  EXPECT_EQ(width * 100 + height * 10 + depth, 400 + 20 + 24);
  EXPECT_EQ(image.Unlock(), 1);
  EXPECT_NE(image.GetDib(), nullptr);
  EXPECT_EQ(image.Unlock(), 0);
  EXPECT_EQ(image.GetDib(), nullptr);
  EXPECT_EQ(ResourceLocks(handle), 0u);
  EXPECT_EQ(image.Unlock(), 0) << "never below 0";
}

TEST_F(ImageClassesTest, ResourcesThatAreNotWholePackedDibsDoNotLock) {
  std::vector<uint8_t> cut = PackedPicture();
  cut.resize(cut.size() - 3);
  struct Case {
    const char *name;
    std::vector<uint8_t> bytes;
    int32_t kind;
  };
  const std::vector<Case> cases = {
      {"another kind", PackedPicture(), VORFileKind::kOther},
      {"first word not 40", PackedPicture(12), VORFileKind::kPictureFile},
      {"rows cut short", cut, VORFileKind::kPictureFile},
  };
  for (const Case &c : cases) {
    const uint32_t handle = AddResource(c.bytes, c.kind);
    VORDIBResourceImage image(handle, Layout(ImageLayout::kCorner));
    EXPECT_FALSE(image.Lock()) << c.name;
    EXPECT_EQ(image.GetLockCount(), 0) << c.name;
    EXPECT_EQ(ResourceLocks(handle), 0u) << c.name;
  }
  VORDIBResourceImage missing(0x7F0000, Layout(ImageLayout::kCorner));
  EXPECT_FALSE(missing.Lock());
}

TEST_F(ImageClassesTest, DrawsRowsTheRightWayUpByFitMode) {
  const uint32_t handle = AddResource(PackedPicture(), VORFileKind::kPictureFile);
  {
    VORDIBResourceImage image(handle, Layout(ImageLayout::kCorner));
    ASSERT_TRUE(image.Lock());
    EXPECT_TRUE(Draw(image, VORRect(2, 3, 12, 8)));
    EXPECT_EQ(Row(2, 3, 4), PictureRow(0));
    EXPECT_EQ(Row(2, 4, 4), PictureRow(1));
    EXPECT_EQ(canvas.Pixel(6, 3), kBackground);
  }
  canvas.Fill(RGB(0x80, 0x80, 0x80));
  {
    // Only the picture's bottom row and its middle columns, centred.
    VORDIBResourceImage image(handle, Layout(ImageLayout::kCentre, 1, 1, 3, 2));
    ASSERT_TRUE(image.Lock());
    image.GetLayout().right = 3;
    EXPECT_TRUE(Draw(image, VORRect(0, 0, 6, 3)));
    EXPECT_EQ(Row(1, 1, 4), (std::vector<uint32_t>{kBackground, kMagenta, 0x000080, kBackground}));
  }
  canvas.Fill(RGB(0x80, 0x80, 0x80));
  {
    // 2.5 pictures wide: the third column is cut by the clip.
    VORDIBResourceImage image(handle, Layout(ImageLayout::kTile));
    ASSERT_TRUE(image.Lock());
    EXPECT_TRUE(Draw(image, VORRect(0, 0, 10, 4), VORRect(0, 0, 10, 4)));
    std::vector<uint32_t> expected = PictureRow(0);
    expected.insert(expected.end(), kPicture.begin(), kPicture.begin() + 4);
    expected.push_back(kPicture[0]);
    expected.push_back(kPicture[1]);
    expected.push_back(kBackground);
    EXPECT_EQ(Row(0, 0, 11), expected);
    EXPECT_EQ(canvas.Pixel(9, 3), kPicture[5]);
  }
}

TEST_F(ImageClassesTest, AKeyColourIsLeftTransparentAndMissesHitTests) {
  ImageLayout layout = Layout(ImageLayout::kCentre);
  layout.transparencyKind = ImageLayout::kKeyColor;
  layout.keyColor = 0xFF00FF;
  VORDIBResourceImage image(AddResource(PackedPicture(), VORFileKind::kPictureFile), layout);
  ASSERT_TRUE(image.Lock());
  ASSERT_NE(image.GetMaskDib(), nullptr);
  EXPECT_TRUE(Draw(image, VORRect(0, 0, 4, 2)));
  EXPECT_EQ(Row(0, 1, 4), (std::vector<uint32_t>{0x00FFFF, kBackground, 0x000080, 0xFFFFFF}));
  EXPECT_TRUE(image.HitTest(0, 1, VORRect(0, 0, 4, 2)));
  EXPECT_FALSE(image.HitTest(1, 1, VORRect(0, 0, 4, 2))) << "the key colour's pixel";
  EXPECT_FALSE(image.HitTest(0, 1, VORRect(0, 0, 4, 8))) << "centred: above the picture, inside the destination";
  VORDIBResourceImage stretched(AddResource(PackedPicture(), VORFileKind::kPictureFile), Layout(ImageLayout::kStretch));
  ASSERT_TRUE(stretched.Lock());
  EXPECT_FALSE(stretched.HitTest(5, 5, VORRect(5, 5, 5, 9))) << "a destination without width";
}

TEST_F(ImageClassesTest, TheFactoryMakesImagesByResourceKind) {
  const VORRect rect(0, 0, 30, 20);
  std::unique_ptr<VORGfxImage> internal =
      CreateImageForResource(AddResource(InternalPicture(), VORFileKind::kInternalPicture), Layout(1), rect);
  ASSERT_TRUE(internal);
  EXPECT_EQ(internal->GetLockCount(), 1);
  EXPECT_TRUE(Draw(*internal, VORRect(0, 0, 4, 2)));
  EXPECT_EQ(Row(0, 0, 4), PictureRow(0));
  EXPECT_EQ(Row(0, 1, 4), PictureRow(1));

  std::unique_ptr<VORGfxImage> dib =
      CreateImageForResource(AddResource(PackedPicture(), VORFileKind::kPictureFile), Layout(1), rect);
  ASSERT_TRUE(dib);
  EXPECT_EQ(dib->GetLockCount(), 1);
  EXPECT_FALSE(CreateImageForResource(AddResource(PackedPicture(12), VORFileKind::kPictureFile), Layout(1), rect))
      << "a DIB that does not lock";
  EXPECT_FALSE(CreateImageForResource(AddResource({1, 2, 3}, VORFileKind::kWave), Layout(1), rect));
  EXPECT_FALSE(CreateImageForResource(AddResource({1, 2, 3}, VORFileKind::kInternalPicture), Layout(1), rect));

  std::unique_ptr<VORGfxImage> metafile =
      CreateImageForResource(AddResource(std::vector<uint8_t>(30), VORFileKind::kCdr), Layout(1), rect);
  ASSERT_TRUE(metafile);
  int32_t width = 0, height = 0, depth = 0;
  metafile->GetSize(width, height, depth);
  EXPECT_EQ(width, 30);
  EXPECT_EQ(height, 20);
  EXPECT_EQ(depth, -1);
  EXPECT_FALSE(Draw(*metafile, rect)) << "no metafile in it";
}

std::vector<uint8_t> RedRectangleMetafile() {
  HDC recorder = CreateMetaFileA(nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ previous = SelectObject(recorder, red);
  SelectObject(recorder, GetStockObject(NULL_PEN));
  Rectangle(recorder, 0, 0, 101, 101);
  SelectObject(recorder, previous);
  HMETAFILE metafile = CloseMetaFile(recorder);
  DeleteObject(red);
  std::vector<uint8_t> bytes(GetMetaFileBitsEx(metafile, 0, nullptr));
  GetMetaFileBitsEx(metafile, static_cast<UINT>(bytes.size()), bytes.data());
  DeleteMetaFile(metafile);
  return bytes;
}

TEST_F(ImageClassesTest, WindowsMetafilesTakeTheirSizeFromAPlaceableHeader) {
  const std::vector<uint8_t> plain = RedRectangleMetafile();
  VORMetaFileImage image(AddResource(plain, VORFileKind::kWindowsMetafile), Layout(1), false, VORRect(0, 0, 7, 9));
  ASSERT_TRUE(image.HasMetafile());
  int32_t width = 0, height = 0, depth = 0;
  image.GetSize(width, height, depth);
  EXPECT_EQ(width, 7) << "no placeable header: the default size";
  EXPECT_EQ(height, 9);

  RecordBytes placeable;
  placeable.Uint32(VORMetaFileImage::kPlaceableKey).Uint16(0).Uint16(10).Uint16(20).Uint16(60).Uint16(50);
  placeable.Uint16(1440).Uint32(0).Uint16(0);
  std::vector<uint8_t> withHeader = placeable.Take();
  withHeader.insert(withHeader.end(), plain.begin(), plain.end());
  VORMetaFileImage sized(AddResource(withHeader, VORFileKind::kWindowsMetafile), Layout(1), false, VORRect());
  ASSERT_TRUE(sized.HasMetafile());
  sized.GetSize(width, height, depth);
  EXPECT_EQ(width, 50);
  EXPECT_EQ(height, 30);

  std::vector<uint8_t> cut = plain;
  cut.resize(cut.size() - 2);
  VORMetaFileImage shortOne(AddResource(cut, VORFileKind::kWindowsMetafile), Layout(1), false, VORRect());
  EXPECT_FALSE(shortOne.HasMetafile()) << "fewer bytes than its header says";
}

TEST_F(ImageClassesTest, EnhancedMetafilesPlayIntoTheDestination) {
  HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ previous = SelectObject(recorder, red);
  Rectangle(recorder, 0, 0, 40, 20);
  SelectObject(recorder, previous);
  HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
  DeleteObject(red);
  std::vector<uint8_t> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
  GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
  DeleteEnhMetaFile(metafile);

  VORMetaFileImage image(AddResource(bytes, VORFileKind::kEnhancedMetafile), Layout(1), true, VORRect());
  ASSERT_TRUE(image.HasMetafile());
  EXPECT_EQ(image.GetLockCount(), 1);
  EXPECT_TRUE(Draw(image, VORRect(0, 0, 20, 10)));
  EXPECT_EQ(canvas.Pixel(10, 5), 0xFF0000u);

  VORMetaFileImage tiny(
      AddResource(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 100), VORFileKind::kEnhancedMetafile), Layout(1),
      true, VORRect(0, 0, 5, 5));
  EXPECT_FALSE(tiny.HasMetafile());
  EXPECT_FALSE(Draw(tiny, VORRect(0, 0, 20, 10)));
}

} // namespace

namespace {

TEST_F(ImageClassesTest, TheCoverWindowShowsItsPictureCentredOnTheScreen) {
  const uint32_t handle = AddResource(InternalPicture(), VORFileKind::kInternalPicture);
  std::unique_ptr<VORCover> cover = CoverWindow::Make(GetModuleHandleA(nullptr), handle);
  ASSERT_TRUE(cover);
  HWND window = CoverWindow::Current()->GetWindow();
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 2);
  EXPECT_EQ(frame.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 1);
  EXPECT_EQ(frame.right - frame.left, 4);
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(window);
  for (int i = 0; i < 8; ++i) {
    const COLORREF colour = GetPixel(dc, i % 4, i / 4);
    const uint32_t read = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    EXPECT_EQ(read, kPicture[static_cast<size_t>(i)]) << i;
  }
  ReleaseDC(window, dc);
  EXPECT_FALSE(CoverWindow::Make(GetModuleHandleA(nullptr), handle)) << "one cover at a time";
  cover.reset();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(CoverWindow::Current(), nullptr);
  EXPECT_FALSE(CoverWindow::Make(GetModuleHandleA(nullptr), AddResource({1, 2}, VORFileKind::kInternalPicture)));
}

} // namespace
