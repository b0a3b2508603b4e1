#pragma once

#include "model/VORCodedObject.h"

class VORFile;

// An object of the model that reads itself from the compiled publication
// file: chapters, pages, page objects, receivers.
class VORFileObject : public VORCodedObject {
public:
  using VORCodedObject::VORCodedObject;
  ~VORFileObject() override;

  // The base reads nothing. A missing record shows as a
  // VORFileNonFatalException, which list readers take as "skip the object".
  virtual void Read(VORFile &file);
  // Asked by every list reader right after Read: false drops the object.
  virtual bool IsValid() const { return true; }
};
