#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "objects/TextClipboard.h"

namespace {

TEST(TextClipboardTest, ABlockIsReadToItsTerminatorOrItsEnd) {
  EXPECT_EQ(TextClipboard::TextOfBlock("abc\0def", 7), "abc");
  EXPECT_EQ(TextClipboard::TextOfBlock("abcdef", 3), "abc"); // no terminator within the block
  EXPECT_EQ(TextClipboard::TextOfBlock("", 0), "");
  EXPECT_EQ(TextClipboard::TextOfBlock(nullptr, 5), "");
}

TEST(TextClipboardTest, TextGoesInAndComesBack) {
  ASSERT_TRUE(TextClipboard::PutText("pasted text"));
  std::string text;
  ASSERT_TRUE(TextClipboard::GetText(text));
  EXPECT_EQ(text, "pasted text");
}

// Another program may leave text without its terminator: the read stops at
// the end of the clipboard's block.
TEST(TextClipboardTest, TextWithoutATerminatorEndsWithItsBlock) {
  const char bytes[] = {'1', '2', '3', '4', '5', '6', '7', '8'};
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof bytes);
  ASSERT_NE(memory, nullptr);
  std::memcpy(GlobalLock(memory), bytes, sizeof bytes);
  GlobalUnlock(memory);
  ASSERT_NE(SetClipboardData(CF_TEXT, memory), nullptr);
  CloseClipboard();
  std::string text;
  ASSERT_TRUE(TextClipboard::GetText(text));
  // Some systems end the text inside the block themselves.
  EXPECT_GE(text.size(), sizeof bytes - 1);
  EXPECT_LE(text.size(), sizeof bytes);
  EXPECT_EQ(text, std::string(bytes, text.size()));
}

} // namespace
