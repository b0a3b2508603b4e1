#include "engine/VORPlayerApp.h"

#include <cstdlib>
#include <cstring>

#include "display/DisplaySettings.h"
#include "display/VORPlayerView.h"
#include "engine/BookmarkFile.h"
#include "engine/PublicationPath.h"
#include "engine/VORBookmarkDlg.h"
#include "engine/VORDisplayMode.h"
#include "engine/VORExceptionHandlers.h"
#include "engine/VORLaunchManager.h"
#include "engine/VORPasswordDlg.h"
#include "engine/VORWin32StoreInfoPlatform.h"
#include "engine/Win32LaunchPlatform.h"
#include "foundation/StartupTrace.h"
#include "foundation/SystemLibrary.h"
#include "foundation/VORException.h"
#include "foundation/XQCallbackGuard.h"
#include "foundation/XQMessageBox.h"
#include "model/PublicationFile.h"
#include "model/VORChapter.h"
#include "model/VORFileKind.h"
#include "model/VORInternalResourceIdentifier.h"
#include "model/VORPage.h"
#include "model/VORPlayerFileManager.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPlayerPublication.h"
#include "model/VORResourceManager.h"
#include "model/VORWin32ResourcePlatform.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/XQFile.h"

namespace {

constexpr size_t kModulePathSize = 1024;
// LoadLibraryA's results up to this value are error codes of the 16-bit era.
constexpr UINT_PTR kLastLoadError = 31;
// The standard beep of MessageBeep.
constexpr UINT kStandardBeep = 0xFFFFFFFF;
// A search result's page id is its second 32-bit word.
constexpr size_t kResultPageWord = 1;
// The wrong-password warning: the program's string, or this text where the
// program carries none.
constexpr UINT kWrongPasswordString = 1800;
constexpr int kStringBufferSize = 1024;
const char *const kWrongPasswordFallback = "The password is not correct.";

// OLE is loaded only for a publication that asks for the container.
SystemLibrary &Ole() {
  static SystemLibrary ole("ole32.dll");
  return ole;
}

// The AVI file library, opened at start-up for the videos' streams and
// loaded then rather than with the program.
SystemLibrary &AviFileLibrary() {
  static SystemLibrary avifil32("avifil32.dll");
  return avifil32;
}

void SetCursorShape(LPCSTR shape) { SetCursor(LoadCursorA(nullptr, shape)); }

bool ScreenIsPaletteBased() {
  HDC screen = GetDC(nullptr);
  const bool palette = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
  ReleaseDC(nullptr, screen);
  return palette;
}

VORPlayerApp::PaletteDisplayTest g_paletteDisplayTest = ScreenIsPaletteBased;
VORPlayerApp::CoverMaker g_coverMaker = nullptr;

std::unique_ptr<VORFile> OpenCompiledFile(VORFileManager &fileManager,
                                          const VORExternalResourceIdentifier &identifier) {
  if (identifier.GetFileName().IsEmpty())
    return nullptr;
  std::unique_ptr<XQFile> disk = fileManager.OpenFile(identifier);
  if (!disk)
    return nullptr;
  auto file = std::make_unique<VORCompiledFile>(std::move(disk));
  if (!file->Open(false, false))
    return nullptr;
  return file;
}

// "Connect to the Internet?"
constexpr UINT kConnectString = 61559;

XQString WrongPasswordText(HINSTANCE instance) {
  char text[kStringBufferSize] = {};
  if (LoadStringA(instance, kWrongPasswordString, text, sizeof text) <= 0)
    return XQString(kWrongPasswordFallback);
  return XQString(text);
}

HMODULE LoadBesideProgram(const XQString &programFolder, const char *dllName) {
  XQString path(programFolder);
  path.AppendText(dllName);
  HMODULE module = LoadLibraryA(path.CStr());
  if (reinterpret_cast<UINT_PTR>(module) <= kLastLoadError)
    return nullptr;
  return module;
}

template <class Entry>
Entry FindEntry(HMODULE module, const char *name) {
  // The entries are plain functions exported by name; their types are the
  // ones declared with the application.
  return reinterpret_cast<Entry>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

} // namespace

VORPlayerApp::VORPlayerApp(HINSTANCE instance) : VORPlayer(VORSystemClock::Instance()), m_instance(instance) {
  SetStoreInfoPlatform(std::make_unique<VORWin32StoreInfoPlatform>());
}

VORPlayerApp::~VORPlayerApp() {
  CloseAllViews();
  // The cover's picture is a locked resource.
  m_cover.reset();
  m_timerWindow.Destroy();
  // The sound reads its resources through the resource manager.
  DestroySoundManager();
  // Resources read through the publication-file holder and the file manager.
  m_resourceManager.reset();
  DropPalette();
  m_publication.reset();
  m_publicationFile.reset();
  if (m_oleInitialised)
    if (auto uninitialize = Ole().Find<void(WINAPI *)()>("OleUninitialize"))
      uninitialize();
  if (m_oleContainer)
    FreeLibrary(m_oleContainer);
  if (m_aviLibraryOpen)
    if (auto exit = AviFileLibrary().Find<void(WINAPI *)()>("AVIFileExit"))
      exit();
}

void VORPlayerApp::Run(const char *commandLine, HWND existingWindow) {
  VORInstallExceptionHandlers();
  VORSetReportSink(XQMessageBox::ShowReport);
  try {
    if (StartUp(commandLine, existingWindow))
      MessageLoop();
    // What a callback kept (it ended the loop) is reported like the rest.
    XQCallbackGuard::RethrowPending();
  } catch (VORNewFailException &failure) {
    failure.Report();
  } catch (VORException *failure) {
    failure->Report();
    delete failure;
  } catch (...) {
    // Anything else ends the run without a report; the teardown still runs.
  }
  Teardown();
  if (m_pointerHidden) {
    ShowCursor(TRUE);
    m_pointerHidden = false;
  }
}

bool VORPlayerApp::StartUp(const char *commandLine, HWND existingWindow) {
  DetectMMX();
  SetCursorShape(IDC_WAIT);
  CheckPaletteDisplay();
  StartupTrace::Mark("wait cursor, palette display");
  m_resourceManager = std::make_unique<VORResourceManager>(VORMakeWin32ResourcePlatform());

  LocatePublication(commandLine);
  const bool opened = OpenPublicationFile();
  StartupTrace::Mark("publication file opened");
  if (!opened) {
    ReportMissingPublication();
    return false;
  }
  ShowCover();
  StartupTrace::Mark("cover");
  CreateEngineObjects();
  // The screen saver plays without a pointer.
  if (existingWindow && !m_pointerHidden) {
    ShowCursor(FALSE);
    m_pointerHidden = true;
  }
  StartupTrace::Mark("engine objects");
  if (!LoadPublication()) {
    ReportMissingPublication();
    return false;
  }
  m_publication->SetFileName(m_publicationName);
  CreatePublicationReceivers();
  StartupTrace::Mark("publication loaded");
  LoadOleContainer();
  LoadSearcher();
  StartupTrace::Mark("outside components");
  InstallFonts();
  StartupTrace::Mark("fonts");
  if (!CheckStartupPassword())
    return false;
  const VORPublication::VORPublicationProperties &properties = m_publication->GetPublicationProperties();
  if (properties.changeDisplayMode)
    VORDisplayMode::Set(properties.displayMode);
  if (m_publication->HasFlag(VORPublication::kInactivityTimeoutFlag))
    GetInactivityTimer().Arm(properties.inactivityTimeout);
  if (existingWindow)
    AdoptWindowView(existingWindow);
  // A window given to play in gets its view with the windowed player view.
  const bool shown = ShowFirstPage(existingWindow ? VORRunView::Identity(VORRunView::kMainViewId) : kStartupView);
  SetCursorShape(IDC_ARROW);
  StartupTrace::Mark("first page shown");
  return shown;
}

void VORPlayerApp::CreateEngineObjects() {
  if (!m_aviLibraryOpen)
    if (auto initialize = AviFileLibrary().Find<void(WINAPI *)()>("AVIFileInit")) {
      initialize();
      m_aviLibraryOpen = true;
    }
  StartupTrace::Mark("AVI library");
  CreateSoundManager();
  StartupTrace::Mark("sound manager");
  CreateEventQueue();
  m_timerWindow.Create(this, GetClock(), m_instance, nullptr);
  SetTickTime(0);
}

void VORPlayerApp::MessageLoop() {
  for (;;) {
    RunDueWork();
    MSG message;
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1)
      break;
    // The screen-saver library posts this close at the input that ends the
    // saver.
    if (m_saverWindow && message.message == WM_CLOSE && message.hwnd == m_saverWindow)
      break;
    const bool escapeTaken =
        !m_saverWindow && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && OnEscape();
    if (!escapeTaken && !m_search.Offer(message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    const uint32_t now = GetClock().GetMilliseconds();
    SetTickTime(now);
    OnTick(now);
  }
}

// The once-a-second work, the update controller while something falls due
// soon, and the idle work while no message waits.
void VORPlayerApp::RunDueWork() {
  MSG waiting;
  for (;;) {
    const uint32_t now = GetClock().GetMilliseconds();
    if (now - m_lastSecondTick >= kSecondMs) {
      m_lastSecondTick = now;
      RunSecondTick();
    }
    RemoveCoverWhenDue(now);
    if (GetInactivityTimer().IsCheckDue(now))
      GetInactivityTimer().Check(*this);
    VORUpdateController &controller = *GetUpdateController();
    while (controller.IsDueWithin(GetClock().GetMilliseconds(), kUpdateWindowMs)) {
      if (PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE))
        break;
      controller.Run();
      RefreshViews();
    }
    if (PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE))
      return;
    if (!RunIdleWork())
      return;
  }
}

bool VORPlayerApp::OnEscape() {
  VORPublication *publication = GetPublication();
  if (!publication || !publication->AllowsEscapeExit())
    return false;
  std::unique_ptr<VORPlayerGotoPageAction> exit(
      VORPlayerGotoPageAction::Make(kExit, VORObjectCode::Zero(), VORObjectCode::Zero()));
  ExecuteAction(*exit);
  return true;
}

bool VORPlayerApp::RequestQuit() {
  if (m_passwordDialogOpen)
    return false;
  VORPublication *publication = GetPublication();
  if (!publication || !publication->HasFlag(VORPublication::kExitPasswordFlag)) {
    PostQuitMessage(0);
    return true;
  }
  m_passwordDialogOpen = true;
  VORString answer;
  try {
    answer = AskPassword();
  } catch (...) {
    m_passwordDialogOpen = false;
    throw;
  }
  // The exit password counts letter case.
  if (answer.Equals(publication->GetPublicationProperties().exitPassword)) {
    PostQuitMessage(0);
    return true;
  }
  if (!answer.IsEmpty())
    ShowWrongPassword();
  m_passwordDialogOpen = false;
  return false;
}

void VORPlayerApp::LaunchSearcher() {
  VORRunView *first = GetFirstView();
  m_search.Launch(first ? first->GetWindow() : nullptr, SearchResultThunk, this);
}

void __cdecl VORPlayerApp::SearchResultThunk(void *application, const int32_t *result) {
  XQCallbackGuard::Call(0, [application, result] {
    static_cast<VORPlayerApp *>(application)->OnSearchResult(result);
    return 0;
  });
}

void VORPlayerApp::OnSearchResult(const int32_t *result) {
  if (result) {
    std::unique_ptr<VORPlayerGotoPageAction> action(VORPlayerGotoPageAction::Make(
        kGotoPage, VORObjectCode(VORPage::kCategory, VORPage::kCode, result[kResultPageWord]), kSearchResultView));
    ExecuteAction(*action);
  }
  m_search.Ended();
}

void VORPlayerApp::CloseView(HWND window) {
  DestroyWindow(window);
  VORRunView *closed = FindViewByWindow(window);
  if (!closed)
    return;
  if (closed != GetFirstView()) {
    VORPlayer::CloseView(closed);
    return;
  }
  // The main window ends the run.
  CloseAllViews();
  StopAllSound();
  PostQuitMessage(0);
}

VORRunView *VORPlayerApp::MakeView(const VORObjectCode &identity, VORPage &page) {
  VORChapter *chapter = page.GetChapter();
  XQString title;
  uint8_t titleBar = 0;
  uint32_t style = 0;
  HWND parent = nullptr;
  if (chapter && chapter->HasOwnWindow()) {
    chapter->GetTitle(title, titleBar);
    style = chapter->GetWindowStyle();
    if (VORRunView *first = GetFirstView())
      parent = first->GetWindow();
  } else if (VORPublication *publication = GetPublication()) {
    publication->GetTitle(title, titleBar);
    style = publication->GetWindowStyle();
  }
  auto view = std::make_unique<VORPlayerView>(identity.id);
  if (!view->CreateViewWindow(m_instance, parent, style))
    return nullptr;
  StartupTrace::Mark("view window created");
  if (titleBar)
    SetWindowTextA(view->GetWindow(), title.CStr());
  return view.release();
}

void VORPlayerApp::Beep() { MessageBeep(kStandardBeep); }

void VORPlayerApp::ShowWrongPassword() {
  XQMessageBox::Show(nullptr, WrongPasswordText(m_instance).CStr(), "", MB_ICONWARNING);
}

void VORPlayerApp::DetectMMX() {
  // Asking the system replaces executing EMMS under a fault guard, which this
  // compiler cannot express.
  m_mmx = IsProcessorFeaturePresent(PF_MMX_INSTRUCTIONS_AVAILABLE) ? 1 : 0;
  GetDisplaySettings().mmx = m_mmx != 0;
}

void VORPlayerApp::ReportMissingPublication() {
  XQMessageBox::Show(nullptr, kMissingPublicationText, kMissingPublicationCaption, MB_ICONWARNING);
}

void VORPlayerApp::LocatePublication(const char *commandLine) {
  if (commandLine && *commandLine) {
    m_publicationName = PublicationPath::NameFromCommandLine(commandLine);
    m_fileManager.SetPublicationFolder(PublicationPath::FolderOf(m_publicationName.CStr()));
  } else {
    LocateByModuleName();
  }
  const VORExternalResourceIdentifier identifier(VORExternalResourceIdentifier::kFullPath, m_publicationName.CStr());
  m_publicationFile = std::make_unique<PublicationFile>(
      identifier, [this](const VORExternalResourceIdentifier &id) { return OpenCompiledFile(m_fileManager, id); });
}

bool VORPlayerApp::OpenPublicationFile() {
  // This first opening stays until the teardown closes it.
  m_publicationFileChecked = m_publicationFile->Open() != nullptr;
  return m_publicationFileChecked;
}

bool VORPlayerApp::LoadPublication() {
  if (!m_publicationFile)
    return false;
  PublicationFileScope scope(*m_publicationFile);
  if (!scope.Open())
    return false;
  m_publication = VORPlayerPublication::LoadFromRoot(scope.GetFile());
  MakePalette();
  return m_publication != nullptr;
}

XQString VORPlayerApp::ProgramFolder() const {
  char programPath[kModulePathSize] = {};
  GetModuleFileNameA(m_instance, programPath, sizeof programPath);
  return PublicationPath::FolderOf(programPath);
}

void VORPlayerApp::LoadOleContainer() {
  if (!m_publication || !m_publication->WantsOleContainer())
    return;
  auto initialize = Ole().Find<HRESULT(WINAPI *)(void *)>("OleInitialize");
  if (!initialize || FAILED(initialize(nullptr)))
    return;
  m_oleInitialised = true;
  m_oleContainer = LoadBesideProgram(ProgramFolder(), kOleContainerDll);
  if (!m_oleContainer)
    return;
  if (auto registerServer = FindEntry<RegisterServerEntry>(m_oleContainer, "DllRegisterServer")) {
    registerServer();
    m_oleContainerRegistered = true;
  }
}

void VORPlayerApp::LoadSearcher() {
  if (!m_publication || !m_publication->HasSearchDictionary())
    return;
  if (m_search.Load(ProgramFolder()) && m_search.TakesDictionary())
    m_search.LoadDictionary(m_publication->TakeSearchDictionary());
}

void VORPlayerApp::InstallFonts() { m_fonts.InstallFrom(GetPublicationFolder()); }

void VORPlayerApp::RemoveFonts() { m_fonts.RemoveAll(); }

VORPublication *VORPlayerApp::GetPublication() { return m_publication.get(); }

// Over the first view's window; without a view the dialog has no owner.
VORString VORPlayerApp::AskPassword() {
  VORRunView *first = GetFirstView();
  VORPasswordDlg dialog(m_instance, first ? first->GetWindow() : nullptr);
  if (dialog.RunModal() != XQDialog::kOk)
    return VORString();
  return dialog.GetPassword();
}

void VORPlayerApp::Teardown() {
  SetCursorShape(IDC_WAIT);
  CloseAllViews();
  if (m_publication && m_publication->GetPublicationProperties().changeDisplayMode)
    VORDisplayMode::Set(VORDisplayMode::kRestore);
  RemoveFonts();
  DropPalette();
  m_publication.reset();
  if (m_publicationFile && m_publicationFileChecked)
    m_publicationFile->Close();
  m_publicationFileChecked = false;
  m_publicationFile.reset();
  m_cover.reset();
  m_printingDialog.reset();
  DestroySoundManager();
  m_resourceManager.reset();
  SetCursorShape(IDC_ARROW);
}

void VORPlayerApp::LocateByModuleName() {
  char programPath[kModulePathSize] = {};
  GetModuleFileNameA(nullptr, programPath, sizeof programPath);
  m_publicationName = PublicationPath::NameForProgram(programPath);
  m_fileManager.SetPublicationFolder(PublicationPath::FolderOf(programPath));
}

void VORPlayerApp::SetCoverMaker(CoverMaker maker) { g_coverMaker = maker; }

bool VORPlayerApp::HasCoverMaker() { return g_coverMaker != nullptr; }

void VORPlayerApp::ShowCover() {
  if (!g_coverMaker || !m_resourceManager)
    return;
  const uint32_t handle = m_resourceManager->OpenInternalResource(
      VORInternalResourceIdentifier(kCoverResourceNumber, VORFileKind::kInternalPicture), 0, 0, 0);
  if (handle == 0)
    return;
  m_cover = g_coverMaker(m_instance, handle);
  if (m_cover)
    NoteCoverShown();
}

void VORPlayerApp::CheckPaletteDisplay() {
  const bool paletteBased = g_paletteDisplayTest();
  m_paletteDisplay = paletteBased ? 0 : 1;
  GetDisplaySettings().paletteDisplay = paletteBased;
}

VORPlayerApp::PaletteDisplayTest VORPlayerApp::SetPaletteDisplayTest(PaletteDisplayTest test) {
  PaletteDisplayTest previous = g_paletteDisplayTest;
  g_paletteDisplayTest = test ? test : ScreenIsPaletteBased;
  return previous;
}

void VORPlayerApp::AdoptWindowView(HWND window) {
  auto view = std::make_unique<VORPlayerView>(VORRunView::kMainViewId, window);
  ShowWindow(window, SW_SHOW);
  AddView(view.release());
}

LRESULT VORPlayerApp::ForwardSaverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool &handled) {
  handled = false;
  auto *view = dynamic_cast<VORPlayerView *>(GetFirstView());
  return view ? view->HandleMessage(window, message, wParam, lParam, handled) : 0;
}

void VORPlayerApp::PrepareSaverPreview(const char *publicationPath) {
  VORInstallExceptionHandlers();
  VORSetReportSink(XQMessageBox::ShowReport);
  CheckPaletteDisplay();
  DetectMMX();
  m_resourceManager = std::make_unique<VORResourceManager>(VORMakeWin32ResourcePlatform());
  LocatePublication(publicationPath);
}

void VORPlayerApp::CreatePublicationReceivers() {
  if (!m_publication)
    return;
  const std::string publicationFile(m_publicationName.CStr(), m_publicationName.GetLength());
  m_publication->SetLaunchManager(
      std::make_unique<VORLaunchManager>(std::make_unique<Win32LaunchPlatform>(), publicationFile));
  char programPath[kModulePathSize] = {};
  GetModuleFileNameA(nullptr, programPath, sizeof programPath);
  const std::string filePath =
      BookmarkFile::NameFor(std::getenv("TEMP"), std::getenv("TMPDIR"), publicationFile, programPath);
  m_publication->SetBookmarks(std::make_unique<VORBookmarks>(
      *m_publication, filePath, [this](VORBookmarks::DialogData &data) { ShowBookmarkDialog(data); }));
}

HWND VORPlayerApp::ShowPrintingDialog() {
  m_printingDialog.reset();
  VORRunView *first = GetFirstView();
  m_printingDialog = std::make_unique<VORPrinterDlg>(m_instance, first ? first->GetWindow() : nullptr, *this);
  HWND window = m_printingDialog->CreateModeless();
  if (window == nullptr)
    m_printingDialog.reset();
  return window;
}

bool VORPlayerApp::ShowBookmarkDialog(VORBookmarks::DialogData &data) {
  VORRunView *first = GetFirstView();
  VORBookmarkDlg dialog(m_instance, first ? first->GetWindow() : nullptr, data);
  dialog.RunModal();
  return true;
}

bool VORPlayerApp::ConfirmInternetConnection() {
  if (m_internetAsked)
    return true;
  m_internetAsked = true;
  char text[kStringBufferSize] = {};
  LoadStringA(m_instance, kConnectString, text, sizeof text);
  return XQMessageBox::Show(nullptr, text, "", MB_ICONQUESTION | MB_YESNO) == IDYES;
}
