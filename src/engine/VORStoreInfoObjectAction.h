#pragma once

#include <cstdint>

#include "model/VORObjectAction.h"
#include "vorfile/VORString.h"

// Stores information (802): a text built from a literal, a variable's
// value, a file's contents or an expression's value goes into a variable
// and/or a text file; or statements of the expression language run.
class VORStoreInfoObjectAction : public VORObjectAction {
public:
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCode = 0x13;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  enum SourceKind : uint8_t {
    kLiteral = 0,
    kVariable = 1,
    kFile = 2,
    kExpression = 3,
    kStatements = 4,
  };

  explicit VORStoreInfoObjectAction(int32_t id = 0) : VORObjectAction(kClassKey, id) {}
  VORStoreInfoObjectAction(const VORStoreInfoObjectAction &) = default;
  ~VORStoreInfoObjectAction() override;

  // The common fields, then the fields below in order; the last four are
  // each 0 when the record ends before them.
  void Read(VORFile &file) override;
  VORObjectAction *Clone() const override { return new VORStoreInfoObjectAction(*this); }

  uint8_t sourceKind = kLiteral;
  // The literal, the variable's name, the file's name or the expression.
  VORString text;
  // Empty: no file is written.
  VORString targetFile;
  // Choose the target file in a save dialog.
  uint8_t ask = 0;
  // Empty: no variable is set.
  VORString targetVariable;
  // Replace the variable's value and the file's contents (else append).
  uint8_t replace = 0;
  uint8_t sourceInTemporaryFolder = 0;
  uint8_t targetInTemporaryFolder = 0;
  // The file names are the values of the variables the texts name.
  uint8_t sourceNameInVariable = 0;
  uint8_t targetNameInVariable = 0;
};
