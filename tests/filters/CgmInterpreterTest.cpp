#include "filters/CgmInterpreter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "filters/MemoryFilterIo.h"
#include "support/FuzzFixture.h"

namespace {

// What the interpreter drew, as words a test can look for.
class RecordingCanvas : public CgmCanvas {
public:
  std::vector<std::string> calls;
  CgmFont lastFont;
  CgmPen lastPen;
  CgmPoint windowOrigin{0, 0};
  int32_t windowWidth = 0, windowHeight = 0;
  size_t largestPolyline = 0;
  std::vector<CgmPoint> arcEnds;

  void SetWindow(CgmPoint origin, int32_t width, int32_t height) override {
    windowOrigin = origin, windowWidth = width, windowHeight = height;
  }
  void SetBackground(uint32_t) override {}
  void PaintBackground(uint32_t colour) override { calls.push_back("background:" + std::to_string(colour)); }
  void SetClip(bool, CgmPoint, CgmPoint) override { calls.push_back("clip"); }
  void Polyline(const std::vector<CgmPoint> &points, const CgmPen &pen) override {
    calls.push_back("polyline");
    lastPen = pen;
    largestPolyline = std::max(largestPolyline, points.size());
  }
  void Polygon(const std::vector<CgmPoint> &, const CgmBrush &, const CgmPen *) override { calls.push_back("polygon"); }
  void PolyPolygon(const std::vector<CgmPoint> &, const std::vector<int32_t> &, const CgmBrush &,
                   const CgmPen *) override {
    calls.push_back("polypolygon");
  }
  void Rectangle(CgmPoint, CgmPoint, const CgmBrush &, const CgmPen *) override { calls.push_back("rectangle"); }
  void Ellipse(CgmPoint, int32_t, const CgmBrush &, const CgmPen *) override { calls.push_back("ellipse"); }
  void Arc(CgmPoint, int32_t, CgmPoint start, CgmPoint end, int, const CgmPen &, const CgmBrush &,
           const CgmPen *) override {
    calls.push_back("arc");
    arcEnds.insert(arcEnds.end(), {start, end});
  }
  void Text(CgmPoint, const std::string &text, const CgmFont &font, uint32_t, int32_t, CgmHorizontalAlign,
            CgmVerticalAlign) override {
    calls.push_back("text:" + text);
    lastFont = font;
  }
};

// Binary CGM elements: a header word, then the parameters (long form past 30 bytes).
class CgmWriter {
public:
  CgmWriter &Element(int cls, int id, const std::vector<uint8_t> &params) {
    if (params.size() < 31) {
      Word(static_cast<uint16_t>(cls << 12 | id << 5 | params.size()));
    } else {
      Word(static_cast<uint16_t>(cls << 12 | id << 5 | 31));
      Word(static_cast<uint16_t>(params.size()));
    }
    bytes.insert(bytes.end(), params.begin(), params.end());
    if (params.size() & 1)
      bytes.push_back(0);
    return *this;
  }
  void Word(uint16_t word) {
    bytes.push_back(static_cast<uint8_t>(word >> 8));
    bytes.push_back(static_cast<uint8_t>(word));
  }
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> Words(std::initializer_list<int> values) {
  std::vector<uint8_t> bytes;
  for (int v : values) {
    bytes.push_back(static_cast<uint8_t>(v >> 8));
    bytes.push_back(static_cast<uint8_t>(v));
  }
  return bytes;
}

std::vector<uint8_t> Str(const std::string &text) {
  std::vector<uint8_t> bytes;
  bytes.push_back(static_cast<uint8_t>(text.size()));
  for (const char c : text)
    bytes.push_back(static_cast<uint8_t>(c));
  return bytes;
}

struct Interpreted {
  FilterResult result;
  RecordingCanvas canvas;
  int32_t width = 0, height = 0;
};

Interpreted Interpret(const std::vector<uint8_t> &bytes) {
  MemoryFilterIo io;
  io.AddFile("x.cgm", bytes);
  FilterFile file;
  Interpreted run;
  if (!file.Open("x.cgm")) {
    run.result = kFilterCannotOpen;
    return run;
  }
  CgmInterpreter interpreter(file, run.canvas);
  run.result = interpreter.Run([](uint64_t) { return false; });
  run.width = interpreter.PictureWidth();
  run.height = interpreter.PictureHeight();
  return run;
}

std::vector<uint8_t> ReadAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CgmInterpreterTest, DrawsAMinimalPictureToItsEnd) {
  CgmWriter cgm;
  cgm.Element(0, 1, Str("t"))
      .Element(1, 13,
               [] {
                 auto a = Str("Times-Roman");
                 auto b = Str("Helvetica-BoldOblique");
                 a.insert(a.end(), b.begin(), b.end());
                 return a;
               }())
      .Element(2, 6, Words({0, 0, 1000, 500}))
      .Element(0, 3, Str("p"))
      .Element(4, 1, Words({0, 0, 100, 100, 200, 0}))
      .Element(5, 10, Words({2}))
      .Element(4, 4,
               [] {
                 auto p = Words({10, 10, 1});
                 auto s = Str("Hi");
                 p.insert(p.end(), s.begin(), s.end());
                 return p;
               }())
      .Element(4, 11, Words({0, 0, 10, 10}))
      .Element(4, 12, Words({50, 50, 20}))
      .Element(0, 2, {});
  const Interpreted run = Interpret(cgm.bytes);
  ASSERT_EQ(run.result, kFilterSuccess);
  EXPECT_EQ(run.canvas.calls, (std::vector<std::string>{"polyline", "text:Hi", "rectangle", "ellipse"}));
  // A Helvetica name in a bold cut: Helvetica at weight 700.
  EXPECT_EQ(run.canvas.lastFont.face, "Helvetica");
  EXPECT_EQ(run.canvas.lastFont.weight, 700);
  // 1000 x 500 fits 600 x 300.
  EXPECT_EQ(run.width, 600);
  EXPECT_EQ(run.height, 300);
  EXPECT_EQ(run.canvas.windowWidth, 1000);
  EXPECT_EQ(run.canvas.windowHeight, 500);
}

std::vector<uint8_t> TextAt(int x, int y, const std::string &text) {
  auto p = Words({x, y, 1});
  auto s = Str(text);
  p.insert(p.end(), s.begin(), s.end());
  return p;
}

TEST(CgmInterpreterTest, TextTurnsWithTheCharacterOrientation) {
  struct Case {
    const char *what;
    std::vector<int> vectors; // up x, y, base x, y
    int32_t angle;
  };
  const std::vector<Case> cases = {
      {"upright", {0, 1, 1, 0}, 0},
      {"up to the left: reads upwards", {-1, 0, 0, 1}, 900},
      {"upside down", {0, -1, -1, 0}, 1800},
      {"reads downwards", {1, 0, 0, -1}, 2700},
      {"a slope of 30 degrees", {-500, 866, 866, 500}, 300},
      {"no base vector: from the up vector", {-1, 0, 0, 0}, 900},
  };
  for (const Case &c : cases) {
    CgmWriter cgm;
    cgm.Element(0, 1, {})
        .Element(5, 16, Words({c.vectors[0], c.vectors[1], c.vectors[2], c.vectors[3]}))
        .Element(4, 4, TextAt(10, 10, "a"))
        // RESTRICTED TEXT, as plotutils writes its labels: box, point, flag, string.
        .Element(4, 5,
                 [] {
                   auto p = Words({100, 20});
                   auto t = TextAt(5, 5, "b");
                   p.insert(p.end(), t.begin(), t.end());
                   return p;
                 }())
        .Element(0, 2, {});
    const Interpreted run = Interpret(cgm.bytes);
    ASSERT_EQ(run.result, kFilterSuccess) << c.what;
    EXPECT_EQ(run.canvas.calls, (std::vector<std::string>{"text:a", "text:b"})) << c.what;
    EXPECT_EQ(run.canvas.lastFont.angle, c.angle) << c.what;
  }
}

TEST(CgmInterpreterTest, TheBackgroundColourGoesUnderThePictureBody) {
  CgmWriter cgm;
  cgm.Element(0, 1, {})
      .Element(0, 3, Str("p"))
      .Element(2, 6, Words({0, 0, 100, 100}))
      .Element(2, 7, {173, 216, 230})
      .Element(0, 4, {})
      .Element(4, 1, Words({0, 0, 10, 10}))
      .Element(0, 5, {})
      .Element(0, 2, {});
  const Interpreted run = Interpret(cgm.bytes);
  ASSERT_EQ(run.result, kFilterSuccess);
  EXPECT_EQ(run.canvas.calls,
            (std::vector<std::string>{"background:" + std::to_string(173 | 216 << 8 | 230 << 16), "polyline"}));
  // Without the element nothing is painted: the rasteriser's white stays.
  CgmWriter plain;
  plain.Element(0, 1, {}).Element(0, 4, {}).Element(4, 1, Words({0, 0, 10, 10})).Element(0, 2, {});
  EXPECT_EQ(Interpret(plain.bytes).canvas.calls, (std::vector<std::string>{"polyline"}));
}

// Widths follow their width mode: absolute widths are VDC units
// scaled as coordinates are; scaled widths (the default, a real) multiply
// the width of one pixel of the picture.
TEST(CgmInterpreterTest, LineWidthsFollowTheirWidthMode) {
  struct Case {
    const char *what;
    std::vector<int> extent;
    int mode; // -1: not given (scaled)
    std::vector<uint8_t> width;
    int32_t pen;
  };
  const std::vector<Case> cases = {
      // 6000 units across 600 pixels: 10 units a pixel.
      {"scaled 3.0", {0, 0, 6000, 3000}, -1, Words({3, 0}), 30},
      {"scaled 0.5", {0, 0, 6000, 3000}, 1, Words({0, 0x8000}), 5},
      {"absolute 22", {0, 0, 6000, 3000}, 0, Words({22}), 22},
      {"absolute 0: at least 1", {0, 0, 6000, 3000}, 0, Words({0}), 1},
      {"absolute, extent scaled by a half", {0, 0, 0, 0, 0, 0xFFFE, 0, 0x7FFF}, 0, Words({0, 40}), 20},
  };
  for (const Case &c : cases) {
    CgmWriter cgm;
    cgm.Element(0, 1, {});
    if (c.extent.size() == 8)
      cgm.Element(3, 1, Words({32}));
    std::vector<uint8_t> extent;
    for (int v : c.extent) {
      const auto w = Words({v});
      extent.insert(extent.end(), w.begin(), w.end());
    }
    cgm.Element(2, 6, extent);
    if (c.mode >= 0)
      cgm.Element(2, 3, Words({c.mode}));
    cgm.Element(5, 3, c.width);
    cgm.Element(4, 1, c.extent.size() == 8 ? Words({0, 0, 0, 0, 0, 10, 0, 10}) : Words({0, 0, 10, 10}));
    cgm.Element(0, 2, {});
    const Interpreted run = Interpret(cgm.bytes);
    ASSERT_EQ(run.result, kFilterSuccess) << c.what;
    EXPECT_EQ(run.canvas.lastPen.width, c.pen) << c.what;
  }
}

TEST(CgmInterpreterTest, LargeAndEmptyExtents) {
  struct Case {
    std::vector<int> corners;
    int32_t width, height;
  };
  // Past 32767 the extent scales down; an empty extent still gives a
  // picture of at least one pixel, with no division by zero.
  for (const Case &c : {Case{{0, 0, 0x7FFF, 0x7FFF}, 600, 600}, Case{{0, 0, 0, 0}, 600, 600},
                        Case{{0, 0, 0, 400}, 1, 600}, Case{{0, 0, 400, 0}, 600, 1}}) {
    CgmWriter cgm;
    cgm.Element(0, 1, {})
        .Element(2, 6, Words({c.corners[0], c.corners[1], c.corners[2], c.corners[3]}))
        .Element(0, 2, {});
    const Interpreted run = Interpret(cgm.bytes);
    ASSERT_EQ(run.result, kFilterSuccess);
    EXPECT_EQ(run.width, c.width) << c.corners[2] << "x" << c.corners[3];
    EXPECT_EQ(run.height, c.height) << c.corners[2] << "x" << c.corners[3];
    EXPECT_GE(run.canvas.windowWidth, 1);
    EXPECT_GE(run.canvas.windowHeight, 1);
  }
  // 32-bit VDCs past 32767 scale into the window.
  CgmWriter wide;
  wide.Element(0, 1, {})
      .Element(3, 1, Words({32}))
      .Element(2, 6, Words({0, 0, 0, 0, 1, 0, 0, 0x8000}))
      .Element(0, 2, {});
  const Interpreted run = Interpret(wide.bytes);
  ASSERT_EQ(run.result, kFilterSuccess);
  EXPECT_EQ(run.canvas.windowWidth, 32767);
  EXPECT_EQ(run.width, 600);
}

TEST(CgmInterpreterTest, RefusesWhatItCannotRead) {
  CgmWriter classFourFirst;
  classFourFirst.Element(4, 7, Words({0, 0, 1, 1, 2, 0}));
  CgmWriter classZeroButNotBegin;
  classZeroButNotBegin.Element(0, 3, {});
  CgmWriter idOneButNotDelimiter;
  idOneButNotDelimiter.Element(4, 1, Words({0, 0, 1, 1}));
  CgmWriter realVdc;
  realVdc.Element(0, 1, {}).Element(1, 3, Words({1}));
  CgmWriter oddPrecision;
  oddPrecision.Element(0, 1, {}).Element(1, 4, Words({12}));
  // Two partitions of 6000 bytes: 12000 bytes of parameters.
  CgmWriter oversized;
  oversized.Element(0, 1, {});
  oversized.Word(4 << 12 | 1 << 5 | 31);
  oversized.Word(0x8000 | 6000);
  oversized.bytes.resize(oversized.bytes.size() + 6000);
  oversized.Word(6000);
  oversized.bytes.resize(oversized.bytes.size() + 6000);
  CgmWriter cut;
  cut.Element(0, 1, {}).Element(4, 1, Words({0, 0, 100, 100}));
  cut.bytes.resize(cut.bytes.size() - 3);
  CgmWriter noEnd;
  noEnd.Element(0, 1, {});
  struct Case {
    const char *name;
    std::vector<uint8_t> bytes;
    FilterResult expected;
  };
  for (const Case &c : {Case{"polygon first", classFourFirst.bytes, kFilterCgmStopped},
                        Case{"begin picture first", classZeroButNotBegin.bytes, kFilterCgmStopped},
                        Case{"id 1 of class 4 first", idOneButNotDelimiter.bytes, kFilterCgmStopped},
                        Case{"real VDCs", realVdc.bytes, kFilterCgmStopped},
                        Case{"12-bit integers", oddPrecision.bytes, kFilterCgmStopped},
                        Case{"parameters past 10240 bytes", oversized.bytes, kFilterCgmStopped},
                        Case{"cut inside an element", cut.bytes, kFilterReadError},
                        Case{"no end", noEnd.bytes, kFilterReadError}, Case{"empty", {}, kFilterReadError}}) {
    EXPECT_EQ(Interpret(c.bytes).result, c.expected) << c.name;
  }
}

TEST(CgmInterpreterTest, HostileCountsStayInBounds) {
  // 2560 points in one polyline (10240 bytes); colour indexes and a colour
  // table past 256 entries; a font index past the list; a text longer than
  // its element.
  CgmWriter cgm;
  cgm.Element(0, 1, {}).Element(1, 8, Words({16})).Element(2, 2, Words({0}));
  std::vector<uint8_t> points(10240, 1);
  cgm.Element(4, 1, points);
  std::vector<uint8_t> table = Words({250});
  for (int i = 0; i < 20; ++i)
    table.insert(table.end(), {0xFF, 0, 0});
  cgm.Element(5, 34, table).Element(5, 4, Words({0xFFFF})).Element(5, 10, Words({9999}));
  cgm.Element(4, 4, {0, 1, 0, 1, 0, 1, 200, 'a'});
  cgm.Element(4, 7, Words({0, 0, 1, 1}));
  cgm.Element(0, 2, {});
  const Interpreted run = Interpret(cgm.bytes);
  ASSERT_EQ(run.result, kFilterSuccess);
  EXPECT_EQ(run.canvas.largestPolyline, 2560u);
  EXPECT_EQ(run.canvas.calls.back(), "text:a");
}

std::vector<uint8_t> Longs(std::initializer_list<int32_t> values) {
  std::vector<uint8_t> bytes;
  for (int32_t v : values) {
    const auto u = static_cast<uint32_t>(v);
    bytes.insert(bytes.end(), {static_cast<uint8_t>(u >> 24), static_cast<uint8_t>(u >> 16),
                               static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u)});
  }
  return bytes;
}

TEST(CgmInterpreterTest, ArcEndsFarFromTheirCentreStayInRange) {
  // 32-bit VDCs: a centre near one extreme and vectors towards both; the
  // ends, centre plus vector, lie past 32 bits and are held at its edge.
  CgmWriter cgm;
  cgm.Element(0, 1, {})
      .Element(3, 1, Words({32}))
      .Element(4, 15, Longs({2000000000, -2000000000, 2000000000, -2000000000, -2000000000, 2000000000, 5}))
      .Element(4, 15, Longs({100, 200, 30, -40, -7, 9, 50}))
      .Element(0, 2, {});
  const Interpreted run = Interpret(cgm.bytes);
  ASSERT_EQ(run.result, kFilterSuccess);
  ASSERT_EQ(run.canvas.arcEnds.size(), 4u);
  EXPECT_EQ(run.canvas.arcEnds[0].x, 2147483647);
  EXPECT_EQ(run.canvas.arcEnds[0].y, -2147483647);
  EXPECT_EQ(run.canvas.arcEnds[1].x, 0);
  EXPECT_EQ(run.canvas.arcEnds[1].y, 0);
  // Within range the ends are the centre plus the vectors.
  EXPECT_EQ(run.canvas.arcEnds[2].x, 130);
  EXPECT_EQ(run.canvas.arcEnds[2].y, 160);
  EXPECT_EQ(run.canvas.arcEnds[3].x, 93);
  EXPECT_EQ(run.canvas.arcEnds[3].y, 209);
  // The input the fuzzer found it with draws its arc too.
  EXPECT_EQ(Interpret(FuzzFixture("cgm-arc-vectors-past-32-bits")).result, kFilterSuccess);
}

TEST(CgmInterpreterTest, ReadsPlotutilsAndGnuplotFiles) {
  const char *folder = std::getenv("VOR_FILTER_CORPUS");
  ASSERT_NE(folder, nullptr);
  for (const char *name : {"plot.cgm", "gnuplot.cgm"}) {
    const Interpreted run = Interpret(ReadAll(std::string(folder) + "/cgm-corpus/" + name));
    ASSERT_EQ(run.result, kFilterSuccess) << name;
    EXPECT_GT(run.canvas.calls.size(), 10u) << name;
  }
}

} // namespace
