#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// What the end-to-end tests share about the player they drive: its view
// window's class, the publication flag that lets the close box end it, and
// how long a window may take to come and a program to end under a loaded Wine.
namespace E2e {
constexpr const char *kViewClass = "VOR_VIEW_CLASS";
constexpr uint32_t kCloseBoxExits = 0x20;
constexpr DWORD kWindowTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 20000;
} // namespace E2e

// Drives one of the real programs from another process, as a person would:
// starts it, finds the boxes it shows, reads them and presses their buttons.
class ProgramDriver {
public:
  ProgramDriver() = default;
  ~ProgramDriver();
  ProgramDriver(const ProgramDriver &) = delete;
  ProgramDriver &operator=(const ProgramDriver &) = delete;

  // The folder of the running test program, ending in a backslash: the
  // programs are built beside the tests.
  static std::string ProgramFolder();

  // Starts program (a full path) with the given argument text, which may be
  // empty. False when the process could not be created.
  bool Start(const std::string &program, const std::string &arguments);
  // Starts it as Start does with its start-up trace on ("VOR_STARTUP_TRACE"),
  // the trace's lines (its standard error) going to the file.
  bool StartTraced(const std::string &program, const std::string &arguments, const std::string &traceFile);
  // Starts a player beside the tests (by its file name) on a publication
  // file and waits for its view window to show, which it keeps on top.
  // Null when the program did not start or showed no view window in time.
  HWND StartPlayer(const std::string &publication, const std::string &player = "vorplayer.exe");

  // Waits for a dialog-class window ("#32770") of the started process.
  // Null when none appeared within the time.
  HWND WaitForBox(DWORD timeoutMs) const;

  // Waits for a top-level window of the started process with that class
  // (and, when given, that title); hidden ones count unless visibleOnly.
  // Null when none appeared within the time or the process ended.
  HWND WaitForWindow(const char *className, DWORD timeoutMs, const char *title = nullptr,
                     bool visibleOnly = false) const;
  // True while the process runs.
  bool IsRunning() const;

  // The colour (0xBBGGRR) shown at a point of a window's client area, as
  // the screen shows it now.
  static COLORREF ClientPixel(HWND window, int x, int y);
  static SIZE ClientSize(HWND window);
  // The screen is read where the window is: nothing else may cover it (the
  // windows of tests of other programs that run meanwhile).
  static void KeepOnTop(HWND window);

  // Waits for the process to end; false on time-out.
  bool WaitForExit(DWORD timeoutMs);
  DWORD ExitCode() const { return m_exitCode; }
  // Ends the process if it still runs (after a failed expectation).
  void Kill();

  static std::string WindowText(HWND window);
  static std::string BoxMessage(HWND box);
  // The message as Unicode, whatever the ANSI code page is.
  static std::wstring WideBoxMessage(HWND box);
  static bool HasChild(HWND box, int id);
  static void PressButton(HWND box, int id);
  // Types into a control of a box: its text becomes the text given.
  static void SetChildText(HWND box, int id, const std::string &text);

  // Gives the X server input as a person's hand does, through xdotool with
  // these arguments (several commands chain in one call, in order: "mousemove
  // 10 10 sleep 0.1 click 1"). Wine starts the Unix program but cannot wait
  // for it: the caller watches for the input's effect. False when xdotool
  // did not start.
  static bool Xdotool(const std::string &arguments);

  // A box's message text and its icon are static controls with these ids.
  static constexpr int kMessageId = 65535;
  static constexpr int kIconId = 1088;

private:
  PROCESS_INFORMATION m_process = {};
  DWORD m_exitCode = STILL_ACTIVE;
};

// A folder under the temporary folder, deleted with everything in it when
// the object goes.
class ScratchFolder {
public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder &) = delete;
  ScratchFolder &operator=(const ScratchFolder &) = delete;

  // The folder's path, ending in a backslash.
  const std::string &Path() const { return m_path; }
  std::string File(const std::string &name) const { return m_path + name; }
  void WriteFile(const std::string &name, const std::string &bytes) const;
  // The file's bytes as they are on disk; "(missing)" when it cannot be read.
  std::string ReadFile(const std::string &name) const;

private:
  std::string m_path;
};
