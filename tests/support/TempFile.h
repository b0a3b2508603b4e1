#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A file of its own in the system's temporary folder, removed when the
// object goes. Nothing is created until Write.
class TempFile {
public:
  explicit TempFile(const char *extension = ".tmp");
  ~TempFile();
  TempFile(const TempFile &) = delete;
  TempFile &operator=(const TempFile &) = delete;

  const char *Path() const { return m_path.c_str(); }
  bool Write(const std::vector<uint8_t> &bytes) const;
  bool Write(const std::string &text) const;
  bool Exists() const;
  void Remove() const;

private:
  std::string m_path;
};
