#pragma once

#include <cstdint>
#include <memory>

#include "foundation/XQDoubleList.h"
#include "foundation/XQList.h"
#include "model/VORObjectCode.h"
#include "model/VORResourceBlock.h"
#include "model/VORResourcePlatform.h"

class VORExternalResourceIdentifier;
class VORInternalResourceIdentifier;
class VORResource;
class VORResourceFile;

// Every media byte of the publication, inside the publication file or
// beside it, passes through here. Resources are named by 32-bit handles,
// loaded whole or in blocks on demand, lent out by lock count and kept
// within a memory budget taken from the machine's free memory: the least
// recently used unlocked blocks are evicted, first those of resources that
// no shown page and no page linked to one uses. In idle time the pictures
// of those pages are loaded ahead.
//
// Handles: a resource's is a counter shifted left 16 bits (the first is
// 0x10000); a block's adds its number within the resource in the low 16
// bits. Counters skip numbers still in use when they wrap, so a handle never
// names two live things.
class VORResourceManager {
public:
  static constexpr uint32_t kResourceHandleShift = 16;
  static constexpr uint32_t kResourceHandleMask = 0xFFFF0000;
  static constexpr uint32_t kInitialBudget = 0x400000;
  static constexpr uint32_t kMinimumBudget = 0x400000;
  // A 32-bit process has 2 GiB to spend on everything: half of it at most
  // goes to resources however much the machine has.
  static constexpr uint32_t kMaximumBudget = 0x40000000;
  // Blocks larger than this live in global memory.
  static constexpr uint32_t kLargestHeapBlock = 0x7FFF;
  // Eviction starts beyond these counts.
  static constexpr uint32_t kMaximumBlocks = 9999;
  static constexpr uint32_t kMaximumGlobalBlocks = 199;
  static constexpr uint32_t kMaximumHeapBlocks = 99;
  static constexpr int kLinkedPageSlots = 10;
  static constexpr int32_t kResourceError = 1;

  // A shown page and the pages linked to it; (0, 0, 0) is a free slot.
  struct ActivePage {
    explicit ActivePage(const VORObjectCode &shownPage);
    bool Links(const VORObjectCode &user) const;

    VORObjectCode page;
    VORObjectCode linked[kLinkedPageSlots];
  };

  enum class SizeClass { kAny, kLarge, kSmall };

  explicit VORResourceManager(VORResourcePlatform platform);
  VORResourceManager(const VORResourceManager &) = delete;
  VORResourceManager &operator=(const VORResourceManager &) = delete;
  ~VORResourceManager();

  // The resource of the identifier, found among those open or made with a
  // new handle; 0 when none can be made. A block size other than 0 also
  // makes (or finds) the block of that many bytes from offset 0
  // (VORResourceBlock::kWholeResource: the whole resource).
  uint32_t OpenInternalResource(const VORInternalResourceIdentifier &identifier, int32_t priority1, int32_t priority2,
                                uint32_t blockSize);
  // A new resource needs its file to exist (the application is asked, and
  // may have it looked for again). An open resource whose file has changed
  // on disk drops its blocks first, unless it is locked.
  uint32_t OpenExternalResource(const VORExternalResourceIdentifier &identifier, int32_t priority1, int32_t priority2,
                                uint32_t blockSize);
  // A new resource over a file made by the caller.
  uint32_t OpenResource(std::unique_ptr<VORResourceFile> file, int32_t priority1, int32_t priority2,
                        uint32_t blockSize);
  // The handle of the block that holds [offset, offset + size) (with exact:
  // one that starts at offset), else of a new one; 0 without resource.
  uint32_t GetBlock(uint32_t handle, uint32_t offset, uint32_t size, int32_t priority1, int32_t priority2, bool exact,
                    bool forced);
  // Holds the resource's file open for its owner, who reads it directly.
  bool OpenResourceFile(uint32_t handle);
  void CloseResourceFile(uint32_t handle);
  void DeleteResource(uint32_t handle);
  // A lock taken by LockResource is given back by ReleaseResourceLock (not
  // named UnlockResource: <windows.h> defines that name as a macro).
  bool LockResource(uint32_t handle);
  void ReleaseResourceLock(uint32_t handle);
  // The memory and size of the resource's block of the whole resource while
  // it is locked, else of its most recent block. False (and null) when that
  // block is not loaded or there is none.
  bool GetResourceData(uint32_t handle, uint8_t *&memory, uint32_t &size) const;
  bool LockBlock(uint32_t blockHandle);
  void UnlockBlock(uint32_t blockHandle);
  bool GetBlockInfo(uint32_t blockHandle, uint8_t *&memory, uint32_t &size, uint32_t &offset) const;

  // Takes the budget from the machine's memory; when more is in use than
  // it allows, evicts about as much again as the excess, or all it can.
  void UpdateBudget();
  // Memory for a block, after making room under the budget and the block
  // counts. Throws VORNewFailException when the system has none to give.
  VORResourceMemory Allocate(uint32_t size, bool forced);
  void Free(VORResourceMemory &memory);
  void FreeResourceBlocks(VORResource &resource);
  // Evicts the least recently used unlocked block of the size class (global
  // memory for kLarge, heap for kSmall): first among resources that no
  // active and no linked page uses, then among those no active page uses,
  // then among all. A block used within the current millisecond stays.
  // False when none could go.
  bool EvictOne(SizeClass sizeClass);

  // The file's kind (VORFileKind), 0 without resource.
  int32_t GetResourceKind(uint32_t handle) const;
  // VORResource::kUnknownSize without resource.
  uint32_t GetResourceSize(uint32_t handle);
  VORResourceFile *GetResourceFile(uint32_t handle) const;
  VORResource *GetResource(uint32_t handle) const;

  void AddResourceUser(uint32_t handle, const VORObjectCode &user);
  void AddActivePage(const VORObjectCode &page);
  void RemoveActivePage(const VORObjectCode &page);
  // Into the first free slot of every entry of the page; an eleventh link
  // is not recorded.
  void AddLinkedPage(const VORObjectCode &page, const VORObjectCode &linkedPage);
  bool IsUsedByActivePage(const VORResource &resource) const;
  bool IsUsedByLinkedPage(const VORResource &resource) const;

  // The pictures of the active and linked pages in the order they are
  // loaded ahead: those of active pages first, then by priority 1, by
  // priority 2 and, between internal resources, by number.
  void RebuildPrefetchList();
  // Loads one resource of the prefetch order that is not loaded and fits
  // the budget, and leaves it for eviction; true when it took one. Each
  // resource is taken once per rebuild of the order, which follows every
  // change of pages and users, so a resource that does not load is not
  // retried at every idle pass. Exceptions end the step with false.
  bool PrefetchOne();
  // Whether the resource's size fits what is free of the budget, or what
  // would be once the resources of no active and no linked page were gone.
  bool FitsBudget(VORResource &resource);

  // By the last three characters of the name, without regard to case.
  static int32_t FileKindFromExtension(const char *fileName);

  // The clock's time, which stamps blocks.
  uint32_t Now() { return m_platform.clock->Now(); }
  uint32_t GetBudget() const { return m_budget; }
  uint64_t GetBytesInUse() const { return m_bytesInUse; }
  uint32_t GetBlockCount() const { return m_blockCount; }
  uint32_t GetGlobalBlockCount() const { return m_globalBlockCount; }
  uint32_t GetHeapBlockCount() const { return m_heapBlockCount; }
  uint32_t GetResourceCount() const { return m_resources.GetCount(); }
  const XQDoubleList<uint32_t, 1> &GetPrefetchOrder() const { return m_prefetchOrder; }

private:
  VORResource *FindInternalResource(const VORInternalResourceIdentifier &identifier) const;
  VORResource *FindExternalResource(const VORExternalResourceIdentifier &identifier) const;
  // Keeps the block of the open with a block size; answers the resource's handle.
  uint32_t OpenBlockOfSize(VORResource &resource, int32_t priority1, int32_t priority2, uint32_t blockSize);
  bool CheckFileExists(VORResourceFile &file, const VORExternalResourceIdentifier &identifier);
  // A resource counter not in use, 0 when all are.
  uint32_t NextResourceHandle();
  void ComputeBudget();
  VORResourceBlock *FindBlock(uint32_t blockHandle) const;
  void EvictBlock(VORResourceBlock &block);
  bool PrecedesInPrefetch(VORResource &candidate, VORResource &queued) const;
  bool PrefetchNext();
  void RemoveResource(VORResource &resource);

  VORResourcePlatform m_platform;
  XQDoubleList<VORResource *, 2> m_resources;
  uint32_t m_resourceCounter = 0;
  uint32_t m_budget = kInitialBudget;
  uint64_t m_bytesInUse = 0;
  uint32_t m_blockCount = 0;
  uint32_t m_globalBlockCount = 0;
  uint32_t m_heapBlockCount = 0;
  // Owned entries.
  XQList<ActivePage *, 1> m_activePages;
  XQDoubleList<uint32_t, 1> m_prefetchOrder;
  bool m_prefetchOrderStale = false;
  bool m_prefetching = false;
};
