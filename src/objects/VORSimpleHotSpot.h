#pragma once

#include <cstdint>

#include "objects/VORHotSpot.h"
#include "objects/VORPlayerForm.h"

// The plain hotspot: it always takes input and draws as a graphical object.
class VORSimpleHotSpot : public VORHotSpot {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 7;

  // The hotspot's record; a simple hotspot adds no field.
  class VORSimpleHotSpotProperties : public VORHotSpot::VORHotSpotProperties {
  public:
    VORSimpleHotSpotProperties() = default;
    VORSimpleHotSpotProperties(const VORSimpleHotSpotProperties &) = default;
    VORSimpleHotSpotProperties &operator=(const VORSimpleHotSpotProperties &) = default;
    ~VORSimpleHotSpotProperties() override;

    VORObjectProperties *Clone() const override { return new VORSimpleHotSpotProperties(*this); }
  };

  VORSimpleHotSpot(uint32_t classKey, int32_t id) : VORHotSpot(classKey, id) {}
  VORSimpleHotSpot(const VORSimpleHotSpot &other) : VORHotSpot(other) {}
  ~VORSimpleHotSpot() override;
};

using VORPlayerSimpleHotSpot = VORPlayerForm<VORSimpleHotSpot, VORSimpleHotSpot::VORSimpleHotSpotProperties>;
