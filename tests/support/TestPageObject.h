#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "objects/VORObject.h"

// A page object for tests of pages and the engine. Its record is one 32-bit
// tag; a tag of kCorruptTag makes its Read fail as a damaged file does. It
// registers as receiver while on a shown page, records the actions it gets
// and runs onReceive with each.
class TestPageObject : public VORObject {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 0x7E01;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);
  static constexpr uint32_t kCorruptTag = 0xDEADDEAD;

  // Registers the class with the class registry (once).
  static void RegisterClass();
  static VORObjectCode Reference(int32_t id) { return VORObjectCode(kCategory, kCode, id); }

  TestPageObject(uint32_t classKey, int32_t id) : VORObject(classKey, id) {}
  TestPageObject(const TestPageObject &other);

  void Read(VORFile &file) override;
  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;

  void OnPageShown() override { ++shownCount; }
  VORPageMember *Clone() const override { return new TestPageObject(*this); }

  uint32_t tag = 0;
  int shownCount = 0;
  std::vector<int32_t> receivedCodes;
  std::function<void(TestPageObject &, VORObjectAction &)> onReceive;
};
