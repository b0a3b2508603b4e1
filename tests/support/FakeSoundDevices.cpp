#include "support/FakeSoundDevices.h"

#include <algorithm>

bool FakeWaveOutDevice::Open(const WaveFormat & /*format*/) {
  ++m_state.opens;
  m_state.open = !m_state.openFails;
  return m_state.open;
}

void FakeWaveOutDevice::SetBufferCount(uint32_t count) {
  m_state.queued.assign(count, false);
  m_state.data.assign(count, nullptr);
  m_state.lengths.assign(count, 0);
}

bool FakeWaveOutDevice::Prepare(uint32_t index, const uint8_t *data, uint32_t length) {
  m_state.data[index] = data;
  m_state.lengths[index] = length;
  ++m_state.prepared;
  return m_state.open;
}

bool FakeWaveOutDevice::Unprepare(uint32_t index) {
  if (m_state.queued[index])
    return false;
  m_state.data[index] = nullptr;
  m_state.lengths[index] = 0;
  --m_state.prepared;
  return true;
}

bool FakeWaveOutDevice::Write(uint32_t index) {
  if (!m_state.open || !m_state.data[index])
    return false;
  m_state.queued[index] = true;
  m_state.writtenLengths.push_back(m_state.lengths[index]);
  m_state.played.insert(m_state.played.end(), m_state.data[index], m_state.data[index] + m_state.lengths[index]);
  return true;
}

bool FakeWaveOutDevice::Reset() {
  ++m_state.resets;
  std::fill(m_state.queued.begin(), m_state.queued.end(), false);
  return true;
}

bool FakeWaveOutDevice::FinishOne(State &state) {
  // The buffers are played in the order they were written; finishing any
  // queued one stands for that here.
  for (size_t index = 0; index < state.queued.size(); ++index) {
    if (state.queued[index]) {
      state.queued[index] = false;
      if (state.listener)
        state.listener->OnBufferDone();
      return true;
    }
  }
  return false;
}

bool FakeMciDevice::Open(const char *deviceType, const char *element, uint32_t &deviceId) {
  m_state.log.push_back(std::string("open ") + deviceType + (element ? std::string(" ") + element : ""));
  if (m_state.openFails)
    return false;
  deviceId = m_state.openId = m_state.nextId++;
  return true;
}

bool FakeMciDevice::Close(uint32_t deviceId) {
  m_state.log.push_back("close " + std::to_string(deviceId));
  m_state.openId = 0;
  return true;
}

bool FakeMciDevice::SetTimeFormat(uint32_t /*deviceId*/, TimeFormat format) {
  m_state.log.push_back("format " + std::to_string(static_cast<int>(format)));
  return true;
}

bool FakeMciDevice::Status(uint32_t /*deviceId*/, StatusItem item, uint32_t track, uint32_t &value) {
  switch (item) {
  case StatusItem::kSequencerPort:
    value = 0;
    return true;
  case StatusItem::kLength:
    value = m_state.length;
    return true;
  case StatusItem::kNumberOfTracks:
    value = static_cast<uint32_t>(m_state.trackPositions.size());
    return true;
  case StatusItem::kPosition:
    if (track == 0 || track > m_state.trackPositions.size())
      return false;
    value = m_state.trackPositions[track - 1];
    return true;
  }
  return false;
}

bool FakeMciDevice::Play(uint32_t /*deviceId*/, const uint32_t *from, const uint32_t *to) {
  m_state.log.push_back("play " + (from ? std::to_string(*from) : std::string("-")) + " " +
                        (to ? std::to_string(*to) : std::string("-")));
  return !m_state.playFails;
}

bool FakeMciDevice::Stop(uint32_t /*deviceId*/) {
  m_state.log.push_back("stop");
  return true;
}

bool FakeMciDevice::Pause(uint32_t /*deviceId*/) {
  m_state.log.push_back("pause");
  return true;
}

bool FakeMixerVolume::Get(uint32_t componentType, uint32_t &left, uint32_t &right) {
  for (const auto &[type, level] : m_state.levels)
    if (type == componentType) {
      left = level.left;
      right = level.right;
      return true;
    }
  return false;
}

bool FakeMixerVolume::Set(uint32_t componentType, uint32_t left, uint32_t right) {
  m_state.sets.push_back({componentType, Level{left, right}});
  return true;
}
