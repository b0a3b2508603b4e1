// Writes the seed corpus of the BMP fuzzer: small files of every header,
// depth and encoding made with the test writer, and, where ImageMagick is
// installed, the files of the tests' corpus script.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/BmpFileWriter.h"
#include "support/SeedCorpus.h"

namespace {

using BmpFileWriter::Picture;

Picture Plain(int32_t width, int32_t height, uint16_t bits) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.bitCount = bits;
  if (bits <= 8)
    picture.colors = BmpFileWriter::GreyRamp(1u << bits);
  const int32_t rows = height < 0 ? -height : height;
  for (uint32_t i = 0; i < BmpFileWriter::Stride(width, bits) * static_cast<uint32_t>(rows); ++i)
    picture.pixels.push_back(static_cast<uint8_t>(i * 37 + 11));
  return picture;
}

std::vector<SeedFile> WriterSeeds() {
  std::vector<SeedFile> files;
  for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
    files.push_back({"plain" + std::to_string(bits) + ".bmp", BmpFileWriter::Write(Plain(5, 3, bits))});
    files.push_back({"topdown" + std::to_string(bits) + ".bmp", BmpFileWriter::Write(Plain(5, -3, bits))});
  }
  for (uint16_t bits : {1, 4, 8, 24}) {
    Picture core = Plain(5, 3, bits);
    core.coreHeader = true;
    files.push_back({"core" + std::to_string(bits) + ".bmp", BmpFileWriter::Write(core)});
  }
  Picture fewColors = Plain(5, 3, 8);
  fewColors.colorsUsed = 16;
  fewColors.colors.resize(16);
  files.push_back({"clrused16.bmp", BmpFileWriter::Write(fewColors)});

  Picture bits565 = Plain(5, 3, 16);
  bits565.compression = kCompressionBitFields;
  bits565.masks = {0xF800, 0x07E0, 0x001F};
  files.push_back({"bitfields565.bmp", BmpFileWriter::Write(bits565)});
  Picture bits32 = Plain(5, -3, 32);
  bits32.compression = kCompressionBitFields;
  bits32.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
  files.push_back({"bitfields1010.bmp", BmpFileWriter::Write(bits32)});

  std::vector<uint8_t> indices;
  for (uint32_t i = 0; i < 40 * 9; ++i)
    indices.push_back(static_cast<uint8_t>(i % 40 < 20 ? 3 : i * 7));
  Picture rle8 = Plain(40, 9, 8);
  rle8.compression = 1;
  rle8.pixels = BmpFileWriter::EncodeRle8(indices, 40, 9);
  files.push_back({"rle8.bmp", BmpFileWriter::Write(rle8)});
  rle8.pixels.insert(rle8.pixels.end() - 2, {0, 2, 3, 1, 5, 9});
  files.push_back({"rle8delta.bmp", BmpFileWriter::Write(rle8)});
  Picture rle4 = Plain(8, 2, 4);
  rle4.compression = 2;
  rle4.pixels = {5, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 5, 0x67, 0x89, 0xA0, 0, 0, 2, 1, 0, 2, 0x77, 0, 1};
  files.push_back({"rle4.bmp", BmpFileWriter::Write(rle4)});
  return files;
}

// The tests' corpus script writes its files into a folder of its own; its
// BMP files join the seeds.
void AddToolSeeds(std::vector<SeedFile> &files) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("vor-bmp-seeds-" + std::to_string(std::rand()));
  const std::string command =
      std::string("'") + VOR_ROOT + "/tests/images/make-bmp-corpus' '" + folder.string() + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) == 0) {
    for (const fs::directory_entry &entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() != ".bmp")
        continue;
      std::ifstream in(entry.path(), std::ios::binary);
      files.push_back({"tool-" + entry.path().filename().string(),
                       std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
    }
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

} // namespace

int main(int argc, char **argv) {
  std::vector<SeedFile> files = WriterSeeds();
  AddToolSeeds(files);
  return WriteSeedCorpus(argc, argv, files);
}
