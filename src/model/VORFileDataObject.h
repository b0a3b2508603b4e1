#pragma once

#include "model/VORCodedObject.h"

class VORFile;

// A value-like record read from the file: actions, events, conditions,
// triggers, properties, transition parameters, resource identifiers.
class VORFileDataObject : public VORCodedObject {
public:
  VORFileDataObject() : VORCodedObject(0, 0) {}
  VORFileDataObject(uint32_t classKey, int32_t id) : VORCodedObject(classKey, id) {}
  VORFileDataObject(const VORFileDataObject &) = default;
  ~VORFileDataObject() override;

  // The base reads nothing.
  virtual void Read(VORFile &file);
  virtual bool IsValid() const { return true; }
};
