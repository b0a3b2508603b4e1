#include "media/VORInternalVideoStream.h"

#include <limits>

namespace {

constexpr int32_t kMicrosecondsPerMillisecond = 1000;

} // namespace

VORInternalVideoStream::VORInternalVideoStream(uint32_t resourceHandle, int32_t keyColor, VORResourceManager *manager)
    : m_reader(resourceHandle, keyColor, manager) {}

bool VORInternalVideoStream::Open() {
  if (!m_reader.Open(true)) {
    return false;
  }
  if (!m_reader.ReadFrame(0)) {
    m_reader.Close();
    return false;
  }
  return true;
}

void VORInternalVideoStream::GetTiming(uint32_t &frameCount, uint32_t &microsecondsPerFrame) const {
  m_reader.GetTiming(frameCount, microsecondsPerFrame);
}

const BitmapInfoHeader *VORInternalVideoStream::GetFormat() {
  const DibImage *frame = m_reader.GetFrameImage();
  return frame != nullptr ? frame->GetInfo() : nullptr;
}

bool VORInternalVideoStream::ReadFrame(uint32_t index, int32_t &value) {
  value = kNoDelay;
  if (index > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) ||
      !m_reader.ReadFrame(static_cast<int32_t>(index))) {
    return false;
  }
  const int32_t time = m_reader.GetFrameTime();
  value = time == kNoDelay ? kNoDelay : time / kMicrosecondsPerMillisecond;
  return true;
}
