#pragma once

#include <cstdint>

#include "foundation/VORRect.h"
#include "model/VORObjectCode.h"
#include "objects/VORHotSpot.h"
#include "objects/VORPlayerForm.h"

class VORScrollbarObjectAction;

// A vertical scrollbar made of its own children: an up and a down button,
// a track and a thumb, each named by reference. Presses above and below
// the track scroll its target (602, 605), a dragged thumb sets the
// target's position (607), and the target's answer (a scrollbar action)
// places the thumb.
class VORScrollbar : public VORHotSpot {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 0x10;

  enum ActionCode : int32_t {
    kFirstLine = 511,
    kRegionUp = 602,
    kRegionDown = 605,
    kThumbMoved = 607,
  };

  class VORScrollbarProperties : public VORHotSpot::VORHotSpotProperties {
  public:
    // Files of this version and older carry four more references.
    static constexpr uint32_t kDroppedReferencesVersion = 0x100001;
    static constexpr uint32_t kDroppedReferenceCount = 4;
    static constexpr double kDefaultThumbSize = 0.1;

    VORScrollbarProperties() = default;
    VORScrollbarProperties(const VORScrollbarProperties &) = default;
    VORScrollbarProperties &operator=(const VORScrollbarProperties &) = default;
    ~VORScrollbarProperties() override;

    // The scrollbar's own fields come first, each optional; then the
    // hotspot's record.
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORScrollbarProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    VORObjectCode target = VORObjectCode::Zero();
    uint32_t autoLayout = 1;
    VORObjectCode upButton = VORObjectCode::Zero();
    VORObjectCode downButton = VORObjectCode::Zero();
    VORObjectCode thumb = VORObjectCode::Zero();
    VORObjectCode track = VORObjectCode::Zero();
    // Both within 0..1.
    double thumbSize = kDefaultThumbSize;
    double position = 0.0;
    uint8_t frame = 0;
    uint8_t proportionalThumb = 1;

  private:
    void ReadOwnFields(VORFile &file);
  };

  VORScrollbar(uint32_t classKey, int32_t id);
  // The copy does not drag.
  VORScrollbar(const VORScrollbar &other) : VORHotSpot(other) {}
  ~VORScrollbar() override;

  VORScrollbarProperties &GetScrollbarProperties();

  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  // Then the target is asked for its position (511).
  void EnterPage(VORPageInstance &instance, bool visible) override;
  // A hidden scrollbar drags no longer.
  void Hide(int32_t depth) override;
  void DrawInto(const VORRect &rect, DrawingContext &context) override;
  // With auto layout: the buttons at the ends, the track between, the
  // thumb on it.
  void LayoutChildren(const VORRect &rect) override;
  bool IsInputEnabled() override { return true; }

  // Puts the thumb where the position says (needs a track and a thumb).
  void PlaceThumb();
  bool IsDragging() const { return m_dragging; }

private:
  VORGraphicalObject *FindPart(const VORObjectCode &reference) const;
  VORRect TrackRect() const;
  // The thumb's height for the scrollbar's width.
  int32_t ThumbHeight(int32_t width) const;
  // The height of a button whose picture keeps its shape; fallback else.
  int32_t ButtonPartHeight(VORGraphicalObject &button, int32_t width, int32_t fallback) const;
  bool IsShownButton(const VORObjectCode &reference) const;
  void PlaceThumbIn(const VORRect &track, int32_t width);
  // Posts 602 or 605 when the point lies above or below the track.
  bool RegionTest(int32_t x, int32_t y);
  bool OnPress(const VORGraphicalObjectAction &action);
  void DragThumb(int32_t y);
  void EndDragging();
  bool OnScrollbarAction(const VORScrollbarObjectAction &action);
  bool OnRepeat(const VORHotspotAutoRepeatObjectAction &repeat);
  void SendToTarget(int32_t code, uint16_t kind, double position, double size, bool atOnce);

  bool m_dragging = false;
  int32_t m_pressX = 0;
  int32_t m_pressY = 0;
  int32_t m_thumbLeftAtPress = 0;
  int32_t m_thumbTopAtPress = 0;
};

using VORPlayerScrollbar = VORPlayerForm<VORScrollbar, VORScrollbar::VORScrollbarProperties>;
