#include "support/TestRunView.h"

#include "foundation/VORException.h"
#include "model/VORPageInstance.h"

TestRunView::~TestRunView() {
  if (alive)
    *alive = false;
}

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
  if (throwOnRefresh != 0)
    throw new VORWaveErrorException(throwOnRefresh);
  VORHeadlessView::Refresh();
}

bool TestRunView::TestAndSetIdle() {
  const bool wasIdle = idle;
  idle = true;
  return wasIdle;
}
