#pragma once

#include <cstdint>

#include "model/VORObjectCode.h"

// The root of every object of a publication: the class key and the id that
// together form its reference. The reference never changes once built.
class VORCodedObject {
public:
  VORCodedObject(uint32_t classKey, int32_t id) : m_classKey(classKey), m_id(id) {}
  VORCodedObject(const VORCodedObject &) = default;
  VORCodedObject &operator=(const VORCodedObject &) = delete;
  virtual ~VORCodedObject();

  uint32_t GetClassKey() const { return m_classKey; }
  int32_t GetId() const { return m_id; }
  int16_t GetCategory() const { return GetObjectCode().category; }
  int16_t GetCode() const { return GetObjectCode().code; }
  VORObjectCode GetObjectCode() const { return VORObjectCode::FromClassKey(m_classKey, m_id); }
  bool HasReference(const VORObjectCode &reference) const { return GetObjectCode().Equals(reference); }

private:
  uint32_t m_classKey;
  int32_t m_id;
};
