#pragma once

#include <functional>
#include <vector>

#include "support/HeadlessView.h"

// A view for tests of the engine: a view without a window that records
// what it was asked and answers as the test sets it.
class TestRunView : public HeadlessView {
public:
  explicit TestRunView(int32_t id) : HeadlessView(id) {}

  void ShowPageInstance(VORPageInstance &instance) override;
  void LeavePageInstance(VORPageInstance &instance) override;
  void Refresh() override;
  void FlushDirtyRects() override { ++flushes; }
  bool IsTransitionDone() override { return transitionDone; }
  bool TestAndSetIdle() override;
  void UpdateCursor() override { ++cursorUpdates; }
  void OnIdle() override;

  // The pages shown, in order.
  std::vector<VORObjectCode> shownPages;
  int leaves = 0;
  int refreshes = 0;
  int flushes = 0;
  int cursorUpdates = 0;
  int idleCalls = 0;
  // Called at the end of each Refresh and each OnIdle when set.
  std::function<void()> onRefresh;
  std::function<void()> onIdle;
  bool transitionDone = true;
  // Answered once by TestAndSetIdle, which then re-arms it.
  bool idle = true;
};
