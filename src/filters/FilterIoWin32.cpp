#include <windows.h>

#include "filters/FilterIo.h"

#include <cstddef>

namespace {

// The kernel's file calls the filters were written for, and movable global
// memory: a picture handle is an HGLOBAL the image loader locks itself.
class KernelFilterIo : public FilterIo {
public:
  FilterFileId Open(const char *name) override {
    const HFILE file = _lopen(name, OF_READ | OF_SHARE_DENY_WRITE);
    return file == HFILE_ERROR ? kNoFilterFile : static_cast<FilterFileId>(file);
  }

  int32_t Read(FilterFileId file, void *buffer, uint32_t count) override {
    if (count > static_cast<uint32_t>(MAXLONG))
      return -1;
    const long read = _hread(static_cast<HFILE>(file), static_cast<LPVOID>(buffer), static_cast<long>(count));
    return read == HFILE_ERROR ? -1 : static_cast<int32_t>(read);
  }

  int32_t Seek(FilterFileId file, int32_t offset, FilterSeek origin) override {
    const LONG position = _llseek(static_cast<HFILE>(file), offset, static_cast<int>(origin));
    return position == HFILE_ERROR ? -1 : static_cast<int32_t>(position);
  }

  void Close(FilterFileId file) override { _lclose(static_cast<HFILE>(file)); }

  FilterHandle Allocate(uint64_t size) override {
    if (size > static_cast<uint64_t>(SIZE_MAX))
      return nullptr;
    return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size));
  }
  void *Lock(FilterHandle block) override { return GlobalLock(static_cast<HGLOBAL>(block)); }
  void Unlock(FilterHandle block) override { GlobalUnlock(static_cast<HGLOBAL>(block)); }
  void Free(FilterHandle block) override { GlobalFree(static_cast<HGLOBAL>(block)); }
};

KernelFilterIo g_kernelIo;

// Installed before main: whatever links the filters reads through the kernel.
const bool g_kernelIoInstalled = (SetPlatformFilterIo(&g_kernelIo), true);

} // namespace
