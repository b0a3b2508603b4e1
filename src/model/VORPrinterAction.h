#pragma once

#include <cstdint>

#include "model/VORObjectAction.h"
#include "vorfile/VORString.h"

// A print request for the printer (900): a page, every page, a view's
// picture or a text file, with or without the print dialog.
class VORPrinterAction : public VORObjectAction {
public:
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCode = 0x14;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  VORPrinterAction(uint32_t classKey, int32_t id) : VORObjectAction(classKey, id) {}
  VORPrinterAction(const VORPrinterAction &) = default;
  ~VORPrinterAction() override;

  // The common fields, the page reference, the option bits, the file name,
  // then two optional bytes (0 when the record ends before them).
  void Read(VORFile &file) override;
  VORObjectAction *Clone() const override { return new VORPrinterAction(*this); }

  VORObjectCode page;
  uint32_t options = 0;
  VORString fileName;
  uint8_t nameOnly = 0;
  uint8_t inTemporaryFolder = 0;
};
