#include "objects/BorderGeometry.h"

#include <algorithm>
#include <limits>

namespace BorderGeometry {

namespace {

// The share of a quarter-circle corner's radius that the inscribed 45-degree
// square keeps: 707 / 1000.
constexpr int64_t kDiagonalPerMille = 707;
constexpr int64_t kPerMille = 1000;
constexpr int32_t kRingPenWidth = 2;

int32_t ToCoordinate(int64_t value) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

VORRect Shrunk(const VORRect &rect, int64_t dx, int64_t dy) {
  return VORRect(ToCoordinate(rect.left + dx), ToCoordinate(rect.top + dy), ToCoordinate(rect.right - dx),
                 ToCoordinate(rect.bottom - dy));
}

std::vector<Outline> DoubleLineOutlines(const Border &border) {
  const DoubleWidths widths = DoubleLineWidths(border.width);
  std::vector<Outline> outlines;
  VORRect rect = border.rect;
  int32_t radius = border.radius;
  const struct {
    int32_t width;
    ColorRef colour;
  } lines[] = {{widths.outer, border.first}, {widths.middle, border.second}, {widths.outer, border.first}};
  for (const auto &line : lines) {
    outlines.push_back(Outline{rect, radius, line.width, line.colour, false});
    rect = Shrunk(rect, line.width, line.width);
    radius = std::max(radius - line.width, 0);
  }
  return outlines;
}

std::vector<Outline> GradedOutlines(const Border &border) {
  std::vector<Outline> outlines;
  VORRect rect = border.rect;
  int32_t radius = border.radius;
  for (int32_t ring = 0; ring + 1 < border.width; ++ring) {
    outlines.push_back(
        Outline{rect, radius, kRingPenWidth, RingColour(border.first, border.second, border.width, ring), false});
    rect = Shrunk(rect, 1, 1);
    radius = std::max(radius - 1, 0);
  }
  return outlines;
}

// The colours of the left and top edges, then of the right and bottom ones.
void BevelColours(const Border &border, ColorRef &lit, ColorRef &shaded) {
  const bool inverted = border.style == kInvertedBevel;
  lit = inverted ? border.second : border.first;
  shaded = inverted ? border.first : border.second;
}

// Calls edge(l, t, r, b) with the inclusive corners of each ring.
template <class Edge>
void ForEachBevelRing(const Border &border, Edge edge) {
  if (border.style != kBevel && border.style != kInvertedBevel) {
    return;
  }
  const int64_t right = static_cast<int64_t>(border.rect.right) - 1;
  const int64_t bottom = static_cast<int64_t>(border.rect.bottom) - 1;
  for (int64_t ring = 0; ring < border.width; ++ring) {
    const int64_t l = border.rect.left + ring, t = border.rect.top + ring, r = right - ring, b = bottom - ring;
    if (l > r || t > b) {
      break;
    }
    edge(static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r), static_cast<int32_t>(b));
  }
}

} // namespace

int32_t LengthOf(int16_t stored) { return std::max<int32_t>(stored, 0); }

int32_t OpacityOf(uint16_t stored) { return std::min<int32_t>(stored, kSolidOpacity); }

std::vector<Outline> Outlines(const Border &border) {
  switch (border.style) {
  case kLine:
    return {Outline{border.rect, border.radius, border.width, border.first, false}};
  case kEllipse:
    return {Outline{border.rect, 0, border.width, border.first, true}};
  case kDoubleLine:
    return DoubleLineOutlines(border);
  case kGradedRings:
    return GradedOutlines(border);
  default:
    return {};
  }
}

bool CutsMask(const Border &border) {
  switch (border.style) {
  case kLine:
  case kDoubleLine:
  case kGradedRings:
    return border.radius != 0;
  case kEllipse:
  case kPicture:
    return true;
  default:
    return false;
  }
}

bool MaskSize(const VORRect &rect, int32_t &width, int32_t &height) {
  if (rect.IsEmpty() || rect.Width() > std::numeric_limits<int32_t>::max() ||
      rect.Height() > std::numeric_limits<int32_t>::max()) {
    return false;
  }
  width = static_cast<int32_t>(rect.Width());
  height = static_cast<int32_t>(rect.Height());
  return true;
}

DoubleWidths DoubleLineWidths(int32_t width) {
  const int32_t outer = width / 3;
  return {outer, width - 2 * outer};
}

ColorRef RingColour(ColorRef first, ColorRef second, int32_t width, int32_t ring) {
  if (ring == 0 || width < 2) {
    return first;
  }
  const int64_t whole = static_cast<int64_t>(width - 1) * kPerMille;
  const int64_t part = static_cast<int64_t>(ring) * kPerMille;
  const int64_t from[3] = {RedOf(first), GreenOf(first), BlueOf(first)};
  const int64_t to[3] = {RedOf(second), GreenOf(second), BlueOf(second)};
  uint8_t out[3];
  for (int c = 0; c < 3; ++c) {
    out[c] = static_cast<uint8_t>((part * to[c] + from[c] * (whole - part)) / whole);
  }
  return MakeColorRef(out[0], out[1], out[2]);
}

std::vector<BevelLine> BevelLines(const Border &border) {
  ColorRef lit = 0, shaded = 0;
  BevelColours(border, lit, shaded);
  std::vector<BevelLine> lines;
  ForEachBevelRing(border, [&](int32_t l, int32_t t, int32_t r, int32_t b) {
    lines.push_back({l, t, l, b, lit});
    lines.push_back({l, t, r, t, lit});
    lines.push_back({r, t, r, b, shaded});
    lines.push_back({l, b, ToCoordinate(static_cast<int64_t>(r) + 1), b, shaded});
  });
  return lines;
}

std::vector<BevelStrip> BevelStrips(const Border &border) {
  ColorRef lit = 0, shaded = 0;
  BevelColours(border, lit, shaded);
  std::vector<BevelStrip> strips;
  ForEachBevelRing(border, [&](int32_t l, int32_t t, int32_t r, int32_t b) {
    const int32_t r1 = ToCoordinate(static_cast<int64_t>(r) + 1), b1 = ToCoordinate(static_cast<int64_t>(b) + 1);
    strips.push_back({VORRect(l, t, l + 1, b1), lit});
    strips.push_back({VORRect(l + 1, t, r1, t + 1), lit});
    strips.push_back({VORRect(r, t, r1, b1), shaded});
    strips.push_back({VORRect(l, b, r1, b1), shaded});
  });
  return strips;
}

VORRect InnerRect(const Border &border) {
  if (border.style == kNone || border.style == kPicture) {
    return border.rect;
  }
  const VORRect lined = Shrunk(border.rect, border.width, border.width);
  int64_t across = 0, down = 0;
  switch (border.style) {
  case kLine:
  case kDoubleLine:
  case kGradedRings:
    across = down = border.radius;
    break;
  case kEllipse:
    across = (lined.Width() + 1) / 2;
    down = (lined.Height() + 1) / 2;
    break;
  default: // the bevels, and styles this player does not know
    break;
  }
  return Shrunk(lined, across - across * kDiagonalPerMille / kPerMille, down - down * kDiagonalPerMille / kPerMille);
}

} // namespace BorderGeometry
