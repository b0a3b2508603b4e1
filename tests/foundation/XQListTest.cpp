#include "foundation/XQList.h"
#include "foundation/XQString.h"
#include "support/XQListContents.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

namespace {

using Ints = std::vector<int>;

template <unsigned N>
void Fill(XQList<int, N> &list, const Ints &values) {
  for (int value : values)
    list.Append(value);
}

TEST(XQListTest, AppendPrependAndRemoveKeepOrderAndCount) {
  enum Kind { kAppend, kPrepend, kRemove };
  struct Step {
    Kind kind;
    int value;
    bool found = false; // what Remove answers
  };
  struct Case {
    const char *name;
    std::vector<Step> steps;
    Ints contents;
  } cases[] = {
      {"appends keep their order", {{kAppend, 1}, {kAppend, 2}, {kAppend, 3}}, {1, 2, 3}},
      {"prepends reverse it", {{kPrepend, 1}, {kPrepend, 2}, {kPrepend, 3}}, {3, 2, 1}},
      {"mixed", {{kAppend, 2}, {kPrepend, 1}, {kAppend, 3}}, {1, 2, 3}},
      {"remove the head", {{kAppend, 1}, {kAppend, 2}, {kAppend, 3}, {kRemove, 1, true}}, {2, 3}},
      {"remove the middle", {{kAppend, 1}, {kAppend, 2}, {kAppend, 3}, {kRemove, 2, true}}, {1, 3}},
      {"remove the tail, then append", {{kAppend, 1}, {kAppend, 2}, {kRemove, 2, true}, {kAppend, 3}}, {1, 3}},
      {"remove the only one, then prepend", {{kAppend, 1}, {kRemove, 1, true}, {kPrepend, 2}}, {2}},
      {"only the first equal value goes", {{kAppend, 1}, {kAppend, 2}, {kAppend, 1}, {kRemove, 1, true}}, {2, 1}},
      {"a missing value is not found", {{kAppend, 1}, {kRemove, 5, false}}, {1}},
      {"nothing is found in an empty list", {{kRemove, 1, false}}, {}},
  };
  for (const Case &c : cases) {
    XQList<int, 1> list;
    for (const Step &step : c.steps) {
      if (step.kind == kAppend)
        list.Append(step.value);
      else if (step.kind == kPrepend)
        list.Prepend(step.value);
      else
        EXPECT_EQ(list.Remove(step.value), step.found) << c.name << ": remove " << step.value;
    }
    EXPECT_EQ(ForwardContents(list), c.contents) << c.name;
    EXPECT_EQ(list.GetCount(), c.contents.size()) << c.name;
    EXPECT_EQ(list.IsEmpty(), c.contents.empty()) << c.name;
  }
}

struct ObjectCode {
  int32_t a, b, c;
  bool operator==(const ObjectCode &other) const { return a == other.a && b == other.b && c == other.c; }
};

TEST(XQListTest, RemoveComparesEachKindOfElementAsItsKind) {
  XQList<ObjectCode, 1> codes;
  codes.Append({1, 2, 3});
  codes.Append({1, 2, 4});
  EXPECT_FALSE(codes.Remove({1, 2, 5}));
  EXPECT_TRUE(codes.Remove({1, 2, 4})); // every field counts
  ASSERT_EQ(codes.GetCount(), 1u);
  EXPECT_EQ(ForwardContents(codes)[0].c, 3);

  XQList<XQString, 1> strings;
  strings.Append(XQString("abc"));
  strings.Append(XQString());
  EXPECT_FALSE(strings.Remove(XQString("ab")));
  EXPECT_TRUE(strings.Remove(XQString("abc"))); // same text, other buffer
  EXPECT_TRUE(strings.Remove(XQString()));      // two empty strings are equal
  EXPECT_TRUE(strings.IsEmpty());

  int first = 7, twin = 7;
  XQList<int *, 1> pointers;
  pointers.Append(&first);
  EXPECT_FALSE(pointers.Remove(&twin)); // equal values, other object
  EXPECT_TRUE(pointers.Remove(&first));
}

// Elements that say when they are destroyed; the list must hold them by
// pointer to their base and reach the derived destructor.
struct Element {
  virtual ~Element() = default;
};

struct CountedElement : Element {
  explicit CountedElement(int &deaths) : m_deaths(deaths) {}
  ~CountedElement() override { ++m_deaths; }
  int &m_deaths;
};

// An element that takes itself out of its list when it goes, as children
// that unregister from their parent do.
struct UnregisteringElement : CountedElement {
  UnregisteringElement(int &deaths, XQList<Element *, 1> &list) : CountedElement(deaths), m_list(list) {}
  ~UnregisteringElement() override { m_foundInList = m_list.Remove(this); }
  XQList<Element *, 1> &m_list;
  static bool m_foundInList;
};
bool UnregisteringElement::m_foundInList = false;

TEST(XQListTest, DeleteAllDeletesEveryElementThroughItsDerivedDestructor) {
  int deaths = 0;
  XQList<Element *, 1> list;
  list.Append(new CountedElement(deaths));
  list.Append(new UnregisteringElement(deaths, list));
  list.Append(new CountedElement(deaths));
  UnregisteringElement::m_foundInList = true;

  list.DeleteAll();

  EXPECT_EQ(deaths, 3);
  EXPECT_FALSE(UnregisteringElement::m_foundInList) << "the node left the list before its element was deleted";
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_TRUE(ForwardContents(list).empty());
}

// Counts live copies, so that freeing a node shows as its copy going.
struct Tracked {
  static int live;
  Tracked() { ++live; }
  Tracked(const Tracked &) { ++live; }
  Tracked &operator=(const Tracked &) = default;
  ~Tracked() { --live; }
  bool operator==(const Tracked &) const { return true; }
};
int Tracked::live = 0;

TEST(XQListTest, AListThatGoesFreesItsNodesButNotItsElements) {
  {
    Tracked original;
    {
      XQList<Tracked, 1> copies;
      copies.Append(original);
      copies.Append(original);
      EXPECT_EQ(Tracked::live, 3);
    }
    EXPECT_EQ(Tracked::live, 1) << "the nodes' copies were not freed";
  }

  int deaths = 0;
  CountedElement kept(deaths);
  {
    XQList<Element *, 1> borrowed;
    borrowed.Append(&kept);
  }
  EXPECT_EQ(deaths, 0) << "a list must not delete what its elements point to";
}

// One walk over the list; when it reaches a key of removals it removes those
// values (its own current one included, possibly).
struct WalkCase {
  const char *name;
  Ints start;
  std::map<int, Ints> removals;
  Ints visited;
  Ints remaining;
};

TEST(XQListTest, AWalkGoesOnWhenItRemovesElements) {
  const WalkCase cases[] = {
      {"each one as it is visited", {1, 2, 3}, {{1, {1}}, {2, {2}}, {3, {3}}}, {1, 2, 3}, {}},
      {"the head", {1, 2, 3}, {{1, {1}}}, {1, 2, 3}, {2, 3}},
      {"the tail", {1, 2, 3}, {{3, {3}}}, {1, 2, 3}, {1, 2}},
      {"the next one is skipped", {1, 2, 3, 4}, {{2, {3}}}, {1, 2, 4}, {1, 2, 4}},
      {"the current one, then the next", {1, 2, 3, 4}, {{2, {2, 3}}}, {1, 2, 4}, {1, 4}},
      {"the next one, then the current", {1, 2, 3, 4}, {{2, {3, 2}}}, {1, 2, 4}, {1, 4}},
      {"one already passed", {1, 2, 3}, {{3, {1}}}, {1, 2, 3}, {2, 3}},
      {"everything", {1, 2, 3}, {{1, {3, 1, 2}}}, {1}, {}},
      {"equal values, one at a time", {1, 1, 2}, {{1, {1}}}, {1, 1, 2}, {2}},
  };
  for (const WalkCase &c : cases) {
    XQList<int, 1> list;
    Fill(list, c.start);
    Ints visited;
    {
      XQListCursor cursor(list); // the list's only slot
      int value = 0;
      for (bool more = list.First(cursor, value); more; more = list.Next(cursor, value)) {
        visited.push_back(value);
        auto found = c.removals.find(value);
        if (found != c.removals.end())
          for (int removed : found->second)
            list.Remove(removed);
      }
    }
    EXPECT_EQ(visited, c.visited) << c.name;
    EXPECT_EQ(ForwardContents(list), c.remaining) << c.name;
  }
}

TEST(XQListTest, NestedWalksSurviveRemovingEachOthersElements) {
  // The outer walk stands on 2 while an inner walk removes 2 and 3, then on 4
  // while an inner walk removes 5, then on 6 (the tail) while it goes.
  XQList<int, 2> list;
  Fill(list, {1, 2, 3, 4, 5, 6});
  const std::map<int, Ints> removedWhileOuterStands = {{2, {2, 3}}, {4, {5}}, {6, {6}}};

  Ints outerVisits;
  XQListCursor outer(list);
  int value = 0;
  for (bool more = list.First(outer, value); more; more = list.Next(outer, value)) {
    outerVisits.push_back(value);
    auto found = removedWhileOuterStands.find(value);
    if (found == removedWhileOuterStands.end())
      continue;
    XQListCursor inner(list);
    int innerValue = 0;
    for (bool innerMore = list.First(inner, innerValue); innerMore; innerMore = list.Next(inner, innerValue))
      for (int removed : found->second)
        if (innerValue == removed)
          list.Remove(removed);
  }
  EXPECT_EQ(outerVisits, (Ints{1, 2, 4, 6}));
  EXPECT_EQ(ForwardContents(list), (Ints{1, 4}));
}

TEST(XQListTest, CursorsStandingOnRemovedNodesStepToWhatFollows) {
  XQList<int, 3> list;
  Fill(list, {1, 2, 3, 4, 5});
  XQListCursor onTwo(list), onThree(list), onOne(list);
  int value = 0;
  list.First(onTwo, value);
  list.Next(onTwo, value);
  list.First(onThree, value);
  list.Next(onThree, value);
  list.Next(onThree, value);
  list.First(onOne, value);

  list.Remove(2);
  list.Remove(3);

  for (const XQListCursor *cursor : {&onTwo, &onThree, &onOne}) {
    ASSERT_TRUE(list.Next(*cursor, value));
    EXPECT_EQ(value, 4) << "cursor " << cursor->GetIndex();
  }

  list.RemoveAll();
  EXPECT_FALSE(list.Next(onTwo, value));
  EXPECT_FALSE(list.Next(onTwo, value)) << "a walk that has ended stays ended";
  list.Append(9);
  ASSERT_TRUE(list.First(onTwo, value)) << "First starts over";
  EXPECT_EQ(value, 9);
}

} // namespace
