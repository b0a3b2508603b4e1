#include "foundation/XQString.h"

#include <gtest/gtest.h>

namespace {

TEST(XQStringTest, EmptyStringsHaveNoBuffer) {
  XQString fromNull(static_cast<const char *>(nullptr));
  XQString fromEmpty("");
  XQString cleared("abc");
  cleared.Clear();
  for (const XQString *s : {&fromNull, &fromEmpty, &cleared}) {
    EXPECT_EQ(s->GetText(), nullptr);
    EXPECT_EQ(s->GetLength(), 0u);
    EXPECT_STREQ(s->CStr(), "");
  }
}

TEST(XQStringTest, AssignBufferStopsAtTheFirstNul) {
  const char bytes[] = {'a', 'b', '\0', 'c'};
  XQString s;
  s.AssignBuffer(bytes, 4);
  EXPECT_EQ(s.GetLength(), 2u);
  EXPECT_STREQ(s.GetText(), "ab");

  s.AssignBuffer(bytes + 2, 2); // starts with NUL: nothing is left
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_EQ(s.GetText(), nullptr);

  XQString built(bytes, 4);
  EXPECT_EQ(built.GetLength(), 2u);
  EXPECT_STREQ(built.GetText(), "ab");
}

// The old buffer may only go once the new text has been copied out of it.
TEST(XQStringTest, TakingItsOwnTextKeepsIt) {
  XQString s("abcd");
  s.AssignText(s.GetText());
  EXPECT_STREQ(s.GetText(), "abcd");
  s.AssignBuffer(s.GetText(), 2);
  EXPECT_STREQ(s.GetText(), "ab");
  s.AppendText(s.GetText());
  EXPECT_STREQ(s.GetText(), "abab");
  EXPECT_EQ(s.GetLength(), 4u);
}

TEST(XQStringTest, Equality) {
  struct Case {
    const char *left;
    const char *right;
    bool equal;
  } cases[] = {
      {"", "", true},       {"", "a", false},      {"a", "", false},
      {"abc", "abc", true}, {"abc", "abd", false}, {"abc", "ABC", false},
  };
  for (const Case &c : cases) {
    XQString left(c.left), right(c.right);
    EXPECT_EQ(left.Equals(right), c.equal) << '"' << c.left << "\" vs \"" << c.right << '"';
    EXPECT_EQ(left.Differs(right), !c.equal) << c.left << " vs " << c.right;
    EXPECT_EQ(left.EqualsText(c.right), c.equal) << c.left << " vs " << c.right;
  }
  XQString empty;
  EXPECT_TRUE(empty.EqualsText(nullptr));
}

TEST(XQStringTest, AppendJoinsAndSurvivesSelfAppend) {
  XQString s("ab");
  s.AppendText("cd");
  s.Append(XQString());
  s.AppendText(nullptr);
  EXPECT_STREQ(s.GetText(), "abcd");
  s.Append(s);
  EXPECT_STREQ(s.GetText(), "abcdabcd");
  EXPECT_EQ(s.GetLength(), 8u);

  XQString fromEmpty;
  fromEmpty.AppendText("x");
  EXPECT_STREQ(fromEmpty.GetText(), "x");
}

TEST(XQStringTest, CopiesAreIndependent) {
  XQString original("text");
  XQString copy(original);
  XQString assigned;
  assigned = original;
  original.AssignText("other");
  EXPECT_STREQ(copy.GetText(), "text");
  EXPECT_STREQ(assigned.GetText(), "text");
  assigned = assigned; // self-assignment keeps the text
  EXPECT_STREQ(assigned.GetText(), "text");
}

} // namespace
