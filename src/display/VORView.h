#pragma once

#include <cstdint>

#include "display/VORDrawingSurface.h"
#include "model/VORActionReceiver.h"

// The system's window handle type (HWND is a pointer to it under STRICT),
// declared here so that this header stays free of the system headers.
struct HWND__; // NOLINT(bugprone-reserved-identifier): the system's own name
class VORRecursiveObjectContainer;
class VORScreenBuffer;

// A view shows one page instance at a time. It can be sent actions, and it
// is a drawing surface: what is made dirty in the page is redrawn through it.
class VORView : public VORActionReceiver, public VORDrawingSurface {
public:
  VORView(uint32_t classKey, int32_t id) : VORActionReceiver(classKey, id) {}

  virtual void Refresh() = 0;
  virtual bool IsInteractive() { return false; }
  // The objects of the page instance shown; null when none is.
  virtual VORRecursiveObjectContainer *GetPageInstance() = 0;
  virtual HWND__ *GetWindow() = 0;
  virtual VORScreenBuffer *GetScreenBuffer() = 0;
  // Every view answers no: object surfaces take the form the screen suits.
  virtual bool WantsDibSurfaces() { return false; }
  virtual bool WantsMaskSurfaces() { return false; }
  virtual void OnIdle() {}
};
