#include "objects/VORSimpleHotSpot.h"

#include "objects/VORRecordForm.h"

namespace {

const PlayerFormRegistration kSimpleHotSpot(VORSimpleHotSpot::kCategory, VORSimpleHotSpot::kCode,
                                            VORPlayerSimpleHotSpot::Create);

} // namespace

VORSimpleHotSpot::~VORSimpleHotSpot() = default;
