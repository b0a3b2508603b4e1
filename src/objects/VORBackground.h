#pragma once

#include <cstdint>

#include "objects/BackgroundGradient.h"
#include "objects/VORGraphicalObject.h"
#include "objects/VORPlayerForm.h"

// Fills its rectangle with a solid colour or a two-colour gradient and draws
// its children over the fill. On 256- and 65,536-colour displays the
// gradient is written pixel by pixel with dithering instead of in lines.
class VORBackground : public VORGraphicalObject {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 0;

  enum FillKind : int32_t { kNoFill = 0, kSolid = 1, kGradient = 2 };

  // The graphical record, then the fill kind; colour 1 for a solid or
  // gradient fill; colour 2 and the direction for a gradient. None of these
  // is optional: a record that ends inside them is damaged.
  class VORBackgroundProperties : public VORGraphicalObject::VORGraphicalObjectProperties {
  public:
    VORBackgroundProperties() = default;
    VORBackgroundProperties(const VORBackgroundProperties &) = default;
    VORBackgroundProperties &operator=(const VORBackgroundProperties &) = default;
    ~VORBackgroundProperties() override;

    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORBackgroundProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    int32_t fillKind = kNoFill;
    uint32_t colour1 = 0xFFFFFF;
    uint32_t colour2 = 0xFFFFFF;
    int32_t direction = BackgroundGradient::kFromTopLeft;
  };

  VORBackground(uint32_t classKey, int32_t id) : VORGraphicalObject(classKey, id) {}
  VORBackground(const VORBackground &other) : VORGraphicalObject(other) {}
  ~VORBackground() override;

  VORBackgroundProperties &GetBackgroundProperties();

  void DrawInto(const VORRect &rect, DrawingContext &context) override;
  // A fill suits every display.
  bool SuitsDisplayDepth(int32_t /*bitsPerPixel*/) override { return true; }
  bool IsEmpty(bool withChildren) override;
  void UpdateDrawFlags() override;

  // The fill of the object rectangle within the update rectangle.
  static void FillBackground(DrawingContext &context, int32_t fillKind, const VORRect &object, const VORRect &update,
                             ColorRef colour1, ColorRef colour2, int32_t direction);
  // The dithered forms; false when the context gave no pixels of the
  // expected depth (the caller then draws lines).
  static bool FillGradient8(DrawingContext &context, const BackgroundGradient::Gradient &gradient,
                            const VORRect &update, const BackgroundGradient::RandomSource &random);
  static bool FillGradient16(DrawingContext &context, const BackgroundGradient::Gradient &gradient,
                             const VORRect &update);
  static void FillGradientLines(DrawingContext &context, const BackgroundGradient::Gradient &gradient,
                                const VORRect &update);

private:
  bool HasImageChildShowing();
};

using VORPlayerBackground = VORPlayerForm<VORBackground, VORBackground::VORBackgroundProperties>;
