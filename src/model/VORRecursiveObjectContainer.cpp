#include "model/VORRecursiveObjectContainer.h"

#include <memory>

#include "foundation/VORException.h"
#include "model/VORClassRegistry.h"
#include "model/VORFileObject.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/VORFileException.h"

VORRecursiveObjectContainer::~VORRecursiveObjectContainer() {
  if (m_parent)
    m_parent->RemoveDirectChild(this);
  for (Walk &walk : m_walks)
    CloseDescent(walk);
  DeleteChildren();
}

VORRecursiveObjectContainer::Walk *VORRecursiveObjectContainer::WalkOf(unsigned cursor) {
  return cursor < kCursorCount && m_walks[cursor].cursor ? &m_walks[cursor] : nullptr;
}

unsigned VORRecursiveObjectContainer::OpenCursor(unsigned &index) {
  auto cursor = std::make_unique<XQListCursor>(m_children);
  if (!cursor->IsOpen())
    return kCursorCount;
  index = cursor->GetIndex();
  Walk &walk = m_walks[index];
  walk = Walk{};
  walk.cursor = std::move(cursor);
  return index;
}

void VORRecursiveObjectContainer::CloseCursor(unsigned index) {
  Walk *walk = WalkOf(index);
  if (!walk)
    return;
  CloseDescent(*walk);
  *walk = Walk{};
}

void VORRecursiveObjectContainer::CloseDescent(Walk &walk) {
  if (walk.descended)
    walk.descended->CloseCursor(walk.childCursor);
  walk.descended = nullptr;
  walk.childCursor = kCursorCount;
}

// A child whose cursors are all taken by other walks is not descended into:
// its subtree is left out of this walk rather than walked without a cursor.
void VORRecursiveObjectContainer::Descend(Walk &walk, VORRecursiveObjectContainer *child) {
  CloseDescent(walk);
  unsigned childCursor = kCursorCount;
  if (child->OpenCursor(childCursor) == kCursorCount)
    return;
  walk.descended = child;
  walk.childCursor = childCursor;
}

VORRecursiveObjectContainer *VORRecursiveObjectContainer::Start(Walk &walk, bool recursive) {
  VORRecursiveObjectContainer *child = nullptr;
  if (!m_children.First(*walk.cursor, child)) {
    walk.state = WalkState::Ended;
    return nullptr;
  }
  if (recursive)
    Descend(walk, child);
  walk.state = WalkState::Running;
  return child;
}

VORRecursiveObjectContainer *VORRecursiveObjectContainer::First(unsigned cursor, bool recursive,
                                                                uint32_t /*passThrough*/) {
  Walk *walk = WalkOf(cursor);
  if (!walk)
    return nullptr;
  CloseDescent(*walk);
  return Start(*walk, recursive);
}

VORRecursiveObjectContainer *VORRecursiveObjectContainer::Next(unsigned cursor, bool recursive, uint32_t passThrough) {
  Walk *walk = WalkOf(cursor);
  if (!walk)
    return nullptr;
  switch (walk->state) {
  case WalkState::NotStarted:
    return Start(*walk, recursive);
  case WalkState::Ended:
    return nullptr;
  case WalkState::Running:
    break;
  }
  if (recursive && walk->descended) {
    if (VORRecursiveObjectContainer *found = walk->descended->Next(walk->childCursor, true, passThrough))
      return found;
  }
  CloseDescent(*walk);
  VORRecursiveObjectContainer *sibling = nullptr;
  if (!m_children.Next(*walk->cursor, sibling)) {
    walk->state = WalkState::Ended;
    return nullptr;
  }
  if (recursive)
    Descend(*walk, sibling);
  return sibling;
}

VORRecursiveObjectContainer *VORRecursiveObjectContainer::Last(unsigned cursor, bool /*recursive*/,
                                                               uint32_t /*passThrough*/) {
  Walk *walk = WalkOf(cursor);
  if (!walk)
    return nullptr;
  CloseDescent(*walk);
  VORRecursiveObjectContainer *child = nullptr;
  if (!m_children.Last(*walk->cursor, child)) {
    walk->state = WalkState::NotStarted;
    return nullptr;
  }
  walk->state = WalkState::Running;
  return child;
}

VORRecursiveObjectContainer *VORRecursiveObjectContainer::Previous(unsigned cursor, bool recursive,
                                                                   uint32_t passThrough) {
  Walk *walk = WalkOf(cursor);
  if (!walk)
    return nullptr;
  if (walk->state != WalkState::Running)
    return Last(cursor, recursive, passThrough);
  CloseDescent(*walk);
  VORRecursiveObjectContainer *child = nullptr;
  if (!m_children.Previous(*walk->cursor, child)) {
    walk->state = WalkState::NotStarted;
    return nullptr;
  }
  return child;
}

void VORRecursiveObjectContainer::Adopt(VORRecursiveObjectContainer *child) {
  child->m_parent = this;
  ++m_insertionCount;
}

void VORRecursiveObjectContainer::InsertBefore(VORRecursiveObjectContainer *child,
                                               VORRecursiveObjectContainer *reference) {
  if (!child)
    return;
  m_children.InsertBefore(child, reference);
  Adopt(child);
}

void VORRecursiveObjectContainer::InsertAfter(VORRecursiveObjectContainer *child,
                                              VORRecursiveObjectContainer *reference) {
  if (!child)
    return;
  m_children.InsertAfter(child, reference);
  Adopt(child);
}

bool VORRecursiveObjectContainer::IsChild(const VORRecursiveObjectContainer *object) const {
  VORRecursiveObjectContainer *found = nullptr;
  return object &&
         m_children.FindIf([object](const VORRecursiveObjectContainer *child) { return child == object; }, found);
}

// A walk that has descended into the child gives that cursor back first, so
// no walk is left holding a cursor in a child that may be deleted next.
void VORRecursiveObjectContainer::Unlink(VORRecursiveObjectContainer *child) {
  for (Walk &walk : m_walks)
    if (walk.descended == child)
      CloseDescent(walk);
  m_children.Remove(child);
}

bool VORRecursiveObjectContainer::RemoveDirectChild(VORRecursiveObjectContainer *child) {
  if (!IsChild(child))
    return false;
  Unlink(child);
  child->m_parent = nullptr;
  return true;
}

bool VORRecursiveObjectContainer::Remove(VORRecursiveObjectContainer *child, bool recursive) {
  if (RemoveDirectChild(child))
    return true;
  if (!recursive || !child)
    return false;
  VORRecursiveObjectContainer *holder = nullptr;
  if (!m_children.FindIf([child](VORRecursiveObjectContainer *candidate) { return candidate->Remove(child, true); },
                         holder))
    return false;
  child->m_parent = nullptr;
  --m_insertionCount;
  return true;
}

int32_t VORRecursiveObjectContainer::MoveTo(VORRecursiveObjectContainer *child, int32_t position) {
  const int32_t oldIndex = IndexOf(child);
  if (oldIndex < 0)
    return static_cast<int32_t>(GetChildCount());
  m_children.Remove(child);
  VORRecursiveObjectContainer *before = position < 0 ? nullptr : ChildAt(static_cast<uint32_t>(position));
  if (before)
    m_children.InsertBefore(child, before);
  else
    m_children.Append(child);
  return oldIndex;
}

int32_t VORRecursiveObjectContainer::IndexOf(const VORRecursiveObjectContainer *object) const {
  int32_t index = 0;
  VORRecursiveObjectContainer *found = nullptr;
  const bool present = m_children.FindIf(
      [&](const VORRecursiveObjectContainer *child) {
        if (child == object)
          return true;
        ++index;
        return false;
      },
      found);
  return present ? index : -1;
}

VORRecursiveObjectContainer *VORRecursiveObjectContainer::ChildAt(uint32_t n) const {
  uint32_t index = 0;
  VORRecursiveObjectContainer *found = nullptr;
  if (!m_children.FindIf([&](const VORRecursiveObjectContainer *) { return index++ == n; }, found))
    return nullptr;
  return found;
}

VORRecursiveObjectContainer *VORRecursiveObjectContainer::FirstChild() const {
  VORRecursiveObjectContainer *head = nullptr;
  return m_children.FindIf([](const VORRecursiveObjectContainer *) { return true; }, head) ? head : nullptr;
}

void VORRecursiveObjectContainer::DeleteChildren() {
  while (VORRecursiveObjectContainer *head = FirstChild()) {
    RemoveDirectChild(head);
    delete head;
  }
}

void VORRecursiveObjectContainer::ReadChildren(VORFile &file) {
  VORObjectKey key = VORObjectKey::None();
  for (bool more = VORCompiledFile::ReadObjectCode(file, key, VORObjectKey::kSize); more;
       more = VORCompiledFile::ReadNextObjectCode(file, key, VORObjectKey::kSize)) {
    if (!key.IsNone())
      ReadChild(file, VORObjectCode::FromKey(key));
  }
}

void VORRecursiveObjectContainer::ReadChild(VORFile &file, const VORObjectCode &reference) {
  std::unique_ptr<VORCodedObject> object(VORClassRegistry::Instance().Create(reference.GetClassKey(), reference.id));
  auto *fileObject = dynamic_cast<VORFileObject *>(object.get());
  if (!fileObject)
    return;
  try {
    fileObject->Read(file);
  } catch (VORFileNonFatalException &) {
    if (auto *compiled = dynamic_cast<VORCompiledFile *>(&file))
      compiled->CountSkippedObject();
    return;
  }
  auto *child = dynamic_cast<VORRecursiveObjectContainer *>(object.get());
  if (!fileObject->IsValid() || !child || !AcceptsChild(reference.GetClassKey()))
    return;
  InsertAfter(child, nullptr);
  static_cast<void>(object.release()); // the container owns it now
}

ContainerCursor::~ContainerCursor() {
  try {
    Close();
  } catch (VORException *exception) {
    delete exception;
  } catch (...) {
  }
}

bool ContainerCursor::Open() {
  if (!m_open)
    m_open = m_container.OpenCursor(m_index) != VORRecursiveObjectContainer::kCursorCount;
  return m_open;
}

void ContainerCursor::Close() {
  if (!m_open)
    return;
  m_open = false;
  m_container.CloseCursor(m_index);
  m_index = VORRecursiveObjectContainer::kCursorCount;
}
