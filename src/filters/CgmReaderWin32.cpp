#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "filters/CgmInterpreter.h"
#include "filters/ImportFilters.h"
#include "filters/MetafileRasteriser.h"

namespace {

constexpr BYTE kFontOutputPrecision = OUT_TT_PRECIS;
constexpr BYTE kFontClipPrecision = 0x30;
constexpr LONG kFullTurn = 3600; // tenths of a degree

// The box of a circle: the file's centre and radius may lie anywhere in
// 32 bits, so the edges are worked out in 64 and held there.
RECT CircleBox(CgmPoint centre, int32_t radius) {
  const auto edge = [](int64_t value) { return static_cast<LONG>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); };
  return RECT{edge(int64_t{centre.x} - radius), edge(int64_t{centre.y} - radius), edge(int64_t{centre.x} + radius),
              edge(int64_t{centre.y} + radius)};
}

int PenStyleOf(CgmLineStyle style) {
  switch (style) {
  case CgmLineStyle::Dash:
    return PS_DASH;
  case CgmLineStyle::Dot:
    return PS_DOT;
  case CgmLineStyle::DashDot:
    return PS_DASHDOT;
  case CgmLineStyle::DashDotDot:
    return PS_DASHDOTDOT;
  default:
    return PS_SOLID;
  }
}

int HatchOf(CgmHatch hatch) {
  switch (hatch) {
  case CgmHatch::Horizontal:
    return HS_HORIZONTAL;
  case CgmHatch::Vertical:
    return HS_VERTICAL;
  case CgmHatch::BackDiagonal:
    return HS_BDIAGONAL;
  case CgmHatch::ForwardDiagonal:
    return HS_FDIAGONAL;
  case CgmHatch::Cross:
    return HS_CROSS;
  default:
    return HS_DIAGCROSS;
  }
}

std::vector<POINT> ToPoints(const std::vector<CgmPoint> &points) {
  std::vector<POINT> result(points.size());
  std::transform(points.begin(), points.end(), result.begin(), [](CgmPoint p) { return POINT{p.x, p.y}; });
  return result;
}

// Draws into a metafile DC: each primitive with a pen and brush made for
// it, selected, and deleted once the next ones replace them.
class GdiCgmCanvas : public CgmCanvas {
public:
  explicit GdiCgmCanvas(HDC dc) : m_dc(dc) {}
  ~GdiCgmCanvas() override {
    if (m_clipSaved)
      RestoreDC(m_dc, -1);
    SelectObject(m_dc, GetStockObject(BLACK_PEN));
    SelectObject(m_dc, GetStockObject(WHITE_BRUSH));
    SelectObject(m_dc, GetStockObject(SYSTEM_FONT));
    Replace<HPEN>(m_pen, nullptr);
    Replace<HBRUSH>(m_brush, nullptr);
    Replace<HFONT>(m_font, nullptr);
  }
  GdiCgmCanvas(const GdiCgmCanvas &) = delete;
  GdiCgmCanvas &operator=(const GdiCgmCanvas &) = delete;

  void SetWindow(CgmPoint origin, int32_t width, int32_t height) override {
    // CGM's y axis points up: the window's top is the extent's upper edge.
    SetMapMode(m_dc, MM_ANISOTROPIC);
    SetWindowOrgEx(m_dc, origin.x, origin.y + height, nullptr);
    SetWindowExtEx(m_dc, width, -height, nullptr);
    m_windowOrigin = origin;
    m_windowWidth = width;
    m_windowHeight = height;
  }
  void SetBackground(uint32_t colour) override { SetBkColor(m_dc, colour); }
  void PaintBackground(uint32_t colour) override {
    // A unit past each edge: GDI leaves a rectangle's right and bottom out.
    const CgmBrush solid{CgmFillStyle::Solid, CgmHatch::DiagonalCross, colour};
    Rectangle({m_windowOrigin.x - 1, m_windowOrigin.y - 1},
              {m_windowOrigin.x + m_windowWidth + 1, m_windowOrigin.y + m_windowHeight + 1}, solid, nullptr);
  }
  void SetClip(bool on, CgmPoint corner1, CgmPoint corner2) override {
    if (m_clipSaved)
      RestoreDC(m_dc, -1);
    m_clipSaved = false;
    if (!on)
      return;
    SaveDC(m_dc);
    m_clipSaved = true;
    IntersectClipRect(m_dc, std::min(corner1.x, corner2.x), std::max(corner1.y, corner2.y),
                      std::max(corner1.x, corner2.x), std::min(corner1.y, corner2.y));
  }
  void Polyline(const std::vector<CgmPoint> &points, const CgmPen &pen) override {
    UsePen(&pen);
    const std::vector<POINT> gdi = ToPoints(points);
    ::Polyline(m_dc, gdi.data(), static_cast<int>(gdi.size()));
  }
  void Polygon(const std::vector<CgmPoint> &points, const CgmBrush &brush, const CgmPen *edge) override {
    UseFill(brush, edge);
    const std::vector<POINT> gdi = ToPoints(points);
    ::Polygon(m_dc, gdi.data(), static_cast<int>(gdi.size()));
  }
  void PolyPolygon(const std::vector<CgmPoint> &points, const std::vector<int32_t> &counts, const CgmBrush &brush,
                   const CgmPen *edge) override {
    UseFill(brush, edge);
    const std::vector<POINT> gdi = ToPoints(points);
    std::vector<INT> sizes(counts.begin(), counts.end());
    ::PolyPolygon(m_dc, gdi.data(), sizes.data(), static_cast<int>(sizes.size()));
  }
  void Rectangle(CgmPoint corner1, CgmPoint corner2, const CgmBrush &brush, const CgmPen *edge) override {
    UseFill(brush, edge);
    ::Rectangle(m_dc, corner1.x, corner1.y, corner2.x, corner2.y);
  }
  void Ellipse(CgmPoint centre, int32_t radius, const CgmBrush &brush, const CgmPen *edge) override {
    UseFill(brush, edge);
    const RECT box = CircleBox(centre, radius);
    ::Ellipse(m_dc, box.left, box.top, box.right, box.bottom);
  }
  void Arc(CgmPoint centre, int32_t radius, CgmPoint start, CgmPoint end, int closure, const CgmPen &pen,
           const CgmBrush &brush, const CgmPen *edge) override {
    const RECT box = CircleBox(centre, radius);
    const int left = box.left, top = box.top, right = box.right, bottom = box.bottom;
    // GDI draws counter-clockwise on the screen; with y flipped that is
    // CGM's clockwise, so start and end trade places.
    if (closure == 0) {
      UsePen(&pen);
      ::Arc(m_dc, left, top, right, bottom, end.x, end.y, start.x, start.y);
    } else {
      UseFill(brush, edge);
      if (closure == 1)
        ::Pie(m_dc, left, top, right, bottom, end.x, end.y, start.x, start.y);
      else
        ::Chord(m_dc, left, top, right, bottom, end.x, end.y, start.x, start.y);
    }
  }
  void Text(CgmPoint at, const std::string &text, const CgmFont &font, uint32_t colour, int32_t spacing,
            CgmHorizontalAlign horizontal, CgmVerticalAlign vertical) override {
    LOGFONTA logical{};
    logical.lfHeight = font.height;
    logical.lfWeight = font.weight;
    logical.lfItalic = font.italic ? 1 : 0;
    // The window's y axis points up, as CGM's does: that turns GDI's
    // escapement the other way round.
    const LONG escapement = (kFullTurn - font.angle) % kFullTurn;
    logical.lfEscapement = escapement;
    logical.lfOrientation = escapement;
    logical.lfOutPrecision = kFontOutputPrecision;
    logical.lfClipPrecision = kFontClipPrecision;
    std::strncpy(logical.lfFaceName, font.face.c_str(), LF_FACESIZE - 1);
    HFONT created = CreateFontIndirectA(&logical);
    if (created == nullptr)
      return;
    SelectObject(m_dc, created);
    Replace(m_font, created);
    SetTextColor(m_dc, colour);
    SetTextCharacterExtra(m_dc, spacing);
    UINT align = vertical == CgmVerticalAlign::Top ? TA_TOP : TA_BASELINE;
    align |= horizontal == CgmHorizontalAlign::Centre  ? TA_CENTER
             : horizontal == CgmHorizontalAlign::Right ? TA_RIGHT
                                                       : TA_LEFT;
    SetTextAlign(m_dc, align);
    TextOutA(m_dc, at.x, at.y, text.data(), static_cast<int>(text.size()));
  }

private:
  template <typename Handle>
  void Replace(Handle &held, Handle next) {
    if (held != nullptr && held != next)
      DeleteObject(held);
    held = next;
  }
  void UsePen(const CgmPen *pen) {
    HPEN created = pen != nullptr ? CreatePen(PenStyleOf(pen->style), pen->width, pen->colour)
                                  : static_cast<HPEN>(GetStockObject(NULL_PEN));
    if (created == nullptr)
      return;
    SelectObject(m_dc, created);
    Replace<HPEN>(m_pen, pen != nullptr ? created : nullptr);
  }
  void UseFill(const CgmBrush &brush, const CgmPen *edge) {
    UsePen(edge);
    LOGBRUSH logical{};
    logical.lbStyle = brush.style == CgmFillStyle::Solid     ? BS_SOLID
                      : brush.style == CgmFillStyle::Hatched ? BS_HATCHED
                                                             : BS_HOLLOW;
    logical.lbColor = brush.colour;
    logical.lbHatch = static_cast<ULONG_PTR>(HatchOf(brush.hatch));
    HBRUSH created = CreateBrushIndirect(&logical);
    if (created == nullptr)
      return;
    SelectObject(m_dc, created);
    Replace(m_brush, created);
  }

  HDC m_dc;
  HPEN m_pen = nullptr;
  HBRUSH m_brush = nullptr;
  HFONT m_font = nullptr;
  bool m_clipSaved = false;
  CgmPoint m_windowOrigin{0, 0};
  int32_t m_windowWidth = 0;
  int32_t m_windowHeight = 0;
};

// The metafile being drawn, deleted unless handed on.
struct MetafileRecording {
  HDC dc = nullptr;
  ~MetafileRecording() {
    if (dc != nullptr)
      DeleteMetaFile(CloseMetaFile(dc));
  }
  HMETAFILE Close() {
    HMETAFILE metafile = CloseMetaFile(dc);
    dc = nullptr;
    return metafile;
  }
};

} // namespace

FilterResult ReadCgmFile(FilterContext *context) {
  FilterFile file;
  if (const FilterResult opened = OpenFilterRequest(context, file); opened != kFilterSuccess)
    return opened;
  if (context->decode == 0) {
    // A metafile has no pixel description: only the size is told.
    const uint32_t fileSize = context->description.fileSize;
    context->description = FilterDescription{};
    context->description.fileSize = fileSize;
    return kFilterSuccess;
  }
  MetafileRecording recording;
  recording.dc = CreateMetaFileA(nullptr);
  if (recording.dc == nullptr)
    return kFilterNoMemory;
  SetBkMode(recording.dc, TRANSPARENT);
  int32_t pictureWidth = 0;
  int32_t pictureHeight = 0;
  {
    GdiCgmCanvas canvas(recording.dc);
    CgmInterpreter interpreter(file, canvas);
    const uint64_t total = std::max<uint64_t>(context->description.fileSize, 1);
    const FilterResult result = interpreter.Run(
        [&](uint64_t consumed) { return ReportFilterSteps(*context, std::min(consumed, total), total); });
    if (result != kFilterSuccess)
      return result;
    pictureWidth = interpreter.PictureWidth();
    pictureHeight = interpreter.PictureHeight();
  }
  file.Close();
  HMETAFILE metafile = recording.Close();
  if (metafile == nullptr)
    return kFilterNoMemory;
  if (ReportFilterProgress(*context, 100)) {
    DeleteMetaFile(metafile);
    return kFilterCancelled;
  }
  HGLOBAL dib = nullptr;
  const FilterResult rasterised = RasteriseMetafile(nullptr, nullptr, metafile, &dib, 0, 0, pictureWidth, pictureHeight,
                                                    pictureWidth, pictureHeight, false);
  DeleteMetaFile(metafile);
  if (rasterised != kFilterSuccess)
    return rasterised;
  const FilterResult attached = AttachFilterResult(context, dib, nullptr);
  if (attached != kFilterSuccess)
    GlobalFree(dib);
  return attached;
}

FilterResult ImportCgmImage(FilterProgressCallback callback, uintptr_t userValue, const char *fileName,
                            FilterHandle *picture) {
  return RunImportFilter(ReadCgmFile, callback, userValue, fileName, picture);
}
