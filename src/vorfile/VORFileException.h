#pragma once

#include <cstdint>

// The file layer's failures. They are thrown by value and caught by
// reference; readers catch VORFileNonFatalException to go on with defaults.
class VORFileException {};

// After one of these a record reader takes the default for what is missing.
class VORFileNonFatalException : public VORFileException {};

// Fewer bytes came than were asked for, or the record has no data.
class VORFileIncompleteReadException : public VORFileNonFatalException {};

// No folder carries the key asked for.
class VORFileFolderNotFoundException : public VORFileNonFatalException {};

// A clone, read or seek of the underlying stream failed.
class VORFileErrorException : public VORFileException {};

// The container's structure contradicts itself.
class VORFileCorruptFileException : public VORFileException {};

// An operation that the kind of file does not allow.
class VORFileAssertException : public VORFileException {
public:
  VORFileAssertException(const char *sourceName, int32_t line) : m_sourceName(sourceName), m_line(line) {}

  // A static text: the exception is copied freely while it unwinds.
  const char *GetSourceName() const { return m_sourceName; }
  int32_t GetLine() const { return m_line; }

private:
  const char *m_sourceName;
  int32_t m_line;
};
