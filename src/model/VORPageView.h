#pragma once

#include "model/VORObjectCode.h"

class VORPageInstance;

// What a page asks of the view that shows it. The views live in the display
// layer and implement this; the model sees no more of them.
class VORPageView {
public:
  VORPageView() = default;
  VORPageView(const VORPageView &) = default;
  VORPageView &operator=(const VORPageView &) = default;
  virtual ~VORPageView() = default;

  // The view's own reference: the origin of the actions that the page's
  // events post while the view shows it.
  virtual VORObjectCode GetViewObjectCode() const = 0;
  // The view takes the instance as the one it shows (laying it out in its
  // window), resp. lets it go (running the page's exit transition).
  virtual void ShowPageInstance(VORPageInstance &instance) = 0;
  virtual void LeavePageInstance(VORPageInstance &instance) = 0;
  // Starts the shown page's enter transition; once it has run the page
  // instance hears that it is shown (VORPageInstance::OnShown).
  virtual void PlayEnterTransition() = 0;
};
