// Reads any bytes as a RIFF WAVE file and plays what it finds. The bytes
// are copied to memory of exactly their length, so that a read past them
// is a sanitizer report. A layout found must lie within the bytes; the
// player, over a device that keeps what it is given, must play the data
// it was asked for (the first bytes choose loops, start and end) and give
// back every loan.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "media/MemoryWaveSource.h"
#include "media/RiffWave.h"
#include "media/VORWavePlayer.h"
#include "support/FakeApp.h"
#include "support/FakeSoundDevices.h"

namespace {

class Silent : public PlayAnnouncer {
public:
  void AnnouncePlayBegan(SoundChannel) override {}
  void AnnouncePlayEnded(SoundChannel) override {}
};

// Enough buffers finished for any play of these sizes to end.
constexpr int kMaxFinishes = 1 << 16;

void Play(const RiffWaveLayout &layout, const uint8_t *data, uint8_t choice) {
  FakeApp app;
  FakeWaveOutDevice::State device;
  Silent silent;
  MemoryWaveSource source(layout.format, std::vector<uint8_t>(data, data + layout.dataLength), 64);
  source.bufferCount = choice & 7u;
  source.bufferSize = choice & 8u ? 1 : 0;
  VORWavePlayer player(std::make_unique<FakeWaveOutDevice>(device), silent);
  const int32_t loops = (choice >> 4) & 1u ? 1 : 0;
  const int32_t start = (choice >> 5) & 1u ? 700 : 0;
  const int32_t end = (choice >> 6) & 1u ? 1500 : -1;
  try {
    if (player.Play(&source, loops, start, end)) {
      player.Start();
      for (int finished = 0; finished < kMaxFinishes && FakeWaveOutDevice::FinishOne(device); ++finished) {
      }
      // The update controller's call, which ends a play that never had
      // anything to write.
      player.Service();
      if (player.IsPlaying())
        std::abort();
    }
    player.Close();
  } catch (...) {
    std::abort();
  }
  if (source.loansOut != 0)
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1)
    return 0;
  const uint8_t choice = data[0];
  std::vector<uint8_t> bytes(data + 1, data + size);
  const auto count = static_cast<uint32_t>(bytes.size());
  // The file may claim to be longer than the bytes at hand, as a resource
  // read from its first block is.
  const uint64_t fileSize = choice & 0x80u ? count + 100u : count;
  const std::optional<RiffWaveLayout> layout = RiffWave::ReadLayout(bytes.data(), count, fileSize);
  if (!layout)
    return 0;
  if (layout->format.GetSize() < WaveFormat::kHeaderSize ||
      layout->format.GetSize() - WaveFormat::kHeaderSize <
          (layout->format.IsPcm() ? 0u : layout->format.GetExtraSize()) ||
      uint64_t{layout->dataOffset} + layout->dataLength > fileSize)
    std::abort();
  if (uint64_t{layout->dataOffset} + layout->dataLength <= count && layout->dataLength < (1u << 20))
    Play(*layout, bytes.data() + layout->dataOffset, choice);
  return 0;
}
