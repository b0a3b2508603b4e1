#pragma once

#include "model/VORObjectAction.h"

// The action that changes pages (player actions 101 and 102, and the quit
// that follows a closing page): the view to show the page in and the page,
// which may also name a navigation kind.
class VORPlayerGotoPageAction : public VORObjectAction {
public:
  // The class's own key, in place of the action base's.
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCategory = 3;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCode = 3;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  // A target page (0, 0, id) names a navigation kind by its id.
  enum Navigation : int32_t {
    kNextPage = 8,
    kPreviousPage = 9,
    kHistoryBack = 10,
    kHistoryForward = 11,
    kRandomPage = 15,
    kNextRandomPage = 16,
  };

  VORPlayerGotoPageAction() : VORObjectAction(kClassKey, 0) {}
  VORPlayerGotoPageAction(uint32_t classKey, int32_t id) : VORObjectAction(classKey, id) {}
  // The common fields of another action, with both references none.
  explicit VORPlayerGotoPageAction(const VORObjectAction &action) : VORObjectAction(action) {}
  VORPlayerGotoPageAction(const VORPlayerGotoPageAction &) = default;
  ~VORPlayerGotoPageAction() override;

  // Opens the action's folder, reads the common fields, then the view
  // reference and the target page reference.
  void Read(VORFile &file) override;
  VORObjectAction *Clone() const override;

  const VORObjectCode &GetViewReference() const { return m_viewReference; }
  void SetViewReference(const VORObjectCode &reference) { m_viewReference = reference; }
  const VORObjectCode &GetTargetPage() const { return m_targetPage; }
  void SetTargetPage(const VORObjectCode &reference) { m_targetPage = reference; }

  // Whether the target page names a navigation kind rather than a page.
  bool IsNavigation() const { return m_targetPage.category == 0 && m_targetPage.code == 0; }

  // A go-to-page action aimed at the player.
  static VORPlayerGotoPageAction *Make(int32_t actionCode, const VORObjectCode &targetPage,
                                       const VORObjectCode &viewReference);

private:
  VORObjectCode m_viewReference;
  VORObjectCode m_targetPage;
};
