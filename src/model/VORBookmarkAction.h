#pragma once

#include "model/VORObjectAction.h"

// An action for the bookmarks: the page it names is kept in the record, but
// the bookmarks use where the action was raised (its origin).
class VORBookmarkAction : public VORObjectAction {
public:
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCode = 0x18;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  VORBookmarkAction(uint32_t classKey, int32_t id) : VORObjectAction(classKey, id) {}
  VORBookmarkAction(const VORBookmarkAction &) = default;
  ~VORBookmarkAction() override;

  // The common fields, then the 8-byte page reference.
  void Read(VORFile &file) override;
  VORObjectAction *Clone() const override { return new VORBookmarkAction(*this); }
  const VORObjectCode &GetPage() const { return m_page; }

private:
  VORObjectCode m_page;
};
