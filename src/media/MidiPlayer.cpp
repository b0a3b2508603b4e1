#include "media/MidiPlayer.h"

#include <limits>

namespace {

constexpr uint32_t kFirstTrack = 1;

// A length times its passes, within 32 bits; -1 endless.
int32_t TotalOfPasses(int64_t length, int32_t loops) {
  if (loops < 0)
    return -1;
  const int64_t total = (length < 0 ? 0 : length) * (static_cast<int64_t>(loops) + 1);
  return total > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                     : static_cast<int32_t>(total);
}

} // namespace

MidiPlayer::MidiPlayer(std::unique_ptr<MciDevice> device, PlayAnnouncer &announcer)
    : m_device(std::move(device)), m_announcer(announcer), m_hasDevice(m_device && m_device->Exists()) {
  if (m_hasDevice)
    m_device->SetListener(this);
}

MidiPlayer::~MidiPlayer() {
  Close();
  if (m_device)
    m_device->SetListener(nullptr);
}

// Any open sequencer closes first, playing or not: a second open would
// leave the first device open for the rest of the run.
bool MidiPlayer::Open(const XQString &path) {
  Close();
  if (!m_hasDevice)
    return false;
  m_path = path;
  uint32_t id = 0;
  if (!m_device->Open(kDeviceType, path.CStr(), id) || id == 0)
    return false;
  m_deviceId = id;
  uint32_t port = 0;
  uint32_t length = 0;
  if (!m_device->SetTimeFormat(id, MciDevice::TimeFormat::kMilliseconds) ||
      !m_device->Status(id, MciDevice::StatusItem::kSequencerPort, MciDevice::kNoTrack, port) ||
      !m_device->Status(id, MciDevice::StatusItem::kLength, kFirstTrack, length)) {
    Close();
    return false;
  }
  m_length = length;
  return true;
}

// The began announcement follows a play that really started, so that a
// sound object is never told of a start without an end.
bool MidiPlayer::Play(int32_t loops, int32_t fromMs, int32_t toMs) {
  Stop();
  if (!IsOpen())
    return false;
  m_loops = loops;
  m_from = fromMs < 0 ? 0 : fromMs;
  m_to = toMs;
  if (!PlayStretch()) {
    Close();
    return false;
  }
  m_playing = true;
  const int64_t end = m_to == kToEnd ? static_cast<int64_t>(m_length) : m_to;
  m_totalLength = TotalOfPasses(end - m_from, loops);
  m_announcer.AnnouncePlayBegan(SoundChannel::kMidi);
  return true;
}

bool MidiPlayer::PlayStretch() {
  const auto from = static_cast<uint32_t>(m_from);
  const auto to = static_cast<uint32_t>(m_to);
  return m_device->Play(m_deviceId, m_from != 0 ? &from : nullptr, m_to != kToEnd ? &to : nullptr);
}

void MidiPlayer::OnNotify(uint32_t deviceId) {
  // A notice of a device closed since is old news.
  if (deviceId != m_deviceId || !m_playing)
    return;
  if (m_loops == 0) {
    Stop();
    return;
  }
  if (!PlayStretch()) {
    Stop();
    Close();
    return;
  }
  if (m_loops != kEndless)
    --m_loops;
}

// A stop the sequencer refuses closes it; the play is over either way and
// is announced as ended.
void MidiPlayer::Stop() {
  if (!m_playing)
    return;
  m_playing = false;
  if (!m_device->Stop(m_deviceId))
    Close();
  m_announcer.AnnouncePlayEnded(SoundChannel::kMidi);
  m_device->DispatchPendingNotices();
}

void MidiPlayer::Close() {
  if (m_playing)
    Stop();
  if (m_deviceId != 0)
    m_device->Close(m_deviceId);
  m_deviceId = 0;
}
