// Seeds for the import filters' fuzz targets: the real corpus files of one
// format from the packages scripts/setup installs (for inflate: the image
// data of the PNG files; for PCX: pictures netpbm's ppmtopcx writes in each
// of its layouts), and a few small hand-made files.
#include <dirent.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ToolSeeds.h"
#include "support/SeedCorpus.h"

namespace {

std::vector<uint8_t> Bytes(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

void AddFolder(std::vector<SeedFile> &seeds, const std::string &folder, const std::string &extension) {
  DIR *dir = opendir(folder.c_str());
  if (dir == nullptr)
    return;
  while (dirent *entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() > extension.size() &&
        name.compare(name.size() - extension.size(), extension.size(), extension) == 0)
      seeds.emplace_back(name, Bytes(folder + "/" + name));
  }
  closedir(dir);
}

// The zlib stream of a PNG file: its IDAT chunks' data joined.
std::vector<uint8_t> ImageData(const std::vector<uint8_t> &png) {
  std::vector<uint8_t> data;
  for (size_t at = 8; at + 8 <= png.size();) {
    const uint32_t length = uint32_t{png[at]} << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
    if (length > png.size() - at - 8)
      break;
    if (std::string(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8) == "IDAT")
      data.insert(data.end(), png.begin() + static_cast<long>(at) + 8,
                  png.begin() + static_cast<long>(at + 8 + length));
    at += 12 + size_t{length};
  }
  return data;
}

// ppmtopcx's layouts: 24 bits in three planes, 8 bits with the palette at
// the end, 1 to 4 planes of one bit, packed pixels of 1, 2 and 4 bits, the
// standard palette, and odd widths that pad every line.
void AddNetpbmPcx(std::vector<SeedFile> &seeds) {
  struct Layout {
    const char *name;
    const char *command;
    int width;
    int height;
  } layouts[] = {{"24bit", "ppmtopcx -24bit", 13, 7},
                 {"8bit", "pnmquant 200 | ppmtopcx -8bit", 17, 9},
                 {"planes1", "pnmquant 2 | ppmtopcx -planes 1", 21, 5},
                 {"planes2", "pnmquant 4 | ppmtopcx -planes 2", 9, 6},
                 {"planes3", "pnmquant 8 | ppmtopcx -planes 3", 10, 4},
                 {"planes4", "pnmquant 16 | ppmtopcx -planes 4", 15, 8},
                 {"packed2", "pnmquant 4 | ppmtopcx -packed", 11, 3},
                 {"packed4", "pnmquant 16 | ppmtopcx -packed", 7, 7},
                 {"packed1", "pnmquant 2 | ppmtopcx -packed", 19, 6},
                 {"offset", "pnmquant 200 | ppmtopcx -xpos 5 -ypos 9", 6, 5},
                 {"wide", "ppmtopcx", 300, 2}};
  for (const Layout &layout : layouts) {
    const std::vector<uint8_t> pcx = RunTool(layout.command, Pixmap(layout.width, layout.height, 3));
    if (!pcx.empty())
      seeds.emplace_back(std::string("netpbm-") + layout.name + ".pcx", pcx);
  }
}

} // namespace

int main(int argc, char **argv) {
  const std::string format = VOR_SEED_FORMAT;
  const std::string go = "/usr/share/go-1.19/src/image/png/testdata";
  const std::string pixbuf = "/usr/libexec/installed-tests/gdk-pixbuf/test-images";
  std::vector<SeedFile> seeds;
  if (format == "png" || format == "inflate") {
    AddFolder(seeds, go + "/pngsuite", ".png");
    AddFolder(seeds, go, ".png");
  }
  if (format == "inflate")
    for (SeedFile &seed : seeds)
      seed.second = ImageData(seed.second);
  if (format == "tga") {
    AddFolder(seeds, pixbuf + "/reftests/tga", ".tga");
    AddFolder(seeds, pixbuf + "/reftests", ".tga");
    AddFolder(seeds, pixbuf + "/fail", ".tga");
  }
  if (format == "pcx") {
    // A 4 x 2 8-bit picture: the header, two run-length lines, the palette.
    std::vector<uint8_t> pcx(128, 0);
    pcx[0] = 10;
    pcx[1] = 5;
    pcx[2] = 1;
    pcx[3] = 8;
    pcx[8] = 3;
    pcx[10] = 1;
    pcx[65] = 1;
    pcx[66] = 4;
    pcx.insert(pcx.end(), {0xC4, 7, 1, 2, 0xC2, 3});
    pcx.push_back(12);
    for (int i = 0; i < 768; ++i)
      pcx.push_back(static_cast<uint8_t>(i));
    seeds.emplace_back("small8.pcx", pcx);
    std::vector<uint8_t> ega = pcx;
    ega[3] = 1;
    ega[65] = 4;
    ega[66] = 2;
    ega.resize(128);
    ega.insert(ega.end(), {0xC8, 0xF0, 0xC8, 0x0F});
    seeds.emplace_back("ega.pcx", ega);
    AddNetpbmPcx(seeds);
  }
  return WriteSeedCorpus(argc, argv, seeds);
}
