#pragma once

#include <cstdint>

#include "foundation/XQString.h"
#include "model/VORExternalResourceIdentifier.h"
#include "objects/VORPlayerForm.h"
#include "objects/VORResourceObject.h"

// Names a file beside the publication or on the CD-ROM that a page object
// shows or plays.
class VORExternalResourceObject : public VORResourceObject {
public:
  static constexpr uint16_t kCategory = 4;
  static constexpr uint16_t kCode = 0;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);
  // How the resource manager keeps the file: as read from a publication,
  // or as made by the program.
  static constexpr int32_t kStorageRead = 4;
  static constexpr int32_t kStorageMade = 5;

  class VORExternalResourceObjectProperties : public VORObject::VORObjectObjectProperties {
  public:
    VORExternalResourceObjectProperties() = default;
    // A copy carries the identifier and the type, not the events, and
    // counts as read: a clone opens its file as its source does.
    VORExternalResourceObjectProperties(const VORExternalResourceObjectProperties &other);
    VORExternalResourceObjectProperties &operator=(const VORExternalResourceObjectProperties &other);
    ~VORExternalResourceObjectProperties() override;

    // The events, the identifier (a folder of its own), the type (0 when
    // the record ends first); then marked read.
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORExternalResourceObjectProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    VORExternalResourceIdentifier identifier;
    int32_t resourceType = 0;
    // Not in the file: 1 once read (or copied), 0 for a record made here.
    uint16_t readMarker = 0;
  };

  VORExternalResourceObject(uint32_t classKey, int32_t id) : VORResourceObject(classKey, id) {}
  VORExternalResourceObject(const VORExternalResourceObject &other) : VORResourceObject(other) {}
  ~VORExternalResourceObject() override;

  uint32_t AcquireResource(uint32_t flag) override;
  // The identifier's last field.
  int32_t GetResourceId() const override;
  uint32_t RegisterResourceUser(const VORObjectCode &user) override;
  bool IsExternalResourceCode() const { return GetClassKey() == kClassKey; }
  // The file's full path; empty when it names none.
  XQString GetFilePath() const;

  VORExternalResourceObjectProperties &GetExternalResourceProperties();
  const VORExternalResourceObjectProperties &GetExternalResourceProperties() const;

private:
  // The handle of the file's resource (0 none), registered for the user.
  uint32_t OpenFor(const VORObjectCode &user, uint32_t flag);
};

using VORPlayerExternalResourceObject =
    VORPlayerForm<VORExternalResourceObject, VORExternalResourceObject::VORExternalResourceObjectProperties>;
