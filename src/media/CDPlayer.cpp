#include "media/CDPlayer.h"

#include <limits>

namespace {

constexpr int64_t kMsPerMinute = 60000;
constexpr int64_t kMsPerSecond = 1000;
constexpr int64_t kMsPerFrame = 13;
constexpr uint32_t kByteBits = 8;
constexpr uint32_t kByteMask = 0xFF;

} // namespace

CDPlayer::CDPlayer(std::unique_ptr<MciDevice> device, PlayAnnouncer &announcer)
    : m_device(std::move(device)), m_announcer(announcer) {
  m_device->SetListener(this);
}

CDPlayer::~CDPlayer() {
  Stop();
  m_device->SetListener(nullptr);
}

int64_t CDPlayer::MsfToMs(uint32_t msf) {
  const int64_t minutes = msf & kByteMask;
  const int64_t seconds = (msf >> kByteBits) & kByteMask;
  const int64_t frames = (msf >> (2 * kByteBits)) & kByteMask;
  return minutes * kMsPerMinute + seconds * kMsPerSecond + frames * kMsPerFrame;
}

// Every way out of a failed play leaves the device closed and the length
// at 0: an absent drive plays nothing and lasts nothing.
void CDPlayer::Play(int32_t loops, int32_t startTrack, int32_t endTrack) {
  if (IsOpen())
    Stop();
  m_device->DispatchPendingNotices();
  m_totalLength = 0;
  uint32_t id = 0;
  if (!m_device->Open(kDeviceType, nullptr, id))
    return;
  m_deviceId = id;
  if (endTrack == kOneTrack) {
    uint32_t tracks = 0;
    if (!m_device->Status(id, MciDevice::StatusItem::kNumberOfTracks, MciDevice::kNoTrack, tracks)) {
      CloseDevice();
      return;
    }
    if (startTrack >= 0 && static_cast<uint32_t>(startTrack) < tracks)
      endTrack = startTrack + 1;
  }
  m_loops = loops;
  m_startTrack = startTrack;
  m_endTrack = endTrack;
  const int64_t length = Length(startTrack, endTrack);
  const int64_t total = loops < 0 ? -1 : length * (static_cast<int64_t>(loops) + 1);
  m_totalLength =
      total > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(total);
  if (!m_device->SetTimeFormat(id, MciDevice::TimeFormat::kTmsf) || !PlayTracks()) {
    CloseDevice();
    m_totalLength = 0;
    return;
  }
  m_announcer.AnnouncePlayBegan(SoundChannel::kCDAudio);
}

// TMSF positions with only the track byte set: from the start of the start
// track to the start of the end track.
bool CDPlayer::PlayTracks() {
  const auto from = static_cast<uint32_t>(m_startTrack) & kByteMask;
  const auto to = static_cast<uint32_t>(m_endTrack) & kByteMask;
  const bool withEnd = m_endTrack != kOneTrack && m_endTrack != kEndOfDisc;
  return m_device->Play(m_deviceId, m_startTrack != 0 ? &from : nullptr, withEnd ? &to : nullptr);
}

// A play that ends past the last track lasts to the end of the disc: the
// first track's position plus the disc's length.
int64_t CDPlayer::Length(int32_t startTrack, int32_t endTrack) {
  const uint32_t id = m_deviceId;
  uint32_t tracks = 0;
  if (!m_device->SetTimeFormat(id, MciDevice::TimeFormat::kMsf) ||
      !m_device->Status(id, MciDevice::StatusItem::kNumberOfTracks, MciDevice::kNoTrack, tracks))
    return 0;
  const uint32_t start = startTrack <= 0 ? 1 : static_cast<uint32_t>(startTrack);
  uint32_t startPosition = 0;
  if (!m_device->Status(id, MciDevice::StatusItem::kPosition, start, startPosition))
    return 0;
  int64_t endMs = 0;
  if (endTrack < 0 || static_cast<uint32_t>(endTrack) > tracks) {
    uint32_t firstPosition = 0;
    uint32_t discLength = 0;
    if (!m_device->Status(id, MciDevice::StatusItem::kPosition, 1, firstPosition) ||
        !m_device->Status(id, MciDevice::StatusItem::kLength, MciDevice::kNoTrack, discLength))
      return 0;
    endMs = MsfToMs(firstPosition) + MsfToMs(discLength);
  } else {
    uint32_t endPosition = 0;
    if (!m_device->Status(id, MciDevice::StatusItem::kPosition, static_cast<uint32_t>(endTrack), endPosition))
      return 0;
    endMs = MsfToMs(endPosition);
  }
  const int64_t length = endMs - MsfToMs(startPosition);
  return length < 0 ? 0 : length;
}

void CDPlayer::OnNotify(uint32_t deviceId) {
  if (!IsOpen() || deviceId != m_deviceId)
    return;
  if (m_loops != kEndless && m_loops <= 0) {
    Stop();
    return;
  }
  if (!PlayTracks()) {
    Stop();
    return;
  }
  if (m_loops != kEndless)
    --m_loops;
}

void CDPlayer::Stop() {
  if (!IsOpen())
    return;
  m_device->Pause(m_deviceId);
  m_device->Stop(m_deviceId);
  CloseDevice();
  m_announcer.AnnouncePlayEnded(SoundChannel::kCDAudio);
}

void CDPlayer::CloseDevice() {
  m_device->Close(m_deviceId);
  m_deviceId = kClosed;
}
