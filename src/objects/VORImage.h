#pragma once

#include <cstdint>

#include "objects/VORHotSpot.h"
#include "objects/VORPlayerForm.h"

// A hotspot that shows the picture of its linked resource.
class VORImage : public VORHotSpot {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 3;
  // The second class code publications use for pictures.
  static constexpr uint16_t kOtherCode = 6;

  // The hotspot's record; an image adds no field.
  class VORImageProperties : public VORHotSpot::VORHotSpotProperties {
  public:
    VORImageProperties() = default;
    VORImageProperties(const VORImageProperties &) = default;
    VORImageProperties &operator=(const VORImageProperties &) = default;
    ~VORImageProperties() override;

    VORObjectProperties *Clone() const override { return new VORImageProperties(*this); }
  };

  VORImage(uint32_t classKey, int32_t id) : VORHotSpot(classKey, id) {}
  VORImage(const VORImage &other) : VORHotSpot(other) {}
  ~VORImage() override;

  VORImageProperties &GetImageProperties();
  // Whenever the picture is fitted to the rectangle in any way.
  bool StretchesHorizontally() override;
  bool StretchesVertically() override;

protected:
  bool ReadsSectionInMemory() const override { return true; }
};

using VORPlayerImage = VORPlayerForm<VORImage, VORImage::VORImageProperties>;
