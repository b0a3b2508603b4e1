#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/SoundSeams.h"

// A wave-out device that keeps what it is given: each buffer written is
// copied out in order, and the test says when the device finishes one.
class FakeWaveOutDevice : public WaveOutDevice {
public:
  struct State {
    bool exists = true;
    bool open = false;
    bool openFails = false;
    int opens = 0;
    std::vector<uint8_t> played;
    std::vector<uint32_t> writtenLengths;
    std::vector<bool> queued;
    std::vector<const uint8_t *> data;
    std::vector<uint32_t> lengths;
    int prepared = 0;
    int resets = 0;
    WaveOutListener *listener = nullptr;
    Position position;
  };

  // The state outlives the device: the test keeps it.
  explicit FakeWaveOutDevice(State &state) : m_state(state) {}
  bool Exists() override { return m_state.exists; }
  void SetListener(WaveOutListener *listener) override { m_state.listener = listener; }
  bool Open(const WaveFormat &format) override;
  void Close() override { m_state.open = false; }
  void SetBufferCount(uint32_t count) override;
  bool Prepare(uint32_t index, const uint8_t *data, uint32_t length) override;
  bool Unprepare(uint32_t index) override;
  bool Write(uint32_t index) override;
  bool IsDone(uint32_t index) override { return !m_state.queued[index]; }
  bool Reset() override;
  Position GetPosition() override { return m_state.position; }
  void DiscardPendingNotices() override {}

  // The device plays the oldest queued buffer and says so.
  static bool FinishOne(State &state);

private:
  State &m_state;
};

// MCI answering from a script the test fills: tracks and their MSF
// positions, a length, and which commands fail.
class FakeMciDevice : public MciDevice {
public:
  struct State {
    bool exists = true;
    bool openFails = false;
    bool playFails = false;
    uint32_t nextId = 7;
    uint32_t openId = 0;
    uint32_t length = 0;
    std::vector<uint32_t> trackPositions;
    std::vector<std::string> log;
    MciListener *listener = nullptr;
  };

  explicit FakeMciDevice(State &state) : m_state(state) {}
  bool Exists() override { return m_state.exists; }
  void SetListener(MciListener *listener) override { m_state.listener = listener; }
  bool Open(const char *deviceType, const char *element, uint32_t &deviceId) override;
  bool Close(uint32_t deviceId) override;
  bool SetTimeFormat(uint32_t deviceId, TimeFormat format) override;
  bool Status(uint32_t deviceId, StatusItem item, uint32_t track, uint32_t &value) override;
  bool Play(uint32_t deviceId, const uint32_t *from, const uint32_t *to) override;
  bool Stop(uint32_t deviceId) override;
  bool Pause(uint32_t deviceId) override;
  void DispatchPendingNotices() override {}

private:
  State &m_state;
};

// Mixer levels by component type.
class FakeMixerVolume : public MixerVolume {
public:
  struct Level {
    uint32_t left;
    uint32_t right;
  };
  struct State {
    std::vector<std::pair<uint32_t, Level>> levels;
    std::vector<std::pair<uint32_t, Level>> sets;
  };
  explicit FakeMixerVolume(State &state) : m_state(state) {}
  bool Get(uint32_t componentType, uint32_t &left, uint32_t &right) override;
  bool Set(uint32_t componentType, uint32_t left, uint32_t right) override;

private:
  State &m_state;
};
