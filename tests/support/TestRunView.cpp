#include "support/TestRunView.h"

#include "model/VORPageInstance.h"

void TestRunView::ShowPageInstance(VORPageInstance &instance) {
  shownPages.push_back(instance.GetPageReference());
  HeadlessView::ShowPageInstance(instance);
}

void TestRunView::LeavePageInstance(VORPageInstance &instance) {
  ++leaves;
  HeadlessView::LeavePageInstance(instance);
}

void TestRunView::Refresh() {
  ++refreshes;
  HeadlessView::Refresh();
  if (onRefresh)
    onRefresh();
}

void TestRunView::OnIdle() {
  ++idleCalls;
  HeadlessView::OnIdle();
  if (onIdle)
    onIdle();
}

bool TestRunView::TestAndSetIdle() {
  const bool wasIdle = idle;
  idle = true;
  return wasIdle;
}
