#include "foundation/XQListCursor.h"
#include "foundation/XQDoubleList.h"
#include "foundation/XQList.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(XQListCursorTest, ACursorBeyondTheSlotsStaysClosedAndFindsNothing) {
  XQDoubleList<int, 2> list;
  list.Append(1);
  list.Append(2);
  XQListCursor first(list), second(list);
  ASSERT_TRUE(first.IsOpen());
  ASSERT_TRUE(second.IsOpen());
  EXPECT_NE(first.GetIndex(), second.GetIndex());

  XQListCursor third(list);
  EXPECT_FALSE(third.IsOpen());
  EXPECT_EQ(third.GetIndex(), 2u);
  int value = -1;
  EXPECT_FALSE(list.First(third, value));
  EXPECT_FALSE(list.Next(third, value));
  EXPECT_FALSE(list.Last(third, value));
  EXPECT_FALSE(list.Previous(third, value));
  EXPECT_EQ(value, -1) << "nothing may be handed out through a closed cursor";

  unsigned index = 77;
  EXPECT_EQ(list.OpenCursor(index), 2u) << "a full list answers its capacity";
  EXPECT_EQ(index, 77u) << "and stores nothing";
  EXPECT_EQ(list.GetActiveIterations(), 2u);

  first.Close();
  ASSERT_TRUE(third.Open());
  ASSERT_TRUE(list.First(third, value));
  EXPECT_EQ(value, 1);
}

TEST(XQListCursorTest, WalksFindNothingThroughAClosedOrForeignCursor) {
  XQList<int, 1> list, other;
  list.Append(1);
  other.Append(2);
  XQListCursor foreign(other);
  XQListCursor closed(list);
  closed.Close();
  int value = -1;
  struct Case {
    const char *name;
    const XQListCursor *cursor;
  } cases[] = {{"another list's cursor", &foreign}, {"a closed cursor", &closed}};
  for (const Case &c : cases) {
    EXPECT_FALSE(list.First(*c.cursor, value)) << c.name;
    EXPECT_FALSE(list.Next(*c.cursor, value)) << c.name;
  }
  EXPECT_EQ(value, -1);

  list.CloseCursor(0); // not open: ignored
  list.CloseCursor(5); // out of range: ignored
  EXPECT_EQ(list.GetActiveIterations(), 0u);
}

TEST(XQListCursorTest, AWalkLeftByAnExceptionGivesItsSlotBack) {
  XQList<int, 1> list;
  list.Append(1);
  try {
    XQListCursor cursor(list);
    int value = 0;
    for (bool more = list.First(cursor, value); more; more = list.Next(cursor, value))
      throw std::runtime_error("handler failed");
  } catch (const std::runtime_error &) {
  }
  XQListCursor next(list);
  EXPECT_TRUE(next.IsOpen());
}

TEST(XQListCursorTest, OpenCursorsAndLocksCountAsActiveIterations) {
  XQList<int, 2> list;
  {
    XQListCursor cursor(list);
    EXPECT_EQ(list.GetActiveIterations(), 1u);
    cursor.LockIteration();
    cursor.LockIteration(); // held once
    EXPECT_EQ(list.GetActiveIterations(), 2u);
    cursor.Close();
    EXPECT_EQ(list.GetActiveIterations(), 1u) << "the lock outlives the slot";
    EXPECT_TRUE(cursor.Open());
    EXPECT_EQ(list.GetActiveIterations(), 2u);
  }
  EXPECT_EQ(list.GetActiveIterations(), 0u);
  list.EndIteration();
  EXPECT_EQ(list.GetActiveIterations(), 0u) << "the count does not wrap";
}

} // namespace
