#include "support/TempFile.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

std::string TempFolder() {
#ifdef _WIN32
  char folder[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, folder);
  return std::string(folder, length);
#else
  const char *folder = std::getenv("TMPDIR");
  return std::string(folder && *folder ? folder : "/tmp") + "/";
#endif
}

unsigned long ProcessId() {
#ifdef _WIN32
  return GetCurrentProcessId();
#else
  return static_cast<unsigned long>(getpid());
#endif
}

} // namespace

TempFile::TempFile(const char *extension) {
  // Test cases run as parallel processes: the process id keeps names apart.
  static int s_counter = 0;
  m_path = TempFolder() + "vortest-" + std::to_string(ProcessId()) + "-" + std::to_string(++s_counter) + extension;
}

TempFile::~TempFile() { Remove(); }

bool TempFile::Write(const std::vector<uint8_t> &bytes) const {
  std::FILE *file = std::fopen(m_path.c_str(), "wb");
  if (!file)
    return false;
  // An empty file is written by opening it: fwrite may not take the null data pointer.
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

bool TempFile::Write(const std::string &text) const { return Write(std::vector<uint8_t>(text.begin(), text.end())); }

bool TempFile::Exists() const {
  std::FILE *file = std::fopen(m_path.c_str(), "rb");
  if (file)
    std::fclose(file);
  return file != nullptr;
}

void TempFile::Remove() const { std::remove(m_path.c_str()); }
