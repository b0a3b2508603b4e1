#pragma once

#include <cstdint>
#include <vector>

class VORFile;

// The colours of the publication's palette as its record stores them. The
// display layer builds its palette (GDI forms, inverse table) from these;
// the model only reads and keeps them.
class VORPaletteRecord {
public:
  static constexpr uint32_t kMaxEntries = 256;

  // One colour in the order of a DIB colour table.
  struct Entry {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
  };

  // Opens the palette's section (the next folder without key of the open
  // folder) and reads a 32-bit count (0 when the record ends there or it is
  // negative), cut to 256, then that many 4-byte entries. A record that ends
  // among the entries passes VORFileIncompleteReadException on.
  void Read(VORFile &file);

  const std::vector<Entry> &GetEntries() const { return m_entries; }
  uint32_t GetCount() const { return static_cast<uint32_t>(m_entries.size()); }

private:
  std::vector<Entry> m_entries;
};
