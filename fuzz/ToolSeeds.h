#pragma once

// What the seed programs share that make seeds with the system's own
// converters (cjpeg, netpbm): pictures as portable pixmaps, and a converter
// run over one of them. A converter that is not installed gives nothing;
// the seed program then writes only its other seeds.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A width x height picture of channels 1 (PGM) or 3 (PPM): a diagonal
// gradient with a band of noise, so that the converters have detail and
// flat areas both.
inline std::vector<uint8_t> Pixmap(int width, int height, int channels) {
  const std::string header =
      std::string(channels == 1 ? "P5" : "P6") + "\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  std::vector<uint8_t> bytes(header.begin(), header.end());
  uint32_t noise = 12345;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < channels; ++c) {
        noise = noise * 1103515245u + 12345u;
        const bool band = y % 8 < 2;
        bytes.push_back(static_cast<uint8_t>(band ? noise >> 24 : (x * 255 / (width > 1 ? width - 1 : 1) + c * 60 + y * 3)));
      }
  return bytes;
}

// The converter's output for the input on its standard input; empty when
// it fails or is not there.
inline std::vector<uint8_t> RunTool(const std::string &command, const std::vector<uint8_t> &input) {
  char inPath[] = "/tmp/vor-seed-in-XXXXXX";
  char outPath[] = "/tmp/vor-seed-out-XXXXXX";
  const int in = mkstemp(inPath);
  const int out = mkstemp(outPath);
  std::vector<uint8_t> result;
  if (in >= 0 && out >= 0) {
    close(out);
    const bool written = write(in, input.data(), input.size()) == static_cast<ssize_t>(input.size());
    close(in);
    const std::string line = "(" + command + ") < " + inPath + " > " + outPath + " 2>/dev/null";
    if (written && std::system(line.c_str()) == 0) {
      std::ifstream file(outPath, std::ios::binary);
      result.assign(std::istreambuf_iterator<char>(file), {});
    }
  }
  if (in >= 0)
    unlink(inPath);
  if (out >= 0)
    unlink(outPath);
  return result;
}
