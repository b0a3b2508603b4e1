#pragma once

#include <windows.h>

#include <memory>

#include "engine/VORPlayer.h"
#include "foundation/XQString.h"

class XQFile;

// The application object: one per process. Run is the whole life of the
// program: start-up, the main loop and the teardown.
class VORPlayerApp : public VORPlayer {
public:
  explicit VORPlayerApp(HINSTANCE instance);
  ~VORPlayerApp() override;

  // commandLine: the publication file's path, or null to look beside the
  // program; existingWindow: the window to play in (the screen saver's), or null.
  void Run(const char *commandLine, HWND existingWindow);

  void LocateByModuleName();
  void CheckPaletteDisplay();

  HINSTANCE GetInstance() const { return m_instance; }
  const XQString &GetPublicationName() const { return m_publicationName; }
  const XQString &GetPublicationFolder() const { return m_publicationFolder; }
  // 0 when the screen is palettised, else 1.
  int GetPaletteDisplay() const { return m_paletteDisplay; }

  // The publication a command line names. Windows passes a double-clicked
  // file as one quoted path: one enclosing pair of quotes is removed.
  static XQString PublicationNameFromCommandLine(const char *commandLine);
  // The program's path with its last three characters replaced by "vor";
  // empty for a path of four characters or fewer.
  static XQString PublicationNameForProgram(const char *programPath);
  // Drive and directory of a path, ending in a backslash (or empty).
  static XQString FolderOf(const char *path);

  static constexpr const char *kMissingPublicationText = "Cannot find publication file!!";
  static constexpr const char *kMissingPublicationCaption = "VOR";

private:
  bool StartUp(const char *commandLine, HWND existingWindow);
  bool CheckPublicationFile();
  void Teardown();

  HINSTANCE m_instance;
  XQString m_publicationName;
  XQString m_publicationFolder;
  std::unique_ptr<XQFile> m_publicationFile;
  int m_paletteDisplay = 0;
};
