#include "media/VORWavePlayer.h"

#include <algorithm>

#include "engine/VORUpdateController.h"
#include "foundation/VORException.h"
#include "media/VORWaveSource.h"
#include "model/VORApp.h"

namespace {

constexpr int64_t kMsPerSecond = 1000;

uint32_t CutToBlock(uint64_t bytes, uint32_t blockAlign) { return static_cast<uint32_t>(bytes - bytes % blockAlign); }

} // namespace

VORWavePlayer::VORWavePlayer(std::unique_ptr<WaveOutDevice> device, PlayAnnouncer &announcer)
    : m_device(std::move(device)), m_announcer(announcer), m_hasDevice(m_device && m_device->Exists()) {
  if (m_hasDevice)
    m_device->SetListener(this);
}

VORWavePlayer::~VORWavePlayer() {
  try {
    Close();
  } catch (VORException *failure) {
    delete failure;
  } catch (...) {
  }
  if (m_device)
    m_device->SetListener(nullptr);
}

int64_t VORWavePlayer::MulDiv(int64_t a, int64_t b, int64_t c) {
  if (c == 0)
    return 0;
  const int64_t product = a * b;
  const int64_t half = (c < 0 ? -c : c) / 2;
  return (product < 0) != (c < 0) ? (product - (c < 0 ? -half : half)) / c : (product + (c < 0 ? -half : half)) / c;
}

void VORWavePlayer::Fail(int32_t code) {
  if (VORApp *app = VORApp::Get())
    app->ThrowWaveError(code);
  throw new VORWaveErrorException(code);
}

bool VORWavePlayer::Play(VORWaveSource *source, int32_t loops, int32_t startMs, int32_t endMs) {
  Close();
  m_ended = false;
  if (!m_hasDevice || !source)
    return false;
  if (endMs != kToEnd && startMs >= endMs)
    return false;
  if (!source->Open())
    return false;
  const WaveFormat &format = source->GetFormat();
  const uint32_t dataSize = source->GetDataSize();
  // A format without bytes per second or per block cannot be timed or cut
  // into blocks.
  const int64_t startBytes = MulDiv(std::max(startMs, 0), format.GetAverageBytesPerSecond(), kMsPerSecond);
  if (!format.CanBeTimed() || dataSize < startBytes || !m_device->Open(format)) {
    source->Close();
    return false;
  }
  m_deviceOpen = true;
  m_source = source;
  const uint32_t blockAlign = format.GetBlockAlign();
  m_startByte = m_currentByte = CutToBlock(static_cast<uint64_t>(startBytes), blockAlign);
  uint64_t endBytes = dataSize;
  if (endMs != kToEnd)
    endBytes = std::min<uint64_t>(
        static_cast<uint64_t>(std::max<int64_t>(MulDiv(endMs, format.GetAverageBytesPerSecond(), kMsPerSecond), 0)),
        dataSize);
  m_endByte = std::max(CutToBlock(endBytes, blockAlign), m_startByte);
  m_loops = loops;
  uint32_t count = 0;
  uint32_t size = 0;
  source->GetBufferInfo(count, size);
  m_buffers.assign(std::clamp<uint32_t>(count, 1, kMaxBuffers), Buffer());
  m_chunkSize = std::max(CutToBlock(size, blockAlign), static_cast<uint32_t>(blockAlign));
  m_device->SetBufferCount(GetBufferCount());
  m_nextBuffer = 0;
  m_open = true;
  Fill();
  return true;
}

void VORWavePlayer::Start() {
  if (!m_open || m_playing)
    return;
  m_announcer.AnnouncePlayBegan(SoundChannel::kWave);
  // The announcement may have closed the play.
  if (!m_open)
    return;
  for (uint32_t index = 0; index < GetBufferCount(); ++index)
    if (m_buffers[index].HoldsData() && !m_device->Write(index))
      Fail(kWriteFailed);
  m_playing = true;
  Reschedule(0);
}

// The ended announcement comes last: whatever it sets off finds the player
// stopped, its buffers given back and the device closed.
void VORWavePlayer::Stop() {
  if (!m_open || !m_playing)
    return;
  m_playing = false;
  if (!m_device->Reset())
    Fail(kResetFailed);
  ReleaseAll();
  CloseDevice();
  m_announcer.AnnouncePlayEnded(SoundChannel::kWave);
}

// A play that never started, or that ended, may still hold prepared
// buffers and the open device: both are given back before the source
// closes, so no loan outlives its source and no device stays open.
void VORWavePlayer::Close() {
  if (m_playing)
    Stop();
  if (m_deviceOpen) {
    ReleaseAll();
    CloseDevice();
  }
  if (m_source)
    m_source->Close();
  m_source = nullptr;
  m_buffers.clear();
  m_open = false;
}

void VORWavePlayer::CloseDevice() {
  if (!m_deviceOpen)
    return;
  m_deviceOpen = false;
  m_device->Close();
  m_device->DiscardPendingNotices();
}

uint32_t VORWavePlayer::GetPosition() {
  if (!m_open || !m_playing)
    return 0;
  const WaveFormat &format = m_source->GetFormat();
  const WaveOutDevice::Position position = m_device->GetPosition();
  switch (position.unit) {
  case WaveOutDevice::PositionUnit::kMilliseconds:
    return position.value;
  case WaveOutDevice::PositionUnit::kSamples:
    return static_cast<uint32_t>(MulDiv(position.value, kMsPerSecond, format.GetSamplesPerSecond()));
  case WaveOutDevice::PositionUnit::kBytes:
    return static_cast<uint32_t>(MulDiv(position.value, kMsPerSecond, format.GetAverageBytesPerSecond()));
  case WaveOutDevice::PositionUnit::kOther:
    break;
  }
  return 0;
}

void VORWavePlayer::Fill() {
  for (uint32_t filled = 0; filled < GetBufferCount(); ++filled) {
    const uint32_t index = m_nextBuffer;
    if (m_buffers[index].HoldsData() || !m_device->IsDone(index) || !FillBuffer(index))
      return;
    if (m_playing && !m_device->Write(index))
      Fail(kWriteFailed);
    m_nextBuffer = (index + 1) % GetBufferCount();
  }
}

bool VORWavePlayer::FillBuffer(uint32_t index) {
  if (m_currentByte >= m_endByte && m_loops != 0) {
    if (m_loops != kEndless)
      --m_loops;
    m_currentByte = m_startByte;
  }
  uint32_t length = std::min(m_chunkSize, m_endByte - std::min(m_currentByte, m_endByte));
  if (length == 0)
    return false;
  const uint8_t *data = nullptr;
  const int64_t loan = m_source->LockData(m_currentByte, data, length);
  if (loan == VORWaveSource::kNoLoan)
    return false;
  // An empty loan would never move the play on.
  if (length == 0 || !data) {
    m_source->UnlockData(loan);
    return false;
  }
  if (!m_device->Prepare(index, data, length)) {
    m_source->UnlockData(loan);
    Fail(kPrepareFailed);
  }
  m_buffers[index].loan = loan;
  m_buffers[index].length = length;
  m_currentByte += length;
  return true;
}

// A buffer the device cannot give back keeps its loan: its memory must
// stay while the device may still read it.
void VORWavePlayer::Release(uint32_t index) {
  Buffer &buffer = m_buffers[index];
  if (!buffer.HoldsData())
    return;
  if (!m_device->Unprepare(index))
    Fail(kUnprepareFailed);
  m_source->UnlockData(buffer.loan);
  buffer = Buffer();
}

void VORWavePlayer::ReleaseAll() {
  for (uint32_t index = 0; index < GetBufferCount(); ++index)
    Release(index);
}

bool VORWavePlayer::AnyBufferHoldsData() const {
  return std::any_of(m_buffers.begin(), m_buffers.end(), [](const Buffer &buffer) { return buffer.HoldsData(); });
}

void VORWavePlayer::OnBufferDone() { Service(); }

// When nothing is left in the device after a refill the play is over: it
// reached its end, or the source lends no more data (a play that could not
// go on would otherwise be polled for ever in silence).
void VORWavePlayer::Service() {
  if (!m_open)
    return;
  for (uint32_t index = 0; index < GetBufferCount(); ++index)
    if (m_buffers[index].HoldsData() && m_device->IsDone(index))
      Release(index);
  if (m_playing)
    Fill();
  if (m_playing && !AnyBufferHoldsData()) {
    Stop();
    m_ended = true;
  }
}

void VORWavePlayer::Update(uint32_t &nextDue) {
  Service();
  if (!m_open || !m_playing) {
    nextDue = VORUpdateController::kNotScheduled;
    return;
  }
  const auto bufferTime =
      static_cast<uint32_t>(MulDiv(m_chunkSize, kMsPerSecond, m_source->GetFormat().GetAverageBytesPerSecond()));
  nextDue = GetController()->Now() + bufferTime;
}
