#include "model/VORResource.h"

#include "model/VORApp.h"
#include "model/VORResourceBlock.h"
#include "model/VORResourceFile.h"
#include "model/VORResourceManager.h"

namespace {
constexpr uint64_t kUnboundedEnd = UINT64_MAX;
}

VORResource::VORResource(VORResourceManager &manager, uint32_t handle, std::unique_ptr<VORResourceFile> file,
                         int32_t priority1, int32_t priority2)
    : m_manager(manager), m_handle(handle), m_file(std::move(file)), m_priority1(priority1), m_priority2(priority2) {}

VORResource::~VORResource() {
  m_blocks.DeleteAll();
  if (m_fileOpenCount > 0)
    m_file->Close();
}

bool VORResource::Lock() {
  if (m_lockCount == 0) {
    VORResourceBlock *whole = WholeBlock();
    if (!whole || !whole->Lock())
      return false;
  }
  ++m_lockCount;
  return true;
}

void VORResource::Unlock() {
  if (m_lockCount == 0 || --m_lockCount > 0)
    return;
  if (VORResourceBlock *whole = FindBlock(m_wholeBlockHandle))
    whole->Unlock();
}

VORResourceBlock *VORResource::WholeBlock() {
  if (VORResourceBlock *whole = FindBlock(m_wholeBlockHandle))
    return whole;
  m_wholeBlockHandle = GetBlock(0, VORResourceBlock::kWholeResource, m_priority1, m_priority2, true, false);
  return FindBlock(m_wholeBlockHandle);
}

VORResourceBlock *VORResource::GetLockedWholeBlock() const {
  return m_lockCount > 0 ? FindBlock(m_wholeBlockHandle) : nullptr;
}

uint32_t VORResource::GetSize() {
  if (m_size == kUnknownSize) {
    uint32_t size = 0;
    if (m_file->GetSize(size))
      m_size = size;
  }
  return m_size;
}

bool VORResource::OpenFile() {
  if (m_fileOpenCount == 0 && !m_file->Open()) {
    if (VORApp *app = VORApp::Get())
      app->ReportResourceError(VORResourceManager::kResourceError);
    return false;
  }
  ++m_fileOpenCount;
  return true;
}

void VORResource::CloseFile() {
  if (m_fileOpenCount == 0)
    return;
  if (--m_fileOpenCount == 0)
    m_file->Close();
}

VORResourceBlock *VORResource::FindCoveringBlock(uint32_t offset, uint32_t size, bool exact) const {
  const uint64_t resourceEnd = m_size == kUnknownSize ? kUnboundedEnd : m_size;
  const uint64_t end = size == VORResourceBlock::kWholeResource ? resourceEnd : static_cast<uint64_t>(offset) + size;
  VORResourceBlock *found = nullptr;
  m_blocks.FindIf(
      [&](VORResourceBlock *block) {
        return (!exact || block->GetOffset() == offset) && block->Covers(offset, end, resourceEnd);
      },
      found);
  return found;
}

uint32_t VORResource::GetBlock(uint32_t offset, uint32_t size, int32_t priority1, int32_t priority2, bool exact,
                               bool forced) {
  if (VORResourceBlock *found = FindCoveringBlock(offset, size, exact)) {
    found->KeepUrgentPriorities(priority1, priority2);
    return found->GetHandle();
  }
  const uint32_t number = NextBlockNumber();
  if (number == 0)
    return 0;
  const uint32_t handle = m_handle | number;
  m_blocks.Prepend(new VORResourceBlock(*this, handle, offset, size, priority1, priority2, forced));
  return handle;
}

uint32_t VORResource::NextBlockNumber() {
  for (uint32_t tries = 0; tries < kBlockNumberMask; ++tries) {
    m_blockCounter = m_blockCounter % kBlockNumberMask + 1;
    if (!FindBlock(m_handle | m_blockCounter))
      return m_blockCounter;
  }
  return 0;
}

VORResourceBlock *VORResource::FindBlock(uint32_t blockHandle) const {
  if (blockHandle == 0)
    return nullptr;
  VORResourceBlock *found = nullptr;
  m_blocks.FindIf([&](VORResourceBlock *block) { return block->GetHandle() == blockHandle; }, found);
  return found;
}

VORResourceBlock *VORResource::GetFirstBlock() const {
  VORResourceBlock *first = nullptr;
  m_blocks.FindIf([](VORResourceBlock *) { return true; }, first);
  return first;
}

void VORResource::FreeBlocks() {
  m_blocks.DeleteAll();
  // The locks counted were on the whole resource's block, which went.
  m_lockCount = 0;
  m_wholeBlockHandle = 0;
  m_size = kUnknownSize;
}

void VORResource::AddUser(const VORObjectCode &user) {
  if (!IsUsedBy(user))
    m_users.Append(user);
}

bool VORResource::IsUsedBy(const VORObjectCode &user) const {
  return HasUser([&](const VORObjectCode &candidate) { return candidate == user; });
}

bool VORResource::IsLoaded() const {
  const VORResourceBlock *whole = FindCoveringBlock(0, VORResourceBlock::kWholeResource, true);
  return whole && whole->IsLoaded();
}

bool VORResource::HasLockedBlock() const {
  VORResourceBlock *found = nullptr;
  return m_blocks.FindIf([](VORResourceBlock *block) { return block->GetLockCount() > 0; }, found);
}

bool VORResource::IsBusy() const {
  return m_lockCount > 0 || m_fileOpenCount > 0 || m_blocks.GetActiveIterations() > 0 || HasLockedBlock();
}

uint64_t VORResource::GetLoadedBytes() const {
  uint64_t bytes = 0;
  VORResourceBlock *unused = nullptr;
  m_blocks.FindIf(
      [&](VORResourceBlock *block) {
        if (block->IsLoaded())
          bytes += block->GetSize();
        return false;
      },
      unused);
  return bytes;
}
