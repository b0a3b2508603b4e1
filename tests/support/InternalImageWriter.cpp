#include "support/InternalImageWriter.h"

#include <stdexcept>

namespace InternalImageWriter {

namespace {

void Put16(std::vector<uint8_t> &out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t> &out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void PutTag(std::vector<uint8_t> &out, const std::string &tag) {
  if (tag.size() != 4)
    throw std::invalid_argument("a tag has four characters");
  out.insert(out.end(), tag.begin(), tag.end());
}

void PutValue(std::vector<uint8_t> &out, uint32_t value, uint32_t bytesPerPixel) {
  for (uint32_t i = 0; i < bytesPerPixel; ++i)
    out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t IndexBits(size_t paletteSize) {
  uint32_t bits = 0;
  while ((size_t{1} << bits) < paletteSize)
    ++bits;
  return bits;
}

std::vector<uint8_t> PartBytes(const Part &part) {
  std::vector<uint8_t> out;
  PutTag(out, part.tag);
  Put32(out, part.length.value_or(static_cast<uint32_t>(8 + part.pixels.size())));
  Put16(out, static_cast<uint16_t>(part.left));
  Put16(out, static_cast<uint16_t>(part.top));
  Put16(out, static_cast<uint16_t>(part.right));
  Put16(out, static_cast<uint16_t>(part.bottom));
  out.insert(out.end(), part.pixels.begin(), part.pixels.end());
  return out;
}

std::vector<uint8_t> FrameBytes(const Frame &frame) {
  std::vector<uint8_t> parts;
  for (const Part &part : frame.parts) {
    const std::vector<uint8_t> bytes = PartBytes(part);
    parts.insert(parts.end(), bytes.begin(), bytes.end());
  }
  std::vector<uint8_t> out;
  PutTag(out, "FRAM");
  Put32(out, frame.frameLength.value_or(static_cast<uint32_t>(16 + parts.size())));
  PutTag(out, "FHDR");
  Put32(out, frame.frameHeaderLength);
  Put32(out, frame.partCount.value_or(static_cast<uint32_t>(frame.parts.size())));
  Put32(out, static_cast<uint32_t>(frame.time));
  out.insert(out.end(), parts.begin(), parts.end());
  return out;
}

} // namespace

std::vector<uint32_t> GreyishTable(uint32_t entries) {
  std::vector<uint32_t> table;
  for (uint32_t i = 0; i < entries; ++i) {
    const uint32_t red = i & 0xFF, green = (255 - i) & 0xFF, blue = (i * 3) & 0xFF;
    table.push_back(blue | green << 8 | red << 16);
  }
  return table;
}

std::vector<uint8_t> Picture::Bytes() const {
  std::vector<uint8_t> header;
  Put32(header, frameCount.value_or(static_cast<uint32_t>(frames.size())));
  Put32(header, timing);
  // The 40-byte DIB header.
  Put32(header, 40);
  Put32(header, static_cast<uint32_t>(width));
  Put32(header, static_cast<uint32_t>(height));
  Put16(header, 1);
  Put16(header, depth);
  Put32(header, 0); // compression
  Put32(header, 0); // image size
  Put32(header, 0);
  Put32(header, 0);
  Put32(header, coloursUsed);
  Put32(header, 0);
  for (uint32_t colour : colours)
    Put32(header, colour);

  std::vector<uint8_t> framesBytes;
  std::vector<uint32_t> offsets;
  for (const Frame &frame : frames) {
    offsets.push_back(static_cast<uint32_t>(framesBytes.size()));
    const std::vector<uint8_t> bytes = FrameBytes(frame);
    framesBytes.insert(framesBytes.end(), bytes.begin(), bytes.end());
  }
  offsets.push_back(static_cast<uint32_t>(framesBytes.size()));
  if (index)
    offsets = *index;
  for (size_t i = 0; i < offsets.size() && i < indexFlags.size(); ++i)
    offsets[i] |= indexFlags[i];

  std::vector<uint8_t> body;
  PutTag(body, "HDR ");
  Put32(body, headerLength.value_or(static_cast<uint32_t>(header.size())));
  body.insert(body.end(), header.begin(), header.end());
  PutTag(body, "INDX");
  Put32(body, static_cast<uint32_t>(offsets.size() * 4));
  for (uint32_t offset : offsets)
    Put32(body, offset);
  body.insert(body.end(), framesBytes.begin(), framesBytes.end());

  std::vector<uint8_t> out;
  PutTag(out, "VORI");
  Put32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::vector<uint8_t> PackedPixels(const std::vector<Block> &blocks, uint32_t bytesPerPixel) {
  std::vector<uint8_t> out;
  for (const Block &block : blocks) {
    Put16(out, block.count);
    out.push_back(static_cast<uint8_t>(block.palette.size()));
    for (uint32_t value : block.palette)
      PutValue(out, value, bytesPerPixel);
    if (block.palette.empty()) {
      for (uint32_t value : block.values)
        PutValue(out, value, bytesPerPixel);
    } else if (block.palette.size() >= 2) {
      const uint32_t bits = IndexBits(block.palette.size());
      uint32_t accumulator = 0;
      uint32_t filled = 0;
      for (uint32_t index : block.values) {
        accumulator = accumulator << bits | index;
        filled += bits;
        while (filled >= 8) {
          out.push_back(static_cast<uint8_t>(accumulator >> (filled - 8)));
          filled -= 8;
        }
      }
      if (filled > 0)
        out.push_back(static_cast<uint8_t>(accumulator << (8 - filled)));
    }
  }
  return out;
}

Part RawPart(int16_t left, int16_t top, int16_t right, int16_t bottom, std::vector<uint8_t> pixels) {
  Part part;
  part.tag = "BMP ";
  part.left = left;
  part.top = top;
  part.right = right;
  part.bottom = bottom;
  part.pixels = std::move(pixels);
  return part;
}

Part PackedPart(int16_t left, int16_t top, int16_t right, int16_t bottom, const std::vector<Block> &blocks,
                uint32_t bytesPerPixel) {
  Part part = RawPart(left, top, right, bottom, PackedPixels(blocks, bytesPerPixel));
  part.tag = "BMPC";
  return part;
}

} // namespace InternalImageWriter
