#pragma once

#include <windows.h>

#include <commdlg.h>

#include "engine/VORStoreInfoPlatform.h"

// The system's side of storing information: the runtime's environment,
// current directory and text-mode files (CR LF line ends on disk), and the
// save dialog.
class VORWin32StoreInfoPlatform : public VORStoreInfoPlatform {
public:
  // The save dialog's buffer: names are kept to one byte less.
  static constexpr size_t kFileNameBufferSize = 200;

  // Stands in for GetSaveFileNameA in tests: it sees the dialog's record
  // and answers as the dialog would. Null runs the dialog.
  using SaveDialogHandler = BOOL (*)(OPENFILENAMEA *record);
  static SaveDialogHandler SetSaveDialogHandler(SaveDialogHandler handler);

  bool GetEnvironment(const char *name, XQString &value) override;
  bool ChangeDirectory(const XQString &folder) override;
  bool ReadTextFile(const XQString &name, XQString &text) override;
  bool WriteTextFile(const XQString &name, const XQString &text, bool replace) override;
  bool AskSaveFileName(const XQString &initialName, XQString &chosen) override;
};
