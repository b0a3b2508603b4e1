#include "media/VideoPlayback.h"

#include <algorithm>

namespace {

constexpr int64_t kMicrosecondsPerMillisecond = 1000;

} // namespace

void VideoPlayback::Reset(uint32_t frameCount, uint32_t microsecondsPerFrame) {
  *this = VideoPlayback();
  m_frameCount = frameCount;
  m_microsecondsPerFrame = microsecondsPerFrame;
  m_endFrame = LastFrame();
}

// A frame time of 0 (a file without a rate) keeps every time on the first
// frame rather than dividing by it.
uint32_t VideoPlayback::FrameAt(int64_t milliseconds) const {
  if (m_microsecondsPerFrame == 0 || milliseconds <= 0) {
    return 0;
  }
  const int64_t frame = milliseconds * kMicrosecondsPerMillisecond / m_microsecondsPerFrame;
  return static_cast<uint32_t>(std::min<int64_t>(frame, UINT32_MAX));
}

int64_t VideoPlayback::TimeOf(uint32_t frame) const {
  return static_cast<int64_t>(frame) * m_microsecondsPerFrame / kMicrosecondsPerMillisecond;
}

bool VideoPlayback::Play(int32_t fromMs, int32_t toMs, int32_t repeatCount, uint32_t now) {
  if (m_frameCount == 0) {
    return false;
  }
  m_repeatsLeft = repeatCount;
  if (fromMs != kUnset) {
    m_startFrame = std::min(FrameAt(fromMs), LastFrame());
    m_currentFrame = m_startFrame;
  }
  m_endFrame = toMs != kUnset ? std::min(FrameAt(toMs), LastFrame()) : LastFrame();
  m_startFrame = std::min(m_startFrame, m_currentFrame);
  RestartClockAt(now);
  return true;
}

void VideoPlayback::RestartClockAt(uint32_t now) {
  const auto elapsed = static_cast<uint32_t>(TimeOf(m_currentFrame - m_startFrame));
  m_startTime = now - elapsed;
  m_lastFrameTime = elapsed;
}

VideoPlayback::Step VideoPlayback::Advance(uint32_t elapsed, bool skipFrames, uint32_t now) {
  const uint32_t before = m_currentFrame;
  if (skipFrames && m_microsecondsPerFrame != 0) {
    const uint64_t frame = static_cast<uint64_t>(m_startFrame) + FrameAt(elapsed);
    m_currentFrame = static_cast<uint32_t>(std::min<uint64_t>(frame, UINT32_MAX));
  } else if (static_cast<int64_t>(m_lastFrameTime) + m_microsecondsPerFrame / kMicrosecondsPerMillisecond <
             static_cast<int64_t>(elapsed)) {
    // One frame per call at most: a slow machine shows every frame, late.
    if (m_currentFrame != UINT32_MAX) {
      ++m_currentFrame;
    }
    m_lastFrameTime = elapsed;
  }
  if (m_currentFrame > m_endFrame) {
    return PastTheEnd(now);
  }
  return m_currentFrame != before ? Step::kNewFrame : Step::kSame;
}

VideoPlayback::Step VideoPlayback::PastTheEnd(uint32_t now) {
  if (m_repeatsLeft == kEndless || m_repeatsLeft > 0) {
    if (m_repeatsLeft != kEndless) {
      --m_repeatsLeft;
    }
    m_currentFrame = m_startFrame;
    m_startTime = now;
    m_lastFrameTime = 0;
    return Step::kRestarted;
  }
  m_currentFrame = m_endFrame;
  return Step::kEnded;
}

VideoPlayback::Step VideoPlayback::EndAt(uint32_t frame, uint32_t now) {
  m_endFrame = std::max(std::min(frame, m_endFrame), m_startFrame);
  if (frame <= m_startFrame) {
    // Not even the start frame reads: repeating could never show a frame.
    m_repeatsLeft = 0;
  }
  return PastTheEnd(now);
}

void VideoPlayback::Seek(int32_t positionMs, int32_t mode, uint32_t now) {
  if (m_frameCount == 0) {
    return;
  }
  int64_t frame = m_microsecondsPerFrame == 0
                      ? 0
                      : static_cast<int64_t>(positionMs) * kMicrosecondsPerMillisecond / m_microsecondsPerFrame;
  if (mode == kRelative) {
    frame += m_currentFrame;
  } else if (mode == kFromEnd) {
    frame += LastFrame();
  }
  m_currentFrame = static_cast<uint32_t>(std::clamp<int64_t>(frame, 0, LastFrame()));
  m_startFrame = std::min(m_startFrame, m_currentFrame);
  RestartClockAt(now);
}
