// Seeds of the JPEG fuzzers, made with cjpeg from pictures of a few shapes
// with each of its encodings: baseline at several qualities, grey,
// progressive, arithmetic, restart intervals, the sampling factors,
// optimised tables. VOR_SEED_FORMAT "jpeg": each file behind the choice
// byte of the JPEG reader's target, once plain, once behind a picture
// description and once described only; "jpegfilter": the files as they are.
#include <string>
#include <vector>

#include "ToolSeeds.h"
#include "support/SeedCorpus.h"

int main(int argc, char **argv) {
  const std::string format = VOR_SEED_FORMAT;
  struct Shape {
    const char *name;
    int width;
    int height;
    int channels;
  } shapes[] = {{"square", 16, 16, 3}, {"odd", 33, 17, 3}, {"dot", 1, 1, 3}, {"strip", 64, 8, 3}, {"grey", 24, 24, 1}};
  struct Encoding {
    const char *name;
    const char *options;
  } encodings[] = {{"baseline", ""},
                   {"low", "-quality 5"},
                   {"high", "-quality 100"},
                   {"gray", "-grayscale"},
                   {"progressive", "-progressive"},
                   {"arithmetic", "-arithmetic"},
                   {"restart", "-restart 1B"},
                   {"sample11", "-sample 1x1"},
                   {"sample21", "-sample 2x1"},
                   {"optimize", "-optimize -smooth 30"},
                   {"float", "-dct float -quality 70"}};
  std::vector<SeedFile> seeds;
  for (const Shape &shape : shapes) {
    const std::vector<uint8_t> pixmap = Pixmap(shape.width, shape.height, shape.channels);
    for (const Encoding &encoding : encodings) {
      const std::vector<uint8_t> jpeg = RunTool(std::string("cjpeg ") + encoding.options, pixmap);
      if (jpeg.empty())
        continue;
      const std::string name = std::string(shape.name) + "-" + encoding.name;
      if (format != "jpeg") {
        seeds.emplace_back(name + ".jpg", jpeg);
        continue;
      }
      // The target's choice byte: bit 0 a picture description first, bit 1
      // describe only.
      for (const uint8_t choice : {0, 1, 2}) {
        std::vector<uint8_t> seed{choice};
        seed.insert(seed.end(), jpeg.begin(), jpeg.end());
        seeds.emplace_back(name + "-" + std::to_string(choice), seed);
      }
    }
  }
  return WriteSeedCorpus(argc, argv, seeds);
}
