#include "model/VORPaletteRecord.h"

#include "model/VORObjectSection.h"
#include "model/VORRecordFields.h"

void VORPaletteRecord::Read(VORFile &file) {
  m_entries.clear();
  VORObjectSection section(file);
  section.OpenNext(true, true);
  uint32_t count = 0;
  VORRecordFields::ReadOptional(count, 0u, [&] { count = VORRecordFields::ReadUint32(file); });
  if (count > kMaxEntries)
    count = kMaxEntries;
  std::vector<Entry> entries(count);
  for (Entry &entry : entries) {
    uint8_t bytes[4];
    file.ReadExact(bytes, sizeof bytes);
    entry = Entry{bytes[0], bytes[1], bytes[2], bytes[3]};
  }
  m_entries.swap(entries);
}
