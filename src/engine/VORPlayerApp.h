#pragma once

#include <windows.h>

#include <memory>

#include "engine/VORPlayer.h"
#include "foundation/XQList.h"
#include "foundation/XQString.h"
#include "model/VORExternalResourceIdentifier.h"

class PublicationFile;
class VORPlayerFileManager;
class VORPlayerPublication;

// The application object: one per process. Run is the whole life of the
// program: start-up, the main loop and the teardown.
class VORPlayerApp : public VORPlayer {
public:
  // The search component's entries, one convention for both sides: the
  // dictionary is handed over once at load (the component keeps its own
  // copy), and while the searcher runs every message is offered to it; a
  // non-zero handled byte keeps the message from the program.
  using LoadDictionaryEntry = int(__cdecl *)(const void *data, unsigned long size);
  using IsSearcherMessageEntry = void(__cdecl *)(unsigned char *handled, const MSG *message);
  using RegisterServerEntry = HRESULT(__stdcall *)();

  explicit VORPlayerApp(HINSTANCE instance);
  ~VORPlayerApp() override;

  // commandLine: the publication file's path, or null to look beside the
  // program; existingWindow: the window to play in (the screen saver's), or null.
  void Run(const char *commandLine, HWND existingWindow);

  void LocateByModuleName();
  void CheckPaletteDisplay();
  // Reads the root publication through the publication-file holder; false
  // when the file holds no readable publication.
  bool LoadPublication();
  void LoadOleContainer();
  void LoadSearcher();
  void InstallFonts();
  void RemoveFonts();

  VORPublication *GetPublication() override;
  VORString AskPassword() override;
  bool IsTrueColorDisplay() override { return m_paletteDisplay != 0; }

  HINSTANCE GetInstance() const { return m_instance; }
  const XQString &GetPublicationName() const { return m_publicationName; }
  const XQString &GetPublicationFolder() const { return m_publicationFolder; }
  // 0 when the screen is palettised, else 1.
  int GetPaletteDisplay() const { return m_paletteDisplay; }
  PublicationFile *GetPublicationFileId() override { return m_publicationFile.get(); }
  VORFileManager *GetFileManager() override;
  const XQList<XQString, 1> &GetInstalledFonts() const { return m_fonts; }
  bool IsDictionaryLoaded() const { return m_dictionaryLoaded; }
  IsSearcherMessageEntry GetSearcherMessageFilter() const { return m_isSearcherMessage; }

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
  static constexpr const char *kOleContainerDll = "VOROleContainer.dll";
  static constexpr const char *kSearchDll = "VORSearch.dll";

private:
  bool StartUp(const char *commandLine, HWND existingWindow);
  bool OpenPublicationFile();
  void ReportMissingPublication();
  XQString ProgramFolder() const;
  void Teardown();

  HINSTANCE m_instance;
  XQString m_publicationName;
  XQString m_publicationFolder;
  std::unique_ptr<VORPlayerFileManager> m_fileManager;
  std::unique_ptr<PublicationFile> m_publicationFile;
  // The opening of the start-up's check, kept until the teardown.
  bool m_publicationFileChecked = false;
  std::unique_ptr<VORPlayerPublication> m_publication;
  int m_paletteDisplay = 0;
  XQList<XQString, 1> m_fonts;
  bool m_oleInitialised = false;
  bool m_oleContainerRegistered = false;
  HMODULE m_oleContainer = nullptr;
  HMODULE m_searchDll = nullptr;
  bool m_dictionaryLoaded = false;
  IsSearcherMessageEntry m_isSearcherMessage = nullptr;
};
