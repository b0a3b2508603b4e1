#pragma once

#include <cstdint>

#include "model/VORActionReceiver.h"
#include "model/VOREventList.h"
#include "model/VOREventMap.h"
#include "model/VORObjectProperties.h"
#include "model/VORPageMember.h"
#include "model/VORRecursiveObjectContainer.h"

class VORResourceObject;
class VORTrigger;
class VORView;

// The base of every object placed on a page. It receives the actions
// addressed to its reference while its page is shown, holds child objects
// (a frame's contents, the resource a picture comes from), fires triggers
// on itself through its events, and copies itself deeply for a further view
// of its page. The properties record lives in the player form (see
// VORPlayerForm.h); the object reaches it through GetProperties.
class VORObject : public VORActionReceiver, public VORRecursiveObjectContainer, public VORPageMember {
public:
  // What every page object's properties record begins with: the object's
  // events and the map from triggers to them.
  class VORObjectObjectProperties : public VORObjectProperties {
  public:
    VORObjectObjectProperties() = default;
    VORObjectObjectProperties(const VORObjectObjectProperties &other);
    VORObjectObjectProperties &operator=(const VORObjectObjectProperties &other);
    ~VORObjectObjectProperties() override;

    // The event list, then the event map.
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORObjectObjectProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    VOREventList events;
    VOREventMap eventMap;
  };

  // Synchronisation notices (media started, ended) that every object turns
  // into synchronisation triggers.
  static constexpr int32_t kSyncStarted = 700;
  static constexpr int32_t kSyncEnded = 701;

  VORObject(uint32_t classKey, int32_t id);
  // Children are cloned deeply, in order; the copy is on no page yet. A
  // child that cannot be cloned makes the copy fail (VORNewFailException).
  VORObject(const VORObject &other);
  VORObject &operator=(const VORObject &) = delete;
  // Deletes the children.
  ~VORObject() override;

  // Opens the object's folder, reads the properties record, then the child
  // references.
  void Read(VORFile &file) override;
  // Handles the synchronisation notices; everything else is not handled.
  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  VORObjectCode GetViewReference() const override { return m_viewReference; }
  VORObjectCode GetPageReference() const override { return m_pageReference; }

  // Takes the instance's view and page, registers as receiver, makes the
  // events' actions start from there, then the children enter.
  void EnterPage(VORPageInstance &instance, bool visible) override;
  // The children leave first; then unregistered and the view forgotten.
  void LeavePage(bool visible) override;
  void OnPageShown() override;
  // Depth 0 is the object asked; its children hear depth + 1.
  virtual void Show(int32_t depth);
  virtual void Hide(int32_t depth);
  // Children are page objects and resources: the publication, a chapter
  // or a page listed under an object by a damaged file is dropped.
  bool AcceptsChild(uint32_t classKey) const override;

  // The object's events record; null for an object without properties.
  VORObjectObjectProperties *GetObjectProperties();
  // Fires every event whose map entry matches the trigger.
  void FireEvents(const VORTrigger &trigger);
  bool HasEventFor(const VORTrigger &trigger);
  // classKey: category in the low half, code in the high half.
  VORObject *FindChildObject(uint32_t classKey, int32_t id, bool recursive) const;
  VORResourceObject *FindResourceObject(uint32_t classKey, int32_t id) const;
  VORResourceObject *FindResourceObject(const VORObjectCode &reference) const;
  // The n-th direct child that is a resource object, from 0.
  VORResourceObject *GetResourceObject(uint32_t n) const;
  // The same object shown in the same page and view.
  bool IsSameInstance(const VORObject &other) const;
  // Broadcast that the object's media started (700) or ended (701), from
  // an interactive view only.
  void PostSyncStart();
  void PostSyncEnd();

  // The view that shows the object's page; null while on no shown page.
  VORView *GetView() const { return m_view; }
  bool IsInInteractiveView() const;
  // An interactive run view or a printer view: a view that composes the
  // page as the reader sees it.
  bool IsInRunView() const;

protected:
  // The image and text objects read their folders into memory first.
  virtual bool ReadsSectionInMemory() const { return false; }
  void PostSync(int32_t code);
  // Each direct child that is a VORObject, in order.
  template <class Visit>
  void ForEachChildObject(Visit &&visit) const;

private:
  VORView *m_view = nullptr;
  VORObjectCode m_viewReference = VORObjectCode::Zero();
  VORObjectCode m_pageReference = VORObjectCode::Zero();
};

template <class Visit>
void VORObject::ForEachChildObject(Visit &&visit) const {
  const uint32_t count = GetChildCount();
  for (uint32_t i = 0; i < count; ++i)
    if (auto *child = dynamic_cast<VORObject *>(ChildAt(i)))
      visit(*child);
}
