#include "model/VORPlayerPublication.h"

#include <memory>

#include "model/PublicationTextSettings.h"
#include "model/VORApp.h"
#include "model/VORClassRegistry.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/VORFileException.h"
#include "vorfile/VORRecordFields.h"

namespace {

constexpr uint32_t kSizeFieldLength = 4;
constexpr uint32_t kRootEntry = 0;

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
  SectionGuard section(file);
  section.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, true, true);
  m_colourDepth = ReadOr<int32_t>(file, kDefaultColourDepth);
  ReadPalette(file);
  ReadSearchDictionary(file);
  ReadOleContainerFlag(file);
  m_properties.Read(file);
  // Every rich text of the run chooses its fonts' set and measures by these.
  PublicationTextSettings::SetPreferredCharset(static_cast<uint16_t>(m_properties.characterSet));
  m_textResolution = ReadOr<int32_t>(file, kDisplayTextResolution);
  PublicationTextSettings::SetTextResolution(m_textResolution);
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
  SectionGuard section(file);
  section.Open(nullptr, 0, false, true, true);
  const uint32_t size = ReadOr<uint32_t>(file, 0);
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
  SectionGuard section(file);
  section.Open(nullptr, 0, false, true, true);
  m_wantsOleContainer = ReadOr<uint8_t>(file, 0) != 0;
}

std::unique_ptr<VORPlayerPublication> VORPlayerPublication::LoadFromRoot(VORFile &file) {
  try {
    SectionGuard root(file);
    const uint8_t rootKey[VORCompiledFile::kEntryKeySize] = {kRootEntry, 0, 0, 0};
    root.Open(rootKey, sizeof rootKey, false, false, false);
    VORObjectKey key = VORObjectKey::None();
    if (!VORCompiledFile::ReadObjectCode(file, key, VORObjectKey::kClassSize) || key.IsNone())
      return nullptr;
    const uint32_t classKey = VORObjectCode::FromKey(key).GetClassKey();
    std::unique_ptr<VORCodedObject> object(VORClassRegistry::Instance().Create(classKey, kRootId));
    auto *fileObject = dynamic_cast<VORFileObject *>(object.get());
    if (!fileObject)
      return nullptr;
    fileObject->Read(file);
    auto *publication = dynamic_cast<VORPlayerPublication *>(object.get());
    if (!fileObject->IsValid() || !publication)
      return nullptr;
    // The same object changes owner: the result takes what object gives up.
    static_cast<void>(object.release());
    // cppcheck-suppress returnDanglingLifetime
    return std::unique_ptr<VORPlayerPublication>(publication);
  } catch (const VORFileException &) {
    return nullptr;
  }
}
