#pragma once

#include "foundation/VORException.h"

#include <utility>

struct tagBITMAPINFO;

// How an owning pointer gives its memory back. Objects go through their
// (virtual) destructor. Byte buffers are made with new[] and go with delete[];
// a BITMAPINFO, whose colour table makes its size vary, is made as a buffer of
// unsigned char and goes the same way.
template <class T>
struct XQAutoPtrDisposal {
  static void Dispose(T *pointer) { delete pointer; }
};

template <>
struct XQAutoPtrDisposal<char> {
  static void Dispose(char *pointer) { delete[] pointer; }
};

template <>
struct XQAutoPtrDisposal<unsigned char> {
  static void Dispose(unsigned char *pointer) { delete[] pointer; }
};

template <>
struct XQAutoPtrDisposal<tagBITMAPINFO> {
  static void Dispose(tagBITMAPINFO *pointer) { delete[] reinterpret_cast<unsigned char *>(pointer); }
};

// Owns a newly built object while it is read or inserted; once the object has
// its owner, Release takes the pointer out. Going out of scope frees the
// object and swallows whatever the release throws, so an owning pointer can
// sit on the path of an exception already in flight.
template <class T>
class XQAutoPtr {
public:
  XQAutoPtr() = default;
  explicit XQAutoPtr(T *pointer) : m_pointer(pointer) {}
  XQAutoPtr(const XQAutoPtr &) = delete;
  XQAutoPtr &operator=(const XQAutoPtr &) = delete;
  virtual ~XQAutoPtr() { FreeQuietly(); }

  // Empties the pointer, then deletes what it held (nothing when empty). An
  // exception from the deletion passes on; the pointer is empty either way.
  virtual void Free() { XQAutoPtrDisposal<T>::Dispose(Release()); }

  // Frees the object held and holds pointer instead, even when the free throws.
  void Reset(T *pointer) {
    if (pointer == m_pointer)
      return;
    try {
      Free();
    } catch (...) {
      m_pointer = pointer;
      throw;
    }
    m_pointer = pointer;
  }

  // Gives up ownership without deleting.
  T *Release() { return std::exchange(m_pointer, nullptr); }

  T *Get() const { return m_pointer; }
  T *operator->() const { return m_pointer; }
  T &operator*() const { return *m_pointer; }
  bool IsEmpty() const { return m_pointer == nullptr; }

protected:
  // For destructors: a thrown VORException is the catcher's to delete.
  void FreeQuietly() noexcept {
    try {
      Free();
    } catch (VORException *exception) {
      delete exception;
    } catch (...) {
    }
  }

private:
  T *m_pointer = nullptr;
};
