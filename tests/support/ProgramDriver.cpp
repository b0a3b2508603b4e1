#include "support/ProgramDriver.h"

#include <cstdio>
#include <stdexcept>

namespace {

constexpr DWORD kPollMs = 50;

struct BoxSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM context) {
  auto *search = reinterpret_cast<BoxSearch *>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner == search->processId && lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct WindowSearch {
  DWORD processId;
  const char *className;
  const char *title;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  auto *search = reinterpret_cast<WindowSearch *>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner != search->processId || lstrcmpA(className, search->className) != 0)
    return TRUE;
  if (search->visibleOnly && !IsWindowVisible(window))
    return TRUE;
  if (search->title) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (lstrcmpA(title, search->title) != 0)
      return TRUE;
  }
  search->found = window;
  return FALSE;
}

void DeleteTree(const std::string &folder) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..")
        continue;
      const std::string path = folder + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        DeleteTree(path + "\\");
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

} // namespace

ProgramDriver::~ProgramDriver() {
  Kill();
  if (m_process.hProcess) {
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
  }
}

std::string ProgramDriver::ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool ProgramDriver::Start(const std::string &program, const std::string &arguments) {
  std::string commandLine = "\"" + program + "\"";
  if (!arguments.empty())
    commandLine += " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  return CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &m_process) != FALSE;
}

bool ProgramDriver::StartTraced(const std::string &program, const std::string &arguments,
                                const std::string &traceFile) {
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  HANDLE trace = CreateFileA(traceFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (trace == INVALID_HANDLE_VALUE)
    return false;
  std::string commandLine = "\"" + program + "\"";
  if (!arguments.empty())
    commandLine += " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = trace;
  startup.hStdError = trace;
  // The child takes this process's environment with the trace switched on.
  SetEnvironmentVariableA("VOR_STARTUP_TRACE", "1");
  const BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                      &startup, &m_process);
  SetEnvironmentVariableA("VOR_STARTUP_TRACE", nullptr);
  CloseHandle(trace);
  return started != FALSE;
}

HWND ProgramDriver::StartPlayer(const std::string &publication, const std::string &player) {
  if (!Start(ProgramFolder() + player, publication))
    return nullptr;
  const HWND window = WaitForWindow(E2e::kViewClass, E2e::kWindowTimeoutMs, nullptr, true);
  if (window != nullptr)
    KeepOnTop(window);
  return window;
}

HWND ProgramDriver::WaitForBox(DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  do {
    BoxSearch search = {m_process.dwProcessId, nullptr};
    EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
    if (search.found)
      return search.found;
    if (WaitForSingleObject(m_process.hProcess, kPollMs) == WAIT_OBJECT_0)
      return nullptr;
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

HWND ProgramDriver::WaitForWindow(const char *className, DWORD timeoutMs, const char *title, bool visibleOnly) const {
  const DWORD start = GetTickCount();
  do {
    WindowSearch search = {m_process.dwProcessId, className, title, visibleOnly, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found)
      return search.found;
    if (WaitForSingleObject(m_process.hProcess, kPollMs) == WAIT_OBJECT_0)
      return nullptr;
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

bool ProgramDriver::IsRunning() const {
  return m_process.hProcess && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

COLORREF ProgramDriver::ClientPixel(HWND window, int x, int y) {
  POINT point = {x, y};
  ClientToScreen(window, &point);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

void ProgramDriver::KeepOnTop(HWND window) {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool ProgramDriver::Xdotool(const std::string &arguments) {
  const char *program = "Z:\\usr\\bin\\xdotool";
  std::string commandLine = std::string(program) + " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

SIZE ProgramDriver::ClientSize(HWND window) {
  RECT client = {0, 0, 0, 0};
  GetClientRect(window, &client);
  return SIZE{client.right, client.bottom};
}

bool ProgramDriver::WaitForExit(DWORD timeoutMs) {
  if (!m_process.hProcess || WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
    return false;
  GetExitCodeProcess(m_process.hProcess, &m_exitCode);
  return true;
}

void ProgramDriver::Kill() {
  if (m_process.hProcess && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process.hProcess, 1);
    WaitForSingleObject(m_process.hProcess, INFINITE);
  }
}

std::string ProgramDriver::WindowText(HWND window) {
  char text[1024] = {};
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string ProgramDriver::BoxMessage(HWND box) {
  HWND message = GetDlgItem(box, kMessageId);
  return message ? WindowText(message) : std::string();
}

std::wstring ProgramDriver::WideBoxMessage(HWND box) {
  HWND message = GetDlgItem(box, kMessageId);
  wchar_t text[1024] = {};
  if (message)
    SendMessageW(message, WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text));
  return text;
}

bool ProgramDriver::HasChild(HWND box, int id) { return GetDlgItem(box, id) != nullptr; }

void ProgramDriver::SetChildText(HWND box, int id, const std::string &text) {
  SendMessageA(GetDlgItem(box, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ProgramDriver::PressButton(HWND box, int id) {
  // Posted: the box's modal loop answers it while this process goes on.
  PostMessageA(GetDlgItem(box, id), BM_CLICK, 0, 0);
}

ScratchFolder::ScratchFolder() {
  // Test cases run as parallel processes. Making the folder is what claims
  // its name: a name reserved as a file and then deleted to make room for
  // the folder could be handed to another process in between (both
  // processes then write into one place, or one has no folder at all).
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  static unsigned s_counter = 0;
  for (;;) {
    const std::string name =
        std::string(temp) + "vor" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++s_counter);
    if (CreateDirectoryA(name.c_str(), nullptr)) {
      m_path = name + "\\";
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS)
      throw std::runtime_error("cannot make a scratch folder under " + std::string(temp));
  }
}

ScratchFolder::~ScratchFolder() { DeleteTree(m_path); }

void ScratchFolder::WriteFile(const std::string &name, const std::string &bytes) const {
  FILE *file = std::fopen(File(name).c_str(), "wb");
  if (!file)
    return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::string ScratchFolder::ReadFile(const std::string &name) const {
  FILE *file = std::fopen(File(name).c_str(), "rb");
  if (!file)
    return "(missing)";
  std::string bytes;
  char buffer[256];
  size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.append(buffer, read);
  std::fclose(file);
  return bytes;
}
