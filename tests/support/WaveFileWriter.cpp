#include "support/WaveFileWriter.h"

#include <cmath>

namespace {

void Append32(std::vector<uint8_t> &bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<uint8_t>(value >> shift));
}

void Append16(std::vector<uint8_t> &bytes, uint16_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void AppendId(std::vector<uint8_t> &bytes, const std::string &id) { bytes.insert(bytes.end(), id.begin(), id.end()); }

} // namespace

std::vector<uint8_t> WaveFileWriter::PcmFormat(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample) {
  const auto blockAlign = static_cast<uint16_t>(channels * bitsPerSample / 8);
  std::vector<uint8_t> body;
  Append16(body, 1);
  Append16(body, channels);
  Append32(body, samplesPerSecond);
  Append32(body, samplesPerSecond * blockAlign);
  Append16(body, blockAlign);
  Append16(body, bitsPerSample);
  return body;
}

std::vector<uint8_t> WaveFileWriter::File(const std::vector<Chunk> &chunks, int64_t riffLength) {
  std::vector<uint8_t> body;
  AppendId(body, "WAVE");
  for (const Chunk &chunk : chunks) {
    AppendId(body, chunk.id);
    Append32(body, static_cast<uint32_t>(chunk.body.size()));
    body.insert(body.end(), chunk.body.begin(), chunk.body.end());
    if (chunk.body.size() % 2)
      body.push_back(0);
  }
  std::vector<uint8_t> file;
  AppendId(file, "RIFF");
  Append32(file, riffLength >= 0 ? static_cast<uint32_t>(riffLength) : static_cast<uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

std::vector<uint8_t> WaveFileWriter::PcmFile(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample,
                                             const std::vector<uint8_t> &data) {
  return File({{"fmt ", PcmFormat(channels, samplesPerSecond, bitsPerSample)}, {"data", data}});
}

std::vector<uint8_t> WaveFileWriter::SineTone16(uint32_t samplesPerSecond, uint32_t frequency, uint32_t sampleCount,
                                                int16_t amplitude) {
  std::vector<uint8_t> data;
  const double step = 2.0 * 3.14159265358979323846 * frequency / samplesPerSecond;
  for (uint32_t index = 0; index < sampleCount; ++index)
    Append16(data, static_cast<uint16_t>(static_cast<int16_t>(std::lround(amplitude * std::sin(step * index)))));
  return data;
}
