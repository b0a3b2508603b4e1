#include "support/TestRunView.h"

#include "model/VORPageInstance.h"

void TestRunView::ShowPageInstance(VORPageInstance &instance) {
  shownPages.push_back(instance.GetPageReference());
  VORHeadlessView::ShowPageInstance(instance);
}

void TestRunView::LeavePageInstance(VORPageInstance &instance) {
  ++leaves;
  VORHeadlessView::LeavePageInstance(instance);
}

void TestRunView::Refresh() {
  ++refreshes;
  VORHeadlessView::Refresh();
  if (onRefresh)
    onRefresh();
}

void TestRunView::OnIdle() {
  ++idleCalls;
  VORHeadlessView::OnIdle();
  if (onIdle)
    onIdle();
}

bool TestRunView::TestAndSetIdle() {
  const bool wasIdle = idle;
  idle = true;
  return wasIdle;
}
