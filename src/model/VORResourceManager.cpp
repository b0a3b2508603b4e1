#include "model/VORResourceManager.h"

#include <algorithm>
#include <cstring>

#include "foundation/VORException.h"
#include "model/PublicationFile.h"
#include "model/VORApp.h"
#include "model/VORExternalResourceFile.h"
#include "model/VORExternalResourceIdentifier.h"
#include "model/VORFileKind.h"
#include "model/VORFileManager.h"
#include "model/VORInternalResourceFile.h"
#include "model/VORInternalResourceIdentifier.h"
#include "model/VORResource.h"

namespace {

constexpr uint32_t kResourceCounterLimit = 0xFFFF;
constexpr int kEvictionPasses = 3;
// Pass 0 spares the resources of linked pages too, pass 1 only those of
// active pages, pass 2 spares nothing.
constexpr int kPassSparingLinkedPages = 0;
constexpr int kLastPassSparingActivePages = 1;
// What the application is asked with when a file is missing, and its answer
// that asks for another look.
constexpr int32_t kMissingFileKind = 1;
constexpr int32_t kMissingFileCode = 1;
constexpr int32_t kLookAgain = 2;

// Calls visit for every element without taking a cursor slot; visit must
// not change the list.
template <class T, unsigned N, class Visit>
void VisitAll(const XQList<T, N> &list, Visit visit) {
  T unused{};
  list.FindIf(
      [&](const T &value) {
        visit(value);
        return false;
      },
      unused);
}

struct ExtensionKind {
  const char *extension;
  int32_t kind;
};

constexpr ExtensionKind kExtensionKinds[] = {
    {"bmp", VORFileKind::kPictureFile},
    {"gif", VORFileKind::kPictureFile},
    {"tif", VORFileKind::kPictureFile},
    {"tga", VORFileKind::kPictureFile},
    {"png", VORFileKind::kPictureFile},
    {"jpg", VORFileKind::kPictureFile},
    {"pcx", VORFileKind::kPictureFile},
    {"pcd", VORFileKind::kPictureFile},
    {"cgm", VORFileKind::kPictureFile},
    {"wmf", VORFileKind::kWindowsMetafile},
    {"emf", VORFileKind::kEnhancedMetafile},
    {"wav", VORFileKind::kWave},
    {"mid", VORFileKind::kMidi},
    {"rmi", VORFileKind::kMidi},
    {"flc", VORFileKind::kFlic},
    {"fli", VORFileKind::kFlic},
    {"avi", VORFileKind::kAvi},
    {"txt", VORFileKind::kText},
    {"mpg", VORFileKind::kShellMedia},
    {"mov", VORFileKind::kShellMedia},
    {"vob", VORFileKind::kShellMedia},
    {"mp3", VORFileKind::kShellMedia},
    {"ifo", VORFileKind::kShellMedia},
    {"m2v", VORFileKind::kShellMedia},
    {"mpv", VORFileKind::kShellMedia},
    {"mpa", VORFileKind::kShellMedia},
    {"mp2", VORFileKind::kShellMedia},
    {"vbs", VORFileKind::kShellMedia},
    {"dat", VORFileKind::kShellMedia},
    {"cdr", VORFileKind::kCdr},
    {"rtf", VORFileKind::kRichText},
};
constexpr size_t kExtensionLength = 3;
constexpr size_t kShortestNameWithExtension = 4;

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsPrefetchKind(int32_t kind) {
  return kind == VORFileKind::kPictureFile || kind == VORFileKind::kInternalPicture ||
         kind == VORFileKind::kInternalVideo;
}

} // namespace

VORResourceManager::ActivePage::ActivePage(const VORObjectCode &shownPage) : page(shownPage) {
  for (VORObjectCode &slot : linked)
    slot = VORObjectCode::Zero();
}

bool VORResourceManager::ActivePage::Links(const VORObjectCode &user) const {
  for (const VORObjectCode &slot : linked) {
    if (slot.IsZero())
      return false;
    if (slot == user)
      return true;
  }
  return false;
}

VORResourceManager::VORResourceManager(VORResourcePlatform platform) : m_platform(std::move(platform)) {}

VORResourceManager::~VORResourceManager() {
  m_resources.DeleteAll();
  m_activePages.DeleteAll();
  m_prefetchOrder.RemoveAll();
}

// Opening resources.

uint32_t VORResourceManager::OpenInternalResource(const VORInternalResourceIdentifier &identifier, int32_t priority1,
                                                  int32_t priority2, uint32_t blockSize) {
  if (VORResource *existing = FindInternalResource(identifier))
    return OpenBlockOfSize(*existing, priority1, priority2, blockSize);
  VORApp *app = VORApp::Get();
  PublicationFile *publication = app ? app->GetPublicationFileId() : nullptr;
  if (!publication)
    return 0;
  return OpenResource(std::make_unique<VORInternalResourceFile>(identifier, *publication), priority1, priority2,
                      blockSize);
}

uint32_t VORResourceManager::OpenExternalResource(const VORExternalResourceIdentifier &identifier, int32_t priority1,
                                                  int32_t priority2, uint32_t blockSize) {
  if (VORResource *existing = FindExternalResource(identifier)) {
    if (!existing->IsBusy() && existing->GetFile().HasChanged())
      FreeResourceBlocks(*existing);
    return OpenBlockOfSize(*existing, priority1, priority2, blockSize);
  }
  VORApp *app = VORApp::Get();
  VORFileManager *fileManager = app ? app->GetFileManager() : nullptr;
  if (!fileManager)
    return 0;
  auto file = std::make_unique<VORExternalResourceFile>(identifier, *fileManager);
  if (!CheckFileExists(*file, identifier))
    return 0;
  return OpenResource(std::move(file), priority1, priority2, blockSize);
}

uint32_t VORResourceManager::OpenResource(std::unique_ptr<VORResourceFile> file, int32_t priority1, int32_t priority2,
                                          uint32_t blockSize) {
  const uint32_t handle = NextResourceHandle();
  if (handle == 0 || !file)
    return 0;
  auto *resource = new VORResource(*this, handle, std::move(file), priority1, priority2);
  m_resources.Append(resource);
  return OpenBlockOfSize(*resource, priority1, priority2, blockSize);
}

uint32_t VORResourceManager::OpenBlockOfSize(VORResource &resource, int32_t priority1, int32_t priority2,
                                             uint32_t blockSize) {
  if (blockSize != 0)
    resource.GetBlock(0, blockSize, priority1, priority2, false, false);
  return resource.GetHandle();
}

bool VORResourceManager::CheckFileExists(VORResourceFile &file, const VORExternalResourceIdentifier &identifier) {
  while (!file.Exists()) {
    VORApp *app = VORApp::Get();
    if (!app ||
        app->ReportFileFailure(identifier.GetFileName().CStr(), kMissingFileKind, kMissingFileCode) != kLookAgain)
      return false;
  }
  return true;
}

uint32_t VORResourceManager::NextResourceHandle() {
  for (uint32_t tries = 0; tries < kResourceCounterLimit; ++tries) {
    m_resourceCounter = m_resourceCounter % kResourceCounterLimit + 1;
    const uint32_t handle = m_resourceCounter << kResourceHandleShift;
    if (!GetResource(handle))
      return handle;
  }
  return 0;
}

VORResource *VORResourceManager::FindInternalResource(const VORInternalResourceIdentifier &identifier) const {
  VORResource *found = nullptr;
  m_resources.FindIf(
      [&](VORResource *resource) {
        const VORInternalResourceIdentifier *own = resource->GetFile().GetInternalIdentifier();
        return own && own->Equals(identifier);
      },
      found);
  return found;
}

VORResource *VORResourceManager::FindExternalResource(const VORExternalResourceIdentifier &identifier) const {
  VORResource *found = nullptr;
  m_resources.FindIf(
      [&](VORResource *resource) {
        const VORExternalResourceIdentifier *own = resource->GetFile().GetExternalIdentifier();
        return own && own->Equals(identifier);
      },
      found);
  return found;
}

VORResource *VORResourceManager::GetResource(uint32_t handle) const {
  const uint32_t resourceHandle = handle & kResourceHandleMask;
  if (resourceHandle == 0)
    return nullptr;
  VORResource *found = nullptr;
  m_resources.FindIf([&](VORResource *resource) { return resource->GetHandle() == resourceHandle; }, found);
  return found;
}

VORResourceBlock *VORResourceManager::FindBlock(uint32_t blockHandle) const {
  VORResource *resource = GetResource(blockHandle);
  return resource ? resource->FindBlock(blockHandle) : nullptr;
}

// Blocks and locks.

uint32_t VORResourceManager::GetBlock(uint32_t handle, uint32_t offset, uint32_t size, int32_t priority1,
                                      int32_t priority2, bool exact, bool forced) {
  VORResource *resource = GetResource(handle);
  return resource ? resource->GetBlock(offset, size, priority1, priority2, exact, forced) : 0;
}

bool VORResourceManager::OpenResourceFile(uint32_t handle) {
  VORResource *resource = GetResource(handle);
  return resource && resource->OpenFile();
}

void VORResourceManager::CloseResourceFile(uint32_t handle) {
  if (VORResource *resource = GetResource(handle))
    resource->CloseFile();
}

void VORResourceManager::DeleteResource(uint32_t handle) {
  if (VORResource *resource = GetResource(handle))
    RemoveResource(*resource);
}

void VORResourceManager::RemoveResource(VORResource &resource) {
  m_resources.Remove(&resource);
  delete &resource;
}

bool VORResourceManager::LockResource(uint32_t handle) {
  VORResource *resource = GetResource(handle);
  return resource && resource->Lock();
}

void VORResourceManager::ReleaseResourceLock(uint32_t handle) {
  if (VORResource *resource = GetResource(handle))
    resource->Unlock();
}

bool VORResourceManager::GetResourceData(uint32_t handle, uint8_t *&memory, uint32_t &size) const {
  memory = nullptr;
  size = 0;
  VORResource *resource = GetResource(handle);
  if (!resource)
    return false;
  VORResourceBlock *block = resource->GetLockedWholeBlock();
  if (!block)
    block = resource->GetFirstBlock();
  if (!block || !block->IsLoaded())
    return false;
  memory = block->GetMemory();
  size = block->GetSize();
  return true;
}

bool VORResourceManager::LockBlock(uint32_t blockHandle) {
  VORResourceBlock *block = FindBlock(blockHandle);
  return block && block->Lock();
}

void VORResourceManager::UnlockBlock(uint32_t blockHandle) {
  if (VORResourceBlock *block = FindBlock(blockHandle))
    block->Unlock();
}

bool VORResourceManager::GetBlockInfo(uint32_t blockHandle, uint8_t *&memory, uint32_t &size, uint32_t &offset) const {
  memory = nullptr;
  size = 0;
  offset = 0;
  VORResourceBlock *block = FindBlock(blockHandle);
  if (!block)
    return false;
  memory = block->GetMemory();
  size = block->GetSize();
  offset = block->GetOffset();
  return true;
}

void VORResourceManager::FreeResourceBlocks(VORResource &resource) { resource.FreeBlocks(); }

int32_t VORResourceManager::GetResourceKind(uint32_t handle) const {
  VORResource *resource = GetResource(handle);
  return resource ? resource->GetFile().GetFileType() : 0;
}

uint32_t VORResourceManager::GetResourceSize(uint32_t handle) {
  VORResource *resource = GetResource(handle);
  return resource ? resource->GetSize() : VORResource::kUnknownSize;
}

VORResourceFile *VORResourceManager::GetResourceFile(uint32_t handle) const {
  VORResource *resource = GetResource(handle);
  return resource ? &resource->GetFile() : nullptr;
}

// Memory.

void VORResourceManager::ComputeBudget() {
  const VORMemoryFigures figures = m_platform.memoryStatus->GetFigures();
  uint64_t base;
  if (figures.windowsNT) {
    // What is free of physical memory and page file together, plus what the
    // resources hold already.
    const uint64_t gross = m_bytesInUse + figures.totalPhysical + figures.availablePageFile;
    base = gross > figures.totalPageFile ? gross - figures.totalPageFile : 0;
  } else {
    base = figures.availablePhysical;
  }
  const uint64_t twoThirds = base / 3 * 2 + base % 3 * 2 / 3;
  m_budget = static_cast<uint32_t>(std::clamp<uint64_t>(twoThirds, kMinimumBudget, kMaximumBudget));
}

void VORResourceManager::UpdateBudget() {
  ComputeBudget();
  if (m_bytesInUse <= m_budget)
    return;
  const uint64_t excess = m_bytesInUse - m_budget;
  while (m_bytesInUse + excess > m_budget && EvictOne(SizeClass::kAny)) {
  }
}

VORResourceMemory VORResourceManager::Allocate(uint32_t size, bool forced) {
  ComputeBudget();
  while (m_bytesInUse + size > m_budget && EvictOne(SizeClass::kAny)) {
  }
  while (m_blockCount > kMaximumBlocks && EvictOne(SizeClass::kAny)) {
  }
  VORResourceMemory memory;
  memory.size = size;
  memory.global = size > kLargestHeapBlock || forced;
  if (memory.global) {
    while (m_globalBlockCount > kMaximumGlobalBlocks && EvictOne(SizeClass::kLarge)) {
    }
    memory.data = m_platform.allocator->AllocateGlobal(size);
    if (!memory.data)
      throw VORNewFailException(size);
    ++m_globalBlockCount;
  } else {
    while (m_heapBlockCount > kMaximumHeapBlocks && EvictOne(SizeClass::kSmall)) {
    }
    memory.data = m_platform.allocator->AllocateHeap(size);
    if (!memory.data)
      throw VORNewFailException(size);
    ++m_heapBlockCount;
  }
  ++m_blockCount;
  m_bytesInUse += size;
  return memory;
}

void VORResourceManager::Free(VORResourceMemory &memory) {
  if (!memory.data)
    return;
  m_bytesInUse -= std::min<uint64_t>(m_bytesInUse, memory.size);
  if (memory.global) {
    m_platform.allocator->FreeGlobal(memory.data);
    m_globalBlockCount -= m_globalBlockCount > 0 ? 1 : 0;
  } else {
    m_platform.allocator->FreeHeap(memory.data);
    m_heapBlockCount -= m_heapBlockCount > 0 ? 1 : 0;
  }
  m_blockCount -= m_blockCount > 0 ? 1 : 0;
  memory = VORResourceMemory();
}

// Eviction.

bool VORResourceManager::EvictOne(SizeClass sizeClass) {
  const uint32_t now = Now();
  for (int pass = 0; pass < kEvictionPasses; ++pass) {
    VORResourceBlock *best = nullptr;
    // Ages are differences of the clock, so they stay right when it wraps;
    // a block of age 0 was used in this very millisecond and stays.
    uint32_t bestAge = 0;
    VisitAll(m_resources, [&](VORResource *resource) {
      if (pass <= kLastPassSparingActivePages && IsUsedByActivePage(*resource))
        return;
      if (pass == kPassSparingLinkedPages && IsUsedByLinkedPage(*resource))
        return;
      VisitAll(resource->GetBlocks(), [&](VORResourceBlock *block) {
        if (!block->IsLoaded() || block->GetLockCount() > 0)
          return;
        if ((sizeClass == SizeClass::kLarge && !block->IsGlobal()) ||
            (sizeClass == SizeClass::kSmall && block->IsGlobal()))
          return;
        const uint32_t age = now - block->GetLastUse();
        if (age > bestAge) {
          best = block;
          bestAge = age;
        }
      });
    });
    if (best) {
      EvictBlock(*best);
      return true;
    }
  }
  return false;
}

void VORResourceManager::EvictBlock(VORResourceBlock &block) {
  VORResource &resource = block.GetResource();
  block.Unload();
  // The owner reopens a resource that went by its identifier.
  if (!resource.IsBusy() && !IsUsedByActivePage(resource) && !IsUsedByLinkedPage(resource))
    RemoveResource(resource);
}

// Pages and users.

void VORResourceManager::AddResourceUser(uint32_t handle, const VORObjectCode &user) {
  if (VORResource *resource = GetResource(handle)) {
    resource->AddUser(user);
    m_prefetchOrderStale = true;
  }
}

void VORResourceManager::AddActivePage(const VORObjectCode &page) {
  m_activePages.Append(new ActivePage(page));
  m_prefetchOrderStale = true;
}

void VORResourceManager::RemoveActivePage(const VORObjectCode &page) {
  ActivePage *entry = nullptr;
  if (!m_activePages.FindIf([&](ActivePage *candidate) { return candidate->page == page; }, entry))
    return;
  m_activePages.Remove(entry);
  delete entry;
  m_prefetchOrderStale = true;
}

void VORResourceManager::AddLinkedPage(const VORObjectCode &page, const VORObjectCode &linkedPage) {
  VisitAll(m_activePages, [&](ActivePage *entry) {
    if (entry->page != page)
      return;
    for (VORObjectCode &slot : entry->linked) {
      if (slot.IsZero()) {
        slot = linkedPage;
        break;
      }
    }
  });
  m_prefetchOrderStale = true;
}

bool VORResourceManager::IsUsedByActivePage(const VORResource &resource) const {
  ActivePage *found = nullptr;
  return m_activePages.FindIf([&](ActivePage *entry) { return resource.IsUsedBy(entry->page); }, found);
}

bool VORResourceManager::IsUsedByLinkedPage(const VORResource &resource) const {
  ActivePage *found = nullptr;
  return m_activePages.FindIf(
      [&](ActivePage *entry) {
        return resource.HasUser([&](const VORObjectCode &user) { return entry->Links(user); });
      },
      found);
}

// Loading ahead.

bool VORResourceManager::PrecedesInPrefetch(VORResource &candidate, VORResource &queued) const {
  const bool candidateActive = IsUsedByActivePage(candidate);
  if (candidateActive != IsUsedByActivePage(queued))
    return candidateActive;
  if (candidate.GetPriority1() != queued.GetPriority1())
    return candidate.GetPriority1() < queued.GetPriority1();
  if (candidate.GetPriority2() != queued.GetPriority2())
    return candidate.GetPriority2() < queued.GetPriority2();
  const VORInternalResourceIdentifier *candidateNumber = candidate.GetFile().GetInternalIdentifier();
  const VORInternalResourceIdentifier *queuedNumber = queued.GetFile().GetInternalIdentifier();
  return candidateNumber && queuedNumber && candidateNumber->GetNumber() < queuedNumber->GetNumber();
}

void VORResourceManager::RebuildPrefetchList() {
  m_prefetchOrder.RemoveAll();
  m_prefetchOrderStale = false;
  VisitAll(m_resources, [&](VORResource *resource) {
    if (!IsPrefetchKind(resource->GetFile().GetFileType()))
      return;
    if (!IsUsedByActivePage(*resource) && !IsUsedByLinkedPage(*resource))
      return;
    uint32_t successor = 0;
    const bool found = m_prefetchOrder.FindIf(
        [&](uint32_t queued) {
          VORResource *queuedResource = GetResource(queued);
          return queuedResource && PrecedesInPrefetch(*resource, *queuedResource);
        },
        successor);
    if (found)
      m_prefetchOrder.InsertBefore(resource->GetHandle(), successor);
    else
      m_prefetchOrder.Append(resource->GetHandle());
  });
}

bool VORResourceManager::PrefetchOne() {
  if (m_prefetching)
    return false;
  m_prefetching = true;
  bool worked = false;
  try {
    worked = PrefetchNext();
  } catch (VORException *exception) {
    delete exception;
  } catch (...) {
    // Loading ahead is never worth more than giving up for this pass.
  }
  m_prefetching = false;
  return worked;
}

bool VORResourceManager::PrefetchNext() {
  if (m_prefetchOrderStale)
    RebuildPrefetchList();
  uint32_t chosen = 0;
  const bool found = m_prefetchOrder.FindIf(
      [&](uint32_t handle) {
        VORResource *resource = GetResource(handle);
        return resource && !resource->IsLoaded() && FitsBudget(*resource);
      },
      chosen);
  if (!found)
    return false;
  m_prefetchOrder.Remove(chosen);
  VORResource *resource = GetResource(chosen);
  if (resource->Lock())
    resource->Unlock();
  return true;
}

bool VORResourceManager::FitsBudget(VORResource &resource) {
  const uint32_t size = resource.GetSize();
  if (size == VORResource::kUnknownSize)
    return false;
  const uint64_t room = m_budget > m_bytesInUse ? m_budget - m_bytesInUse : 0;
  if (size < room)
    return true;
  uint64_t evictable = 0;
  VisitAll(m_resources, [&](VORResource *other) {
    if (!other->HasLockedBlock() && !IsUsedByActivePage(*other) && !IsUsedByLinkedPage(*other))
      evictable += other->GetLoadedBytes();
  });
  return size < room + evictable;
}

int32_t VORResourceManager::FileKindFromExtension(const char *fileName) {
  const size_t length = fileName ? std::strlen(fileName) : 0;
  if (length < kShortestNameWithExtension)
    return VORFileKind::kOther;
  char extension[kExtensionLength + 1] = {};
  for (size_t i = 0; i < kExtensionLength; ++i)
    extension[i] = FoldAscii(fileName[length - kExtensionLength + i]);
  for (const ExtensionKind &entry : kExtensionKinds)
    if (std::strcmp(entry.extension, extension) == 0)
      return entry.kind;
  return VORFileKind::kOther;
}
