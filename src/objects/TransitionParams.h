#pragma once

#include <memory>

#include "model/VORObjectCode.h"
#include "vorfile/VORString.h"

class VORFile;
class VORFileDataObject;

// What a graphical object stores for its show or hide transition: the
// effect's name (empty: none) and the effect's own parameter record, made
// through the class registry by the effect kinds that register one. A plain
// value: copies share the parameter record, which nothing changes once read.
struct TransitionParams {
  VORString effectName;
  std::shared_ptr<const VORFileDataObject> properties;

  // Reads the next folder without key: the name, the parameter record's
  // reference, the record. Any failure leaves no transition, as a
  // publication whose effect cannot be read shows the object plainly.
  void Read(VORFile &file);
  bool HasEffect() const { return !effectName.IsEmpty(); }
};
