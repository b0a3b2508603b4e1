#pragma once

#include <cstdint>
#include <string>

// The player's own failures. All but VORNewFailException are thrown by
// pointer and deleted by whoever catches them; VORNewFailException is thrown
// by value because it reports that memory ran out.
//
// A report is a warning box. The box itself belongs to the Win32 side, so
// reports go through a sink the program installs; without one they are
// silent (the platform-free tests install their own).
using VORReportSink = void (*)(const char *text, const char *caption);

VORReportSink VORSetReportSink(VORReportSink sink);

class VORException {
public:
  virtual ~VORException();
  virtual void Report();

protected:
  static void ShowWarning(const std::string &text, const char *caption);
};

class VORNewFailException : public VORException {
public:
  // 64 bits wide: a 64-bit program's failing request can exceed 4 GiB.
  explicit VORNewFailException(uint64_t requestedSize) : m_requestedSize(requestedSize) {}
  uint64_t GetRequestedSize() const { return m_requestedSize; }
  std::string Text() const;
  void Report() override;

private:
  uint64_t m_requestedSize;
};

// A hardware or system fault caught by the program's unhandled-exception
// filter. Its text is formatted for diagnostics; no box is shown, since the
// process state after such a fault cannot be trusted to draw one.
class VORSEException : public VORException {
public:
  explicit VORSEException(uint32_t code) : m_code(code) {}
  uint32_t GetCode() const { return m_code; }
  std::string Text() const;
  void Report() override;

private:
  uint32_t m_code;
};

class VORWaveErrorException : public VORException {
public:
  explicit VORWaveErrorException(int32_t errorCode) : m_errorCode(errorCode) {}
  int32_t GetErrorCode() const { return m_errorCode; }
  std::string Text() const;
  void Report() override;

private:
  int32_t m_errorCode;
};

// MIDI failures are reported with the same text and caption as wave failures.
class VORMidiErrorException : public VORWaveErrorException {
public:
  explicit VORMidiErrorException(int32_t errorCode) : VORWaveErrorException(errorCode) {}
};

// Ends the run without a report.
class VORUserExitException : public VORException {};

class VORAssertException : public VORException {};

extern const char *const kVORSEExceptionCaption; // "VORSEEXCEPTION"
extern const char *const kVORExceptionCaption;   // "VOREXCEPTION"
