#pragma once

#include "model/VORFileDataObject.h"

// The base of every per-class properties record. Each properties class
// copies itself through Clone and Assign; the base copies nothing.
class VORObjectProperties : public VORFileDataObject {
public:
  ~VORObjectProperties() override;

  // A new record of the same class with every field; the base gives none.
  virtual VORObjectProperties *Clone() const { return nullptr; }
  // Copies every field of another record of the same class; a record of
  // another class is ignored.
  virtual void Assign(const VORObjectProperties & /*other*/) {}

protected:
  using VORFileDataObject::VORFileDataObject;
  VORObjectProperties(const VORObjectProperties &) = default;
};
