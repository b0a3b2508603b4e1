#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "filters/FilterIo.h"
#include "filters/FilterResult.h"

// Computer Graphics Metafiles in the binary encoding (ISO 8632-3), read
// element by element and drawn through a canvas: GDI into a Windows
// metafile in the player, a recorder in tests and fuzzing.
//
// Coordinates reach the canvas in VDC units times the scale (at most 32767
// across); the canvas's window maps them, y upward as CGM has it.

struct CgmPoint {
  int32_t x;
  int32_t y;
};

enum class CgmLineStyle { Solid, Dash, Dot, DashDot, DashDotDot };
enum class CgmFillStyle { Solid, Hatched, Hollow };
enum class CgmHatch { Horizontal, Vertical, BackDiagonal, ForwardDiagonal, Cross, DiagonalCross };
enum class CgmHorizontalAlign { Left, Centre, Right };
enum class CgmVerticalAlign { Baseline, Top };

// Colours are 0x00BBGGRR.
struct CgmPen {
  CgmLineStyle style = CgmLineStyle::Solid;
  int32_t width = 1;
  uint32_t colour = 0;
};

struct CgmBrush {
  CgmFillStyle style = CgmFillStyle::Solid;
  CgmHatch hatch = CgmHatch::DiagonalCross;
  uint32_t colour = 0;
};

struct CgmFont {
  std::string face = "Arial";
  int32_t height = 12;
  int32_t weight = 400;
  bool italic = false;
  // The baseline's direction: tenths of a degree counter-clockwise from the
  // x axis, 0 to 3599.
  int32_t angle = 0;
};

class CgmCanvas {
public:
  virtual ~CgmCanvas() = default;
  // The window the picture is drawn in: its lower left corner and size.
  virtual void SetWindow(CgmPoint origin, int32_t width, int32_t height) = 0;
  virtual void SetBackground(uint32_t colour) = 0;
  // Fills the whole window with the colour, under everything drawn after.
  virtual void PaintBackground(uint32_t colour) = 0;
  virtual void SetClip(bool on, CgmPoint corner1, CgmPoint corner2) = 0;
  virtual void Polyline(const std::vector<CgmPoint> &points, const CgmPen &pen) = 0;
  // edge: null when edges are not drawn.
  virtual void Polygon(const std::vector<CgmPoint> &points, const CgmBrush &brush, const CgmPen *edge) = 0;
  virtual void PolyPolygon(const std::vector<CgmPoint> &points, const std::vector<int32_t> &counts,
                           const CgmBrush &brush, const CgmPen *edge) = 0;
  virtual void Rectangle(CgmPoint corner1, CgmPoint corner2, const CgmBrush &brush, const CgmPen *edge) = 0;
  virtual void Ellipse(CgmPoint centre, int32_t radius, const CgmBrush &brush, const CgmPen *edge) = 0;
  // An arc counter-clockwise from start to end round the circle (centre,
  // radius); closed: 0 open, 1 pie, 2 chord.
  virtual void Arc(CgmPoint centre, int32_t radius, CgmPoint start, CgmPoint end, int closure, const CgmPen &pen,
                   const CgmBrush &brush, const CgmPen *edge) = 0;
  virtual void Text(CgmPoint at, const std::string &text, const CgmFont &font, uint32_t colour, int32_t spacing,
                    CgmHorizontalAlign horizontal, CgmVerticalAlign vertical) = 0;
};

class CgmInterpreter {
public:
  static constexpr uint32_t kBlockSize = 10240;
  static constexpr uint32_t kMaximumParameterBytes = 10240;
  static constexpr uint32_t kColourTableSize = 256;
  static constexpr uint32_t kMaximumFonts = 256;
  static constexpr uint32_t kFontNameLength = 255;
  static constexpr int32_t kWindowExtent = 32767;
  static constexpr int32_t kPictureSide = 600;

  CgmInterpreter(FilterFile &file, CgmCanvas &canvas);

  // Reads the first block; 202 when the file holds nothing.
  FilterResult Start();
  // Interprets one element. kFilterSuccess with Ended() after END METAFILE.
  FilterResult Step();
  bool Ended() const { return m_ended; }
  uint64_t BytesConsumed() const { return m_consumed; }
  // The picture size in pixels the extent fits into 600 x 600.
  int32_t PictureWidth() const { return m_pictureWidth; }
  int32_t PictureHeight() const { return m_pictureHeight; }
  // Runs Start and Step to the end, calling progress after each element
  // (true from it cancels with 100).
  template <typename Progress>
  FilterResult Run(Progress progress) {
    FilterResult result = Start();
    while (result == kFilterSuccess && !m_ended) {
      result = Step();
      if (result == kFilterSuccess && progress(m_consumed))
        result = kFilterCancelled;
    }
    return result;
  }

private:
  bool ReadByte(uint8_t &byte);
  bool ReadWord(uint16_t &word);
  bool ReadBytes(uint8_t *target, uint32_t count);
  FilterResult ReadElement();
  FilterResult Interpret();
  FilterResult Descriptor();
  FilterResult PictureDescriptor();
  FilterResult Control();
  void Primitive();
  void Attribute();

  // Parameter readers over m_params; past the end they give 0.
  int64_t Signed(uint32_t bits);
  uint64_t Unsigned(uint32_t bits);
  int32_t Integer() { return static_cast<int32_t>(Signed(m_integerBits)); }
  int32_t Enumerated() { return static_cast<int32_t>(Signed(16)); }
  int32_t Index() { return static_cast<int32_t>(Signed(16)); }
  double Real();
  double Vdc();
  double Size(bool absolute);
  CgmPoint Point();
  uint32_t Colour();
  uint32_t DirectColour();
  std::string String();
  bool More() const { return m_at < m_params.size(); }
  int32_t Scaled(double vdc) const;

  void SetExtent(double x1, double y1, double x2, double y2);
  void ChooseFont(int32_t index);
  void SetOrientation(double upX, double upY, double baseX, double baseY);
  int32_t Width(bool absolute);
  const CgmPen *EdgePen() const { return m_edgeVisible ? &m_edge : nullptr; }

  FilterFile &m_file;
  CgmCanvas &m_canvas;
  std::vector<uint8_t> m_block;
  uint32_t m_blockLength = 0;
  uint32_t m_blockAt = 0;
  uint64_t m_consumed = 0;
  bool m_first = true;
  bool m_ended = false;

  int m_class = 0;
  int m_id = 0;
  std::vector<uint8_t> m_params;
  size_t m_at = 0;

  uint32_t m_integerBits = 16;
  uint32_t m_vdcBits = 16;
  uint32_t m_colourBits = 8;
  uint32_t m_colourIndexBits = 8;
  uint32_t m_colourMinimum[3] = {0, 0, 0};
  uint32_t m_colourMaximum[3] = {255, 255, 255};
  bool m_indexedColour = true;
  bool m_lineWidthAbsolute = false;
  bool m_markerSizeAbsolute = false;
  bool m_edgeWidthAbsolute = false;
  int32_t m_colourTable[kColourTableSize];
  std::vector<std::string> m_fonts;
  double m_scale = 1.0;
  int32_t m_pictureWidth = kPictureSide;
  int32_t m_pictureHeight = kPictureSide;
  // Window units a pixel of the picture spans: the nominal width that
  // scaled line, edge and marker widths multiply.
  double m_unitsPerPixel = double{kWindowExtent} / kPictureSide;
  bool m_haveBackground = false;
  uint32_t m_background = 0xFFFFFF;

  CgmPen m_line;
  CgmPen m_edge;
  CgmBrush m_brush;
  CgmFont m_font;
  bool m_edgeVisible = false;
  uint32_t m_textColour = 0;
  uint32_t m_markerColour = 0;
  int32_t m_markerType = 3;
  int32_t m_markerSize = 0;
  int32_t m_spacing = 0;
  CgmHorizontalAlign m_horizontal = CgmHorizontalAlign::Left;
  CgmVerticalAlign m_vertical = CgmVerticalAlign::Baseline;
  bool m_clipOn = true;
  CgmPoint m_clip1{0, 0};
  CgmPoint m_clip2{kWindowExtent, kWindowExtent};
  std::vector<CgmPoint> m_points;
  CgmPoint m_textAt{0, 0};
};
