#include "browser/VORBrowser.h"
#include "objects/VORRecordForm.h"
#include "vorfile/VORRecordFields.h"

namespace {

const ClassRegistration kBrowser(VORBrowser::kCategory, VORBrowser::kCode,
                                 PageObjectForms::Make<VORBrowser::VORBrowserProperties>);

} // namespace

VORBrowser::VORBrowserProperties::~VORBrowserProperties() = default;

void VORBrowser::VORBrowserProperties::Read(VORFile &file) {
  using VORRecordFields::ReadOr;
  VORGraphicalObjectProperties::Read(file);
  navigateOnShow = ReadOr<uint8_t>(file, 1);
  startUrl = ReadOr<VORString>(file, VORString());
  askToConnect = ReadOr<uint8_t>(file, 0);
  frame = ReadOr<uint8_t>(file, 1);
  statusBand = ReadOr<uint8_t>(file, 1);
  resolveMode = ReadOr<uint8_t>(file, 0);
  systemBrowserFallback = ReadOr<uint8_t>(file, 0);
}

void VORBrowser::VORBrowserProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORBrowserProperties *>(&other))
    *this = *source;
}
