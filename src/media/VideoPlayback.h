#pragma once

#include <cstdint>

// The frame clock of a video played in its own drawing: which frame shows
// when, between a start and an end frame, repeated a number of times. Times
// are milliseconds of the millisecond clock; frame and time conversions run
// in 64 bits (32 bits overflow after about 36 minutes).
class VideoPlayback {
public:
  // A play's "from" and "to": the current position, the end.
  static constexpr int32_t kUnset = -1;
  // Repeats without end.
  static constexpr int32_t kEndless = -1;
  enum SeekMode : int32_t { kAbsolute = 0, kRelative = 1, kFromEnd = 2 };
  // What an advance did.
  enum class Step { kSame, kNewFrame, kRestarted, kEnded };

  // A stream opened: its frames and frame time; the first frame shows.
  void Reset(uint32_t frameCount, uint32_t microsecondsPerFrame);

  // The frame at a time from the start of the video, and back.
  uint32_t FrameAt(int64_t milliseconds) const;
  int64_t TimeOf(uint32_t frame) const;

  // Sets the stretch and the position for a play at now; false when the
  // stream has no frame.
  bool Play(int32_t fromMs, int32_t toMs, int32_t repeatCount, uint32_t now);
  // Moves to the elapsed time (from the sound, or now - start time): every
  // frame in turn, or with skipFrames the frame the time falls on. Past the
  // end it repeats from the start frame (kRestarted) or stops on the end
  // frame (kEnded).
  Step Advance(uint32_t elapsed, bool skipFrames, uint32_t now);
  // A frame that cannot be read ends the stream there.
  Step EndAt(uint32_t frame, uint32_t now);
  // The position in ms (mode 1: from the current frame, 2: from the last),
  // clamped to the frames; the clock continues from there.
  void Seek(int32_t positionMs, int32_t mode, uint32_t now);

  // Milliseconds since the start frame at now, by the clock.
  uint32_t ClockElapsed(uint32_t now) const { return now - m_startTime; }

  uint32_t GetFrameCount() const { return m_frameCount; }
  uint32_t GetMicrosecondsPerFrame() const { return m_microsecondsPerFrame; }
  uint32_t GetCurrentFrame() const { return m_currentFrame; }
  uint32_t GetStartFrame() const { return m_startFrame; }
  uint32_t GetEndFrame() const { return m_endFrame; }
  int32_t GetRepeatsLeft() const { return m_repeatsLeft; }

private:
  uint32_t LastFrame() const { return m_frameCount == 0 ? 0 : m_frameCount - 1; }
  void RestartClockAt(uint32_t now);
  Step PastTheEnd(uint32_t now);

  uint32_t m_frameCount = 0;
  uint32_t m_microsecondsPerFrame = 0;
  uint32_t m_currentFrame = 0;
  uint32_t m_startFrame = 0;
  uint32_t m_endFrame = 0;
  uint32_t m_startTime = 0;
  uint32_t m_lastFrameTime = 0;
  int32_t m_repeatsLeft = 0;
};
