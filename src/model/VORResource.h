#pragma once

#include <cstdint>
#include <memory>

#include "foundation/XQList.h"
#include "model/VORObjectCode.h"

class VORResourceBlock;
class VORResourceFile;
class VORResourceManager;

// One resource of the publication: its file, the blocks loaded from it and
// the pages and objects that use it.
class VORResource {
public:
  static constexpr uint32_t kUnknownSize = 0xFFFFFFFF;
  // The low half of a block handle is its number within the resource.
  static constexpr uint32_t kBlockNumberMask = 0xFFFF;

  VORResource(VORResourceManager &manager, uint32_t handle, std::unique_ptr<VORResourceFile> file, int32_t priority1,
              int32_t priority2);
  VORResource(const VORResource &) = delete;
  VORResource &operator=(const VORResource &) = delete;
  ~VORResource();

  // Takes the block of the whole resource, loads it at the first lock, and
  // counts; false when it cannot be loaded.
  bool Lock();
  // Counts down; at 0 the whole resource's block is unlocked.
  void Unlock();
  // The size the file gives, asked once; kUnknownSize while the file
  // cannot say.
  uint32_t GetSize();

  // Counted: the file opens at the first open and closes at the last
  // close. A failed open reports resource error 1 to the application.
  bool OpenFile();
  void CloseFile();

  // The block that holds [offset, offset + size) (with exact, one that also
  // starts at offset), else a new one; answers its handle, 0 when every
  // block number is taken.
  uint32_t GetBlock(uint32_t offset, uint32_t size, int32_t priority1, int32_t priority2, bool exact, bool forced);
  VORResourceBlock *FindBlock(uint32_t blockHandle) const;
  // The most recently created block, or null.
  VORResourceBlock *GetFirstBlock() const;
  // The block of the whole resource while the resource is locked, or null.
  VORResourceBlock *GetLockedWholeBlock() const;
  // Deletes every block (memory first), with the locks on them, and forgets
  // the size.
  void FreeBlocks();

  // Each user is recorded once.
  void AddUser(const VORObjectCode &user);
  bool IsUsedBy(const VORObjectCode &user) const;
  // Whether any of the users matches.
  template <class Match>
  bool HasUser(Match match) const {
    VORObjectCode found;
    return m_users.FindIf(match, found);
  }

  // Whether the whole resource is loaded.
  bool IsLoaded() const;
  bool HasLockedBlock() const;
  // A lock, an open file or a walk over the blocks: the resource may not go.
  bool IsBusy() const;
  // The bytes of the loaded blocks.
  uint64_t GetLoadedBytes() const;

  VORResourceManager &GetManager() const { return m_manager; }
  uint32_t GetHandle() const { return m_handle; }
  VORResourceFile &GetFile() const { return *m_file; }
  uint32_t GetLockCount() const { return m_lockCount; }
  int32_t GetPriority1() const { return m_priority1; }
  int32_t GetPriority2() const { return m_priority2; }
  const XQList<VORResourceBlock *, 1> &GetBlocks() const { return m_blocks; }

private:
  VORResourceBlock *FindCoveringBlock(uint32_t offset, uint32_t size, bool exact) const;
  // A block number not in use, 0 when all are.
  uint32_t NextBlockNumber();
  VORResourceBlock *WholeBlock();

  VORResourceManager &m_manager;
  uint32_t m_handle;
  std::unique_ptr<VORResourceFile> m_file;
  uint32_t m_size = kUnknownSize;
  uint32_t m_lockCount = 0;
  uint32_t m_fileOpenCount = 0;
  uint32_t m_blockCounter = 0;
  // New blocks first; the list owns them.
  XQList<VORResourceBlock *, 1> m_blocks;
  uint32_t m_wholeBlockHandle = 0;
  int32_t m_priority1;
  int32_t m_priority2;
  XQList<VORObjectCode, 1> m_users;
};
