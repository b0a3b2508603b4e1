#pragma once

#include <cstdint>

#include "model/VORObjectAction.h"
#include "vorfile/VORString.h"

// An answer for the score manager: 800 counts an answer, 804 sets the score
// of a named question.
class VORScoreObjectAction : public VORObjectAction {
public:
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCode = 0x12;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  explicit VORScoreObjectAction(int32_t id = 0) : VORObjectAction(kClassKey, id) {}
  VORScoreObjectAction(const VORScoreObjectAction &) = default;
  ~VORScoreObjectAction() override;

  // The common fields, the correct byte, the points, the question's name.
  void Read(VORFile &file) override;
  VORObjectAction *Clone() const override { return new VORScoreObjectAction(*this); }

  // For 800: the answer was right. For 804: add the points to the
  // question's earlier score.
  uint8_t correct = 0;
  int32_t points = 0;
  VORString question;
};
