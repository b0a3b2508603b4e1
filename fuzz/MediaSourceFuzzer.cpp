// Media read from a publication's own resources: any bytes stored as a
// top-level entry of a compiled file, opened through the resource manager
// as a wave resource (the sound borrowed range after range, each loan
// checked against the bytes the entry holds there, and given back) and as
// an animation of the publication's own picture format (every frame read
// through the manager's blocks, then from a copy in memory), with or
// without a key colour.
//   byte 0: bits 0-1 the key colour (none, an RGB value, a palette index);
//   bits 2-4 the loan length (a power of two times 61 bytes); the rest: the
//   entry's bytes
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "media/VORInternalVideoStream.h"
#include "media/VORResourceWaveSource.h"
#include "model/PublicationFile.h"
#include "model/VORInternalResourceIdentifier.h"
#include "model/VORResourceManager.h"
#include "support/FakeApp.h"
#include "support/FakeResourcePlatform.h"
#include "support/MemoryFile.h"
#include "support/PublicationWriter.h"
#include "vorfile/VORCompiledFile.h"

namespace {

constexpr uint32_t kMaxLoans = 256;
constexpr uint32_t kMaxFrames = 8;
constexpr uint32_t kLoanUnit = 61;
// Pictures up to the format's 256 MB are real, but one of them decoded
// frame by frame with a mask under the sanitizers takes minutes; the
// decoder's code is the same for small ones, which the target keeps to.
constexpr uint64_t kMaxPixels = 1u << 20;

std::unique_ptr<VORCompiledFile> OpenCompiled(const std::vector<uint8_t> &bytes) {
  auto file = std::make_unique<VORCompiledFile>(std::make_unique<MemoryFile>(bytes));
  if (!file->Open(false, false))
    return nullptr;
  return file;
}

void BorrowTheSound(VORResourceManager &manager, uint32_t handle, const std::vector<uint8_t> &entry,
                    uint32_t loanLength) {
  VORResourceWaveSource source(manager, handle);
  if (!source.Open())
    return;
  const uint64_t end = uint64_t{source.GetDataOffset()} + source.GetDataSize();
  if (end > entry.size())
    std::abort(); // the sound's data lies beyond the resource
  uint32_t count = 0;
  uint32_t size = 0;
  source.GetBufferInfo(count, size);
  uint32_t offset = 0;
  for (uint32_t n = 0; n < kMaxLoans && offset < source.GetDataSize(); ++n) {
    const uint8_t *data = nullptr;
    uint32_t length = loanLength;
    const int64_t loan = source.LockData(offset, data, length);
    if (loan == VORWaveSource::kNoLoan)
      break;
    if (length == 0 || length > loanLength ||
        std::memcmp(data, entry.data() + source.GetDataOffset() + offset, length) != 0)
      std::abort(); // a loan of other bytes than the sound's
    source.UnlockData(loan);
    offset += length;
  }
  std::unique_ptr<VORWaveSource>(source.Clone())->Open();
  source.Close();
}

void PlayTheFrames(VORInternalVideoStream &stream) {
  if (!stream.Open())
    return;
  uint32_t frames = 0;
  uint32_t microseconds = 0;
  stream.GetTiming(frames, microseconds);
  if (stream.GetFormat() == nullptr)
    std::abort(); // an open stream shows frame 0
  for (uint32_t i = 0; i < frames && i < kMaxFrames; ++i) {
    int32_t value = 0;
    if (!stream.ReadFrame(i, value))
      break;
    if (stream.GetFrameImage() == nullptr)
      std::abort();
  }
  int32_t value = 0;
  stream.ReadFrame(frames, value);
  stream.ReadFrame(0, value);
  stream.Close();
}

// The pixels the picture header claims (the DIB header's width and height,
// at 28 and 32 of the file), or 0 when the bytes hold no such header.
uint64_t ClaimedPixels(const std::vector<uint8_t> &entry) {
  constexpr size_t kWidthAt = 28;
  constexpr size_t kHeightAt = 32;
  if (entry.size() < kHeightAt + 4 || std::memcmp(entry.data(), "VORI", 4) != 0)
    return 0;
  int32_t width = 0;
  int32_t height = 0;
  std::memcpy(&width, entry.data() + kWidthAt, 4);
  std::memcpy(&height, entry.data() + kHeightAt, 4);
  return static_cast<uint64_t>(std::llabs(int64_t{width})) * static_cast<uint64_t>(std::llabs(int64_t{height}));
}

int32_t KeyColour(uint8_t choice) {
  switch (choice & 3u) {
  case 1:
    return 0x00FF00FF;
  case 2:
    return 0x1000000 + 5; // palette index 5
  default:
    return -1;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1)
    return 0;
  const uint8_t choice = data[0];
  const std::vector<uint8_t> entry(data + 1, data + size);
  PublicationWriter writer;
  writer.AddEntry(0).AddData(entry);
  const std::vector<uint8_t> bytes = writer.Bytes();

  FakeApp app;
  FakeMachine machine;
  PublicationFile holder(
      VORExternalResourceIdentifier(VORExternalResourceIdentifier::kFullPath, "fuzz.vor"),
      [&bytes](const VORExternalResourceIdentifier &) -> std::unique_ptr<VORFile> { return OpenCompiled(bytes); });
  app.SetPublicationFile(&holder);
  {
    VORResourceManager manager(machine.MakePlatform());
    app.SetResourceManager(&manager);
    const uint32_t wave = manager.OpenInternalResource(VORInternalResourceIdentifier(0, VORFileKind::kWave), 0, 0, 0);
    if (wave != 0)
      BorrowTheSound(manager, wave, entry, kLoanUnit << ((choice >> 2) & 7u));
    const uint32_t video =
        ClaimedPixels(entry) > kMaxPixels
            ? 0
            : manager.OpenInternalResource(VORInternalResourceIdentifier(0, VORFileKind::kInternalVideo), 0, 0, 0);
    if (video != 0) {
      VORInternalVideoStream throughBlocks(video, KeyColour(choice), &manager);
      PlayTheFrames(throughBlocks);
    }
    app.SetResourceManager(nullptr);
  }
  if (ClaimedPixels(entry) > kMaxPixels)
    return 0;
  VORInternalVideoStream inMemory(0, KeyColour(choice));
  inMemory.SetMemoryCopy(entry);
  PlayTheFrames(inMemory);
  return 0;
}
