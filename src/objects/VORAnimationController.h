#pragma once

#include <cstdint>
#include <vector>

#include "engine/VORUpdateTarget.h"
#include "foundation/VORRect.h"
#include "objects/VORObject.h"
#include "objects/VORPlayerForm.h"

class VORGraphicalObject;
class VORPageInstance;

// One point of a stored path: the animated object's centre relative to its
// container, the milliseconds to travel there from the previous point (the
// first point's is not used) and a value carried along.
struct VORAnimationPathEntry {
  int32_t x = 0;
  int32_t y = 0;
  uint16_t duration = 0;
  uint16_t value = 0;

  bool operator==(const VORAnimationPathEntry &other) const {
    return x == other.x && y == other.y && duration == other.duration && value == other.value;
  }
};

// A path walked by elapsed time.
class VORAnimationPath {
public:
  struct Position {
    int32_t x = 0;
    int32_t y = 0;
    int32_t value = 0;
    // False once the time reaches the last point (or there is no point).
    bool goesOn = false;
  };

  // Where the path stands t milliseconds after it began: between two
  // points in proportion to the time, on the last point once it ends.
  static Position PositionAt(const std::vector<VORAnimationPathEntry> &entries, uint32_t t);
};

// A page object placed under a graphical object that moves its parent over
// the page (or over the frame that holds it) while the page is shown: along
// a stored path, flying in from an edge, flying out to one, or at a constant
// speed bouncing off the container's edges. The update controller drives it.
class VORAnimationController : public VORObject, public VORUpdateTarget {
public:
  static constexpr uint16_t kCategory = 0;
  static constexpr uint16_t kCode = 9;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  enum Kind : uint8_t {
    kFollowPath = 0,
    kVelocity = 1,
    kFlyIn = 2,
    kFlyOut = 3,
    kVerticalBounce = 4,
    kHorizontalBounce = 5,
  };

  class VORAnimationControllerProperties : public VORObject::VORObjectObjectProperties {
  public:
    static constexpr int16_t kNoLimit = -1;
    static constexpr uint16_t kDefaultTime = 1000;
    static constexpr uint32_t kEntrySize = 12;

    VORAnimationControllerProperties() = default;
    VORAnimationControllerProperties(const VORAnimationControllerProperties &) = default;
    VORAnimationControllerProperties &operator=(const VORAnimationControllerProperties &) = default;
    ~VORAnimationControllerProperties() override;

    // The events, then the path and the motion's fields; each field after
    // the path takes its default when the record ends before it. A path
    // that the record cannot hold whole is damaged: the read fails.
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORAnimationControllerProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    std::vector<VORAnimationPathEntry> path;
    uint8_t kind = kFollowPath;
    // Pixels per 10 ms; negative starts the other way.
    int16_t speed = 1;
    int16_t entryAngle = 0;
    int16_t exitAngle = 0;
    // Edge hits after which a bouncing object stops; -1 never.
    int16_t edgeHitLimit = kNoLimit;
    uint16_t entryTime = kDefaultTime;
    uint16_t exitTime = kDefaultTime;
  };

  // The point where a line from the centre at the angle (degrees,
  // clockwise from straight up) leaves the rectangle.
  static VORPoint EdgePoint(const VORRect &rect, int32_t cx, int32_t cy, int32_t angle);
  // The two points of a fly-in (from the edge to the object's place) or a
  // fly-out (from its place to the edge). Both rectangles relative to the
  // container; the container is widened so that an object centred on its
  // edge lies wholly outside it.
  static std::vector<VORAnimationPathEntry> FlyPath(const VORRect &container, const VORRect &object, int32_t angle,
                                                    uint16_t time, bool flyIn);
  // A rectangle of the size given centred on the point.
  static VORRect CentredAt(int32_t x, int32_t y, int32_t width, int32_t height);

  // A bouncing motion: a base rectangle moved at a constant speed from a
  // start time, turned back by the container's edges.
  struct Bounce {
    uint8_t kind = kVelocity;
    int16_t limit = VORAnimationControllerProperties::kNoLimit;
    VORRect base;
    VORRect startRect;
    int32_t xSpeed = 0;
    int32_t ySpeed = 0;
    int32_t edgeHits = 0;
    uint32_t startTime = 0;

    // Where the object stands at now; false when the motion ends there.
    bool Step(uint32_t now, const VORRect &container, VORRect &rect);

  private:
    void Clamp(const VORRect &container, VORRect &rect) const;
    void TurnAtEdges(uint32_t now, const VORRect &container, const VORRect &rect);
    bool PassedStart(const VORRect &rect) const;
  };

  VORAnimationController(uint32_t classKey, int32_t id) : VORObject(classKey, id) {}
  VORAnimationController(const VORAnimationController &other) : VORObject(other), VORUpdateTarget() {}
  ~VORAnimationController() override;

  void EnterPage(VORPageInstance &instance, bool visible) override;
  void LeavePage(bool visible) override;
  void Update(uint32_t &nextDue) override;

  virtual void Start();
  virtual void Stop();
  // The player form's record.
  virtual VORAnimationControllerProperties &GetControllerProperties();

  bool IsActive() const { return m_active; }
  VORGraphicalObject *GetAnimatedObject() const { return m_object; }
  // The path the motion follows (a fly-in or fly-out builds its own).
  const std::vector<VORAnimationPathEntry> &GetPath() { return GetControllerProperties().path; }

private:
  VORRect ContainerRect() const;
  VORPoint ContainerOrigin() const;
  VORRect ObjectRectInContainer() const;
  void MoveObjectTo(const VORRect &rectInContainer);
  void UpdatePath(uint32_t now);
  void UpdateBounce(uint32_t now);
  bool Bounces() const;

  VORGraphicalObject *m_object = nullptr;
  VORPageInstance *m_instance = nullptr;
  // The frame the object moves in; null on the page.
  VORGraphicalObject *m_frame = nullptr;
  bool m_active = false;
  bool m_started = false;
  uint32_t m_startTime = 0;
  VORRect m_baseRect;
  Bounce m_bounce;
};

using VORPlayerAnimationController =
    VORPlayerForm<VORAnimationController, VORAnimationController::VORAnimationControllerProperties>;
