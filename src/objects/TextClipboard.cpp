#include <windows.h>

#include "objects/TextClipboard.h"

#include <cstring>

namespace TextClipboard {

namespace {

// Closes the clipboard however the caller leaves.
class OpenedClipboard {
public:
  OpenedClipboard() : m_open(OpenClipboard(nullptr) != 0) {}
  ~OpenedClipboard() {
    if (m_open)
      CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard &) = delete;
  OpenedClipboard &operator=(const OpenedClipboard &) = delete;
  bool IsOpen() const { return m_open; }

private:
  bool m_open;
};

} // namespace

std::string TextOfBlock(const char *block, size_t size) {
  if (block == nullptr)
    return std::string();
  const void *terminator = std::memchr(block, '\0', size);
  return std::string(block, terminator != nullptr ? static_cast<const char *>(terminator) - block : size);
}

bool PutText(const std::string &text) {
  OpenedClipboard clipboard;
  if (!clipboard.IsOpen() || !EmptyClipboard())
    return false;
  HGLOBAL memory = GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE, text.size() + 1);
  if (memory == nullptr)
    return false;
  auto *bytes = static_cast<char *>(GlobalLock(memory));
  if (bytes == nullptr) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  if (SetClipboardData(CF_TEXT, memory) == nullptr) {
    GlobalFree(memory);
    return false;
  }
  return true;
}

bool GetText(std::string &text) {
  if (!IsClipboardFormatAvailable(CF_TEXT))
    return false;
  OpenedClipboard clipboard;
  if (!clipboard.IsOpen())
    return false;
  HANDLE memory = GetClipboardData(CF_TEXT);
  if (memory == nullptr)
    return false;
  const auto *bytes = static_cast<const char *>(GlobalLock(memory));
  if (bytes == nullptr)
    return false;
  text = TextOfBlock(bytes, GlobalSize(memory));
  GlobalUnlock(memory);
  return true;
}

} // namespace TextClipboard
