#include "model/VORPlayerPublication.h"

#include "model/VORApp.h"
#include "model/VORClassRegistry.h"
#include "model/VORObjectSection.h"
#include "model/VORRecordFields.h"

namespace {

constexpr uint32_t kSizeFieldLength = 4;

// The publication's key is fixed: the factory ignores what the file says.
VORCodedObject *CreatePublication(uint32_t /*classKey*/, int32_t /*id*/) { return new VORPlayerPublication; }

const ClassRegistration kRegistration(VORPublication::kCategory, VORPublication::kCode, CreatePublication);

bool IsPaletteDisplay() {
  VORApp *app = VORApp::Get();
  return app && !app->IsTrueColorDisplay();
}

} // namespace

VORPlayerPublication::VORPlayerPublication() : VORPublication(kClassKey, kRootId) {}

VORPlayerPublication::~VORPlayerPublication() = default;

void VORPlayerPublication::Read(VORFile &file) {
  using namespace VORRecordFields;
  m_palette.reset();
  m_usesDefaultPalette = false;
  VORObjectSection section(file);
  section.Open(GetObjectCode(), VORObjectCode::kClassKeySize, true, true);
  ReadOptional(m_colourDepth, kDefaultColourDepth, [&] { m_colourDepth = ReadInt32(file); });
  ReadPalette(file);
  ReadSearchDictionary(file);
  ReadOleContainerFlag(file);
  m_properties.Read(file);
  ReadOptional(m_textResolution, kDisplayTextResolution, [&] { m_textResolution = ReadInt32(file); });
  ReadChildren(file);
}

void VORPlayerPublication::ReadPalette(VORFile &file) {
  if (m_colourDepth == kPaletteColourDepth) {
    auto palette = std::make_unique<VORPaletteRecord>();
    palette->Read(file);
    m_palette = std::move(palette);
  } else {
    m_usesDefaultPalette = IsPaletteDisplay();
  }
}

// The size comes from the file: one larger than what the section holds
// after it cannot be a dictionary, and is not allocated.
void VORPlayerPublication::ReadSearchDictionary(VORFile &file) {
  using namespace VORRecordFields;
  m_searchDictionary.clear();
  VORObjectSection section(file);
  section.OpenNext(true, true);
  uint32_t size = 0;
  ReadOptional(size, 0u, [&] { size = ReadUint32(file); });
  uint32_t recordSize = 0;
  file.GetDataSize(recordSize);
  if (size == 0 || recordSize < kSizeFieldLength || size > recordSize - kSizeFieldLength)
    return;
  std::vector<uint8_t> dictionary(size);
  file.ReadExact(dictionary.data(), size);
  m_searchDictionary.swap(dictionary);
}

void VORPlayerPublication::ReadOleContainerFlag(VORFile &file) {
  using namespace VORRecordFields;
  VORObjectSection section(file);
  section.OpenNext(true, true);
  uint8_t wanted = 0;
  ReadOptional(wanted, uint8_t{0}, [&] { wanted = ReadByte(file); });
  m_wantsOleContainer = wanted != 0;
}
