#include "display/PublicationPalette.h"

#include <vector>

#include "display/DisplaySettings.h"
#include "model/VORPaletteRecord.h"
#include "model/VORPublication.h"

std::unique_ptr<PublicationPalette> PublicationPalette::Make(const VORPublication *publication) {
  if (publication == nullptr) {
    return nullptr;
  }
  std::unique_ptr<PublicationPalette> made;
  if (const VORPaletteRecord *record = publication->GetPalette()) {
    std::vector<RgbQuad> entries;
    entries.reserve(record->GetCount());
    for (const VORPaletteRecord::Entry &entry : record->GetEntries()) {
      entries.push_back(RgbQuad{entry.blue, entry.green, entry.red, entry.reserved});
    }
    made.reset(new PublicationPalette(entries.data(), static_cast<int32_t>(entries.size())));
  } else if (publication->UsesDefaultPalette()) {
    made.reset(new PublicationPalette());
    made->m_palette.LoadDefault();
  } else {
    return nullptr;
  }
  GetDisplaySettings().applicationPalette = &made->m_palette;
  return made;
}

PublicationPalette::PublicationPalette(const RgbQuad *entries, int32_t count) : m_palette(entries, count) {}

PublicationPalette::PublicationPalette() = default;

PublicationPalette::~PublicationPalette() {
  DisplaySettings &settings = GetDisplaySettings();
  if (settings.applicationPalette == &m_palette) {
    settings.applicationPalette = nullptr;
  }
}
