#include "engine/VORPlayerApp.h"

#include <io.h>
#include <ole2.h>

#include <cstdlib>
#include <cstring>

#include "engine/VORExceptionHandlers.h"
#include "foundation/VORException.h"
#include "foundation/XQCallbackGuard.h"
#include "foundation/XQMessageBox.h"
#include "model/PublicationFile.h"
#include "model/VORPlayerFileManager.h"
#include "model/VORPlayerPublication.h"
#include "model/VORResourceManager.h"
#include "model/VORWin32ResourcePlatform.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/XQWin32File.h"

namespace {

constexpr size_t kModulePathSize = 1024;
constexpr size_t kMinimumProgramPathLength = 5; // room for "x.vor"
// LoadLibraryA's results up to this value are error codes of the 16-bit era.
constexpr UINT_PTR kLastLoadError = 31;
const char *const kFontPatterns[] = {"*.fon", "*.fnt", "*.ttf", "*.fot"};

void SetCursorShape(LPCSTR shape) { SetCursor(LoadCursorA(nullptr, shape)); }

std::unique_ptr<VORFile> OpenCompiledFile(const VORExternalResourceIdentifier &identifier) {
  if (identifier.GetFileName().IsEmpty())
    return nullptr;
  auto file = std::make_unique<VORCompiledFile>(std::make_unique<XQWin32File>(identifier.GetFileName().CStr()));
  if (!file->Open(false, false))
    return nullptr;
  return file;
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

VORPlayerApp::VORPlayerApp(HINSTANCE instance)
    : m_instance(instance), m_fileManager(std::make_unique<VORPlayerFileManager>()) {}

VORPlayerApp::~VORPlayerApp() {
  // Resources read through the publication-file holder and the file manager.
  m_resourceManager.reset();
  m_publication.reset();
  m_publicationFile.reset();
  if (m_oleInitialised)
    OleUninitialize();
  if (m_oleContainer)
    FreeLibrary(m_oleContainer);
  if (m_searchDll)
    FreeLibrary(m_searchDll);
}

void VORPlayerApp::Run(const char *commandLine, HWND existingWindow) {
  VORInstallExceptionHandlers();
  VORSetReportSink(XQMessageBox::ShowReport);
  try {
    if (StartUp(commandLine, existingWindow))
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
}

bool VORPlayerApp::StartUp(const char *commandLine, HWND /*existingWindow*/) {
  DetectMMX();
  SetCursorShape(IDC_WAIT);
  CheckPaletteDisplay();
  m_resourceManager = std::make_unique<VORResourceManager>(VORMakeWin32ResourcePlatform());

  if (commandLine && *commandLine) {
    m_publicationName = PublicationNameFromCommandLine(commandLine);
    m_publicationFolder = FolderOf(m_publicationName.CStr());
  } else {
    LocateByModuleName();
  }
  if (m_fileManager)
    m_fileManager->SetPublicationFolder(m_publicationFolder);

  if (!OpenPublicationFile() || !LoadPublication()) {
    ReportMissingPublication();
    return false;
  }
  m_publication->SetFileName(m_publicationName);
  LoadOleContainer();
  LoadSearcher();
  InstallFonts();
  SetCursorShape(IDC_ARROW);
  return true;
}

void VORPlayerApp::ReportMissingPublication() {
  XQMessageBox::Show(nullptr, kMissingPublicationText, kMissingPublicationCaption, MB_ICONWARNING);
}

bool VORPlayerApp::OpenPublicationFile() {
  const VORExternalResourceIdentifier identifier(VORExternalResourceIdentifier::kFullPath, m_publicationName.CStr());
  m_publicationFile = std::make_unique<PublicationFile>(identifier, OpenCompiledFile);
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
  return m_publication != nullptr;
}

XQString VORPlayerApp::ProgramFolder() const {
  char programPath[kModulePathSize] = {};
  GetModuleFileNameA(m_instance, programPath, sizeof programPath);
  return FolderOf(programPath);
}

void VORPlayerApp::LoadOleContainer() {
  if (!m_publication || !m_publication->WantsOleContainer())
    return;
  if (FAILED(OleInitialize(nullptr)))
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
  m_searchDll = LoadBesideProgram(ProgramFolder(), kSearchDll);
  if (!m_searchDll)
    return;
  if (auto loadDictionary = FindEntry<LoadDictionaryEntry>(m_searchDll, "loadDictionary")) {
    const std::vector<uint8_t> dictionary = m_publication->TakeSearchDictionary();
    loadDictionary(dictionary.data(), static_cast<unsigned long>(dictionary.size()));
    m_dictionaryLoaded = true;
  }
  m_isSearcherMessage = FindEntry<IsSearcherMessageEntry>(m_searchDll, "isSearcherMessage");
}

void VORPlayerApp::InstallFonts() {
  for (const char *pattern : kFontPatterns) {
    XQString search(m_publicationFolder);
    search.AppendText(pattern);
    _finddata_t found = {};
    const intptr_t handle = _findfirst(search.CStr(), &found);
    if (handle == -1)
      continue;
    do {
      XQString path(m_publicationFolder);
      path.AppendText(found.name);
      if (AddFontResourceA(path.CStr()) != 0)
        m_fonts.Append(path);
    } while (_findnext(handle, &found) == 0);
    _findclose(handle);
  }
}

void VORPlayerApp::RemoveFonts() {
  XQString font;
  while (m_fonts.FindIf([](const XQString &) { return true; }, font)) {
    m_fonts.Remove(font);
    RemoveFontResourceA(font.CStr());
  }
}

VORPublication *VORPlayerApp::GetPublication() { return m_publication.get(); }

VORFileManager *VORPlayerApp::GetFileManager() { return m_fileManager.get(); }

// The password dialog comes with the passwords; until then every question
// counts as cancelled.
VORString VORPlayerApp::AskPassword() { return VORString(); }

void VORPlayerApp::Teardown() {
  SetCursorShape(IDC_WAIT);
  RemoveFonts();
  m_publication.reset();
  if (m_publicationFile && m_publicationFileChecked)
    m_publicationFile->Close();
  m_publicationFileChecked = false;
  m_publicationFile.reset();
  m_fileManager.reset();
  m_resourceManager.reset();
  SetCursorShape(IDC_ARROW);
}

void VORPlayerApp::LocateByModuleName() {
  char programPath[kModulePathSize] = {};
  GetModuleFileNameA(nullptr, programPath, sizeof programPath);
  m_publicationName = PublicationNameForProgram(programPath);
  m_publicationFolder = FolderOf(programPath);
}

void VORPlayerApp::CheckPaletteDisplay() {
  HDC screen = GetDC(nullptr);
  m_paletteDisplay = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) ? 0 : 1;
  ReleaseDC(nullptr, screen);
}

XQString VORPlayerApp::PublicationNameFromCommandLine(const char *commandLine) {
  if (!commandLine)
    return XQString();
  const size_t length = std::strlen(commandLine);
  if (length >= 2 && commandLine[0] == '"' && commandLine[length - 1] == '"')
    return XQString(commandLine + 1, static_cast<uint32_t>(length - 2));
  return XQString(commandLine);
}

XQString VORPlayerApp::PublicationNameForProgram(const char *programPath) {
  const size_t length = programPath ? std::strlen(programPath) : 0;
  if (length < kMinimumProgramPathLength)
    return XQString();
  XQString name(programPath, static_cast<uint32_t>(length - 3));
  name.AppendText("vor");
  return name;
}

XQString VORPlayerApp::FolderOf(const char *path) {
  char drive[_MAX_DRIVE] = {};
  char directory[_MAX_DIR] = {};
  _splitpath(path ? path : "", drive, directory, nullptr, nullptr);
  XQString folder(drive);
  folder.AppendText(directory);
  return folder;
}
