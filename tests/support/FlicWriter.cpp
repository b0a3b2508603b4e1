#include "support/FlicWriter.h"

#include <stdexcept>

namespace FlicWriter {
namespace {

void PutWord(std::vector<uint8_t> &out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}
void PutDoubleWord(std::vector<uint8_t> &out, uint32_t value) {
  PutWord(out, static_cast<uint16_t>(value));
  PutWord(out, static_cast<uint16_t>(value >> 16));
}
void SetWord(std::vector<uint8_t> &out, size_t at, uint16_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}
void SetDoubleWord(std::vector<uint8_t> &out, size_t at, uint32_t value) {
  SetWord(out, at, static_cast<uint16_t>(value));
  SetWord(out, at + 2, static_cast<uint16_t>(value >> 16));
}

constexpr size_t kMaxLiteral = 127;
constexpr size_t kMaxRun = 127;

size_t RunLength(const uint8_t *row, size_t x, size_t width, size_t limit) {
  size_t n = 1;
  while (x + n < width && n < limit && row[x + n] == row[x]) {
    ++n;
  }
  return n;
}

// Rows are encoded as runs (count > 0 then the value) and literals
// (count < 0 then the bytes), as chunk 15 has them.
void ByteRunRow(std::vector<uint8_t> &out, const uint8_t *row, size_t width) {
  out.push_back(0); // packet count, ignored by readers
  size_t x = 0;
  while (x < width) {
    const size_t run = RunLength(row, x, width, kMaxRun);
    if (run >= 3) {
      out.push_back(static_cast<uint8_t>(run));
      out.push_back(row[x]);
      x += run;
      continue;
    }
    size_t literal = 0;
    while (x + literal < width && literal < kMaxLiteral && RunLength(row, x + literal, width, 3) < 3) {
      ++literal;
    }
    if (literal == 0) {
      literal = 1;
    }
    out.push_back(static_cast<uint8_t>(-static_cast<int32_t>(literal)));
    out.insert(out.end(), row + x, row + x + literal);
    x += literal;
  }
}

struct Segment {
  size_t skip;
  size_t start;
  size_t length;
};

// The changed stretches of a row in units of unit pixels, each with the
// unchanged units before it; skips above 255 are split by empty segments.
std::vector<Segment> Changes(const uint8_t *before, const uint8_t *after, size_t units, size_t unit) {
  auto same = [&](size_t u) {
    for (size_t i = 0; i < unit; ++i) {
      if (before[u * unit + i] != after[u * unit + i]) {
        return false;
      }
    }
    return true;
  };
  std::vector<Segment> segments;
  size_t u = 0;
  size_t last = 0;
  while (u < units) {
    if (same(u)) {
      ++u;
      continue;
    }
    size_t end = u;
    while (end < units && end - u < kMaxLiteral && !same(end)) {
      ++end;
    }
    size_t skip = (u - last) * unit;
    while (skip > 255) {
      segments.push_back({255, 0, 0});
      skip -= 255;
    }
    segments.push_back({skip, u, end - u});
    last = end;
    u = end;
  }
  return segments;
}

const uint8_t *Row(const Picture &picture, uint16_t width, size_t y) { return picture.data() + y * width; }

void Check(const Picture &picture, uint16_t width, uint16_t height) {
  if (picture.size() != static_cast<size_t>(width) * height) {
    throw std::invalid_argument("picture size differs from width x height");
  }
}

} // namespace

Chunk Raw(uint16_t type, std::vector<uint8_t> body) { return Chunk{type, std::move(body)}; }

Chunk Colors(uint16_t type, const std::vector<ColorPacket> &packets) {
  Chunk chunk{type, {}};
  PutWord(chunk.body, static_cast<uint16_t>(packets.size()));
  for (const ColorPacket &packet : packets) {
    chunk.body.push_back(packet.skip);
    chunk.body.push_back(static_cast<uint8_t>(packet.rgb.size() / 3)); // 256 wraps to 0
    chunk.body.insert(chunk.body.end(), packet.rgb.begin(), packet.rgb.end());
  }
  return chunk;
}

Chunk Black() { return Chunk{13, {}}; }

Chunk Copy(const Picture &picture) { return Chunk{16, picture}; }

Chunk ByteRun(const Picture &picture, uint16_t width, uint16_t height) {
  Check(picture, width, height);
  Chunk chunk{15, {}};
  for (size_t y = 0; y < height; ++y) {
    ByteRunRow(chunk.body, Row(picture, width, y), width);
  }
  return chunk;
}

Chunk LineDelta(const Picture &previous, const Picture &picture, uint16_t width, uint16_t height) {
  Check(previous, width, height);
  Check(picture, width, height);
  size_t first = 0;
  while (first < height && Changes(Row(previous, width, first), Row(picture, width, first), width, 1).empty()) {
    ++first;
  }
  size_t end = height;
  while (end > first && Changes(Row(previous, width, end - 1), Row(picture, width, end - 1), width, 1).empty()) {
    --end;
  }
  Chunk chunk{12, {}};
  PutWord(chunk.body, static_cast<uint16_t>(first == height ? 0 : first));
  PutWord(chunk.body, static_cast<uint16_t>(end - first));
  for (size_t y = first; y < end; ++y) {
    const uint8_t *after = Row(picture, width, y);
    const std::vector<Segment> segments = Changes(Row(previous, width, y), after, width, 1);
    if (segments.size() > 255) {
      throw std::invalid_argument("too many packets in a line");
    }
    chunk.body.push_back(static_cast<uint8_t>(segments.size()));
    for (const Segment &segment : segments) {
      chunk.body.push_back(static_cast<uint8_t>(segment.skip));
      const size_t run = segment.length > 0 ? RunLength(after, segment.start, segment.start + segment.length, 128) : 0;
      if (run == segment.length && run >= 3) {
        chunk.body.push_back(static_cast<uint8_t>(-static_cast<int32_t>(run)));
        chunk.body.push_back(after[segment.start]);
      } else {
        chunk.body.push_back(static_cast<uint8_t>(segment.length));
        chunk.body.insert(chunk.body.end(), after + segment.start, after + segment.start + segment.length);
      }
    }
  }
  return chunk;
}

Chunk WordDelta(const Picture &previous, const Picture &picture, uint16_t width, uint16_t height) {
  Check(previous, width, height);
  Check(picture, width, height);
  const size_t words = width / 2;
  const bool odd = width % 2 != 0;
  Chunk chunk{7, {}};
  PutWord(chunk.body, 0); // line count, set below
  uint16_t lines = 0;
  size_t skipped = 0;
  for (size_t y = 0; y < height; ++y) {
    const uint8_t *before = Row(previous, width, y);
    const uint8_t *after = Row(picture, width, y);
    const std::vector<Segment> segments = Changes(before, after, words, 2);
    const bool lastChanged = odd && before[width - 1] != after[width - 1];
    if (segments.empty() && !lastChanged) {
      ++skipped;
      continue;
    }
    if (skipped > 0) {
      PutWord(chunk.body, static_cast<uint16_t>(0x10000 - skipped));
      skipped = 0;
    }
    if (lastChanged) {
      PutWord(chunk.body, static_cast<uint16_t>(0x8000 | after[width - 1]));
    }
    PutWord(chunk.body, static_cast<uint16_t>(segments.size()));
    for (const Segment &segment : segments) {
      chunk.body.push_back(static_cast<uint8_t>(segment.skip));
      chunk.body.push_back(static_cast<uint8_t>(segment.length));
      chunk.body.insert(chunk.body.end(), after + segment.start * 2, after + (segment.start + segment.length) * 2);
    }
    ++lines;
  }
  SetWord(chunk.body, 0, lines);
  return chunk;
}

std::vector<uint8_t> Write(const Animation &animation) {
  const bool flc = animation.kind == Kind::kFlc;
  std::vector<uint8_t> out(128, 0);
  SetWord(out, 4, flc ? 0xAF12 : 0xAF11);
  SetWord(out, 6, static_cast<uint16_t>(animation.frames.size()));
  SetWord(out, 8, animation.width);
  SetWord(out, 10, animation.height);
  SetWord(out, 12, animation.depth);
  SetWord(out, 14, animation.flags);
  if (flc) {
    SetDoubleWord(out, 16, animation.speed);
  } else {
    SetWord(out, 16, static_cast<uint16_t>(animation.speed));
  }
  std::vector<const Frame *> frames;
  for (const Frame &frame : animation.frames) {
    frames.push_back(&frame);
  }
  if (animation.hasRingFrame) {
    frames.push_back(&animation.ringFrame);
  }
  for (size_t i = 0; i < frames.size(); ++i) {
    if (flc && i < 2) {
      SetDoubleWord(out, 80 + 4 * i, static_cast<uint32_t>(out.size()));
    }
    const size_t start = out.size();
    PutDoubleWord(out, 0);
    PutWord(out, 0xF1FA);
    PutWord(out, static_cast<uint16_t>(frames[i]->size()));
    out.resize(out.size() + 8, 0);
    for (const Chunk &chunk : *frames[i]) {
      // Chunks keep even sizes, as the tools write them.
      const size_t body = chunk.body.size() + chunk.body.size() % 2;
      PutDoubleWord(out, static_cast<uint32_t>(6 + body));
      PutWord(out, chunk.type);
      out.insert(out.end(), chunk.body.begin(), chunk.body.end());
      out.resize(out.size() + chunk.body.size() % 2, 0);
    }
    SetDoubleWord(out, start, static_cast<uint32_t>(out.size() - start));
  }
  SetDoubleWord(out, 0, static_cast<uint32_t>(out.size()));
  return out;
}

std::vector<uint8_t> Encode(Kind kind, uint16_t width, uint16_t height, uint32_t speed,
                            const std::vector<uint8_t> &paletteRgb, const std::vector<Picture> &pictures) {
  Animation animation;
  animation.kind = kind;
  animation.width = width;
  animation.height = height;
  animation.speed = speed;
  auto delta = [&](const Picture &before, const Picture &after) {
    return kind == Kind::kFli ? LineDelta(before, after, width, height) : WordDelta(before, after, width, height);
  };
  for (size_t i = 0; i < pictures.size(); ++i) {
    if (i == 0) {
      animation.frames.push_back({Colors(4, {ColorPacket{0, paletteRgb}}), ByteRun(pictures[0], width, height)});
    } else {
      animation.frames.push_back({delta(pictures[i - 1], pictures[i])});
    }
  }
  animation.hasRingFrame = !pictures.empty();
  if (animation.hasRingFrame) {
    animation.ringFrame = {delta(pictures.back(), pictures.front())};
  }
  return Write(animation);
}

} // namespace FlicWriter
