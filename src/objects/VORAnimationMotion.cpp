// The animation controller's record and the geometry of its motions: what
// needs no window, so that it is checked natively as well.

#include <algorithm>
#include <cmath>
#include <limits>

#include "objects/VORAnimationController.h"
#include "objects/VORRecordForm.h"
#include "vorfile/VORRecordFields.h"

namespace {

const ClassRegistration
    kAnimationController(VORAnimationController::kCategory, VORAnimationController::kCode,
                         PageObjectForms::Make<VORAnimationController::VORAnimationControllerProperties>);

} // namespace

namespace {

using VORRecordFields::ReadOr;

constexpr double kRadiansPerDegree = 0.017453292516666667;
constexpr int32_t kFullTurn = 360;
constexpr uint16_t kFlyValue = 255;

// A coordinate far outside the page (the tangent near a right angle) stays
// at the edge of the 32-bit range instead of overflowing.
int32_t Truncate(double value) {
  constexpr double kLow = std::numeric_limits<int32_t>::min();
  constexpr double kHigh = std::numeric_limits<int32_t>::max();
  if (std::isnan(value))
    return 0;
  return static_cast<int32_t>(std::clamp(value, kLow, kHigh));
}

int32_t NormalisedAngle(int32_t angle) {
  const int32_t turned = angle % kFullTurn;
  return turned < 0 ? turned + kFullTurn : turned;
}

int32_t Interpolate(int32_t from, int32_t to, uint32_t t, uint32_t duration) {
  return static_cast<int32_t>(from + (static_cast<int64_t>(to) - from) * static_cast<int64_t>(t) / duration);
}

} // namespace

// --- Record ----------------------------------------------------------------

VORAnimationController::VORAnimationControllerProperties::~VORAnimationControllerProperties() = default;

void VORAnimationController::VORAnimationControllerProperties::Read(VORFile &file) {
  VORObjectObjectProperties::Read(file);
  const uint32_t count = ReadOr<uint32_t>(file, 0);
  // A damaged count asks for more entries than the record can hold: room is
  // made only for what it can hold, and the read stops where the record ends.
  uint32_t recordSize = 0;
  file.GetDataSize(recordSize);
  path.clear();
  path.reserve(std::min(count, recordSize / kEntrySize));
  for (uint32_t i = 0; i < count; ++i) {
    VORAnimationPathEntry entry;
    entry.x = VORRecordFields::Read<int32_t>(file);
    entry.y = VORRecordFields::Read<int32_t>(file);
    entry.duration = VORRecordFields::Read<uint16_t>(file);
    entry.value = VORRecordFields::Read<uint16_t>(file);
    path.push_back(entry);
  }
  kind = ReadOr<uint8_t>(file, kFollowPath);
  speed = ReadOr<int16_t>(file, 1);
  entryAngle = ReadOr<int16_t>(file, 0);
  exitAngle = ReadOr<int16_t>(file, 0);
  edgeHitLimit = ReadOr<int16_t>(file, kNoLimit);
  entryTime = ReadOr<uint16_t>(file, kDefaultTime);
  exitTime = ReadOr<uint16_t>(file, kDefaultTime);
}

void VORAnimationController::VORAnimationControllerProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORAnimationControllerProperties *>(&other))
    *this = *source;
}

// --- Paths -----------------------------------------------------------------

VORAnimationPath::Position VORAnimationPath::PositionAt(const std::vector<VORAnimationPathEntry> &entries, uint32_t t) {
  Position position;
  if (entries.empty())
    return position;
  // The first point is where the path starts, whatever its duration says.
  for (size_t i = 1; i < entries.size(); ++i) {
    const VORAnimationPathEntry &from = entries[i - 1];
    const VORAnimationPathEntry &to = entries[i];
    const uint32_t d = to.duration;
    if (d < t) {
      t -= d;
      continue;
    }
    const bool last = i + 1 == entries.size();
    position.goesOn = !(last && t == d);
    if (d == 0) {
      // A point reached in no time (t is 0 here): no division by zero.
      position.x = to.x;
      position.y = to.y;
      position.value = to.value;
      return position;
    }
    position.x = Interpolate(from.x, to.x, t, d);
    position.y = Interpolate(from.y, to.y, t, d);
    position.value = Interpolate(from.value, to.value, t, d);
    return position;
  }
  const VORAnimationPathEntry &end = entries.back();
  position.x = end.x;
  position.y = end.y;
  position.value = end.value;
  position.goesOn = false;
  return position;
}

VORPoint VORAnimationController::EdgePoint(const VORRect &rect, int32_t cx, int32_t cy, int32_t angle) {
  const int32_t g = NormalisedAngle(angle);
  const double r = g * kRadiansPerDegree;
  double x = 0;
  int32_t y = 0;
  if (g <= 90 || g >= 270) {
    x = cx - std::tan(r) * (static_cast<double>(rect.top) - cy);
    y = rect.top;
  } else {
    x = cx + std::tan(r) * (static_cast<double>(cy) - rect.bottom);
    y = rect.bottom;
  }
  if (x >= rect.left && x < rect.right)
    return VORPoint{Truncate(x), y};
  if (g >= 180)
    return VORPoint{rect.left,
                    Truncate(cy + std::tan((270 - g) * kRadiansPerDegree) * (static_cast<double>(cx) - rect.left))};
  return VORPoint{rect.right,
                  Truncate(cy + std::tan((g - 90) * kRadiansPerDegree) * (static_cast<double>(rect.right) - cx))};
}

std::vector<VORAnimationPathEntry> VORAnimationController::FlyPath(const VORRect &container, const VORRect &object,
                                                                   int32_t angle, uint16_t time, bool flyIn) {
  const int64_t width = object.Width();
  const int64_t height = object.Height();
  VORRect widened = container;
  widened.left = static_cast<int32_t>(container.left - width / 2);
  widened.right = static_cast<int32_t>(container.right + width / 2);
  widened.top = static_cast<int32_t>(container.top - height / 2);
  widened.bottom = static_cast<int32_t>(container.bottom + height / 2);
  const auto cx = static_cast<int32_t>(object.left + width / 2);
  const auto cy = static_cast<int32_t>(object.top + height / 2);
  const VORPoint edge = EdgePoint(widened, cx, cy, angle);
  const VORAnimationPathEntry centre{cx, cy, 0, kFlyValue};
  const VORAnimationPathEntry outside{edge.x, edge.y, 0, kFlyValue};
  std::vector<VORAnimationPathEntry> path{flyIn ? outside : centre, flyIn ? centre : outside};
  path[1].duration = time;
  return path;
}

VORRect VORAnimationController::CentredAt(int32_t x, int32_t y, int32_t width, int32_t height) {
  return VORRect(x - width / 2, y - height / 2, x + width / 2 + width % 2, y + height / 2 + height % 2);
}

// --- Bouncing --------------------------------------------------------------

bool VORAnimationController::Bounce::Step(uint32_t now, const VORRect &container, VORRect &rect) {
  const int64_t t = (now - startTime) / 10;
  const int64_t dx = kind == kVerticalBounce ? 0 : t * xSpeed;
  const int64_t dy = kind == kHorizontalBounce ? 0 : t * ySpeed;
  rect = base.Offset(static_cast<int32_t>(std::clamp<int64_t>(dx, INT32_MIN / 2, INT32_MAX / 2)),
                     static_cast<int32_t>(std::clamp<int64_t>(dy, INT32_MIN / 2, INT32_MAX / 2)));
  Clamp(container, rect);
  const bool limitReached = limit != VORAnimationControllerProperties::kNoLimit && edgeHits >= limit;
  if (kind != kVelocity && limitReached && PassedStart(rect)) {
    rect = startRect;
    return false;
  }
  TurnAtEdges(now, container, rect);
  return !(kind == kVelocity && limit != VORAnimationControllerProperties::kNoLimit && edgeHits >= limit);
}

// Left before right and top before bottom: an object larger than its
// container ends on the right and bottom edges.
void VORAnimationController::Bounce::Clamp(const VORRect &container, VORRect &rect) const {
  if (kind != kVerticalBounce) {
    if (rect.left < container.left)
      rect.AddOffset(container.left - rect.left, 0);
    if (rect.right > container.right)
      rect.AddOffset(container.right - rect.right, 0);
  }
  if (rect.top < container.top)
    rect.AddOffset(0, container.top - rect.top);
  if (rect.bottom > container.bottom)
    rect.AddOffset(0, container.bottom - rect.bottom);
}

// An edge turns only a speed that moves towards it, and only on the axis
// the kind moves along.
void VORAnimationController::Bounce::TurnAtEdges(uint32_t now, const VORRect &container, const VORRect &rect) {
  bool turned = false;
  if (kind != kVerticalBounce &&
      ((xSpeed < 0 && rect.left <= container.left) || (xSpeed > 0 && rect.right >= container.right))) {
    xSpeed = -xSpeed;
    ++edgeHits;
    turned = true;
  }
  if (kind != kHorizontalBounce &&
      ((ySpeed < 0 && rect.top <= container.top) || (ySpeed > 0 && rect.bottom >= container.bottom))) {
    ySpeed = -ySpeed;
    ++edgeHits;
    turned = true;
  }
  if (turned) {
    base = rect;
    startTime = now;
  }
}

bool VORAnimationController::Bounce::PassedStart(const VORRect &rect) const {
  if (kind == kVerticalBounce)
    return ySpeed > 0 ? rect.top > startRect.top : (ySpeed < 0 && rect.top < startRect.top);
  return xSpeed > 0 ? rect.left > startRect.left : (xSpeed < 0 && rect.left < startRect.left);
}
