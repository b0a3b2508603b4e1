#include "objects/VORSimpleHotSpot.h"

#include "model/VORClassRegistry.h"

namespace {

const ClassRegistration kSimpleHotSpot(VORSimpleHotSpot::kCategory, VORSimpleHotSpot::kCode,
                                       VORPlayerSimpleHotSpot::Create);

} // namespace

VORSimpleHotSpot::VORSimpleHotSpotProperties::~VORSimpleHotSpotProperties() = default;

VORSimpleHotSpot::~VORSimpleHotSpot() = default;
