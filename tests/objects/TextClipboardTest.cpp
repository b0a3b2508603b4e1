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

// One test owns the system's clipboard: tests run side by side in
// processes of their own would take it from each other. Text goes in and
// comes back; then text another program left without its terminator is
// read no further than the clipboard's block.
TEST(TextClipboardTest, TextComesBackBoundedByItsBlock) {
  ASSERT_TRUE(TextClipboard::PutText("pasted text"));
  std::string pasted;
  ASSERT_TRUE(TextClipboard::GetText(pasted));
  EXPECT_EQ(pasted, "pasted text");

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
