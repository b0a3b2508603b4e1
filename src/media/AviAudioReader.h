#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "media/WaveFormat.h"

// An AVI sound stream as the reader reads it: whole AVI samples (for a
// compressed track, whole compressed blocks).
class AviSampleStream {
public:
  virtual ~AviSampleStream() = default;
  // Reads count samples from first into buffer (size bytes); with a null
  // buffer only measures. bytes receives the bytes, samples the samples.
  virtual bool Read(uint32_t first, uint32_t count, uint8_t *buffer, uint32_t size, uint32_t &bytes,
                    uint32_t &samples) = 0;
};

// The audio compression manager's conversion of a compressed track to PCM.
class SoundConverter {
public:
  virtual ~SoundConverter() = default;
  virtual bool Open(const WaveFormat &source, const WaveFormat &pcm) = 0;
  virtual void Close() = 0;
  // The output room a source length needs.
  virtual bool OutputSize(uint32_t sourceLength, uint32_t &outputSize) = 0;
  // Converts whole blocks of source into out (outSize bytes); produced
  // receives the bytes written.
  virtual bool Convert(const uint8_t *source, uint32_t sourceLength, uint8_t *out, uint32_t outSize,
                       uint32_t &produced) = 0;
};

// Delivers a video's sound track as PCM samples: PCM tracks straight from
// the stream, compressed tracks converted a whole number of AVI samples at
// a time (a compressed block expands to a fixed number of PCM samples,
// found by converting the first one), through a cache that keeps the last
// range read.
class AviAudioReader {
public:
  // The samples one AVI sample yields when it cannot be found.
  static constexpr int32_t kUnusable = -1;

  // format null: a reader that reads nothing. samplesPerRequest sizes the
  // cache for the usual request.
  AviAudioReader(const WaveFormat *format, AviSampleStream &stream, std::unique_ptr<SoundConverter> converter,
                 uint32_t samplesPerRequest);
  ~AviAudioReader();
  AviAudioReader(const AviAudioReader &) = delete;
  AviAudioReader &operator=(const AviAudioReader &) = delete;

  // Copies count PCM samples from first into destination; length (the room
  // there) becomes the bytes copied, cut to what the stream holds from
  // first. False when unusable, when the room is short of count samples or
  // when nothing can be read from first.
  bool Read(uint32_t first, uint32_t count, uint8_t *destination, uint32_t &length);

  bool IsUsable() const { return m_samplesPerAviSample != kUnusable; }
  int32_t GetSamplesPerAviSample() const { return m_samplesPerAviSample; }
  // The PCM the reader delivers.
  const WaveFormat &GetOutputFormat() const { return m_output; }
  uint32_t GetOutputBlockSize() const { return m_outputBlock; }
  uint32_t GetCachedFirst() const { return m_cachedFirst; }
  uint32_t GetCachedCount() const { return m_cachedCount; }

private:
  bool Probe();
  bool Fill(uint32_t first, uint32_t count);
  bool FillPcm(uint32_t start, uint32_t aviSamples);
  bool FillCompressed(uint32_t start, uint32_t aviSamples);
  bool GrowCache(uint64_t bytes);

  WaveFormat m_source;
  WaveFormat m_output;
  bool m_compressed = false;
  AviSampleStream &m_stream;
  std::unique_ptr<SoundConverter> m_converter;
  bool m_converterOpen = false;
  uint32_t m_outputBlock = 0;
  std::vector<uint8_t> m_cache;
  uint32_t m_cachedFirst = 0;
  uint32_t m_cachedCount = 0;
  int32_t m_samplesPerAviSample = kUnusable;
};
