#include "support/HeadlessView.h"

#include "model/VORPage.h"
#include "model/VORPageInstance.h"

HeadlessView::~HeadlessView() = default;

VORObjectCode HeadlessView::GetPageReference() const {
  return m_instance ? m_instance->GetPageReference() : VORObjectCode::Zero();
}

void HeadlessView::ShowPageInstance(VORPageInstance &instance) {
  m_instance = &instance;
  m_entryCompleted = false;
  m_enterTransitionStarted = false;
  m_shownAnnounced = false;
  m_idleDone = false;
}

void HeadlessView::LeavePageInstance(VORPageInstance &instance) {
  if (m_instance == &instance)
    m_instance = nullptr;
}

void HeadlessView::PlayEnterTransition() {
  m_enterTransitionStarted = true;
  CompletePageEntry();
}

void HeadlessView::CompletePageEntry() {
  m_entryCompleted = true;
  Refresh();
  if (m_instance && !m_shownAnnounced) {
    m_shownAnnounced = true;
    m_instance->OnShown();
  }
}

void HeadlessView::Refresh() {
  if (m_refreshing)
    return;
  m_refreshing = true;
  const bool waiting = !m_entryCompleted && m_enterTransitionStarted && m_instance && IsTransitionDone();
  m_refreshing = false;
  if (waiting)
    CompletePageEntry();
}

void HeadlessView::OnIdle() {
  if (!m_instance || m_idleDone)
    return;
  m_idleDone = true;
  m_instance->GetPage().LinkPreviousPageResources();
}

bool HeadlessView::CreateChildWindow(const VORRect & /*rect*/, ChildWindowCallback & /*callback*/,
                                     WindowHandle &window) {
  window = nullptr;
  return false;
}
