#include "media/AviAudioReader.h"

#include <algorithm>
#include <cstddef>

namespace {

// Larger requests than this are refused rather than cached.
constexpr uint64_t kMaxCacheBytes = 64u << 20;

} // namespace

AviAudioReader::AviAudioReader(const WaveFormat *format, AviSampleStream &stream,
                               std::unique_ptr<SoundConverter> converter, uint32_t samplesPerRequest)
    : m_stream(stream), m_converter(std::move(converter)) {
  if (format == nullptr) {
    return;
  }
  m_source = *format;
  m_compressed = !m_source.IsPcm();
  const uint16_t channels = m_source.GetChannels();
  const uint16_t bits = m_source.GetBitsPerSample() == 8 ? 8 : 16;
  // PCM is copied as the track holds it, whatever its sample size.
  m_output = m_compressed ? WaveFormat::Pcm(channels, m_source.GetSamplesPerSecond(), bits) : m_source;
  m_outputBlock = m_compressed ? channels * bits / 8u : m_source.GetBlockAlign();
  if (m_outputBlock == 0 || (m_compressed && (m_converter == nullptr || m_source.GetBlockAlign() == 0))) {
    return;
  }
  if (!GrowCache(static_cast<uint64_t>(samplesPerRequest) * m_outputBlock + m_source.GetBlockAlign()) || !Probe()) {
    m_samplesPerAviSample = kUnusable;
    return;
  }
  if (m_compressed) {
    m_converterOpen = m_converter->Open(m_source, m_output);
    if (!m_converterOpen) {
      m_samplesPerAviSample = kUnusable;
    }
  }
}

AviAudioReader::~AviAudioReader() {
  if (m_converterOpen) {
    m_converter->Close();
  }
}

bool AviAudioReader::GrowCache(uint64_t bytes) {
  if (bytes > kMaxCacheBytes) {
    return false;
  }
  if (m_cache.size() < bytes) {
    m_cache.resize(static_cast<size_t>(bytes));
  }
  return true;
}

bool AviAudioReader::Probe() {
  if (!m_compressed) {
    m_samplesPerAviSample = 1;
    return true;
  }
  uint32_t bytes = 0;
  uint32_t samples = 0;
  if (!m_stream.Read(0, 1, nullptr, 0, bytes, samples) || bytes == 0 || bytes > kMaxCacheBytes) {
    return false;
  }
  std::vector<uint8_t> block(bytes);
  if (!m_stream.Read(0, 1, block.data(), bytes, bytes, samples) || !m_converter->Open(m_source, m_output)) {
    return false;
  }
  uint32_t outputSize = 0;
  uint32_t produced = 0;
  bool converted = m_converter->OutputSize(bytes, outputSize) && outputSize <= kMaxCacheBytes;
  if (converted) {
    std::vector<uint8_t> pcm(outputSize);
    converted = m_converter->Convert(block.data(), bytes, pcm.data(), outputSize, produced);
  }
  m_converter->Close();
  // A block that yields no whole sample cannot be read in whole blocks.
  const uint32_t perBlock = produced / m_outputBlock;
  if (!converted || perBlock == 0 || perBlock > INT32_MAX) {
    return false;
  }
  m_samplesPerAviSample = static_cast<int32_t>(perBlock);
  return true;
}

bool AviAudioReader::Read(uint32_t first, uint32_t count, uint8_t *destination, uint32_t &length) {
  const uint64_t wanted = static_cast<uint64_t>(count) * m_outputBlock;
  if (!IsUsable() || count == 0 || length < wanted || !Fill(first, count)) {
    return false;
  }
  // The stream may end before the range does: only what the cache holds
  // from first on is given.
  const uint64_t cachedEnd = static_cast<uint64_t>(m_cachedFirst) + m_cachedCount;
  if (first < m_cachedFirst || first >= cachedEnd) {
    return false;
  }
  const uint64_t available = (cachedEnd - first) * m_outputBlock;
  length = static_cast<uint32_t>(wanted < available ? wanted : available);
  const uint64_t from = static_cast<uint64_t>(first - m_cachedFirst) * m_outputBlock;
  std::copy(m_cache.begin() + static_cast<ptrdiff_t>(from), m_cache.begin() + static_cast<ptrdiff_t>(from + length),
            destination);
  return true;
}

bool AviAudioReader::Fill(uint32_t first, uint32_t count) {
  const uint64_t end = static_cast<uint64_t>(first) + count;
  if (m_cachedCount != 0 && first >= m_cachedFirst && end <= static_cast<uint64_t>(m_cachedFirst) + m_cachedCount) {
    return true;
  }
  // Whole AVI samples: a compressed block decodes only from its start.
  const uint32_t k = static_cast<uint32_t>(m_samplesPerAviSample);
  const uint32_t start = first / k * k;
  const uint64_t aviSamples = (end - start + k - 1) / k;
  if (aviSamples * k > UINT32_MAX) {
    return false;
  }
  m_cachedCount = 0;
  return m_compressed ? FillCompressed(start, static_cast<uint32_t>(aviSamples))
                      : FillPcm(start, static_cast<uint32_t>(aviSamples));
}

bool AviAudioReader::FillPcm(uint32_t start, uint32_t aviSamples) {
  if (!GrowCache(static_cast<uint64_t>(aviSamples) * m_outputBlock)) {
    return false;
  }
  uint32_t bytes = 0;
  uint32_t samples = 0;
  if (!m_stream.Read(start, aviSamples, m_cache.data(), static_cast<uint32_t>(m_cache.size()), bytes, samples)) {
    return false;
  }
  m_cachedFirst = start;
  m_cachedCount = static_cast<uint32_t>(std::min<uint64_t>(bytes, m_cache.size()) / m_outputBlock);
  return true;
}

bool AviAudioReader::FillCompressed(uint32_t start, uint32_t aviSamples) {
  const uint32_t k = static_cast<uint32_t>(m_samplesPerAviSample);
  if (!GrowCache(static_cast<uint64_t>(aviSamples) * k * m_outputBlock)) {
    return false;
  }
  uint32_t bytes = 0;
  uint32_t samples = 0;
  if (!m_stream.Read(start / k, aviSamples, nullptr, 0, bytes, samples) || bytes > kMaxCacheBytes) {
    return false;
  }
  std::vector<uint8_t> compressed(bytes);
  if (bytes == 0 || !m_stream.Read(start / k, aviSamples, compressed.data(), bytes, bytes, samples)) {
    return false;
  }
  // The conversion writes into the cache as it really is, never past it.
  uint32_t produced = 0;
  if (!m_converter->Convert(compressed.data(), bytes, m_cache.data(), static_cast<uint32_t>(m_cache.size()),
                            produced)) {
    return false;
  }
  m_cachedFirst = start;
  m_cachedCount = static_cast<uint32_t>(std::min<uint64_t>(produced, m_cache.size()) / m_outputBlock);
  return true;
}
