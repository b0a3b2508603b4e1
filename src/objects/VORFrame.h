#pragma once

#include <cstdint>

#include "model/VORGraphicalObjectContainerManager.h"
#include "objects/VORHotSpot.h"

// A hotspot that holds objects and lays its graphical ones out along the
// guides of its layout manager whenever its own rectangle changes.
class VORFrame : public VORHotSpot {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 1;

  // The hotspot's record; a frame adds no field.
  class VORFrameProperties : public VORHotSpot::VORHotSpotProperties {
  public:
    VORFrameProperties() = default;
    VORFrameProperties(const VORFrameProperties &) = default;
    VORFrameProperties &operator=(const VORFrameProperties &) = default;
    ~VORFrameProperties() override;

    VORObjectProperties *Clone() const override { return new VORFrameProperties(*this); }
  };

  VORFrame(uint32_t classKey, int32_t id) : VORHotSpot(classKey, id) {}
  VORFrame(const VORFrame &other) : VORHotSpot(other) {}
  ~VORFrame() override;

  // A frame keeps every child its record names: it lays out the graphical
  // ones and still owns the others (its picture's resource object, sounds,
  // animation controllers).
  //
  // Resized, the children take the places the guides give them inside
  // rect; only moved, each child moves by the frame's displacement from
  // where it stands (a child dragged within the frame stays where it was
  // put), and the guides are not asked.
  void LayoutChildren(const VORRect &rect) override;
  // On its own page a frame gives way as its content does: it stretches
  // (where its sizing mode lets it) when a child takes a share of extra
  // space, and it is text-like when a text-like child decides its height.
  bool StretchesHorizontally() override;
  bool StretchesVertically() override;
  bool FitsHeightToWidth() override { return GetFrameLayout().FitsHeightToWidth(); }
  int32_t GetContentHeight(int32_t width) override { return GetFrameLayout().GetHeightForWidth(width); }
  virtual VORGraphicalObjectContainerManager &GetFrameLayout() = 0;
};

// The frame the class registry makes: its record and its layout manager,
// whose guides come from the children's design rectangles, relative to the
// frame's own corner.
class VORPlayerFrame : public VORFrame {
public:
  VORPlayerFrame(uint32_t classKey, int32_t id) : VORFrame(classKey, id), m_layout(*this) {}
  VORPlayerFrame(const VORPlayerFrame &other)
      : VORFrame(other), m_properties(other.m_properties), m_layout(other.m_layout, *this) {}
  VORPlayerFrame &operator=(const VORPlayerFrame &) = delete;
  ~VORPlayerFrame() override;

  static VORCodedObject *Create(uint32_t classKey, int32_t id);

  // The record and the children, then the guides from the children.
  void Read(VORFile &file) override;
  VORObjectProperties *GetProperties() override { return &m_properties; }
  VORPageMember *Clone() const override { return new VORPlayerFrame(*this); }
  VORGraphicalObjectContainerManager &GetFrameLayout() override { return m_layout; }
  VORFrameProperties &GetFormProperties() { return m_properties; }

private:
  VORFrameProperties m_properties;
  VORGraphicalObjectContainerManager m_layout;
};
