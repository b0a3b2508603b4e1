#pragma once

#include <cstdint>
#include <memory>

#include "foundation/VORRect.h"

class VORBitmapObjectSurface;
class VORDrawingSurface;
class VORFXParams;

// What the views and the screen buffer ask of a transition effect: a short
// animation that replaces one picture by another inside a rectangle. The
// effects themselves live with the transitions; the display layer only runs
// them.
class VORTransition {
public:
  virtual ~VORTransition() = default;

  // Starts a run driven by the update controller; closing runs the steps
  // backwards.
  virtual void Start(bool closing) = 0;
  virtual bool IsFinished() const = 0;
  // Whether the effect can (or, for a page, wants to) run modally.
  virtual bool WantsModalRun(bool pageTransition) = 0;
  // Runs the whole effect over the rectangle before returning.
  virtual void RunModal(const VORRect &rect, bool closing) = 0;
  // Draws the effect's present picture of the source rectangle into the
  // destination rectangle of the window.
  virtual void Paint(const VORRect &destination, const VORRect &source) = 0;
};

// How the display layer has effects made from stored parameters: the
// application's effect registry answers it (it lives above the display).
class VORTransitionMaker {
public:
  VORTransitionMaker() = default;
  VORTransitionMaker(const VORTransitionMaker &) = delete;
  VORTransitionMaker &operator=(const VORTransitionMaker &) = delete;
  virtual ~VORTransitionMaker() = default;

  // The effect the parameters name, drawing the new picture of target over
  // the old one (none: nothing shows under it) and telling completion (or
  // nobody) when a run driven by the update controller ends. Null when the
  // parameters name no known effect.
  virtual std::unique_ptr<VORTransition> MakeTransition(const VORFXParams &params, VORBitmapObjectSurface *target,
                                                        VORBitmapObjectSurface *oldPicture,
                                                        VORDrawingSurface *completion) = 0;
  // Gets ready for effects over rectangles up to width x height without
  // holding up the caller: a view asks when its page has been shown and the
  // program is idle, so that the page's first transition finds what it
  // needs. Nothing by default.
  virtual void PrepareFor(int32_t /*width*/, int32_t /*height*/) {}
};
