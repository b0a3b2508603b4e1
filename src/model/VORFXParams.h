#pragma once

#include <memory>

#include "model/VORFileDataObject.h"
#include "vorfile/VORString.h"

class VORFile;

// The parameter record of one kind of transition effect (its duration and
// the kind's own settings), made through the class registry in category 3.
// The effect registry and the effects live above the model; pages and
// graphical objects only store these records, so they live here.
class VORFXProperties : public VORFileDataObject {
public:
  static constexpr uint16_t kCategory = 3;

  VORFXProperties(uint32_t classKey, int32_t id) : VORFileDataObject(classKey, id) {}
  VORFXProperties(const VORFXProperties &) = default;
  ~VORFXProperties() override;

  // A new record of the same class with the same contents.
  virtual std::unique_ptr<VORFXProperties> Clone() const = 0;
  // Field by field against a record of the same class; a record of another
  // class is simply not equal.
  virtual bool IsEqual(const VORFXProperties &other) const = 0;
};

// What a page (opening and closing), a graphical object (showing and
// hiding) or a slideshow stores for one transition: the effect's name (an
// empty one means no transition) and its parameter record, owned. Copies
// take their own copy of the record.
class VORFXParams : public VORFileDataObject {
public:
  VORFXParams() = default;
  VORFXParams(const VORFXParams &other);
  VORFXParams &operator=(const VORFXParams &other);
  ~VORFXParams() override;

  // Reads the next folder without key: the name, the record's reference,
  // the record. Any failure leaves no transition: a publication whose
  // effect cannot be read changes its picture plainly.
  void Read(VORFile &file) override;
  void Assign(const VORFXParams &other);

  bool HasEffect() const { return !effectName.IsEmpty(); }
  const VORFXProperties *GetProperties() const { return properties.get(); }
  void SetProperties(std::unique_ptr<VORFXProperties> record) { properties = std::move(record); }

  VORString effectName;

private:
  std::unique_ptr<VORFXProperties> properties;
};
