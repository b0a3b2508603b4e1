#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "model/VORActionReceiver.h"
#include "model/VORPageMember.h"
#include "model/VORRecursiveObjectContainer.h"

// A page object for tests of pages and the engine. Its record is one 32-bit
// tag; a tag of kCorruptTag makes its Read fail as a damaged file does. It
// registers as receiver while on a shown page, records the actions it gets
// and runs onReceive with each.
class TestPageObject : public VORActionReceiver, public VORRecursiveObjectContainer, public VORPageMember {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 0x7E01;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);
  static constexpr uint32_t kCorruptTag = 0xDEADDEAD;

  // Registers the class with the class registry (once).
  static void RegisterClass();
  static VORObjectCode Reference(int32_t id) { return VORObjectCode(kCategory, kCode, id); }

  TestPageObject(uint32_t classKey, int32_t id) : VORActionReceiver(classKey, id) {}
  TestPageObject(const TestPageObject &other);

  void Read(VORFile &file) override;
  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  VORObjectCode GetViewReference() const override { return m_view; }
  VORObjectCode GetPageReference() const override { return m_page; }

  void EnterPage(VORPageInstance &instance, bool visible) override;
  void LeavePage(bool visible) override;
  void OnPageShown() override { ++shownCount; }
  VORPageMember *Clone() const override { return new TestPageObject(*this); }

  uint32_t tag = 0;
  int shownCount = 0;
  std::vector<int32_t> receivedCodes;
  std::function<void(TestPageObject &, VORObjectAction &)> onReceive;

private:
  VORObjectCode m_view = VORObjectCode::Zero();
  VORObjectCode m_page = VORObjectCode::Zero();
};
