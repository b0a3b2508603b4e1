#pragma once

#include <memory>

#include "model/VORFXParams.h"

// Parameters as a publication stores them: the effect's name and a copy of
// its record.
template <class Record>
VORFXParams EffectParams(const char *name, const Record &record) {
  VORFXParams params;
  params.effectName = VORString(name);
  params.SetProperties(std::make_unique<Record>(record));
  return params;
}
