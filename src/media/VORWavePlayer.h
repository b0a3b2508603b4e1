#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/VORUpdateTarget.h"
#include "media/SoundSeams.h"

class VORWaveSource;

// Streams a wave source through the wave-out device: a ring of buffers,
// each holding a loan of the source's data, refilled as the device gives
// them back (its notices and the update controller's calls, once per
// buffer's playing time), over a stretch of the data played loop count + 1
// times (-1 endlessly).
class VORWavePlayer : public VORUpdateTarget, private WaveOutListener {
public:
  // Loops without end.
  static constexpr int32_t kEndless = -1;
  // Positions and ends: -1 is the end of the data.
  static constexpr int32_t kToEnd = -1;
  // More buffers than this are not kept, whatever a source asks.
  static constexpr uint32_t kMaxBuffers = 64;
  // The wave-error codes of the failing device calls.
  enum ErrorCode : int32_t { kWriteFailed = 1, kPrepareFailed = 2, kUnprepareFailed = 3, kResetFailed = 4 };

  VORWavePlayer(std::unique_ptr<WaveOutDevice> device, PlayAnnouncer &announcer);
  ~VORWavePlayer() override;

  bool HasDevice() const { return m_hasDevice; }
  // Opens the source (not owned) and fills the buffers; true when ready:
  // Start then plays.
  bool Play(VORWaveSource *source, int32_t loops, int32_t startMs, int32_t endMs);
  void Start();
  void Stop();
  void Close();
  // Milliseconds played since Start; 0 unless playing.
  uint32_t GetPosition();
  // Gives back the buffers the device has finished with and refills them.
  void Service();
  void Update(uint32_t &nextDue) override;

  bool IsOpen() const { return m_open; }
  bool IsPlaying() const { return m_playing; }
  bool HasEnded() const { return m_ended; }
  VORWaveSource *GetSource() const { return m_source; }
  uint32_t GetStartByte() const { return m_startByte; }
  uint32_t GetEndByte() const { return m_endByte; }
  uint32_t GetCurrentByte() const { return m_currentByte; }
  uint32_t GetChunkSize() const { return m_chunkSize; }
  uint32_t GetBufferCount() const { return static_cast<uint32_t>(m_buffers.size()); }
  int32_t GetLoopCount() const { return m_loops; }

  // a × b / c rounded to the nearest, as the system's MulDiv; c of 0 gives 0.
  static int64_t MulDiv(int64_t a, int64_t b, int64_t c);

private:
  struct Buffer {
    int64_t loan = -1;
    uint32_t length = 0;
    bool HoldsData() const { return length != 0; }
  };

  void OnBufferDone() override;
  void Fill();
  bool FillBuffer(uint32_t index);
  void Release(uint32_t index);
  void ReleaseAll();
  bool AnyBufferHoldsData() const;
  void CloseDevice();
  [[noreturn]] static void Fail(int32_t code);

  std::unique_ptr<WaveOutDevice> m_device;
  PlayAnnouncer &m_announcer;
  bool m_hasDevice;
  bool m_deviceOpen = false;
  bool m_open = false;
  bool m_playing = false;
  bool m_ended = false;
  VORWaveSource *m_source = nullptr;
  int32_t m_loops = 0;
  uint32_t m_startByte = 0;
  uint32_t m_currentByte = 0;
  uint32_t m_endByte = 0;
  uint32_t m_chunkSize = 0;
  uint32_t m_nextBuffer = 0;
  std::vector<Buffer> m_buffers;
};
