#pragma once

#include "foundation/XQAutoPtr.h"

#include <cstddef>

// Owns an array made with new[].
template <class T>
class XQAutoArrayPtr : public XQAutoPtr<T> {
public:
  XQAutoArrayPtr() = default;
  explicit XQAutoArrayPtr(T *array) : XQAutoPtr<T>(array) {}
  // The base's destructor would free through its own Free, so the array is
  // given back here, while this class's Free is still the one called.
  ~XQAutoArrayPtr() override { this->FreeQuietly(); }

  void Free() override { delete[] this->Release(); }

  T &operator[](std::size_t index) const { return this->Get()[index]; }
};
