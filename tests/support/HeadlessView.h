#pragma once

#include "display/PageHistory.h"
#include "display/VORRunView.h"

// A view without a window for tests of the model and the engine: it keeps
// the page instance it shows and its history, completes each page entry at
// once (there is no transition to wait for) and links the next page on idle
// passes, as a player view does once its transition has run.
class HeadlessView : public VORRunView {
public:
  // The depth a view without a screen answers.
  static constexpr int32_t kBitsPerPixel = 24;

  explicit HeadlessView(int32_t id) : VORRunView(id) {}
  ~HeadlessView() override;

  VORObjectCode GetPageReference() const override;

  void InvalidateAll() override {}
  void FlushDirtyRects() override {}
  // Nothing is drawn.
  DrawingContext *GetDrawingContext() override { return nullptr; }
  void RedrawRect(const VORRect & /*rect*/) override {}
  int32_t GetBitsPerPixel() override { return kBitsPerPixel; }
  VORScreenBuffer *GetScreenBuffer() override { return nullptr; }
  // Completes a page entry that waits for it.
  void Refresh() override;
  bool Initialize() override { return true; }
  void ShowPageInstance(VORPageInstance &instance) override;
  void LeavePageInstance(VORPageInstance &instance) override;
  bool IsInteractive() override { return true; }
  VORPageInstance *GetPageInstance() override { return m_instance; }
  WindowHandle GetWindow() override { return nullptr; }
  void PlayEnterTransition() override;
  void OnIdle() override;

  bool HasPageInstance() override { return m_instance != nullptr; }
  bool HistoryBack(VORObjectCode &reference) override { return m_history.Back(reference); }
  bool HistoryForward(VORObjectCode &reference) override { return m_history.Forward(reference); }
  void HistoryPush(const VORObjectCode &reference) override { m_history.Push(reference); }
  bool CreateChildWindow(const VORRect &rect, ChildWindowCallback &callback, WindowHandle &window) override;
  void DestroyChildWindow(ChildWindowCallback & /*callback*/) override {}
  bool IsTransitionDone() override { return true; }
  // Nobody can give input to a view without a window.
  bool TestAndSetIdle() override { return true; }
  void UpdateCursor() override {}

  const PageHistory &GetHistory() const { return m_history; }
  bool IsPageEntryCompleted() const { return m_entryCompleted; }

protected:
  // Refresh, then the instance hears once that it is shown.
  void CompletePageEntry();

private:
  VORPageInstance *m_instance = nullptr;
  PageHistory m_history;
  bool m_entryCompleted = false;
  bool m_enterTransitionStarted = false;
  bool m_shownAnnounced = false;
  bool m_idleDone = false;
  bool m_refreshing = false;
};
