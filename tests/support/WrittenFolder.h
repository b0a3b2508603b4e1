#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "support/PublicationWriter.h"
#include "vorfile/VORCompiledFile.h"

// A compiled file written in memory whose entry 0 the test fills, opened
// with that entry's folder open: the place where a record reader meets its
// folders without key and the keyed folders of the objects it lists.
class WrittenFolder {
public:
  using Fill = std::function<void(PublicationWriter::Folder &)>;

  explicit WrittenFolder(const Fill &fill, uint32_t version = 0);
  ~WrittenFolder();
  WrittenFolder(const WrittenFolder &) = delete;
  WrittenFolder &operator=(const WrittenFolder &) = delete;

  VORCompiledFile &File() { return *m_file; }

private:
  std::unique_ptr<VORCompiledFile> m_file;
};
