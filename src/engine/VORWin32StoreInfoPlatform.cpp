#include "engine/VORWin32StoreInfoPlatform.h"

#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/VORScoreManager.h"
#include "foundation/SystemLibrary.h"

namespace {

VORWin32StoreInfoPlatform::SaveDialogHandler g_saveDialogHandler = nullptr;

// The common dialogs are loaded when a file name is first asked for.
BOOL SystemSaveDialog(OPENFILENAMEA *record) {
  static SystemLibrary commonDialogs("comdlg32.dll");
  auto show = commonDialogs.Find<BOOL(WINAPI *)(OPENFILENAMEA *)>("GetSaveFileNameA");
  return show != nullptr ? show(record) : FALSE;
}

// The dialog's filter: pairs of a description and a pattern, each ended by
// a NUL, and the list by a second NUL.
const char kFilter[] = "*.TXT\0*.TXT\0";

// Closes the runtime's file on every way out.
struct FileCloser {
  void operator()(FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

} // namespace

VORWin32StoreInfoPlatform::SaveDialogHandler
VORWin32StoreInfoPlatform::SetSaveDialogHandler(SaveDialogHandler handler) {
  SaveDialogHandler previous = g_saveDialogHandler;
  g_saveDialogHandler = handler;
  return previous;
}

bool VORWin32StoreInfoPlatform::GetEnvironment(const char *name, XQString &value) {
  const char *found = std::getenv(name);
  if (!found)
    return false;
  value = XQString(found);
  return true;
}

// The folder may be on another drive than the current one: the drive
// changes too, or relative names would still resolve on the old drive.
bool VORWin32StoreInfoPlatform::ChangeDirectory(const XQString &folder) {
  return SetCurrentDirectoryA(folder.CStr()) != FALSE;
}

// The length on disk counts CR LF as two bytes; text mode delivers one for
// each, so fewer bytes may come than the length promised.
bool VORWin32StoreInfoPlatform::ReadTextFile(const XQString &name, XQString &text) {
  File file(std::fopen(name.CStr(), "rt"));
  if (!file)
    return false;
  const long length = _filelength(_fileno(file.get()));
  if (length <= 0) {
    text.Clear();
    return true;
  }
  std::vector<char> bytes(static_cast<size_t>(length));
  const size_t read = std::fread(bytes.data(), 1, bytes.size(), file.get());
  text = XQString(bytes.data(), static_cast<uint32_t>(read));
  return true;
}

bool VORWin32StoreInfoPlatform::WriteTextFile(const XQString &name, const XQString &text, bool replace) {
  File file(std::fopen(name.CStr(), replace ? "wt" : "a+t"));
  if (!file)
    return false;
  std::fwrite(text.CStr(), 1, text.GetLength(), file.get());
  return true;
}

// A longer name than the buffer holds is cut to fit, never copied past it.
bool VORWin32StoreInfoPlatform::AskSaveFileName(const XQString &initialName, XQString &chosen) {
  char fileName[kFileNameBufferSize] = {};
  std::strncpy(fileName, initialName.CStr(), sizeof fileName - 1);
  OPENFILENAMEA record = {};
  record.lStructSize = sizeof record;
  record.hwndOwner = nullptr;
  record.lpstrFilter = kFilter;
  record.lpstrFile = fileName;
  record.nMaxFile = sizeof fileName;
  record.lpstrTitle = VORScoreManager::kSaveDialogTitle;
  record.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  const BOOL chose = g_saveDialogHandler ? g_saveDialogHandler(&record) : SystemSaveDialog(&record);
  if (!chose)
    return false;
  fileName[sizeof fileName - 1] = '\0';
  chosen = XQString(fileName);
  return true;
}
