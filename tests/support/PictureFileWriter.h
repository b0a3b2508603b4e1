#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes small picture files of every format the full player reads, each a
// picture of two colours: its upper half one colour, its lower half
// another. The files are what real tools write (PCX 8 bits with its end
// palette, TGA 24 bits stored bottom-up, PNG 24 bits with stored deflate
// blocks, baseline JPEG, binary CGM, BMP 24 bits), so that a test or the
// demo can show them and look at the colours.
namespace PictureFileWriter {

// Colours as 0x00BBGGRR. Width and height are multiples of 16, so that each
// half is whole JPEG blocks.
struct TwoColours {
  int32_t width = 64;
  int32_t height = 48;
  uint32_t top = 0;
  uint32_t bottom = 0;
};

std::vector<uint8_t> Pcx(const TwoColours &picture);
std::vector<uint8_t> Tga(const TwoColours &picture);
std::vector<uint8_t> Png(const TwoColours &picture);
// The colours come back within a step or two of rounding.
std::vector<uint8_t> Jpeg(const TwoColours &picture);
// Two filled rectangles.
std::vector<uint8_t> Cgm(const TwoColours &picture);
std::vector<uint8_t> Bmp(const TwoColours &picture);

// One file of the format an extension names ("pcx", "tga", "png", "jpg",
// "cgm", "bmp").
std::vector<uint8_t> Write(const std::string &extension, const TwoColours &picture);

} // namespace PictureFileWriter
