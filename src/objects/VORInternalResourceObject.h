#pragma once

#include <cstdint>

#include "model/VORInternalResourceIdentifier.h"
#include "objects/VORPlayerForm.h"
#include "objects/VORResourceObject.h"

// Names a resource stored inside the publication file, by number.
class VORInternalResourceObject : public VORResourceObject {
public:
  static constexpr uint16_t kCategory = 4;
  static constexpr uint16_t kCode = 1;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);
  static constexpr int32_t kStorageRead = 4;
  static constexpr int32_t kStorageMade = 5;

  class VORInternalResourceObjectProperties : public VORObject::VORObjectObjectProperties {
  public:
    VORInternalResourceObjectProperties() = default;
    VORInternalResourceObjectProperties(const VORInternalResourceObjectProperties &) = default;
    VORInternalResourceObjectProperties &operator=(const VORInternalResourceObjectProperties &) = default;
    ~VORInternalResourceObjectProperties() override;

    // The events, then the identifier; the kind flag becomes 1, the value 0.
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORInternalResourceObjectProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    VORInternalResourceIdentifier identifier;
    uint16_t kindFlag = 0;
    int32_t value = 0;
  };

  VORInternalResourceObject(uint32_t classKey, int32_t id) : VORResourceObject(classKey, id) {}
  VORInternalResourceObject(const VORInternalResourceObject &other) : VORResourceObject(other) {}
  ~VORInternalResourceObject() override;

  uint32_t AcquireResource(uint32_t flag) override;
  // The resource number.
  int32_t GetResourceId() const override;
  uint32_t RegisterResourceUser(const VORObjectCode &user) override;
  bool IsInternalResourceCode() const { return GetClassKey() == kClassKey; }

  VORInternalResourceObjectProperties &GetInternalResourceProperties();
  const VORInternalResourceObjectProperties &GetInternalResourceProperties() const;

private:
  uint32_t OpenFor(const VORObjectCode &user, uint32_t flag);
};

using VORPlayerInternalResourceObject =
    VORPlayerForm<VORInternalResourceObject, VORInternalResourceObject::VORInternalResourceObjectProperties>;
