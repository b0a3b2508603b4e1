#pragma once

#include <cstdint>

#include "foundation/VORRect.h"
#include "transitions/VORFX.h"

class DrawingContext;
class VORBitmapObjectSurface;
class VORDrawingSurface;

// The base of the effects: a number of steps drawn one at a time, under the
// update controller (steps follow the effect's planned times, skipping
// ahead when late) or in a modal run (the step follows the clock, and each
// step is painted at once).
class VORTimedFX : public VORFX {
public:
  VORTimedFX(VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion);
  ~VORTimedFX() override;

  void Start(bool closing) override;
  void Update(uint32_t &nextDue) override;
  // Runs the effect to its end over rect. An effect stopped early by Escape
  // or the close box (when the publication lets them exit) is left running:
  // its caller deletes it.
  void RunModal(const VORRect &rect, bool closing) override;
  // The start of a modal run: the effect takes rect and starts; RunModal
  // then updates it until it ends. A test drives the steps from here with
  // its own clock.
  void BeginModal(const VORRect &rect, bool closing);

  int32_t GetTotal() const { return m_total; }
  int32_t GetCurrentStep() const { return m_currentStep; }
  int32_t GetIncrement() const { return m_increment; }
  uint32_t GetDuration() const { return m_duration; }
  bool IsModal() const { return m_modal; }
  bool IsClosing() const { return m_closing; }

protected:
  virtual void Prepare() = 0;
  virtual int32_t GetTotalSteps() = 0;
  virtual int32_t GetStepIncrement() { return m_total / 100 + 1; }
  virtual void DrawStep(int32_t step) = 0;
  virtual void Finish() {}

  void SetDuration(uint32_t duration) { m_duration = duration; }
  // The modal run's rectangle, else the target surface's bounds.
  VORRect GetRect() const;
  VORBitmapObjectSurface *GetTarget() const { return m_target; }
  VORBitmapObjectSurface *GetOldPicture() const { return m_oldPicture; }
  VORDrawingSurface *GetCompletion() const { return m_completion; }
  // A modal run paints the rectangle at once; otherwise the target's owner
  // is told, and its repaint calls Paint.
  void Report(const VORRect &rect);
  // Where Paint draws: the completion target's context, else the target
  // owner's. Null when neither has one.
  DrawingContext *GetOutputContext() const;
  // The output's coordinates of a rectangle of the pictures.
  VORRect ToOutput(const VORRect &rect) const;
  // Copies the old picture (when there is one) into the output.
  void PaintOldPicture(const VORRect &destination, const VORRect &source);
  // Copies the new picture into the output, through the mask when one is
  // given; transparency 0 is opaque, 255 invisible.
  void PaintNewPicture(const VORRect &destination, const VORRect &source, DrawingContext *mask = nullptr,
                       int32_t transparency = 0);
  uint32_t Now() const;

private:
  void EndRun();

  VORBitmapObjectSurface *m_target;
  VORBitmapObjectSurface *m_oldPicture;
  VORDrawingSurface *m_completion;
  bool m_closing = false;
  bool m_modal = false;
  VORRect m_rect = VORRect(0, 0, -1, -1);
  uint32_t m_duration = 0;
  int32_t m_total = 0;
  int32_t m_currentStep = -1;
  int32_t m_increment = 1;
  uint32_t m_startTime = 0;
  bool m_started = false;
};
