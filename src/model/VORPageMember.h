#pragma once

class VORPageInstance;

// What a page instance asks of the objects it holds. The page objects
// implement it: they join the instance when it is shown in a view (and
// register as receivers there), leave it when it is hidden, hear when the
// page is on screen, and copy themselves for a further view.
class VORPageMember {
public:
  VORPageMember() = default;
  VORPageMember(const VORPageMember &) = default;
  VORPageMember &operator=(const VORPageMember &) = delete;
  virtual ~VORPageMember() = default;

  virtual void EnterPage(VORPageInstance &instance, bool visible) = 0;
  virtual void LeavePage(bool visible) = 0;
  virtual void OnPageShown() = 0;
  // A deep copy, children included, that belongs to no page instance yet.
  virtual VORPageMember *Clone() const = 0;
};
