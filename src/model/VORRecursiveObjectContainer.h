#pragma once

#include <cstdint>
#include <memory>

#include "foundation/XQDoubleList.h"
#include "foundation/XQListCursor.h"
#include "model/VORObjectCode.h"

class VORFile;
class VORObjectProperties;

// The tree node of the object model: the publication holds chapters, a
// chapter pages, a page instance its objects, and every object its child
// objects. A container owns its children, in order, and offers up to five
// independent walks at once; a recursive walk descends into the children's
// own containers, so nested walks never disturb each other.
//
// A walk runs on a cursor taken with OpenCursor (or a ContainerCursor):
// First, then Next until it answers null. A recursive forward walk visits
// the tree in pre-order: each child, then its descendants, then its next
// sibling. Children may be removed (and deleted) during walks: every walk
// goes on with what follows the removed child.
class VORRecursiveObjectContainer {
public:
  static constexpr unsigned kCursorCount = 5;

  VORRecursiveObjectContainer() = default;
  VORRecursiveObjectContainer(const VORRecursiveObjectContainer &) = delete;
  VORRecursiveObjectContainer &operator=(const VORRecursiveObjectContainer &) = delete;
  // Leaves its parent's list and deletes its children.
  virtual ~VORRecursiveObjectContainer();

  // The pass-through word is handed unchanged to the children's walks.
  virtual VORRecursiveObjectContainer *First(unsigned cursor, bool recursive, uint32_t passThrough);
  virtual VORRecursiveObjectContainer *Next(unsigned cursor, bool recursive, uint32_t passThrough);
  // Backward walks visit the direct children only, whatever recursive says:
  // nothing in the player walks a tree backwards.
  virtual VORRecursiveObjectContainer *Last(unsigned cursor, bool recursive, uint32_t passThrough);
  virtual VORRecursiveObjectContainer *Previous(unsigned cursor, bool recursive, uint32_t passThrough);

  // Without a reference child: at the front, resp. at the end. The child's
  // parent becomes this container.
  virtual void InsertBefore(VORRecursiveObjectContainer *child, VORRecursiveObjectContainer *reference);
  virtual void InsertAfter(VORRecursiveObjectContainer *child, VORRecursiveObjectContainer *reference);
  // Unlinks the child (recursive: wherever it is in the tree) without
  // deleting it; false when nobody holds it.
  virtual bool Remove(VORRecursiveObjectContainer *child, bool recursive);
  // Moves a direct child before the child now at position (-1 or beyond the
  // last: to the end); answers its old index, or the child count when it is
  // not a child.
  virtual int32_t MoveTo(VORRecursiveObjectContainer *child, int32_t position);
  // Position among the direct children, -1 when absent.
  virtual int32_t IndexOf(const VORRecursiveObjectContainer *object) const;
  // The n-th direct child from 0; null beyond the end.
  virtual VORRecursiveObjectContainer *ChildAt(uint32_t n) const;
  // Whether a child of that class may be inserted.
  virtual bool AcceptsChild(uint32_t /*classKey*/) const { return true; }
  virtual void AddReference() { ++m_referenceCount; }
  virtual void RemoveReference() { --m_referenceCount; }
  // The owner's properties record; none for a bare container.
  virtual VORObjectProperties *GetProperties() { return nullptr; }

  // Takes a cursor (at most five at once) and answers its index, or
  // kCursorCount when all are taken: no walk may follow then.
  unsigned OpenCursor(unsigned &index);
  // Gives the cursor back, with the cursors it holds in descendants.
  void CloseCursor(unsigned index);

  // Reads the children from the open folder of the compiled file: one per
  // key, created through the class registry and read; objects of an unknown
  // class, not accepted here or found invalid are dropped, and those whose
  // record is missing are counted in the file's skipped objects.
  void ReadChildren(VORFile &file);
  // Unlinks and deletes every child.
  void DeleteChildren();

  uint32_t GetChildCount() const { return m_children.GetCount(); }
  VORRecursiveObjectContainer *GetParent() const { return m_parent; }
  int32_t GetReferenceCount() const { return m_referenceCount; }
  int32_t GetInsertionCount() const { return m_insertionCount; }

private:
  enum class WalkState { NotStarted, Running, Ended };

  struct Walk {
    std::unique_ptr<XQListCursor> cursor;
    VORRecursiveObjectContainer *descended = nullptr;
    unsigned childCursor = kCursorCount;
    WalkState state = WalkState::NotStarted;
  };

  Walk *WalkOf(unsigned cursor);
  VORRecursiveObjectContainer *Start(Walk &walk, bool recursive);
  void Descend(Walk &walk, VORRecursiveObjectContainer *child);
  static void CloseDescent(Walk &walk);
  void Adopt(VORRecursiveObjectContainer *child);
  bool IsChild(const VORRecursiveObjectContainer *object) const;
  VORRecursiveObjectContainer *FirstChild() const;
  bool RemoveDirectChild(VORRecursiveObjectContainer *child);
  void Unlink(VORRecursiveObjectContainer *child);
  void ReadChild(VORFile &file, const VORObjectCode &reference);

  XQDoubleList<VORRecursiveObjectContainer *, kCursorCount> m_children;
  Walk m_walks[kCursorCount];
  int32_t m_referenceCount = 0;
  VORRecursiveObjectContainer *m_parent = nullptr;
  int32_t m_insertionCount = 0;
};

// A walk's cursor for the time of a scope: given back on every exit,
// including an exception.
class ContainerCursor {
public:
  explicit ContainerCursor(VORRecursiveObjectContainer &container) : m_container(container) {}
  ContainerCursor(const ContainerCursor &) = delete;
  ContainerCursor &operator=(const ContainerCursor &) = delete;
  ~ContainerCursor();

  // False when every cursor of the container is taken.
  bool Open();
  void Close();
  bool IsOpen() const { return m_open; }
  unsigned GetIndex() const { return m_index; }

private:
  VORRecursiveObjectContainer &m_container;
  bool m_open = false;
  unsigned m_index = VORRecursiveObjectContainer::kCursorCount;
};
