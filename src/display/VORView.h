#pragma once

#include <cstdint>

#include "display/VORDrawingSurface.h"
#include "model/VORActionReceiver.h"
#include "model/VORPageView.h"

// The system's window handle type (HWND is a pointer to it under STRICT),
// declared here so that this header stays free of the system headers.
struct HWND__; // NOLINT(bugprone-reserved-identifier): the system's own name
class VORPageInstance;
class VORScreenBuffer;

// A view shows one page instance at a time; the pages see it as a
// VORPageView. It can be sent actions, and it is a drawing surface: what is
// made dirty in the page is redrawn through it. A view offers no direct
// pixel access: its locks give nothing.
class VORView : public VORActionReceiver, public VORDrawingSurface, public VORPageView {
public:
  VORView(uint32_t classKey, int32_t id) : VORActionReceiver(classKey, id) {}

  VORObjectCode GetViewObjectCode() const override { return GetObjectCode(); }

  // Draws what changed and completes a page entry whose transition ended.
  virtual void Refresh() = 0;
  virtual bool Initialize() = 0;
  // False for views that only print.
  virtual bool IsInteractive() { return false; }
  virtual VORPageInstance *GetPageInstance() = 0;
  // Null for a view without a window.
  virtual HWND__ *GetWindow() = 0;
  // Null before the view showed a page, and in views that compose nothing.
  virtual VORScreenBuffer *GetScreenBuffer() = 0;
  // Every view answers no: object surfaces take the form the screen suits.
  virtual bool WantsDibSurfaces() { return false; }
  virtual bool WantsMaskSurfaces() { return false; }
  // Idle work of the main loop.
  virtual void OnIdle() {}

  void LockPixels(void **bits, void **maskBits, BitmapInfoHeader **info, VORRect & /*rect*/) override {
    *bits = nullptr;
    *maskBits = nullptr;
    *info = nullptr;
  }
  void LockMaskPixels(void **maskBits, BitmapInfoHeader **info, VORRect & /*rect*/) override {
    *maskBits = nullptr;
    *info = nullptr;
  }
  void UnlockPixels(bool /*copyBack*/) override {}
};
