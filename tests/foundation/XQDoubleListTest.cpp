#include "foundation/XQDoubleList.h"
#include "support/XQListContents.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using Ints = std::vector<int>;

void Fill(XQDoubleList<int, 2> &list, const Ints &values) {
  for (int value : values)
    list.Append(value);
}

// Elements of a pointer list are named by their index in this array.
int g_items[8];
constexpr int kNone = -1;  // no reference: a null pointer
constexpr int kAbsent = 7; // a reference that is not in the list
constexpr int kX = 5;      // the value inserted

int *Item(int index) { return index == kNone ? nullptr : &g_items[index]; }

Ints Indices(const std::vector<int *> &pointers) {
  Ints indices;
  for (int *pointer : pointers)
    indices.push_back(static_cast<int>(pointer - g_items));
  return indices;
}

TEST(XQDoubleListTest, InsertAfterAndBeforeFollowTheirReference) {
  enum Where { kAfter, kBefore };
  struct Case {
    const char *name;
    Ints start;
    Where where;
    int reference;
    Ints expected;
  } cases[] = {
      {"after a middle one", {0, 1, 2}, kAfter, 1, {0, 1, kX, 2}},
      {"after the tail", {0, 1, 2}, kAfter, 2, {0, 1, 2, kX}},
      {"after nothing: to the end", {0, 1, 2}, kAfter, kNone, {0, 1, 2, kX}},
      {"after one not in the list: to the front", {0, 1, 2}, kAfter, kAbsent, {kX, 0, 1, 2}},
      {"after the last of equal ones", {0, 1, 0, 2}, kAfter, 0, {0, 1, 0, kX, 2}},
      {"after one not in an empty list", {}, kAfter, kAbsent, {kX}},
      {"after nothing in an empty list", {}, kAfter, kNone, {kX}},
      {"before a middle one", {0, 1, 2}, kBefore, 1, {0, kX, 1, 2}},
      {"before the head", {0, 1, 2}, kBefore, 0, {kX, 0, 1, 2}},
      {"before nothing: to the front", {0, 1, 2}, kBefore, kNone, {kX, 0, 1, 2}},
      {"before one not in the list: to the end", {0, 1, 2}, kBefore, kAbsent, {0, 1, 2, kX}},
      {"before the first of equal ones", {1, 0, 2, 0}, kBefore, 0, {1, kX, 0, 2, 0}},
      {"before one not in an empty list", {}, kBefore, kAbsent, {kX}},
  };
  for (const Case &c : cases) {
    XQDoubleList<int *, 1> list;
    for (int index : c.start)
      list.Append(Item(index));
    if (c.where == kAfter)
      list.InsertAfter(Item(kX), Item(c.reference));
    else
      list.InsertBefore(Item(kX), Item(c.reference));
    EXPECT_EQ(Indices(ForwardContents(list)), c.expected) << c.name;
    EXPECT_EQ(Indices(BackwardContents(list)), c.expected) << c.name << ", walked backwards";
    EXPECT_EQ(list.GetCount(), c.expected.size()) << c.name;
  }
}

TEST(XQDoubleListTest, InAListOfNumbersZeroIsAReferenceLikeAnyOther) {
  XQDoubleList<unsigned long, 1> order;
  order.Append(0);
  order.Append(5);
  order.InsertAfter(7, 0);
  order.InsertBefore(8, 0);
  order.InsertAfter(9, 3); // not in the list: to the front
  EXPECT_EQ(ForwardContents(order), (std::vector<unsigned long>{9, 8, 0, 7, 5}));
}

TEST(XQDoubleListTest, RemoveKeepsBothDirectionsWhole) {
  struct Case {
    const char *name;
    Ints start;
    Ints removed;
    Ints expected;
  } cases[] = {
      {"the head", {1, 2, 3}, {1}, {2, 3}},      {"the tail", {1, 2, 3}, {3}, {1, 2}},
      {"the middle", {1, 2, 3}, {2}, {1, 3}},    {"the only one", {1}, {1}, {}},
      {"head and tail", {1, 2, 3}, {3, 1}, {2}}, {"the first of equal ones", {1, 2, 1}, {1}, {2, 1}},
  };
  for (const Case &c : cases) {
    XQDoubleList<int, 2> list;
    Fill(list, c.start);
    for (int value : c.removed)
      EXPECT_TRUE(list.Remove(value)) << c.name;
    EXPECT_EQ(ForwardContents(list), c.expected) << c.name;
    EXPECT_EQ(BackwardContents(list), c.expected) << c.name << ", walked backwards";
    list.Append(9); // the tail must still be right
    list.Prepend(0);
    Ints grown = c.expected;
    grown.insert(grown.begin(), 0);
    grown.push_back(9);
    EXPECT_EQ(BackwardContents(list), grown) << c.name;
  }
}

TEST(XQDoubleListTest, ABackwardWalkGoesOnWhenItRemovesElements) {
  struct Case {
    const char *name;
    std::map<int, Ints> removals;
    Ints visited;
    Ints remaining;
  } cases[] = {
      {"the even ones as they are visited", {{4, {4}}, {2, {2}}}, {5, 4, 3, 2, 1}, {1, 3, 5}},
      {"the previous one is skipped", {{4, {3}}}, {5, 4, 2, 1}, {1, 2, 4, 5}},
      {"the current one, then the previous", {{4, {4, 3}}}, {5, 4, 2, 1}, {1, 2, 5}},
      {"the tail first", {{5, {5}}}, {5, 4, 3, 2, 1}, {1, 2, 3, 4}},
      {"the head last", {{1, {1}}}, {5, 4, 3, 2, 1}, {2, 3, 4, 5}},
      {"everything", {{3, {1, 2, 3, 4, 5}}}, {5, 4, 3}, {}},
  };
  for (const Case &c : cases) {
    XQDoubleList<int, 2> list;
    Fill(list, {1, 2, 3, 4, 5});
    Ints visited;
    XQListCursor cursor(list);
    int value = 0;
    for (bool more = list.Last(cursor, value); more; more = list.Previous(cursor, value)) {
      visited.push_back(value);
      auto found = c.removals.find(value);
      if (found != c.removals.end())
        for (int removed : found->second)
          list.Remove(removed);
    }
    EXPECT_EQ(visited, c.visited) << c.name;
    EXPECT_EQ(ForwardContents(list), c.remaining) << c.name;
  }
}

TEST(XQDoubleListTest, ACursorWhoseNodeWentStepsEitherWay) {
  enum Step { kNext, kPrevious };
  constexpr int kNothing = 0;
  struct Case {
    const char *name;
    int standOn;
    Ints removed;
    Step step;
    int expected;
  } cases[] = {
      {"forward past the removed one", 3, {3}, kNext, 4},
      {"back past the removed one", 3, {3}, kPrevious, 2},
      {"forward past two removed", 3, {3, 4}, kNext, 5},
      {"back past two removed", 3, {3, 2}, kPrevious, 1},
      {"forward from the removed tail", 5, {5}, kNext, kNothing},
      {"back from the removed tail", 5, {5}, kPrevious, 4},
      {"back from the removed end of the list", 3, {3, 4, 5}, kPrevious, 2},
      {"back from the removed head", 1, {1}, kPrevious, kNothing},
      {"forward from the removed head", 1, {1}, kNext, 2},
      {"forward when all went", 3, {1, 2, 3, 4, 5}, kNext, kNothing},
      {"back when all went", 3, {1, 2, 3, 4, 5}, kPrevious, kNothing},
  };
  for (const Case &c : cases) {
    XQDoubleList<int, 2> list;
    Fill(list, {1, 2, 3, 4, 5});
    XQListCursor cursor(list);
    int value = 0;
    for (bool more = list.First(cursor, value); more && value != c.standOn; more = list.Next(cursor, value)) {
    }
    ASSERT_EQ(value, c.standOn) << c.name;
    for (int removed : c.removed)
      list.Remove(removed);
    value = kNothing;
    bool found = c.step == kNext ? list.Next(cursor, value) : list.Previous(cursor, value);
    EXPECT_EQ(found, c.expected != kNothing) << c.name;
    EXPECT_EQ(value, c.expected) << c.name;
  }
}

} // namespace
