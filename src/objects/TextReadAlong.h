#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/VORObjectAction.h"

class TextStyle;
class XQRichText;

// Reading along with a sound: the tagged segments of a text are
// highlighted one after another, each until its end time counted from the
// sound's start. Each step is an action the text posts to itself; the step
// carries the generation of the read-along that posted it, so that the
// steps of a stopped or restarted read-along are dropped when they fall due.
//
// States: idle (not running), armed (running, index -1, waiting for the
// sound's start), stepping (index 0 to count - 1), finishing (index -1
// after the last step: the next step clears the highlight).
class TextReadAlong {
public:
  static constexpr int32_t kStepAction = 510;
  static constexpr int32_t kNotStarted = -1;

  struct Segments {
    const std::vector<int32_t> &tags;
    const std::vector<uint32_t> &ends;
    size_t Count() const { return std::min(tags.size(), ends.size()); }
  };

  // The step action (510) with the generation that posted it.
  class StepAction : public VORObjectAction {
  public:
    explicit StepAction(uint32_t generation);
    StepAction(const StepAction &) = default;
    ~StepAction() override;
    VORObjectAction *Clone() const override { return new StepAction(*this); }
    uint32_t generation;
  };

  // What a step asks of the text: redraw, and post the next step after
  // delay milliseconds.
  struct Step {
    bool postNext = false;
    uint32_t delay = 0;
    // The start of the highlighted segment, to scroll into view; -1: none.
    int32_t scrollTo = -1;
  };

  // The read-along starts over: a running one is cleared first (the
  // returned step, when running was set), and the steps it posted go stale.
  bool Arm(XQRichText &text, Segments segments);
  // The sound started: the first segment begins now. False when not armed.
  bool OnSoundStarted(uint32_t now);
  // Highlights the next segment, or clears every highlight when not
  // running or past the last one.
  Step DoStep(XQRichText &text, Segments segments, const TextStyle &highlight, uint32_t now);
  // Stops: the next step clears every highlight; steps posted before go stale.
  void Stop();
  // A step posted by an earlier generation is dropped.
  bool IsCurrent(const StepAction &step) const { return step.generation == m_generation; }

  bool IsRunning() const { return m_running; }
  int32_t GetIndex() const { return m_index; }
  uint32_t GetGeneration() const { return m_generation; }

private:
  void ClearHighlights(XQRichText &text, Segments segments);

  bool m_running = false;
  int32_t m_index = kNotStarted;
  uint32_t m_startTime = 0;
  uint32_t m_generation = 0;
};
