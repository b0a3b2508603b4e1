#include "model/VORWin32ResourcePlatform.h"

#include <windows.h>

#include <new>

namespace {

class Win32MemoryStatus : public VORMemoryStatus {
public:
  VORMemoryFigures GetFigures() override {
    MEMORYSTATUS status = {};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    VORMemoryFigures figures;
    figures.totalPhysical = status.dwTotalPhys;
    figures.availablePhysical = status.dwAvailPhys;
    figures.totalPageFile = status.dwTotalPageFile;
    figures.availablePageFile = status.dwAvailPageFile;
    figures.windowsNT = IsWindowsNT();
    return figures;
  }

private:
  static bool IsWindowsNT() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  }
};

class Win32BlockAllocator : public VORBlockAllocator {
public:
  uint8_t *AllocateGlobal(uint32_t size) override {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!handle)
      return nullptr;
    void *memory = GlobalLock(handle);
    if (!memory)
      GlobalFree(handle);
    return static_cast<uint8_t *>(memory);
  }

  void FreeGlobal(uint8_t *memory) override {
    HGLOBAL handle = GlobalHandle(memory);
    if (!handle)
      return;
    // GlobalUnlock answers false once the lock count is 0 (or on an error).
    while (GlobalUnlock(handle)) {
    }
    GlobalFree(handle);
  }

  uint8_t *AllocateHeap(uint32_t size) override { return new (std::nothrow) uint8_t[size]; }
  void FreeHeap(uint8_t *memory) override { delete[] memory; }
};

} // namespace

VORResourcePlatform VORMakeWin32ResourcePlatform() {
  VORResourcePlatform platform;
  platform.memoryStatus = std::make_unique<Win32MemoryStatus>();
  platform.clock = std::make_unique<VORAppTickClock>();
  platform.allocator = std::make_unique<Win32BlockAllocator>();
  return platform;
}
