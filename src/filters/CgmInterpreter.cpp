#include "filters/CgmInterpreter.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

// Element classes.
constexpr int kDelimiter = 0;
constexpr int kDescriptor = 1;
constexpr int kPictureDescriptor = 2;
constexpr int kControl = 3;
constexpr int kPrimitive = 4;
constexpr int kAttribute = 5;

constexpr uint16_t kLongFormLength = 31;
constexpr uint16_t kContinuationFlag = 0x8000;
constexpr uint16_t kPartitionLengthMask = 0x7FFF;
constexpr uint8_t kLongStringLength = 255;
constexpr int32_t kUnsetColour = -1;
constexpr uint32_t kWhite = 0xFFFFFF;

uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) { return red | green << 8 | blue << 16; }

bool Contains(const std::string &text, const char *word) { return text.find(word) != std::string::npos; }

// The coordinates a scaled VDC can take.
constexpr int64_t kCoordinateLimit = 2147483647;

// A point a vector away from another, held to those coordinates: both come
// from the file and may lie at opposite extremes.
CgmPoint Offset(CgmPoint from, CgmPoint vector) {
  const auto add = [](int32_t a, int32_t b) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{a} + b, -kCoordinateLimit, kCoordinateLimit));
  };
  return {add(from.x, vector.x), add(from.y, vector.y)};
}

} // namespace

CgmInterpreter::CgmInterpreter(FilterFile &file, CgmCanvas &canvas)
    : m_file(file), m_canvas(canvas), m_block(kBlockSize) {
  std::fill(std::begin(m_colourTable), std::end(m_colourTable), kUnsetColour);
  m_edge.width = 1;
}

FilterResult CgmInterpreter::Start() {
  const int32_t read = m_file.Read(m_block.data(), kBlockSize);
  if (read <= 0)
    return kFilterReadError;
  m_blockLength = static_cast<uint32_t>(read);
  m_blockAt = 0;
  m_canvas.SetWindow({0, 0}, kWindowExtent, kWindowExtent);
  return kFilterSuccess;
}

bool CgmInterpreter::ReadByte(uint8_t &byte) {
  if (m_blockAt == m_blockLength) {
    const int32_t read = m_file.Read(m_block.data(), kBlockSize);
    if (read <= 0)
      return false;
    m_blockLength = static_cast<uint32_t>(read);
    m_blockAt = 0;
  }
  byte = m_block[m_blockAt++];
  ++m_consumed;
  return true;
}

bool CgmInterpreter::ReadWord(uint16_t &word) {
  uint8_t high = 0;
  uint8_t low = 0;
  if (!ReadByte(high) || !ReadByte(low))
    return false;
  word = static_cast<uint16_t>(high << 8 | low);
  return true;
}

bool CgmInterpreter::ReadBytes(uint8_t *target, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i)
    if (!ReadByte(target[i]))
      return false;
  return true;
}

// One element's header and its parameters, partitions of the long form
// joined; the data of each partition is padded to an even length.
FilterResult CgmInterpreter::ReadElement() {
  uint16_t header = 0;
  if (!ReadWord(header))
    return kFilterReadError;
  m_class = header >> 12;
  m_id = (header >> 5) & 0x7F;
  m_params.clear();
  m_at = 0;
  uint16_t length = header & 0x1F;
  bool more = false;
  if (length == kLongFormLength) {
    do {
      uint16_t partition = 0;
      if (!ReadWord(partition))
        return kFilterReadError;
      more = (partition & kContinuationFlag) != 0;
      length = partition & kPartitionLengthMask;
      if (m_params.size() + length > kMaximumParameterBytes)
        return kFilterCgmStopped;
      const size_t at = m_params.size();
      m_params.resize(at + length);
      if (!ReadBytes(m_params.data() + at, length))
        return kFilterReadError;
      uint8_t pad = 0;
      if ((length & 1) != 0 && !ReadByte(pad))
        return kFilterReadError;
    } while (more);
    return kFilterSuccess;
  }
  m_params.resize(length);
  if (!ReadBytes(m_params.data(), length))
    return kFilterReadError;
  uint8_t pad = 0;
  if ((length & 1) != 0 && !ReadByte(pad))
    return kFilterReadError;
  return kFilterSuccess;
}

FilterResult CgmInterpreter::Step() {
  const FilterResult read = ReadElement();
  if (read != kFilterSuccess)
    return read;
  // The first element must be BEGIN METAFILE: class 0 and id 1.
  if (m_first && (m_class != kDelimiter || m_id != 1))
    return kFilterCgmStopped;
  m_first = false;
  return Interpret();
}

FilterResult CgmInterpreter::Interpret() {
  switch (m_class) {
  case kDelimiter:
    if (m_id == 2)
      m_ended = true;
    // BEGIN PICTURE BODY: the background colour the picture descriptor
    // gave goes under the picture.
    if (m_id == 4 && m_haveBackground)
      m_canvas.PaintBackground(m_background);
    return kFilterSuccess;
  case kDescriptor:
    return Descriptor();
  case kPictureDescriptor:
    return PictureDescriptor();
  case kControl:
    return Control();
  case kPrimitive:
    Primitive();
    return kFilterSuccess;
  case kAttribute:
    Attribute();
    return kFilterSuccess;
  default:
    return kFilterSuccess;
  }
}

int64_t CgmInterpreter::Signed(uint32_t bits) {
  const uint64_t value = Unsigned(bits);
  const uint64_t sign = uint64_t{1} << (bits - 1);
  return static_cast<int64_t>(value ^ sign) - static_cast<int64_t>(sign);
}

uint64_t CgmInterpreter::Unsigned(uint32_t bits) {
  uint64_t value = 0;
  for (uint32_t i = 0; i < bits / 8; ++i)
    value = value << 8 | (m_at < m_params.size() ? m_params[m_at++] : 0);
  return value;
}

// Reals in the default precision: 32-bit fixed point, 16 bits whole, 16 bits fraction.
double CgmInterpreter::Real() {
  const int64_t whole = Signed(16);
  const uint64_t fraction = Unsigned(16);
  return static_cast<double>(whole) + static_cast<double>(fraction) / 65536.0;
}

double CgmInterpreter::Vdc() { return static_cast<double>(Signed(m_vdcBits)); }

double CgmInterpreter::Size(bool absolute) { return absolute ? Vdc() : Real(); }

int32_t CgmInterpreter::Scaled(double vdc) const {
  const double value = std::round(vdc * m_scale);
  return static_cast<int32_t>(std::clamp(value, -2147483647.0, 2147483647.0));
}

CgmPoint CgmInterpreter::Point() {
  const double x = Vdc();
  const double y = Vdc();
  return {Scaled(x), Scaled(y)};
}

uint32_t CgmInterpreter::DirectColour() {
  uint32_t component[3];
  for (int i = 0; i < 3; ++i) {
    const uint64_t value = Unsigned(m_colourBits);
    const uint64_t low = m_colourMinimum[i];
    const uint64_t high = m_colourMaximum[i];
    // Scaled from the colour value extent to 0..255; an empty extent is black.
    component[i] = high > low ? static_cast<uint32_t>((std::clamp(value, low, high) - low) * 255 / (high - low)) : 0;
  }
  return Rgb(component[0], component[1], component[2]);
}

uint32_t CgmInterpreter::Colour() {
  if (!m_indexedColour)
    return DirectColour();
  const uint64_t index = Unsigned(m_colourIndexBits);
  // Indexes past the table (whatever the file's maximum says) and unset
  // entries: index 0 is the background, white; the others black.
  if (index < kColourTableSize && m_colourTable[index] != kUnsetColour)
    return static_cast<uint32_t>(m_colourTable[index]);
  return index == 0 ? kWhite : 0;
}

std::string CgmInterpreter::String() {
  uint32_t length = m_at < m_params.size() ? m_params[m_at++] : 0;
  if (length == kLongStringLength)
    length = static_cast<uint32_t>(Unsigned(16)) & kPartitionLengthMask;
  length = static_cast<uint32_t>(std::min<size_t>(length, m_params.size() - m_at));
  std::string text(m_params.begin() + static_cast<long>(m_at), m_params.begin() + static_cast<long>(m_at + length));
  m_at += length;
  return text;
}

FilterResult CgmInterpreter::Descriptor() {
  switch (m_id) {
  case 3: // VDC TYPE: integer only
    return Enumerated() == 0 ? kFilterSuccess : kFilterCgmStopped;
  case 4: { // INTEGER PRECISION
    const int32_t bits = static_cast<int32_t>(Signed(m_integerBits));
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
      return kFilterCgmStopped;
    m_integerBits = static_cast<uint32_t>(bits);
    return kFilterSuccess;
  }
  case 7:   // COLOUR PRECISION
  case 8: { // COLOUR INDEX PRECISION
    const int32_t bits = Integer();
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
      return kFilterCgmStopped;
    (m_id == 7 ? m_colourBits : m_colourIndexBits) = static_cast<uint32_t>(bits);
    return kFilterSuccess;
  }
  case 10: // COLOUR VALUE EXTENT
    for (uint32_t &value : m_colourMinimum)
      value = static_cast<uint32_t>(Unsigned(m_colourBits));
    for (uint32_t &value : m_colourMaximum)
      value = static_cast<uint32_t>(Unsigned(m_colourBits));
    return kFilterSuccess;
  case 13: // FONT LIST
    while (More() && m_fonts.size() < kMaximumFonts) {
      std::string name = String();
      if (name.size() > kFontNameLength)
        name.resize(kFontNameLength);
      m_fonts.push_back(name);
    }
    return kFilterSuccess;
  default:
    return kFilterSuccess;
  }
}

void CgmInterpreter::SetExtent(double x1, double y1, double x2, double y2) {
  double width = std::fabs(x2 - x1);
  double height = std::fabs(y2 - y1);
  m_scale = 1.0;
  const double larger = std::max(width, height);
  if (larger > kWindowExtent)
    m_scale = kWindowExtent / larger;
  width *= m_scale;
  height *= m_scale;
  const CgmPoint origin{Scaled(std::min(x1, x2)), Scaled(std::min(y1, y2))};
  // An empty extent still maps to a window of at least one unit.
  const auto windowWidth = std::max<int32_t>(1, static_cast<int32_t>(std::lround(width)));
  const auto windowHeight = std::max<int32_t>(1, static_cast<int32_t>(std::lround(height)));
  m_canvas.SetWindow(origin, windowWidth, windowHeight);
  // Fit into 600 x 600 keeping the proportions, in floating point and at
  // least one pixel each way.
  const double across = std::max(1.0, width);
  const double down = std::max(1.0, height);
  const double fitted = std::floor(down * (kPictureSide / across));
  if (fitted <= kPictureSide) {
    m_pictureWidth = kPictureSide;
    m_pictureHeight = std::max(1, static_cast<int32_t>(fitted));
  } else {
    m_pictureWidth = std::max(1, static_cast<int32_t>(std::floor(across * (kPictureSide / down))));
    m_pictureHeight = kPictureSide;
  }
  m_unitsPerPixel = across / m_pictureWidth;
}

FilterResult CgmInterpreter::PictureDescriptor() {
  switch (m_id) {
  case 2: // COLOUR SELECTION MODE
    m_indexedColour = Enumerated() == 0;
    break;
  case 3: // how line widths are given
    m_lineWidthAbsolute = Enumerated() == 0;
    break;
  case 4: // how marker sizes are given
    m_markerSizeAbsolute = Enumerated() == 0;
    break;
  case 5: // how edge widths are given
    m_edgeWidthAbsolute = Enumerated() == 0;
    break;
  case 6: { // VDC EXTENT
    const double x1 = Vdc();
    const double y1 = Vdc();
    const double x2 = Vdc();
    const double y2 = Vdc();
    SetExtent(x1, y1, x2, y2);
    break;
  }
  case 7: { // BACKGROUND COLOUR: always direct
    m_background = DirectColour();
    m_haveBackground = true;
    m_canvas.SetBackground(m_background);
    break;
  }
  default:
    break;
  }
  return kFilterSuccess;
}

FilterResult CgmInterpreter::Control() {
  switch (m_id) {
  case 1: { // VDC INTEGER PRECISION
    const int32_t bits = Integer();
    if (bits != 16 && bits != 24 && bits != 32)
      return kFilterCgmStopped;
    m_vdcBits = static_cast<uint32_t>(bits);
    break;
  }
  case 5: // CLIP RECTANGLE
    m_clip1 = Point();
    m_clip2 = Point();
    m_canvas.SetClip(m_clipOn, m_clip1, m_clip2);
    break;
  case 6: // CLIP INDICATOR
    m_clipOn = Enumerated() != 0;
    m_canvas.SetClip(m_clipOn, m_clip1, m_clip2);
    break;
  default:
    break;
  }
  return kFilterSuccess;
}

void CgmInterpreter::Primitive() {
  const uint32_t pointBytes = 2 * m_vdcBits / 8;
  auto readPoints = [&]() {
    m_points.clear();
    m_points.reserve((m_params.size() - m_at) / pointBytes);
    while (m_params.size() - m_at >= pointBytes)
      m_points.push_back(Point());
  };
  switch (m_id) {
  case 1: // POLYLINE
    readPoints();
    if (m_points.size() >= 2)
      m_canvas.Polyline(m_points, m_line);
    break;
  case 2: { // DISJOINT POLYLINE: pairs of points
    readPoints();
    std::vector<CgmPoint> segment(2);
    for (size_t i = 0; i + 1 < m_points.size(); i += 2) {
      segment[0] = m_points[i];
      segment[1] = m_points[i + 1];
      m_canvas.Polyline(segment, m_line);
    }
    break;
  }
  case 3: { // POLYMARKER: 1 dot, 2 plus, 3 asterisk, 4 circle, 5 cross
    readPoints();
    const int32_t half = std::max(1, m_markerSize / 2);
    CgmPen pen{CgmLineStyle::Solid, 1, m_markerColour};
    CgmBrush hollow{CgmFillStyle::Hollow, CgmHatch::DiagonalCross, m_markerColour};
    for (const CgmPoint &p : m_points) {
      if (m_markerType == 4 || m_markerType == 1) {
        CgmBrush fill =
            m_markerType == 1 ? CgmBrush{CgmFillStyle::Solid, CgmHatch::DiagonalCross, m_markerColour} : hollow;
        m_canvas.Ellipse(p, m_markerType == 1 ? std::max(1, half / 4) : half, fill, &pen);
        continue;
      }
      if (m_markerType != 5)
        m_canvas.Polyline({{p.x - half, p.y}, {p.x + half, p.y}}, pen),
            m_canvas.Polyline({{p.x, p.y - half}, {p.x, p.y + half}}, pen);
      if (m_markerType != 2)
        m_canvas.Polyline({{p.x - half, p.y - half}, {p.x + half, p.y + half}}, pen),
            m_canvas.Polyline({{p.x - half, p.y + half}, {p.x + half, p.y - half}}, pen);
    }
    break;
  }
  case 4: { // TEXT: point, final flag, string
    m_textAt = Point();
    Enumerated();
    m_canvas.Text(m_textAt, String(), m_font, m_textColour, m_spacing, m_horizontal, m_vertical);
    break;
  }
  case 5: { // RESTRICTED TEXT: the box it should fit (not enforced), then as TEXT
    Vdc();
    Vdc();
    m_textAt = Point();
    Enumerated();
    m_canvas.Text(m_textAt, String(), m_font, m_textColour, m_spacing, m_horizontal, m_vertical);
    break;
  }
  case 6: // APPEND TEXT: flag, string, at the last text's point
    Enumerated();
    m_canvas.Text(m_textAt, String(), m_font, m_textColour, m_spacing, m_horizontal, m_vertical);
    break;
  case 7: // POLYGON
    readPoints();
    if (m_points.size() >= 3)
      m_canvas.Polygon(m_points, m_brush, EdgePen());
    break;
  case 8: { // POLYGON SET: point and edge flag pairs; flags 2 and 3 close a polygon
    m_points.clear();
    std::vector<int32_t> counts;
    int32_t count = 0;
    while (m_params.size() - m_at >= pointBytes + 2) {
      m_points.push_back(Point());
      ++count;
      const int32_t flag = Enumerated();
      if (flag >= 2) {
        counts.push_back(count);
        count = 0;
      }
    }
    if (count > 0)
      counts.push_back(count);
    if (!m_points.empty())
      m_canvas.PolyPolygon(m_points, counts, m_brush, EdgePen());
    break;
  }
  case 11: { // RECTANGLE
    const CgmPoint a = Point();
    const CgmPoint b = Point();
    m_canvas.Rectangle(a, b, m_brush, EdgePen());
    break;
  }
  case 12: { // CIRCLE
    const CgmPoint centre = Point();
    const int32_t radius = std::abs(Scaled(Vdc()));
    m_canvas.Ellipse(centre, radius, m_brush, EdgePen());
    break;
  }
  case 13:   // CIRCULAR ARC 3 POINT
  case 14: { // CIRCULAR ARC 3 POINT CLOSE
    const CgmPoint p1 = Point();
    const CgmPoint p2 = Point();
    const CgmPoint p3 = Point();
    const int closure = m_id == 14 ? (Enumerated() == 0 ? 1 : 2) : 0;
    // The circle through the three points; collinear points are a line.
    const double ax = p1.x, ay = p1.y, bx = p2.x, by = p2.y, cx = p3.x, cy = p3.y;
    const double d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
    if (std::fabs(d) < 1e-9) {
      m_canvas.Polyline({p1, p3}, m_line);
      break;
    }
    const double ux =
        ((ax * ax + ay * ay) * (by - cy) + (bx * bx + by * by) * (cy - ay) + (cx * cx + cy * cy) * (ay - by)) / d;
    const double uy =
        ((ax * ax + ay * ay) * (cx - bx) + (bx * bx + by * by) * (ax - cx) + (cx * cx + cy * cy) * (bx - ax)) / d;
    const CgmPoint centre{static_cast<int32_t>(std::lround(ux)), static_cast<int32_t>(std::lround(uy))};
    const auto radius = static_cast<int32_t>(std::lround(std::hypot(ax - ux, ay - uy)));
    // Counter-clockwise from p1 to p3 when p2 lies on that way round, else the other way.
    const double cross = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
    if (cross > 0)
      m_canvas.Arc(centre, radius, p1, p3, closure, m_line, m_brush, EdgePen());
    else
      m_canvas.Arc(centre, radius, p3, p1, closure, m_line, m_brush, EdgePen());
    break;
  }
  case 15:   // CIRCULAR ARC CENTRE: centre, start and end vectors, radius
  case 16: { // CIRCULAR ARC CENTRE CLOSE
    const CgmPoint centre = Point();
    const CgmPoint start = Point();
    const CgmPoint end = Point();
    const int32_t radius = std::abs(Scaled(Vdc()));
    const int closure = m_id == 16 ? (Enumerated() == 0 ? 1 : 2) : 0;
    m_canvas.Arc(centre, radius, Offset(centre, start), Offset(centre, end), closure, m_line, m_brush, EdgePen());
    break;
  }
  default:
    break;
  }
}

void CgmInterpreter::ChooseFont(int32_t index) {
  if (index < 1 || static_cast<size_t>(index) > m_fonts.size())
    return;
  std::string name = m_fonts[static_cast<size_t>(index) - 1];
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  m_font.weight = Contains(name, "bold") ? 700 : 400;
  m_font.italic = Contains(name, "italic");
  m_font.face = Contains(name, "helvetica") ? "Helvetica" : Contains(name, "times") ? "Times New Roman" : "Arial";
}

// GDI turns text only as a whole: the base vector gives the direction; a
// slanted or mirrored up vector is not followed.
void CgmInterpreter::SetOrientation(double upX, double upY, double baseX, double baseY) {
  constexpr double kTenthsPerRadian = 1800.0 / 3.14159265358979323846;
  constexpr int32_t kFullTurn = 3600;
  double radians = 0.0;
  if (baseX != 0.0 || baseY != 0.0)
    radians = std::atan2(baseY, baseX);
  else if (upX != 0.0 || upY != 0.0)
    radians = std::atan2(upY, upX) - 3.14159265358979323846 / 2;
  const auto tenths = static_cast<int32_t>(std::lround(radians * kTenthsPerRadian));
  m_font.angle = (tenths % kFullTurn + kFullTurn) % kFullTurn;
}

// Absolute widths are in VDC units, scaled as coordinates are; scaled ones
// multiply the nominal width of one pixel of the picture. At least 1.
int32_t CgmInterpreter::Width(bool absolute) {
  const double value = Size(absolute) * (absolute ? m_scale : m_unitsPerPixel);
  return static_cast<int32_t>(std::clamp(value, 1.0, double{kWindowExtent}));
}

void CgmInterpreter::Attribute() {
  auto lineStyle = [](int32_t type) {
    switch (type) {
    case 2:
      return CgmLineStyle::Dash;
    case 3:
      return CgmLineStyle::Dot;
    case 4:
      return CgmLineStyle::DashDot;
    case 5:
      return CgmLineStyle::DashDotDot;
    default:
      return CgmLineStyle::Solid;
    }
  };
  switch (m_id) {
  case 2: // LINE TYPE
    m_line.style = lineStyle(Index());
    break;
  case 3: // LINE WIDTH
    m_line.width = Width(m_lineWidthAbsolute);
    break;
  case 4: // LINE COLOUR
    m_line.colour = Colour();
    break;
  case 6: // MARKER TYPE
    m_markerType = Index();
    break;
  case 7: // MARKER SIZE
    m_markerSize = Width(m_markerSizeAbsolute);
    break;
  case 8: // MARKER COLOUR
    m_markerColour = Colour();
    break;
  case 10: // TEXT FONT INDEX
    ChooseFont(Index());
    break;
  case 13: // CHARACTER SPACING: a fraction of the height
    m_spacing = static_cast<int32_t>(std::clamp(Real() * m_font.height, -double{kWindowExtent}, double{kWindowExtent}));
    break;
  case 14: // TEXT COLOUR
    m_textColour = Colour();
    break;
  case 15: // CHARACTER HEIGHT
    m_font.height = std::clamp(Scaled(Vdc()), 1, kWindowExtent);
    break;
  case 16: { // CHARACTER ORIENTATION: up vector, base vector
    const double upX = Vdc();
    const double upY = Vdc();
    const double baseX = Vdc();
    const double baseY = Vdc();
    SetOrientation(upX, upY, baseX, baseY);
    break;
  }
  case 18: { // TEXT ALIGNMENT
    const int32_t horizontal = Enumerated();
    const int32_t vertical = Enumerated();
    m_horizontal = horizontal == 2   ? CgmHorizontalAlign::Centre
                   : horizontal == 3 ? CgmHorizontalAlign::Right
                                     : CgmHorizontalAlign::Left;
    m_vertical = vertical == 1 || vertical == 2 ? CgmVerticalAlign::Top : CgmVerticalAlign::Baseline;
    break;
  }
  case 22: { // INTERIOR STYLE
    const int32_t style = Enumerated();
    m_brush.style = style == 1                 ? CgmFillStyle::Solid
                    : style == 2 || style == 3 ? CgmFillStyle::Hatched
                                               : CgmFillStyle::Hollow;
    break;
  }
  case 23: // FILL COLOUR
    m_brush.colour = Colour();
    break;
  case 24: { // HATCH INDEX
    static constexpr CgmHatch hatches[] = {CgmHatch::Horizontal, CgmHatch::Vertical, CgmHatch::BackDiagonal,
                                           CgmHatch::ForwardDiagonal, CgmHatch::Cross};
    const int32_t index = Index();
    m_brush.hatch = index >= 1 && index <= 5 ? hatches[index - 1] : CgmHatch::DiagonalCross;
    break;
  }
  case 27: // EDGE TYPE
    m_edge.style = lineStyle(Index());
    break;
  case 28: // EDGE WIDTH
    m_edge.width = Width(m_edgeWidthAbsolute);
    break;
  case 29: // EDGE COLOUR
    m_edge.colour = Colour();
    break;
  case 30: // EDGE VISIBILITY
    m_edgeVisible = Enumerated() == 1;
    break;
  case 34: { // COLOUR TABLE: start index, then colours; entries past the table are dropped
    uint64_t index = Unsigned(m_colourIndexBits);
    const uint32_t colourBytes = 3 * m_colourBits / 8;
    while (m_params.size() - m_at >= colourBytes) {
      const uint32_t colour = DirectColour();
      if (index < kColourTableSize)
        m_colourTable[index] = static_cast<int32_t>(colour);
      ++index;
    }
    break;
  }
  default:
    break;
  }
}
