#pragma once

#include <cstdint>
#include <memory>

#include "model/VORFXParams.h"
#include "model/VORObjectCode.h"

// What every effect's parameter record shares: its class key in category 3,
// a copy that is the whole record, and an equality of all its fields
// (Derived::Fields() gives them as a tuple of references).
template <class Derived, uint16_t Code>
class VORFXRecord : public VORFXProperties {
public:
  static constexpr uint16_t kCode = Code;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, Code);

  explicit VORFXRecord(int32_t id = 0) : VORFXProperties(kClassKey, id) {}

  std::unique_ptr<VORFXProperties> Clone() const override {
    return std::make_unique<Derived>(static_cast<const Derived &>(*this));
  }
  bool IsEqual(const VORFXProperties &other) const override {
    const auto *same = dynamic_cast<const Derived *>(&other);
    return same != nullptr && static_cast<const Derived &>(*this).Fields() == same->Fields();
  }
};

// The effect's record from the parameters, or the defaults when they carry
// none or one of another class.
template <class Record>
Record RecordFrom(const VORFXParams &params) {
  if (const auto *record = dynamic_cast<const Record *>(params.GetProperties()))
    return *record;
  return Record();
}
