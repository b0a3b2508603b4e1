#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "filters/ImportFilters.h"
#include "filters/MetafileRasteriser.h"

namespace {

// A packed DIB's pixel as darkness: true when the pixel is nearer black.
class DibPixels {
public:
  explicit DibPixels(HGLOBAL dib) : m_dib(dib), m_bytes(static_cast<const uint8_t *>(GlobalLock(dib))) {
    m_header = reinterpret_cast<const BITMAPINFOHEADER *>(m_bytes);
    const uint32_t colours =
        m_header->biBitCount <= 8 ? (m_header->biClrUsed ? m_header->biClrUsed : 1U << m_header->biBitCount) : 0;
    m_colours = reinterpret_cast<const RGBQUAD *>(m_bytes + m_header->biSize);
    m_bits = m_bytes + m_header->biSize + colours * 4 + (m_header->biCompression == BI_BITFIELDS ? 12 : 0);
    m_stride = ((m_header->biWidth * m_header->biBitCount + 31) / 32) * 4;
  }
  ~DibPixels() {
    GlobalUnlock(m_dib);
    GlobalFree(m_dib);
  }
  DibPixels(const DibPixels &) = delete;
  DibPixels &operator=(const DibPixels &) = delete;
  int Width() const { return m_header->biWidth; }
  int Height() const { return std::abs(m_header->biHeight); }
  // The sum of red, green and blue at (x, y) from the top.
  int Brightness(int x, int y) const {
    const int row = m_header->biHeight > 0 ? Height() - 1 - y : y;
    const uint8_t *line = m_bits + row * m_stride;
    switch (m_header->biBitCount) {
    case 8: {
      const RGBQUAD &c = m_colours[line[x]];
      return c.rgbRed + c.rgbGreen + c.rgbBlue;
    }
    case 16: {
      const uint16_t v = static_cast<uint16_t>(line[x * 2] | line[x * 2 + 1] << 8);
      return ((v >> 11) & 31) * 8 + ((v >> 5) & 63) * 4 + (v & 31) * 8;
    }
    default: {
      const int bytes = m_header->biBitCount / 8;
      return line[x * bytes] + line[x * bytes + 1] + line[x * bytes + 2];
    }
    }
  }
  bool Dark(int x, int y) const { return Brightness(x, y) < 384; }
  // Red, green and blue at (x, y) from the top, of a 24-bit DIB.
  std::vector<int> Rgb(int x, int y) const {
    const int row = m_header->biHeight > 0 ? Height() - 1 - y : y;
    const uint8_t *pixel = m_bits + row * m_stride + x * (m_header->biBitCount / 8);
    return {pixel[2], pixel[1], pixel[0]};
  }

private:
  HGLOBAL m_dib;
  const uint8_t *m_bytes;
  const BITMAPINFOHEADER *m_header;
  const RGBQUAD *m_colours;
  const uint8_t *m_bits;
  int m_stride;
};

struct Ppm {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
  bool Dark(int x, int y) const {
    const uint8_t *p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
    return p[0] + p[1] + p[2] < 384;
  }
  std::vector<int> Rgb(int x, int y) const {
    const uint8_t *p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
};

// The box round the dark pixels of a picture inside a region.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

template <typename Image>
Box DarkBox(const Image &image, int left, int top, int right, int bottom) {
  Box box;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (image.Dark(x, y)) {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
      }
  return box;
}

Ppm ReadPpm(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maximum = 0;
  Ppm image;
  in >> magic >> image.width >> image.height >> maximum;
  in.get();
  image.pixels.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return image;
}

template <typename Image>
bool DarkNear(const Image &image, int x, int y, int reach) {
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) {
      const int px = x + dx, py = y + dy;
      if (px >= 0 && py >= 0 && px < image.width && py < image.height && image.Dark(px, py))
        return true;
    }
  return false;
}

// The middle of the longest run of rows without ink inside a box: the gap
// between the words of a label that reads up or down.
template <typename Image>
int WordGap(const Image &image, const Box &box) {
  int bestStart = box.top, bestLength = 0, start = box.top, length = 0;
  for (int y = box.top; y <= box.bottom; ++y) {
    bool ink = false;
    for (int x = box.left; x <= box.right && !ink; ++x)
      ink = image.Dark(x, y);
    if (ink) {
      length = 0;
      continue;
    }
    if (length++ == 0)
      start = y;
    if (length > bestLength) {
      bestLength = length;
      bestStart = start;
    }
  }
  return bestStart + bestLength / 2;
}

std::string Corpus(const char *name) {
  const char *folder = std::getenv("VOR_FILTER_CORPUS");
  return std::string(folder ? folder : "") + "/cgm-corpus/" + name;
}

TEST(CgmReaderTest, DrawsAPlotutilsPlotAsPlotutilsDoes) {
  HGLOBAL picture = nullptr;
  ASSERT_EQ(ImportCgmImage(nullptr, 0, Corpus("plot.cgm").c_str(), reinterpret_cast<FilterHandle *>(&picture)),
            kFilterSuccess);
  ASSERT_NE(picture, nullptr);
  DibPixels ours(picture);
  const Ppm reference = ReadPpm(Corpus("plot.ppm"));
  ASSERT_EQ(ours.Width(), reference.width);
  ASSERT_EQ(ours.Height(), reference.height);
  struct Sized {
    const DibPixels &dib;
    int width, height;
    bool Dark(int x, int y) const { return dib.Dark(x, y); }
  } oursSized{ours, ours.Width(), ours.Height()};
  // Lines rasterise a pixel or two apart, and plotutils' labels are
  // restricted text, which the reader does not draw: every line pixel of
  // ours lies on the reference, and most of the reference's lie on ours.
  int ourDark = 0, ourOnReference = 0, referenceDark = 0, referenceOnOurs = 0;
  for (int y = 0; y < reference.height; y += 2)
    for (int x = 0; x < reference.width; x += 2) {
      if (ours.Dark(x, y)) {
        ++ourDark;
        ourOnReference += DarkNear(reference, x, y, 3);
      }
      if (reference.Dark(x, y)) {
        ++referenceDark;
        referenceOnOurs += DarkNear(oursSized, x, y, 3);
      }
    }
  ASSERT_GT(ourDark, 200);
  EXPECT_GE(ourOnReference * 100, ourDark * 98) << ourOnReference << " of " << ourDark;
  EXPECT_GE(referenceOnOurs * 100, referenceDark * 70) << referenceOnOurs << " of " << referenceDark;
}

// plotutils' y-axis label reads upwards beside the axis, over the light blue
// background the file names: our picture turns the label and paints the
// background as plotutils' own PNG does (its face differs: Hershey there).
TEST(CgmReaderTest, TurnsTextAndPaintsTheBackgroundAsPlotutilsDoes) {
  HGLOBAL picture = nullptr;
  ASSERT_EQ(ImportCgmImage(nullptr, 0, Corpus("label.cgm").c_str(), reinterpret_cast<FilterHandle *>(&picture)),
            kFilterSuccess);
  DibPixels ours(picture);
  const Ppm reference = ReadPpm(Corpus("label.ppm"));
  ASSERT_EQ(ours.Width(), reference.width);
  ASSERT_EQ(ours.Height(), reference.height);
  for (const auto &[x, y] : {std::pair{3, 3}, {596, 3}, {3, 596}, {596, 596}, {300, 560}}) {
    const std::vector<int> expected = reference.Rgb(x, y);
    const std::vector<int> got = ours.Rgb(x, y);
    for (int c = 0; c < 3; ++c)
      EXPECT_NEAR(got[c], expected[c], 8) << "at " << x << ", " << y;
  }
  EXPECT_GT(reference.Rgb(3, 3)[2], reference.Rgb(3, 3)[0] + 40) << "the reference is light blue";
  // Left of the tick labels only the y label has ink (plotutils' PNG sets
  // it further left: its face's tick labels are wider). "Rotated label"
  // reads upwards: the gap between its words lies above its middle.
  const Box theirs = DarkBox(reference, 0, 100, 68, 500);
  const Box mine = DarkBox(ours, 0, 100, 82, 500);
  ASSERT_GT(theirs.Height(), 3 * theirs.Width());
  ASSERT_GT(mine.Height(), 0);
  EXPECT_GT(mine.Height(), 3 * mine.Width()) << "upright text would be wide";
  EXPECT_NEAR((mine.top + mine.bottom) / 2, (theirs.top + theirs.bottom) / 2, 20);
  EXPECT_LT(WordGap(reference, theirs), (theirs.top + theirs.bottom) / 2);
  EXPECT_LT(WordGap(ours, mine), (mine.top + mine.bottom) / 2) << "the label reads downwards";
}

TEST(CgmReaderTest, DrawsGnuplotsIndexedColours) {
  HGLOBAL picture = nullptr;
  ASSERT_EQ(ImportCgmImage(nullptr, 0, Corpus("gnuplot.cgm").c_str(), reinterpret_cast<FilterHandle *>(&picture)),
            kFilterSuccess);
  DibPixels ours(picture);
  EXPECT_EQ(ours.Width(), 600);
  int coloured = 0;
  for (int y = 0; y < ours.Height(); y += 3)
    for (int x = 0; x < ours.Width(); x += 3)
      coloured += ours.Brightness(x, y) < 700;
  EXPECT_GT(coloured, 500);
}

TEST(CgmReaderTest, CodesForFilesItCannotRead) {
  HGLOBAL picture = nullptr;
  auto *out = reinterpret_cast<FilterHandle *>(&picture);
  EXPECT_EQ(ImportCgmImage(nullptr, 0, Corpus("missing.cgm").c_str(), out), kFilterCannotOpen);
  EXPECT_EQ(ImportCgmImage(nullptr, 0, Corpus("plot.ppm").c_str(), out), kFilterCgmStopped);
  EXPECT_EQ(ImportCgmImage([](FilterProgress *) { return int32_t{1}; }, 0, Corpus("plot.cgm").c_str(), out),
            kFilterCancelled);
  EXPECT_EQ(picture, nullptr);
}

HMETAFILE SmallMetafile() {
  HDC dc = CreateMetaFileA(nullptr);
  Rectangle(dc, 0, 0, 50, 50);
  return CloseMetaFile(dc);
}

TEST(MetafileRasteriserTest, SizesAndRefusals) {
  HMETAFILE metafile = SmallMetafile();
  HGLOBAL picture = nullptr;
  ASSERT_EQ(RasteriseMetafile(nullptr, nullptr, metafile, &picture, 0, 0, 100, 100, 0, 0, false), kFilterSuccess);
  {
    DibPixels dib(picture);
    EXPECT_EQ(dib.Width(), 100);
    EXPECT_EQ(dib.Height(), 100);
    EXPECT_TRUE(dib.Dark(0, 10));   // the rectangle's edge
    EXPECT_FALSE(dib.Dark(80, 80)); // white outside it
  }
  EXPECT_EQ(RasteriseMetafile(nullptr, nullptr, metafile, nullptr, 0, 0, 100, 100, 10, 10, false), kFilterBadArgument);
  picture = reinterpret_cast<HGLOBAL>(1);
  // There is no size dialog in the player: asking is refused.
  EXPECT_EQ(RasteriseMetafile(nullptr, nullptr, metafile, &picture, 0, 0, 100, 100, 10, 10, true), kFilterBadArgument);
  EXPECT_EQ(picture, nullptr);
  DeleteMetaFile(metafile);
}

TEST(MetafileRasteriserTest, ShortPalettesAreCopiedZeroFilled) {
  LOGPALETTE small{0x300, 1, {{10, 20, 30, 0}}};
  HPALETTE palette = CreatePalette(&small);
  HPALETTE copy = CopyRealisedPalette(palette);
  ASSERT_NE(copy, nullptr);
  PALETTEENTRY entries[256];
  ASSERT_EQ(GetPaletteEntries(copy, 0, 256, entries), 256u);
  EXPECT_EQ(entries[0].peRed, 10);
  EXPECT_EQ(entries[0].peBlue, 30);
  for (int i = 1; i < 256; ++i)
    ASSERT_TRUE(entries[i].peRed == 0 && entries[i].peGreen == 0 && entries[i].peBlue == 0) << i;
  DeleteObject(copy);
  DeleteObject(palette);
}

// A metafile that makes a palette, selects and realises it, and inverts a
// square: played twice, the inversion would cancel out.
TEST(MetafileRasteriserTest, OnePassDrawsAndCapturesTheRealisedPalette) {
  std::vector<BYTE> storage(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
  auto *logical = reinterpret_cast<LOGPALETTE *>(storage.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = 3;
  for (int i = 0; i < 3; ++i)
    logical->palPalEntry[i] =
        PALETTEENTRY{static_cast<BYTE>(10 + i), static_cast<BYTE>(100 + i), static_cast<BYTE>(200 + i), 0};
  HPALETTE palette = CreatePalette(logical);
  HDC recording = CreateMetaFileA(nullptr);
  SelectPalette(recording, palette, FALSE);
  RealizePalette(recording);
  PatBlt(recording, 0, 0, 20, 20, DSTINVERT);
  HMETAFILE metafile = CloseMetaFile(recording);
  DeleteObject(palette);
  ASSERT_NE(metafile, nullptr);

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 40);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  RECT all{0, 0, 40, 40};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HPALETTE copy = PlayMetafileCapturingPalette(memory, metafile);
  EXPECT_EQ(GetPixel(memory, 5, 5) & 0xFFFFFF, 0U) << "the inverted square, drawn once";
  EXPECT_EQ(GetPixel(memory, 30, 30) & 0xFFFFFF, 0xFFFFFFU);
  ASSERT_NE(copy, nullptr);
  PALETTEENTRY entries[256];
  ASSERT_EQ(GetPaletteEntries(copy, 0, 256, entries), 256u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(entries[i].peRed, 10 + i);
    EXPECT_EQ(entries[i].peGreen, 100 + i);
    EXPECT_EQ(entries[i].peBlue, 200 + i);
  }
  EXPECT_EQ(entries[3].peRed, 0);
  DeleteObject(copy);

  // A metafile that realises no palette gives no copy.
  HMETAFILE plain = SmallMetafile();
  EXPECT_EQ(PlayMetafileCapturingPalette(memory, plain), nullptr);
  DeleteMetaFile(plain);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  DeleteMetaFile(metafile);
}

} // namespace
