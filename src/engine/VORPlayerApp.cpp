#include "engine/VORPlayerApp.h"

#include <cstdlib>
#include <cstring>

#include "engine/VORExceptionHandlers.h"
#include "foundation/VORException.h"
#include "foundation/XQCallbackGuard.h"
#include "foundation/XQMessageBox.h"
#include "vorfile/XQWin32File.h"

namespace {

constexpr size_t kModulePathSize = 1024;
constexpr size_t kMinimumProgramPathLength = 5; // room for "x.vor"

void SetCursorShape(LPCSTR shape) { SetCursor(LoadCursorA(nullptr, shape)); }

} // namespace

VORPlayerApp::VORPlayerApp(HINSTANCE instance) : m_instance(instance) {}

VORPlayerApp::~VORPlayerApp() = default;

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

  if (commandLine && *commandLine) {
    m_publicationName = PublicationNameFromCommandLine(commandLine);
    m_publicationFolder = FolderOf(m_publicationName.CStr());
  } else {
    LocateByModuleName();
  }

  if (!CheckPublicationFile()) {
    XQMessageBox::Show(nullptr, kMissingPublicationText, kMissingPublicationCaption, MB_ICONWARNING);
    return false;
  }
  SetCursorShape(IDC_ARROW);
  return true;
}

bool VORPlayerApp::CheckPublicationFile() {
  if (m_publicationName.IsEmpty())
    return false;
  auto file = std::make_unique<XQWin32File>(m_publicationName.CStr());
  if (!file->Open(XQFile::kRead))
    return false;
  // This first opening stays until the teardown closes it.
  m_publicationFile = std::move(file);
  return true;
}

void VORPlayerApp::Teardown() {
  SetCursorShape(IDC_WAIT);
  if (m_publicationFile) {
    m_publicationFile->Close();
    m_publicationFile.reset();
  }
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
