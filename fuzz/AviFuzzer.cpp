// A video file's sound track and frames as the AVI player meets them, with
// the platform's AVI library replaced by the input: the track's format,
// timing and samples drive the sound reader (PCM straight, anything else
// through a stand-in for the audio compression manager that converts
// honestly), the video's wave source borrows and returns ranges of it as
// the wave player does, and a frame the library would hand out is copied
// into the frame picture twice (the second time into a picture already of
// its shape), after the frame request is made from its format.
//   8-bit length, the track's format chunk; frame rate, scale, frame
//   count, has-video byte, AVI sample count, initial frames; the
//   converter's samples per block and failure flags; 8-bit count of reads
//   (first, count); 8-bit count of loans (offset, length); 32-bit length,
//   the track's bytes; the frame's 40-byte header, 16-bit colour count;
//   the rest: the frame's colours and pixels
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "FuzzBytes.h"
#include "display/DibImage.h"
#include "media/AviAudioReader.h"
#include "media/AviFrame.h"
#include "media/AviTiming.h"
#include "media/VORVideoWaveSource.h"
#include "media/VideoSoundTrack.h"

namespace {

// A request for more than a second of the loudest sound the wave player
// takes.
constexpr uint64_t kMaxRequestBytes = 1u << 20;
// A frame the library would not decode into memory it could give.
constexpr uint64_t kMaxFrameBytes = 16u << 20;

// The track's samples: AVI sample i is the i-th block of the bytes.
class TrackStream : public AviSampleStream {
public:
  TrackStream(std::vector<uint8_t> bytes, uint32_t sampleBytes)
      : m_bytes(std::move(bytes)), m_sampleBytes(sampleBytes) {}
  bool Read(uint32_t first, uint32_t count, uint8_t *buffer, uint32_t size, uint32_t &bytes,
            uint32_t &samples) override {
    const uint64_t total = m_bytes.size() / m_sampleBytes;
    if (first >= total)
      return false;
    samples = static_cast<uint32_t>(std::min<uint64_t>(count, total - first));
    bytes = samples * m_sampleBytes;
    if (buffer == nullptr)
      return true;
    if (size < bytes)
      return false; // the library's "buffer too small"
    std::memcpy(buffer, m_bytes.data() + static_cast<size_t>(first) * m_sampleBytes, bytes);
    return true;
  }

private:
  std::vector<uint8_t> m_bytes;
  uint32_t m_sampleBytes;
};

// Converts each whole source block into perBlock output blocks, within the
// room it is given; fails where the flags say.
class StandInConverter : public SoundConverter {
public:
  enum Flags : uint8_t { kOpenFails = 1, kConvertFails = 2, kProducesShort = 4 };
  StandInConverter(uint32_t perBlock, uint8_t flags) : m_perBlock(perBlock), m_flags(flags) {}
  bool Open(const WaveFormat &source, const WaveFormat &pcm) override {
    m_sourceBlock = source.GetBlockAlign();
    m_pcmBlock = pcm.GetBlockAlign();
    return (m_flags & kOpenFails) == 0 && m_sourceBlock != 0;
  }
  void Close() override {}
  bool OutputSize(uint32_t sourceLength, uint32_t &outputSize) override {
    const uint64_t size = static_cast<uint64_t>(sourceLength / m_sourceBlock) * m_perBlock * m_pcmBlock;
    outputSize = static_cast<uint32_t>(std::min<uint64_t>(size, UINT32_MAX));
    return size <= UINT32_MAX;
  }
  bool Convert(const uint8_t *source, uint32_t sourceLength, uint8_t *out, uint32_t outSize,
               uint32_t &produced) override {
    if ((m_flags & kConvertFails) != 0)
      return false;
    uint32_t wanted = 0;
    OutputSize(sourceLength, wanted);
    produced = std::min(wanted, outSize);
    if ((m_flags & kProducesShort) != 0)
      produced /= 2;
    for (uint32_t i = 0; i < produced; ++i)
      out[i] = source[i % sourceLength];
    return true;
  }

private:
  uint32_t m_perBlock;
  uint8_t m_flags;
  uint32_t m_sourceBlock = 0;
  uint32_t m_pcmBlock = 0;
};

// The AVI player's sound track, with its arithmetic.
class Track : public VideoSoundTrack {
public:
  Track(const WaveFormat &format, AviAudioReader &reader, uint32_t samples, uint32_t initialFrames,
        uint32_t microsecondsPerFrame)
      : m_format(format), m_reader(reader), m_samples(samples), m_initialFrames(initialFrames),
        m_microsecondsPerFrame(microsecondsPerFrame) {}
  const WaveFormat &GetSoundFormat() const override { return m_reader.GetOutputFormat(); }
  uint32_t GetSoundDataSize() const override {
    if (!m_reader.IsUsable())
      return 0;
    const uint64_t size = static_cast<uint64_t>(m_samples) * static_cast<uint32_t>(m_reader.GetSamplesPerAviSample()) *
                          m_reader.GetOutputBlockSize();
    return static_cast<uint32_t>(std::min<uint64_t>(size, UINT32_MAX));
  }
  uint32_t GetSoundInitialFrames() const override { return m_initialFrames; }
  uint32_t GetVideoMicrosecondsPerFrame() const override { return m_microsecondsPerFrame; }
  bool ReadSound(uint32_t first, uint32_t count, uint8_t *destination, uint32_t &length) override {
    return m_reader.Read(first, count, destination, length);
  }

private:
  WaveFormat m_format;
  AviAudioReader &m_reader;
  uint32_t m_samples;
  uint32_t m_initialFrames;
  uint32_t m_microsecondsPerFrame;
};

// memcpy of nothing from nowhere is still undefined.
void CopyBytes(void *to, const uint8_t *from, size_t count) {
  if (count != 0)
    std::memcpy(to, from, count);
}

struct Request {
  uint32_t first;
  uint16_t count;
};

void ReadTheReader(AviAudioReader &reader, const std::vector<Request> &requests) {
  for (const Request &request : requests) {
    const uint64_t room = static_cast<uint64_t>(request.count) * reader.GetOutputBlockSize();
    if (room > kMaxRequestBytes)
      continue; // the player asks for a frame's sound at a time
    std::vector<uint8_t> destination(static_cast<size_t>(room));
    uint32_t length = static_cast<uint32_t>(room);
    if (reader.Read(request.first, request.count, destination.data(), length) && length > room)
      std::abort(); // more was copied than there was room for
  }
}

void BorrowFromTheSource(VORVideoWaveSource &source, FuzzBytes &input, uint8_t loans) {
  uint32_t count = 0;
  uint32_t size = 0;
  source.GetBufferInfo(count, size);
  if (!source.Open())
    return;
  std::vector<int64_t> held;
  for (uint8_t i = 0; i < loans; ++i) {
    const uint32_t offset = input.Take<uint32_t>();
    uint32_t length = input.Take<uint32_t>();
    const uint8_t *data = nullptr;
    const int64_t loan = source.LockData(offset, data, length);
    if (loan == VORWaveSource::kNoLoan)
      continue;
    if (length > size)
      std::abort(); // a loan larger than its buffer
    // The whole loan must be readable.
    volatile uint8_t sum = 0;
    for (uint32_t at = 0; at < length; ++at)
      sum = static_cast<uint8_t>(sum + data[at]);
    held.push_back(loan);
    if (held.size() > 2) {
      source.UnlockData(held.front());
      held.erase(held.begin());
    }
  }
  for (const int64_t loan : held)
    source.UnlockData(loan);
  std::unique_ptr<VORWaveSource>(source.Clone())->Open();
  source.Close();
}

void CopyFrames(const BitmapInfoHeader &header, uint16_t colourCount, const std::vector<uint8_t> &rest) {
  std::vector<RgbQuad> colours(colourCount);
  CopyBytes(colours.data(), rest.data(), std::min(rest.size(), colours.size() * sizeof(RgbQuad)));
  const BitmapInfo256 request = AviFrame::MakeRequest(header, colours.data(), colourCount);
  if (request.header.biHeight < 0 || request.header.biCompression != kCompressionRgb)
    std::abort(); // the frames are asked for bottom-up and uncompressed
  DibLayout layout;
  if (!DibImage::ComputeLayout(header, layout))
    return;
  const uint64_t packedSize = static_cast<uint64_t>(layout.InfoSize()) + layout.imageSize;
  if (packedSize > kMaxFrameBytes)
    return;
  // The library's frame: the header, then colours and pixels from the rest.
  std::vector<uint8_t> packed(static_cast<size_t>(std::max<uint64_t>(packedSize, sizeof header)));
  std::memcpy(packed.data(), &header, sizeof header);
  CopyBytes(packed.data() + sizeof header, rest.data(), std::min(rest.size(), packed.size() - sizeof header));
  DibImage frame;
  const auto *info = reinterpret_cast<const BitmapInfoHeader *>(packed.data());
  if (AviFrame::CopyInto(info, frame))
    AviFrame::CopyInto(info, frame);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzBytes input(data, size);
  const std::vector<uint8_t> chunk = input.Take(input.Take<uint8_t>());
  const WaveFormat format = WaveFormat::FromChunk(chunk.data(), static_cast<uint32_t>(chunk.size()));
  const uint32_t rate = input.Take<uint32_t>();
  const uint32_t scale = input.Take<uint32_t>();
  const uint32_t frames = input.Take<uint32_t>();
  const bool hasVideo = input.Take<uint8_t>() != 0;
  const uint32_t aviSamples = input.Take<uint32_t>();
  const uint32_t initialFrames = input.Take<uint32_t>();
  const uint16_t perBlock = input.Take<uint16_t>();
  const uint8_t converterFlags = input.Take<uint8_t>();
  std::vector<Request> requests(input.Take<uint8_t>());
  for (Request &request : requests)
    request = Request{input.Take<uint32_t>(), input.Take<uint16_t>()};
  const uint8_t loans = input.Take<uint8_t>();
  const std::vector<uint8_t> trackBytes = input.Take(input.Take<uint32_t>());

  // Timing as the player asks for it.
  const uint32_t microseconds = AviTiming::MicrosecondsPerFrame(rate, scale);
  AviTiming::FramesPerSecond(microseconds);
  const uint32_t samplesPerFrame = AviTiming::SamplesPerFrame(hasVideo, scale, rate, format.GetSamplesPerSecond());
  if (samplesPerFrame == 0)
    std::abort(); // at least one sample a frame
  static_cast<void>(frames);

  TrackStream stream(trackBytes, std::max<uint32_t>(format.GetBlockAlign(), 1));
  AviAudioReader reader(&format, stream, std::make_unique<StandInConverter>(perBlock, converterFlags), samplesPerFrame);
  ReadTheReader(reader, requests);
  Track track(format, reader, aviSamples, initialFrames, microseconds);
  VORVideoWaveSource source(track);
  BorrowFromTheSource(source, input, loans);

  BitmapInfoHeader header{};
  const std::vector<uint8_t> headerBytes = input.Take(sizeof header);
  CopyBytes(&header, headerBytes.data(), headerBytes.size());
  const uint16_t colourCount = input.Take<uint16_t>();
  CopyFrames(header, colourCount, input.Rest());
  return 0;
}
