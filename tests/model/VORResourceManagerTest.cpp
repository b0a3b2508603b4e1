#include "model/VORResourceManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/VORException.h"
#include "model/VORResource.h"
#include "support/FakeApp.h"
#include "support/FakeResourceFile.h"
#include "support/FakeResourcePlatform.h"
#include "support/MemoryFile.h"
#include "support/XQListContents.h"

namespace {

constexpr uint32_t kMiB = 0x100000;
constexpr uint32_t kSmall = 64;
constexpr uint32_t kLarge = VORResourceManager::kLargestHeapBlock + 1;
constexpr uint32_t kWhole = VORResourceBlock::kWholeResource;
const VORObjectCode kShownPage(0, 4, 1);
const VORObjectCode kLinkedPage(0, 4, 2);
const VORObjectCode kOtherPage(0, 4, 3);

class ResourceManagerTest : public ::testing::Test {
protected:
  ResourceManagerTest() {
    machine.SetFreeMemory(uint64_t{600} * kMiB); // a budget of 400 MiB: room for every test but the budget's own
  }

  // A resource of that many counting bytes; the file stays reachable
  // through files until the resource goes.
  uint32_t AddResource(uint32_t size, int32_t kind = VORFileKind::kOther, int32_t priority1 = 0,
                       int32_t priority2 = 0) {
    auto file = std::make_unique<FakeResourceFile>(CountingBytes(size), kind);
    FakeResourceFile *raw = file.get();
    const uint32_t handle = manager.OpenResource(std::move(file), priority1, priority2, 0);
    files[handle] = raw;
    return handle;
  }

  // Locks and unlocks the whole resource at that time: loaded, unlocked,
  // stamped then.
  void LoadAt(uint32_t handle, uint32_t time) {
    machine.now = time;
    ASSERT_TRUE(manager.LockResource(handle)) << std::hex << handle;
    manager.ReleaseResourceLock(handle);
  }

  bool IsLoaded(uint32_t handle) const {
    VORResource *resource = manager.GetResource(handle);
    return resource && resource->IsLoaded();
  }
  bool Exists(uint32_t handle) const { return manager.GetResource(handle) != nullptr; }

  // The page is shown and the linked page is linked to it.
  void ShowPages() {
    manager.AddActivePage(kShownPage);
    manager.AddLinkedPage(kShownPage, kLinkedPage);
  }

  FakeApp app;
  FakeMachine machine;
  VORResourceManager manager{machine.MakePlatform()};
  std::map<uint32_t, FakeResourceFile *> files;
};

TEST_F(ResourceManagerTest, HandlesCountFromTheFirstResourceAndBlocksAddTheirNumber) {
  const uint32_t first = AddResource(100);
  const uint32_t second = AddResource(100);
  EXPECT_EQ(first, 0x10000u);
  EXPECT_EQ(second, 0x20000u);
  const uint32_t block1 = manager.GetBlock(second, 0, 10, 0, 0, false, false);
  const uint32_t block2 = manager.GetBlock(second, 50, 10, 0, 0, false, false);
  EXPECT_EQ(block1, 0x20001u);
  EXPECT_EQ(block2, 0x20002u);
  EXPECT_EQ(manager.GetBlock(second, 2, 5, 0, 0, false, false), block1) << "a block that covers the range";
  EXPECT_NE(manager.GetBlock(second, 2, 5, 0, 0, true, false), block1) << "exact: a block starting there";
  EXPECT_EQ(manager.GetBlock(0x70000, 0, 10, 0, 0, false, false), 0u) << "no resource";
}

TEST_F(ResourceManagerTest, AWrappedHandleCounterSkipsLiveResources) {
  const uint32_t kept = AddResource(10);
  ASSERT_EQ(kept, 0x10000u);
  // Every other counter value is used once and let go.
  for (uint32_t i = 2; i <= 0xFFFF; ++i) {
    const uint32_t handle = AddResource(10);
    ASSERT_EQ(handle, i << 16);
    manager.DeleteResource(handle);
  }
  const uint32_t wrapped = AddResource(10);
  EXPECT_EQ(wrapped, 0x20000u) << "counter 1 is still in use";
  EXPECT_NE(manager.GetResource(kept), manager.GetResource(wrapped));
}

TEST_F(ResourceManagerTest, ABlockLoadsItsBytesAndKeepsThemAfterTheLastUnlock) {
  const uint32_t handle = AddResource(1000);
  const uint32_t block = manager.GetBlock(handle, 100, 50, 0, 0, false, false);
  ASSERT_TRUE(manager.LockBlock(block));
  uint8_t *memory = nullptr;
  uint32_t size = 0, offset = 0;
  ASSERT_TRUE(manager.GetBlockInfo(block, memory, size, offset));
  EXPECT_EQ(size, 50u);
  EXPECT_EQ(offset, 100u);
  EXPECT_EQ(memory[0], 100);
  EXPECT_EQ(memory[49], 149);
  manager.UnlockBlock(block);
  ASSERT_TRUE(manager.GetBlockInfo(block, memory, size, offset));
  EXPECT_NE(memory, nullptr) << "memory stays until evicted";
  EXPECT_EQ(manager.GetBytesInUse(), 50u);
  EXPECT_EQ(manager.GetHeapBlockCount(), 1u);
  EXPECT_FALSE(files[handle]->IsOpen()) << "the file is opened only around the load";
}

TEST_F(ResourceManagerTest, ShortReadsAndMissingFilesLeaveTheBlockUnloaded) {
  struct Case {
    const char *name;
    uint32_t missingTail;
    bool openFails;
    size_t resourceErrors;
  } cases[] = {
      {"a read one byte short", 1, false, 0},
      {"a file that does not open", 0, true, 1},
  };
  for (const Case &c : cases) {
    const uint32_t handle = AddResource(kLarge);
    files[handle]->SetMissingTail(c.missingTail);
    files[handle]->SetOpenFails(c.openFails);
    const size_t errorsBefore = app.GetResourceErrors().size();
    EXPECT_FALSE(manager.LockResource(handle)) << c.name;
    EXPECT_FALSE(IsLoaded(handle)) << c.name;
    uint8_t *memory = nullptr;
    uint32_t size = 0;
    EXPECT_FALSE(manager.GetResourceData(handle, memory, size)) << c.name;
    EXPECT_EQ(memory, nullptr) << c.name;
    EXPECT_EQ(manager.GetBytesInUse(), 0u) << c.name;
    EXPECT_EQ(manager.GetBlockCount(), 0u) << c.name;
    EXPECT_EQ(machine.GetLiveBlocks(true), 0) << c.name << ": the memory went back";
    EXPECT_EQ(app.GetResourceErrors().size() - errorsBefore, c.resourceErrors) << c.name;
    EXPECT_EQ(manager.GetResource(handle)->GetLockCount(), 0u) << c.name;
  }
}

TEST_F(ResourceManagerTest, AnEmptyResourceDoesNotLoad) {
  const uint32_t handle = AddResource(0);
  EXPECT_FALSE(manager.LockResource(handle));
  EXPECT_EQ(manager.GetBlockCount(), 0u);
}

TEST_F(ResourceManagerTest, ResourceLocksCountOnTheWholeResourceBlock) {
  const uint32_t handle = AddResource(300);
  ASSERT_TRUE(manager.LockResource(handle));
  ASSERT_TRUE(manager.LockResource(handle));
  EXPECT_EQ(files[handle]->GetOpenCount(), 1) << "loaded at the first lock only";
  VORResource *resource = manager.GetResource(handle);
  EXPECT_EQ(resource->GetSize(), 300u);
  manager.ReleaseResourceLock(handle);
  EXPECT_TRUE(resource->HasLockedBlock());
  manager.ReleaseResourceLock(handle);
  EXPECT_FALSE(resource->HasLockedBlock());
  EXPECT_TRUE(resource->IsLoaded());
  manager.ReleaseResourceLock(handle); // one unlock too many changes nothing
  EXPECT_EQ(resource->GetLockCount(), 0u);
}

TEST_F(ResourceManagerTest, ResourceDataIsTheWholeBlockWhileLocked) {
  const uint32_t handle = AddResource(300);
  ASSERT_TRUE(manager.LockResource(handle));
  // A later block of its own, starting elsewhere.
  const uint32_t later = manager.GetBlock(handle, 200, 10, 0, 0, true, false);
  ASSERT_TRUE(manager.LockBlock(later));
  uint8_t *memory = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(manager.GetResourceData(handle, memory, size));
  EXPECT_EQ(size, 300u);
  EXPECT_EQ(memory[0], 0);
  manager.ReleaseResourceLock(handle);
  ASSERT_TRUE(manager.GetResourceData(handle, memory, size));
  EXPECT_EQ(size, 10u) << "unlocked: the most recent block";
  EXPECT_EQ(memory[0], 200);
}

// Which resource one eviction step takes, by what uses each and when it
// was last used.
TEST_F(ResourceManagerTest, EvictionTable) {
  enum class Use { kNone, kShown, kLinked };
  struct Resource {
    Use use;
    uint32_t lastUse;
    bool locked;
  };
  struct Case {
    const char *name;
    std::vector<Resource> resources;
    uint32_t now;
    int evicted; // index, or -1 for none
  } cases[] = {
      {"the oldest unused block goes",
       {{Use::kNone, 100, false}, {Use::kNone, 50, false}, {Use::kNone, 70, false}},
       200,
       1},
      {"pass 0 spares shown and linked pages however old",
       {{Use::kShown, 10, false}, {Use::kLinked, 20, false}, {Use::kNone, 150, false}},
       200,
       2},
      {"pass 1 takes a linked page's block before a shown page's",
       {{Use::kShown, 10, false}, {Use::kLinked, 150, false}},
       200,
       1},
      {"pass 2 takes the shown page's oldest", {{Use::kShown, 10, false}, {Use::kShown, 5, false}}, 200, 1},
      {"a block used in this very millisecond stays", {{Use::kNone, 200, false}}, 200, -1},
      {"a same-millisecond block moves the search on to the next pass",
       {{Use::kNone, 200, false}, {Use::kLinked, 100, false}},
       200,
       1},
      {"ties keep the first found", {{Use::kNone, 100, false}, {Use::kNone, 100, false}}, 200, 0},
      {"locked blocks are not candidates", {{Use::kNone, 10, true}, {Use::kNone, 100, false}}, 200, 1},
      {"ages are taken across the clock's wrap", {{Use::kNone, 0xFFFFFFF0, false}, {Use::kNone, 1, false}}, 5, 0},
      {"nothing to evict", {{Use::kShown, 10, true}}, 200, -1},
  };
  for (const Case &c : cases) {
    FakeMachine machine2;
    machine2.SetFreeMemory(uint64_t{600} * kMiB);
    VORResourceManager local(machine2.MakePlatform());
    local.AddActivePage(kShownPage);
    local.AddLinkedPage(kShownPage, kLinkedPage);
    std::vector<uint32_t> handles;
    for (const Resource &r : c.resources) {
      const uint32_t handle = local.OpenResource(std::make_unique<FakeResourceFile>(CountingBytes(kSmall)), 0, 0, 0);
      if (r.use == Use::kShown)
        local.AddResourceUser(handle, kShownPage);
      else if (r.use == Use::kLinked)
        local.AddResourceUser(handle, kLinkedPage);
      machine2.now = r.lastUse;
      ASSERT_TRUE(local.LockResource(handle)) << c.name;
      if (!r.locked)
        local.ReleaseResourceLock(handle);
      handles.push_back(handle);
    }
    machine2.now = c.now;
    EXPECT_EQ(local.EvictOne(VORResourceManager::SizeClass::kAny), c.evicted >= 0) << c.name;
    for (size_t i = 0; i < handles.size(); ++i) {
      VORResource *resource = local.GetResource(handles[i]);
      const bool loaded = resource && resource->IsLoaded();
      EXPECT_EQ(loaded, static_cast<int>(i) != c.evicted) << c.name << ", resource " << i;
    }
  }
}

TEST_F(ResourceManagerTest, AnEvictedResourceGoesUnlessAPageUsesIt) {
  ShowPages();
  const uint32_t unused = AddResource(kSmall);
  const uint32_t shown = AddResource(kSmall);
  manager.AddResourceUser(shown, kShownPage);
  LoadAt(shown, 10);
  LoadAt(unused, 20);
  machine.now = 100;
  ASSERT_TRUE(manager.EvictOne(VORResourceManager::SizeClass::kAny));
  EXPECT_FALSE(Exists(unused)) << "the owner reopens it by its identifier";
  ASSERT_TRUE(manager.EvictOne(VORResourceManager::SizeClass::kAny));
  EXPECT_TRUE(Exists(shown));
  EXPECT_FALSE(IsLoaded(shown));
  EXPECT_TRUE(manager.LockResource(shown)) << "and loads again";
}

TEST_F(ResourceManagerTest, AResourceWithAnOpenFileStays) {
  const uint32_t handle = AddResource(kSmall);
  LoadAt(handle, 10);
  ASSERT_TRUE(manager.OpenResourceFile(handle));
  machine.now = 100;
  ASSERT_TRUE(manager.EvictOne(VORResourceManager::SizeClass::kAny));
  EXPECT_TRUE(Exists(handle)) << "its owner reads the file";
  manager.CloseResourceFile(handle);
}

TEST_F(ResourceManagerTest, AnEleventhLinkedPageIsNotRecorded) {
  manager.AddActivePage(kShownPage);
  for (int32_t i = 0; i < VORResourceManager::kLinkedPageSlots; ++i)
    manager.AddLinkedPage(kShownPage, VORObjectCode(0, 4, 100 + i));
  const VORObjectCode eleventh(0, 4, 200);
  manager.AddLinkedPage(kShownPage, eleventh);
  const uint32_t tenth = AddResource(kSmall);
  manager.AddResourceUser(tenth, VORObjectCode(0, 4, 109));
  const uint32_t beyond = AddResource(kSmall);
  manager.AddResourceUser(beyond, eleventh);
  EXPECT_TRUE(manager.IsUsedByLinkedPage(*manager.GetResource(tenth)));
  EXPECT_FALSE(manager.IsUsedByLinkedPage(*manager.GetResource(beyond)));
  manager.RemoveActivePage(kShownPage);
  EXPECT_FALSE(manager.IsUsedByLinkedPage(*manager.GetResource(tenth))) << "the links went with the page";
}

TEST_F(ResourceManagerTest, AResourceLoadingCannotBeEvictedByTheRoomMadeForIt) {
  machine.SetFreeMemory(6 * kMiB); // budget 4 MiB
  manager.UpdateBudget();
  ASSERT_EQ(manager.GetBudget(), 4 * kMiB);
  const uint32_t handle = AddResource(3 * kMiB);
  // An older block of the same resource takes most of the budget.
  const uint32_t part = manager.GetBlock(handle, 0, 2 * kMiB, 0, 0, false, false);
  machine.now = 10;
  ASSERT_TRUE(manager.LockBlock(part));
  manager.UnlockBlock(part);
  // Loading the whole resource evicts that block; the resource, being
  // loaded, has to stay.
  machine.now = 100;
  ASSERT_TRUE(manager.LockResource(handle));
  ASSERT_TRUE(Exists(handle));
  uint8_t *memory = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(manager.GetResourceData(handle, memory, size));
  EXPECT_EQ(size, 3 * kMiB);
  EXPECT_EQ(memory[size - 1], static_cast<uint8_t>(size - 1));
  EXPECT_EQ(manager.GetBytesInUse(), 3u * kMiB) << "the older block was evicted";
}

TEST_F(ResourceManagerTest, BudgetFromTheMachinesMemory) {
  struct Case {
    const char *name;
    VORMemoryFigures figures;
    uint32_t budget;
  } cases[] = {
      {"little free memory gives the minimum", {0, 3 * kMiB, 0, 0, false}, 4 * kMiB},
      {"two thirds of free physical memory", {0, 60 * kMiB, 0, 0, false}, 40 * kMiB},
      {"NT: physical plus free page file less the page file",
       {2048ull * kMiB, 0, 4096ull * kMiB, 3072ull * kMiB, true},
       (1024 * kMiB) / 3 * 2 + (1024 * kMiB) % 3 * 2 / 3},
      {"NT: more free than 32 signed bits hold is capped",
       {4095ull * kMiB, 0, 4095ull * kMiB, 3500ull * kMiB, true},
       VORResourceManager::kMaximumBudget},
      {"NT: a large host is capped",
       {65536ull * kMiB, 0, 73728ull * kMiB, 71680ull * kMiB, true},
       VORResourceManager::kMaximumBudget},
      {"NT: more committed than there is gives the minimum",
       {1024ull * kMiB, 0, 4096ull * kMiB, 1024ull * kMiB, true},
       4 * kMiB},
  };
  for (const Case &c : cases) {
    machine.figures = c.figures;
    manager.UpdateBudget();
    EXPECT_EQ(manager.GetBudget(), c.budget) << c.name;
  }
}

TEST_F(ResourceManagerTest, AllocationEvictsToStayWithinTheBudget) {
  machine.SetFreeMemory(6 * kMiB); // budget 4 MiB
  const uint32_t first = AddResource(3 * kMiB / 2);
  const uint32_t second = AddResource(3 * kMiB / 2);
  const uint32_t third = AddResource(3 * kMiB / 2);
  LoadAt(first, 10);
  LoadAt(second, 20);
  LoadAt(third, 30);
  EXPECT_FALSE(Exists(first)) << "the oldest made room";
  EXPECT_TRUE(IsLoaded(second));
  EXPECT_TRUE(IsLoaded(third));
  EXPECT_EQ(manager.GetBytesInUse(), 3u * kMiB);
}

TEST_F(ResourceManagerTest, UpdateBudgetEvictsAsMuchAgainAsTheExcess) {
  std::vector<uint32_t> handles;
  for (uint32_t i = 0; i < 6; ++i) {
    handles.push_back(AddResource(kMiB));
    LoadAt(handles.back(), 10 + i);
  }
  machine.SetFreeMemory(6 * kMiB); // budget 4 MiB, 6 MiB in use
  machine.now = 100;
  manager.UpdateBudget();
  EXPECT_EQ(manager.GetBytesInUse(), 2u * kMiB);
  for (size_t i = 0; i < handles.size(); ++i)
    EXPECT_EQ(IsLoaded(handles[i]), i >= 4) << "resource " << i;
}

TEST_F(ResourceManagerTest, HeapAndGlobalLimitsEvictTheirOwnKind) {
  std::vector<uint32_t> small, large;
  for (uint32_t i = 0; i < 100; ++i) {
    small.push_back(AddResource(kSmall));
    LoadAt(small.back(), 100 + i);
  }
  for (uint32_t i = 0; i < 200; ++i) {
    large.push_back(AddResource(kLarge));
    LoadAt(large.back(), 1000 + i);
  }
  EXPECT_TRUE(IsLoaded(small.front())) << "large blocks leave small ones alone";
  const uint32_t nextLarge = AddResource(kLarge);
  LoadAt(nextLarge, 5000);
  EXPECT_FALSE(Exists(large.front())) << "the 201st global block evicts the oldest large one";
  EXPECT_TRUE(IsLoaded(small.front()));
  EXPECT_EQ(manager.GetGlobalBlockCount(), 200u);

  const uint32_t nextSmall = AddResource(kSmall);
  LoadAt(nextSmall, 5001);
  EXPECT_FALSE(Exists(small.front())) << "the 101st heap block evicts the oldest small one";
  EXPECT_TRUE(IsLoaded(large[1]));
  EXPECT_EQ(manager.GetHeapBlockCount(), 100u);
}

TEST_F(ResourceManagerTest, ABlockTakenAsGlobalMemoryGoesBackAsGlobalMemory) {
  const uint32_t handle = AddResource(1000);
  const uint32_t forced = manager.GetBlock(handle, 0, 100, 0, 0, false, true);
  ASSERT_TRUE(manager.LockBlock(forced));
  EXPECT_EQ(machine.GetLiveBlocks(true), 1);
  EXPECT_EQ(manager.GetGlobalBlockCount(), 1u);
  manager.UnlockBlock(forced);
  manager.FreeResourceBlocks(*manager.GetResource(handle));
  EXPECT_EQ(machine.GetLiveBlocks(true), 0);
  EXPECT_EQ(machine.GetMismatchedFrees(), 0);
  EXPECT_EQ(manager.GetGlobalBlockCount(), 0u);
  EXPECT_EQ(manager.GetHeapBlockCount(), 0u);
}

TEST_F(ResourceManagerTest, ATotalOfTenThousandBlocksEvictsAnyKind) {
  // Locked blocks cannot go, so the counts pass their limits.
  const uint32_t handle = AddResource(10000 * 4);
  manager.AddActivePage(kShownPage);
  manager.AddResourceUser(handle, kShownPage);
  for (uint32_t i = 0; i < 9999; ++i)
    ASSERT_TRUE(manager.LockBlock(manager.GetBlock(handle, i * 4, 4, 0, 0, true, false)));
  const uint32_t spare = AddResource(kSmall);
  LoadAt(spare, 10);
  ASSERT_EQ(manager.GetBlockCount(), 10000u);
  // A large block is over no limit of its own kind.
  const uint32_t large = AddResource(kLarge);
  LoadAt(large, 100);
  EXPECT_FALSE(Exists(spare));
  EXPECT_EQ(manager.GetBlockCount(), 10000u);
}

TEST_F(ResourceManagerTest, AGlobalAllocationFailureThrowsTheRequestedSize) {
  machine.globalAllocationFails = true;
  const uint32_t handle = AddResource(kLarge);
  try {
    manager.LockResource(handle);
    FAIL() << "no exception";
  } catch (VORNewFailException &failure) {
    EXPECT_EQ(failure.GetRequestedSize(), kLarge);
  }
  VORResource *resource = manager.GetResource(handle);
  ASSERT_NE(resource, nullptr);
  EXPECT_FALSE(resource->HasLockedBlock()) << "the load's own lock is given back";
  EXPECT_FALSE(files[handle]->IsOpen());
}

TEST_F(ResourceManagerTest, PrefetchOrder) {
  manager.AddActivePage(kShownPage);
  manager.AddLinkedPage(kShownPage, kLinkedPage);
  struct Entry {
    const char *name;
    int32_t kind;
    VORObjectCode user;
    int32_t priority1;
    int32_t priority2;
    int32_t number; // internal number, or -1 for an outside file
  } entries[] = {
      {"linked, priority 1", VORFileKind::kPictureFile, kLinkedPage, 1, 0, -1},
      {"linked, priority 0", VORFileKind::kPictureFile, kLinkedPage, 0, 5, -1},
      {"shown, priority 9", VORFileKind::kInternalPicture, kShownPage, 9, 0, 7},
      {"a sound is never loaded ahead", VORFileKind::kWave, kShownPage, 0, 0, -1},
      {"linked, priority 0 and 2", VORFileKind::kInternalVideo, kLinkedPage, 0, 2, 30},
      {"linked, priority 0 and 2, a lower number", VORFileKind::kInternalPicture, kLinkedPage, 0, 2, 4},
      {"a picture of no page", VORFileKind::kPictureFile, kOtherPage, 0, 0, -1},
      {"shown, priority 3", VORFileKind::kPictureFile, kShownPage, 3, 0, -1},
  };
  std::map<uint32_t, std::string> names;
  for (const Entry &e : entries) {
    auto file = std::make_unique<FakeResourceFile>(CountingBytes(kSmall), e.kind);
    if (e.number >= 0)
      file->SetInternalIdentifier(VORInternalResourceIdentifier(e.number, e.kind));
    const uint32_t handle = manager.OpenResource(std::move(file), e.priority1, e.priority2, 0);
    manager.AddResourceUser(handle, e.user);
    names[handle] = e.name;
  }
  manager.RebuildPrefetchList();
  std::vector<std::string> order;
  for (uint32_t handle : ForwardContents(manager.GetPrefetchOrder()))
    order.push_back(names[handle]);
  const std::vector<std::string> expected = {
      "shown, priority 3",        "shown, priority 9",  "linked, priority 0 and 2, a lower number",
      "linked, priority 0 and 2", "linked, priority 0", "linked, priority 1",
  };
  EXPECT_EQ(order, expected);
}

TEST_F(ResourceManagerTest, PrefetchLoadsOneResourcePerPassAndLeavesItUnlocked) {
  ShowPages();
  const uint32_t later = AddResource(kSmall, VORFileKind::kPictureFile, 5);
  const uint32_t first = AddResource(kSmall, VORFileKind::kPictureFile, 1);
  const uint32_t broken = AddResource(kSmall, VORFileKind::kPictureFile, 3);
  files[broken]->SetMissingTail(1);
  for (uint32_t handle : {later, first, broken})
    manager.AddResourceUser(handle, kLinkedPage);

  EXPECT_TRUE(manager.PrefetchOne());
  EXPECT_TRUE(IsLoaded(first));
  EXPECT_FALSE(IsLoaded(later));
  EXPECT_FALSE(manager.GetResource(first)->HasLockedBlock());
  EXPECT_TRUE(manager.PrefetchOne()) << "the broken one is tried";
  EXPECT_FALSE(IsLoaded(broken));
  EXPECT_TRUE(manager.PrefetchOne());
  EXPECT_TRUE(IsLoaded(later));
  EXPECT_FALSE(manager.PrefetchOne()) << "a resource that does not load is not tried at every idle pass";

  // A change of users orders everything anew.
  manager.AddResourceUser(broken, kShownPage);
  EXPECT_TRUE(manager.PrefetchOne());
  EXPECT_EQ(files[broken]->GetOpenCount(), 2);
}

TEST_F(ResourceManagerTest, PrefetchTakesOnlyWhatFitsTheBudget) {
  machine.SetFreeMemory(6 * kMiB); // budget 4 MiB
  ShowPages();
  // Locked, and more than the budget: nothing is free.
  const uint32_t held = AddResource(5 * kMiB);
  ASSERT_TRUE(manager.LockResource(held));
  manager.UpdateBudget();
  const uint32_t picture = AddResource(1024, VORFileKind::kPictureFile);
  manager.AddResourceUser(picture, kLinkedPage);
  EXPECT_FALSE(manager.FitsBudget(*manager.GetResource(picture))) << "over the budget there is no room at all";
  EXPECT_FALSE(manager.PrefetchOne());

  // Once the big one is unlocked and no page uses it, it counts as room.
  manager.ReleaseResourceLock(held);
  EXPECT_TRUE(manager.FitsBudget(*manager.GetResource(picture)));
  machine.now = 2000;
  EXPECT_TRUE(manager.PrefetchOne());
  EXPECT_TRUE(IsLoaded(picture));
}

TEST_F(ResourceManagerTest, PrefetchSwallowsFailures) {
  ShowPages();
  machine.globalAllocationFails = true;
  const uint32_t picture = AddResource(kLarge, VORFileKind::kPictureFile);
  manager.AddResourceUser(picture, kShownPage);
  EXPECT_FALSE(manager.PrefetchOne());
  EXPECT_FALSE(IsLoaded(picture));
}

TEST_F(ResourceManagerTest, FreedBlocksLeaveTheResourceToLoadAgain) {
  const uint32_t handle = AddResource(kSmall);
  LoadAt(handle, 10);
  manager.FreeResourceBlocks(*manager.GetResource(handle));
  EXPECT_TRUE(Exists(handle));
  EXPECT_FALSE(IsLoaded(handle));
  EXPECT_EQ(manager.GetBytesInUse(), 0u);
  EXPECT_EQ(manager.GetResource(handle)->GetBlocks().GetCount(), 0u);
  EXPECT_TRUE(manager.LockResource(handle));
  EXPECT_EQ(files[handle]->GetOpenCount(), 2);
}

TEST(VORResourceManagerFileKindTest, FileKindFromExtension) {
  struct Case {
    const char *name;
    int32_t kind;
  } cases[] = {
      {"photo.JPG", VORFileKind::kPictureFile},
      {"a.bmp", VORFileKind::kPictureFile},
      {"x.Pcd", VORFileKind::kPictureFile},
      {"a.b", VORFileKind::kOther},
      {"film.mpeg", VORFileKind::kOther},
      {"film.mpg", VORFileKind::kShellMedia},
      {"clip.wmf", VORFileKind::kWindowsMetafile},
      {"clip.EMF", VORFileKind::kEnhancedMetafile},
      {"s.wav", VORFileKind::kWave},
      {"song.rmi", VORFileKind::kMidi},
      {"anim.fli", VORFileKind::kFlic},
      {"v.avi", VORFileKind::kAvi},
      {"read.txt", VORFileKind::kText},
      {"t.vbs", VORFileKind::kShellMedia},
      {"d.cdr", VORFileKind::kCdr},
      {"doc.rtf", VORFileKind::kRichText},
      {"", VORFileKind::kOther},
      {"noextension", VORFileKind::kOther},
      {".gif", VORFileKind::kPictureFile},
  };
  for (const Case &c : cases)
    EXPECT_EQ(VORResourceManager::FileKindFromExtension(c.name), c.kind) << c.name;
  EXPECT_EQ(VORResourceManager::FileKindFromExtension(nullptr), VORFileKind::kOther);
}

} // namespace
