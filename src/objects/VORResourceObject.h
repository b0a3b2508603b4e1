#pragma once

#include <cstdint>

#include "objects/VORObject.h"

// A child object that holds a publication resource for its page object: a
// picture, a sound, a video or a text, inside the publication file or
// beside it. It takes its resource when its page is entered and gives its
// locks back when the page is left.
class VORResourceObject : public VORObject {
public:
  VORResourceObject(uint32_t classKey, int32_t id) : VORObject(classKey, id) {}
  // The copy holds no resource until its page is entered.
  VORResourceObject(const VORResourceObject &other) : VORObject(other) {}
  // Gives back every lock.
  ~VORResourceObject() override;

  // The object's step, then the resource is taken.
  void EnterPage(VORPageInstance &instance, bool visible) override;
  // Every lock given back and the handle forgotten, then the object's step.
  void LeavePage(bool visible) override;

  // Looks the resource up (giving back earlier locks first) and registers
  // the page as its user; the handle, 0 when there is none.
  virtual uint32_t AcquireResource(uint32_t flag) = 0;
  // The resource's kind as the graphical objects compare it (3, 4 and 14:
  // metafiles).
  virtual int32_t GetResourceId() const = 0;
  // Registers another page as a user of the resource; 0 when there is none.
  virtual uint32_t RegisterResourceUser(const VORObjectCode &user) = 0;

  // Not named UnlockResource: <windows.h> defines that name as a macro.
  bool LockResource();
  void ReleaseResourceLock();
  void UnlockAll();
  uint32_t GetResourceHandle() const { return m_handle; }
  int32_t GetLockCount() const { return m_lockCount; }

protected:
  void SetResourceHandle(uint32_t handle) { m_handle = handle; }

private:
  uint32_t m_handle = 0;
  int32_t m_lockCount = 0;
};
