#include "engine/VORHeadlessView.h"

#include "model/VORPage.h"
#include "model/VORPageInstance.h"

VORHeadlessView::~VORHeadlessView() = default;

VORObjectCode VORHeadlessView::GetPageReference() const {
  return m_instance ? m_instance->GetPageReference() : VORObjectCode::Zero();
}

void VORHeadlessView::ShowPageInstance(VORPageInstance &instance) {
  m_instance = &instance;
  m_entryCompleted = false;
  m_enterTransitionStarted = false;
  m_shownAnnounced = false;
  m_idleDone = false;
}

void VORHeadlessView::LeavePageInstance(VORPageInstance &instance) {
  if (m_instance == &instance)
    m_instance = nullptr;
}

void VORHeadlessView::PlayEnterTransition() {
  m_enterTransitionStarted = true;
  CompletePageEntry();
}

void VORHeadlessView::CompletePageEntry() {
  m_entryCompleted = true;
  Refresh();
  if (m_instance && !m_shownAnnounced) {
    m_shownAnnounced = true;
    m_instance->OnShown();
  }
}

void VORHeadlessView::Refresh() {
  if (m_refreshing)
    return;
  m_refreshing = true;
  const bool waiting = !m_entryCompleted && m_enterTransitionStarted && m_instance && IsTransitionDone();
  m_refreshing = false;
  if (waiting)
    CompletePageEntry();
}

void VORHeadlessView::OnIdle() {
  if (!m_instance || m_idleDone)
    return;
  m_idleDone = true;
  m_instance->GetPage().LinkPreviousPageResources();
}

bool VORHeadlessView::CreateChildWindow(const VORRect & /*rect*/, ChildWindowCallback & /*callback*/,
                                        WindowHandle &window) {
  window = nullptr;
  return false;
}
