#pragma once

#include <windows.h>

#include <memory>

#include "engine/FontInstaller.h"
#include "engine/PrintingHost.h"
#include "engine/SearchComponent.h"
#include "engine/TimerWindow.h"
#include "engine/VORBookmarks.h"
#include "engine/VORCover.h"
#include "engine/VORPlayer.h"
#include "engine/VORPrinterDlg.h"
#include "engine/VORSystemClock.h"
#include "foundation/XQList.h"
#include "foundation/XQString.h"
#include "model/VORExternalResourceIdentifier.h"
#include "model/VORPlayerFileManager.h"

class PublicationFile;
class VORPlayerFileManager;
class VORPlayerPublication;

// The application object: one per process. Run is the whole life of the
// program: start-up, the main loop and the teardown.
class VORPlayerApp : public VORPlayer, public PrintingHost {
public:
  using RegisterServerEntry = HRESULT(__stdcall *)();

  // The view reference of the page a search result shows.
  static constexpr VORObjectCode kSearchResultView = VORObjectCode(0, 0, 5);
  // The update controller runs while something falls due within this time.
  static constexpr uint32_t kUpdateWindowMs = 400;

  // Makes the cover window over the internal picture resource; null when
  // there is none to show.
  using CoverMaker = std::unique_ptr<VORCover> (*)(HINSTANCE instance, uint32_t resourceHandle);
  // The cover picture: internal resource 1, in the internal picture format.
  static constexpr int32_t kCoverResourceNumber = 1;

  explicit VORPlayerApp(HINSTANCE instance);
  ~VORPlayerApp() override;

  // commandLine: the publication file's path, or null to look beside the
  // program; existingWindow: the window to play in (the screen saver's), or null.
  void Run(const char *commandLine, HWND existingWindow);
  // The start-up up to the first page; false when the main loop is not to
  // run (no publication, nothing to show).
  bool StartUp(const char *commandLine, HWND existingWindow);
  // Until WM_QUIT.
  void MessageLoop();
  // Closes the views and lets the publication, the fonts and the files go.
  void Teardown();

  void LocateByModuleName();
  // The program's maker of cover windows; without one there is no cover.
  static void SetCoverMaker(CoverMaker maker);
  static bool HasCoverMaker();
  // Shows the publication's cover picture when it has one.
  void ShowCover();
  const VORCover *GetCover() const { return m_cover.get(); }
  // Asks the screen whether it is palette-based and tells the display.
  void CheckPaletteDisplay();
  // The screen's answer (RASTERCAPS has RC_PALETTE), replaceable for tests:
  // a palette-based test screen answers truly but shows windows in its
  // twenty static colours, so the palette's paths are tested off screen.
  using PaletteDisplayTest = bool (*)();
  static PaletteDisplayTest SetPaletteDisplayTest(PaletteDisplayTest test);
  // Reads the root publication through the publication-file holder; false
  // when the file holds no readable publication.
  bool LoadPublication();
  void LoadOleContainer();
  void LoadSearcher();
  void InstallFonts();
  void RemoveFonts();
  // The event queue and the timer window.
  void CreateEngineObjects();

  // Escape exits when the publication allows it; true when the key was taken.
  bool OnEscape();
  bool RequestQuit() override;
  void LaunchSearcher() override;
  // Shows the page a search result names, or notes that the searcher closed.
  void OnSearchResult(const int32_t *result);
  // WM_CLOSE of a view's window: a chapter window closes alone, the main
  // window ends the run.
  void CloseView(HWND window);
  void CloseViewWindow(HWND window) override { CloseView(window); }
  // Sets the MMX flag (1 when the processor runs MMX instructions) and
  // tells the display, whose blends and dither then take their vector loops.
  void DetectMMX();
  bool HasMMX() const { return m_mmx != 0; }

  VORPublication *GetPublication() override;
  PublicationFile *GetPublicationFileId() override { return m_publicationFile.get(); }
  VORFileManager *GetFileManager() override { return &m_fileManager; }
  VORString AskPassword() override;
  bool IsTrueColorDisplay() override { return m_paletteDisplay != 0; }
  // The question "connect to the Internet?" (string 61559), asked once per
  // run: once asked, every later connection goes ahead.
  bool ConfirmInternetConnection() override;
  // The bookmark dialog over the first view's window; it always answers true.
  bool ShowBookmarkDialog(VORBookmarks::DialogData &data);
  // The publication's launch manager and bookmarks.
  void CreatePublicationReceivers();

  // The printer's progress dialog (modeless, over the first view's window)
  // and the printing flag its Cancel button clears.
  HWND ShowPrintingDialog() override;
  void ClosePrintingDialog() override { m_printingDialog.reset(); }
  bool IsPrinting() override { return m_printing; }
  void SetPrinting() override { m_printing = true; }
  void CancelPrinting() override { m_printing = false; }
  const VORPrinterDlg *GetPrintingDialog() const { return m_printingDialog.get(); }

  HINSTANCE GetInstanceHandle() override { return m_instance; }
  const XQString &GetPublicationName() const { return m_publicationName; }
  const XQString &GetPublicationFolder() const { return m_fileManager.GetPublicationFolder(); }
  // 0 when the screen is palettised, else 1.
  int GetPaletteDisplay() const { return m_paletteDisplay; }
  const XQList<XQString, 1> &GetInstalledFonts() const { return m_fonts.GetInstalled(); }
  bool IsDictionaryLoaded() const { return m_search.IsDictionaryLoaded(); }
  bool IsSearcherRunning() const { return m_search.IsRunning(); }
  SearchComponent::IsSearcherMessageEntry GetSearcherMessageFilter() const { return m_search.GetMessageFilter(); }
  const TimerWindow &GetTimerWindow() const { return m_timerWindow; }

  // The screen saver's run. The view on the window the saver plays in,
  // which the view does not own.
  void AdoptWindowView(HWND window);
  // The loop ends when it takes a WM_CLOSE for this window (not dispatched);
  // every key there is the saver's, Escape too; every page shows there.
  void SetSaverWindow(HWND window) {
    m_saverWindow = window;
    PlayInOneWindow(window != nullptr);
  }
  HWND GetSaverWindow() const { return m_saverWindow; }
  // A message of the saver window: the first view takes those it handles;
  // handled false leaves the message to the screen-saver library.
  LRESULT ForwardSaverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool &handled);
  // What the saver's preview needs of the start-up: the handlers, the
  // display's facts, the resource manager and the publication file (given,
  // or beside the program when null), not opened.
  void PrepareSaverPreview(const char *publicationPath);
  bool IsPointerHidden() const { return m_pointerHidden; }

  static constexpr const char *kMissingPublicationText = "Cannot find publication file!!";
  static constexpr const char *kMissingPublicationCaption = "VOR";
  static constexpr const char *kOleContainerDll = "VOROleContainer.dll";

protected:
  // A player view with its own window: a chapter's own window belongs to
  // the main window; the main window takes the publication's style and
  // title.
  VORRunView *MakeView(const VORObjectCode &identity, VORPage &page) override;
  void Beep() override;
  // The wrong-password box: the program's string 1800, or a text of ours
  // where the program carries none.
  void ShowWrongPassword() override;
  bool HasCover() const override { return m_cover != nullptr; }
  void DeleteCover() override { m_cover.reset(); }

private:
  bool OpenPublicationFile();
  // The publication's name and folder from the command line, or beside the
  // program; then its holder, not opened.
  void LocatePublication(const char *commandLine);
  void ReportMissingPublication();
  XQString ProgramFolder() const;
  // One pass of the main loop up to its wait for a message.
  void RunDueWork();
  static void __cdecl SearchResultThunk(void *application, const int32_t *result);

  HINSTANCE m_instance;
  VORPlayerFileManager m_fileManager;
  XQString m_publicationName;
  std::unique_ptr<PublicationFile> m_publicationFile;
  // The opening of the start-up's check, kept until the teardown.
  bool m_publicationFileChecked = false;
  std::unique_ptr<VORPlayerPublication> m_publication;
  TimerWindow m_timerWindow;
  int m_mmx = 0;
  int m_paletteDisplay = 0;
  uint32_t m_lastSecondTick = 0;
  FontInstaller m_fonts;
  bool m_oleInitialised = false;
  bool m_oleContainerRegistered = false;
  HMODULE m_oleContainer = nullptr;
  SearchComponent m_search;
  bool m_passwordDialogOpen = false;
  bool m_internetAsked = false;
  std::unique_ptr<VORCover> m_cover;
  std::unique_ptr<VORPrinterDlg> m_printingDialog;
  bool m_printing = false;
  bool m_aviLibraryOpen = false;
  HWND m_saverWindow = nullptr;
  bool m_pointerHidden = false;
};
