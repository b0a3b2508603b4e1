#pragma once

#include <cstdint>
#include <memory>

#include "objects/BorderGeometry.h"
#include "objects/VORGraphicalObject.h"
#include "objects/VORPlayerForm.h"

// Draws a frame around its rectangle in one of eight styles (plain or
// rounded line, double line, graded rings, ellipse, picture, two bevels)
// and its children inside. Rounded, elliptic and picture borders cut their
// outside out of the mask of the surface they draw into, so that what lies
// outside the shape stays transparent.
class VORBorder : public VORGraphicalObject {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 9;

  // The graphical record, then seven fields, each optional on its own: a
  // record that ends before one gives it its value for a missing field.
  class VORBorderProperties : public VORGraphicalObject::VORGraphicalObjectProperties {
  public:
    VORBorderProperties() = default;
    VORBorderProperties(const VORBorderProperties &) = default;
    VORBorderProperties &operator=(const VORBorderProperties &) = default;
    ~VORBorderProperties() override;

    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORBorderProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    int32_t style = BorderGeometry::kNone;
    // Signed as stored; a negative width or radius draws as 0.
    int16_t width = 1;
    int16_t radius = 0;
    uint32_t colour1 = 0xFFFFFF;
    uint32_t colour2 = 0;
    // 0..256 (256 solid); larger stored values read as 256.
    uint16_t borderOpacity = BorderGeometry::kSolidOpacity;
    VORObjectCode borderImage = VORObjectCode::Zero();
  };

  VORBorder(uint32_t classKey, int32_t id);
  // The object copy; a picture made for painting is not copied.
  VORBorder(const VORBorder &other);
  ~VORBorder() override;

  VORBorderProperties &GetBorderProperties();

  void DrawInto(const VORRect &rect, DrawingContext &context) override;
  bool IsEmpty(bool withChildren) override;
  void UpdateDrawFlags() override;
  void LeavePage(bool visible) override;

  void DrawBorder(const VORRect &update, DrawingContext &context);
  // The rectangle inside the line, for text drawn in the border.
  void GetInnerRect(VORRect &inner);

private:
  BorderGeometry::Border Geometry();
  void DrawOutlines(const BorderGeometry::Border &border, DrawingContext &context);
  void DrawBevelBorder(const BorderGeometry::Border &border, DrawingContext &context);
  void DrawImageBorder(const BorderGeometry::Border &border, DrawingContext &context);
  bool LoadBorderImage();

  std::unique_ptr<VORGfxImage> m_borderImage;
};

using VORPlayerBorder = VORPlayerForm<VORBorder, VORBorder::VORBorderProperties>;
