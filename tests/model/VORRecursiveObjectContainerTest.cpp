#include "model/VORRecursiveObjectContainer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A container with a name, so walks can be read as text.
class Node : public VORRecursiveObjectContainer {
public:
  explicit Node(std::string name) : m_name(std::move(name)) {}
  const std::string &Name() const { return m_name; }

  Node *Add(const std::string &name) {
    auto *child = new Node(name);
    InsertAfter(child, nullptr);
    return child;
  }

private:
  std::string m_name;
};

std::string NameOf(VORRecursiveObjectContainer *node) { return static_cast<Node *>(node)->Name(); }

// Walks the container on a cursor of its own; visit sees each node as it
// comes and may change the tree.
std::vector<std::string> Walk(VORRecursiveObjectContainer &container, bool recursive,
                              const std::function<void(VORRecursiveObjectContainer *)> &visit = {}) {
  std::vector<std::string> names;
  ContainerCursor cursor(container);
  EXPECT_TRUE(cursor.Open());
  for (VORRecursiveObjectContainer *node = container.First(cursor.GetIndex(), recursive, 0); node;
       node = container.Next(cursor.GetIndex(), recursive, 0)) {
    names.push_back(NameOf(node));
    if (visit)
      visit(node);
  }
  return names;
}

std::vector<std::string> WalkBackwards(VORRecursiveObjectContainer &container) {
  std::vector<std::string> names;
  ContainerCursor cursor(container);
  EXPECT_TRUE(cursor.Open());
  for (VORRecursiveObjectContainer *node = container.Last(cursor.GetIndex(), false, 0); node;
       node = container.Previous(cursor.GetIndex(), false, 0))
    names.push_back(NameOf(node));
  return names;
}

using Names = std::vector<std::string>;

// root: A (a1 (a1x), a2), B, C (c1)
class ContainerTreeTest : public ::testing::Test {
protected:
  void SetUp() override {
    a = root.Add("A");
    a1 = a->Add("a1");
    a1x = a1->Add("a1x");
    a2 = a->Add("a2");
    b = root.Add("B");
    c = root.Add("C");
    c1 = c->Add("c1");
  }

  Node root{"root"};
  Node *a = nullptr, *a1 = nullptr, *a1x = nullptr, *a2 = nullptr, *b = nullptr, *c = nullptr, *c1 = nullptr;
};

TEST_F(ContainerTreeTest, RecursiveForwardWalkIsPreOrder) {
  EXPECT_EQ(Walk(root, true), (Names{"A", "a1", "a1x", "a2", "B", "C", "c1"}));
  EXPECT_EQ(Walk(root, false), (Names{"A", "B", "C"}));
  EXPECT_EQ(WalkBackwards(root), (Names{"C", "B", "A"}));
}

TEST_F(ContainerTreeTest, AWalkInsideAWalkLeavesBothWhole) {
  const Names whole{"A", "a1", "a1x", "a2", "B", "C", "c1"};
  std::vector<Names> inner;
  const Names outer = Walk(root, true, [&](VORRecursiveObjectContainer *) { inner.push_back(Walk(root, true)); });
  EXPECT_EQ(outer, whole);
  ASSERT_EQ(inner.size(), whole.size());
  for (const Names &names : inner)
    EXPECT_EQ(names, whole);
}

TEST_F(ContainerTreeTest, EveryCursorIsGivenBackAfterNestedWalks) {
  Walk(root, true, [&](VORRecursiveObjectContainer *) { Walk(root, true); });
  for (Node *node : {&root, a, a1, c}) {
    unsigned indexes[VORRecursiveObjectContainer::kCursorCount];
    for (unsigned &index : indexes)
      EXPECT_NE(node->OpenCursor(index), VORRecursiveObjectContainer::kCursorCount) << node->Name();
    for (unsigned index : indexes)
      node->CloseCursor(index);
  }
}

// Each case removes and deletes one node when the walk reaches a given
// node; the walk goes on with what follows, and the sanitizer sees no walk
// touch the deleted node.
TEST(ContainerRemovalTest, RemovingAndDeletingDuringAWalk) {
  struct Case {
    const char *what;
    const char *at;      // when the walk reaches this node
    const char *removed; // this node leaves the tree and is deleted
    Names expected;
  } cases[] = {
      {"the subtree being walked", "a1", "A", {"A", "a1", "B", "C", "c1"}},
      {"the node just visited, with its children", "a1", "a1", {"A", "a1", "a2", "B", "C", "c1"}},
      {"the deepest node just visited", "a1x", "a1", {"A", "a1", "a1x", "a2", "B", "C", "c1"}},
      {"the next sibling", "A", "B", {"A", "a1", "a1x", "a2", "C", "c1"}},
      {"a later subtree", "a2", "C", {"A", "a1", "a1x", "a2", "B"}},
      {"the last node", "c1", "c1", {"A", "a1", "a1x", "a2", "B", "C", "c1"}},
  };
  for (const Case &c : cases) {
    Node root("root");
    Node *a = root.Add("A");
    Node *a1 = a->Add("a1");
    a1->Add("a1x");
    a->Add("a2");
    root.Add("B");
    root.Add("C")->Add("c1");

    const Names names = Walk(root, true, [&](VORRecursiveObjectContainer *node) {
      if (NameOf(node) != c.at)
        return;
      VORRecursiveObjectContainer *victim = nullptr;
      Walk(root, true, [&](VORRecursiveObjectContainer *candidate) {
        if (NameOf(candidate) == c.removed)
          victim = candidate;
      });
      ASSERT_NE(victim, nullptr) << c.what;
      ASSERT_TRUE(root.Remove(victim, true)) << c.what;
      EXPECT_EQ(victim->GetParent(), nullptr) << c.what;
      delete victim;
    });
    EXPECT_EQ(names, c.expected) << c.what;
  }
}

TEST_F(ContainerTreeTest, DeletingAChildWithoutRemovingItFirstLeavesItsParent) {
  const Names names = Walk(root, true, [&](VORRecursiveObjectContainer *node) {
    if (node == a1)
      delete a; // A's destructor takes it out of root's list
  });
  EXPECT_EQ(names, (Names{"A", "a1", "B", "C", "c1"}));
  EXPECT_EQ(root.GetChildCount(), 2u);
}

TEST_F(ContainerTreeTest, AChildWhoseCursorsAreAllTakenIsNotDescendedInto) {
  unsigned held[VORRecursiveObjectContainer::kCursorCount];
  for (unsigned &index : held)
    ASSERT_NE(a->OpenCursor(index), VORRecursiveObjectContainer::kCursorCount);
  unsigned sixth = 0;
  EXPECT_EQ(a->OpenCursor(sixth), VORRecursiveObjectContainer::kCursorCount) << "five walks at most";

  EXPECT_EQ(Walk(root, true), (Names{"A", "B", "C", "c1"}));

  for (unsigned index : held)
    a->CloseCursor(index);
  EXPECT_EQ(Walk(root, true), (Names{"A", "a1", "a1x", "a2", "B", "C", "c1"}));
}

TEST_F(ContainerTreeTest, AnEndedWalkStaysEnded) {
  ContainerCursor cursor(root);
  ASSERT_TRUE(cursor.Open());
  const unsigned index = cursor.GetIndex();
  EXPECT_EQ(root.Next(index, false, 0), a) << "Next before First starts the walk";
  EXPECT_EQ(root.Next(index, false, 0), b);
  EXPECT_EQ(root.Next(index, false, 0), c);
  EXPECT_EQ(root.Next(index, false, 0), nullptr);
  EXPECT_EQ(root.Next(index, false, 0), nullptr);
  EXPECT_EQ(root.First(index, false, 0), a) << "First starts over";
  EXPECT_EQ(root.Next(VORRecursiveObjectContainer::kCursorCount, false, 0), nullptr) << "no such cursor";
}

TEST_F(ContainerTreeTest, RemovingFromWherever) {
  EXPECT_FALSE(root.Remove(a1x, false)) << "not a direct child";
  EXPECT_TRUE(root.Remove(a1x, true));
  EXPECT_EQ(a1->GetChildCount(), 0u);
  EXPECT_FALSE(root.Remove(a1x, true)) << "nobody holds it any more";
  delete a1x;
  EXPECT_EQ(Walk(root, true), (Names{"A", "a1", "a2", "B", "C", "c1"}));
}

TEST_F(ContainerTreeTest, IndexesAndChildren) {
  EXPECT_EQ(root.IndexOf(b), 1);
  EXPECT_EQ(root.IndexOf(a1), -1) << "only direct children count";
  EXPECT_EQ(root.ChildAt(2), c);
  EXPECT_EQ(root.ChildAt(3), nullptr);
  EXPECT_EQ(a1->GetParent(), a);
  EXPECT_EQ(root.GetInsertionCount(), 3);
}

TEST_F(ContainerTreeTest, MovingAChild) {
  struct Case {
    const char *what;
    int32_t position;
    Names expected;
  } cases[] = {
      {"the last to the front", 0, {"C", "A", "B"}},
      {"the last to -1", -1, {"A", "B", "C"}},
      {"the last beyond the end", 7, {"A", "B", "C"}},
      {"the last to the middle", 1, {"A", "C", "B"}},
  };
  for (const Case &cs : cases) {
    Node list("list");
    Node *first = list.Add("A");
    list.Add("B");
    Node *last = list.Add("C");
    EXPECT_EQ(list.MoveTo(last, cs.position), 2) << cs.what;
    EXPECT_EQ(Walk(list, false), cs.expected) << cs.what;
    EXPECT_EQ(first->GetParent(), &list);
  }
  EXPECT_EQ(root.MoveTo(a1, 0), 3) << "not a child: the child count";
  EXPECT_EQ(Walk(root, false), (Names{"A", "B", "C"}));
}

TEST(ContainerInsertTest, InsertingNextToAReference) {
  Node list("list");
  Node *b = list.Add("B");
  list.InsertBefore(new Node("A"), b);
  list.InsertAfter(new Node("C"), b);
  list.InsertBefore(new Node("front"), nullptr);
  list.InsertAfter(new Node("end"), nullptr);
  EXPECT_EQ(Walk(list, false), (Names{"front", "A", "B", "C", "end"}));
}

} // namespace
