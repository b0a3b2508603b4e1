#include "model/VORPaletteRecord.h"

#include <cstddef>

#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

void VORPaletteRecord::Read(VORFile &file) {
  m_entries.clear();
  SectionGuard section(file);
  section.Open(nullptr, 0, false, true, true);
  int32_t count = VORRecordFields::ReadOr<int32_t>(file, 0);
  if (count < 0)
    count = 0;
  if (count > static_cast<int32_t>(kMaxEntries))
    count = kMaxEntries;
  std::vector<Entry> entries(static_cast<size_t>(count));
  for (Entry &entry : entries) {
    uint8_t bytes[4];
    file.ReadExact(bytes, sizeof bytes);
    entry = Entry{bytes[0], bytes[1], bytes[2], bytes[3]};
  }
  m_entries.swap(entries);
}
