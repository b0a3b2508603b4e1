// Writes the demo publication to the path given, and the picture files it
// names beside it: run at build time, so that scripts/run has something to
// play.
#include <cstdio>
#include <string>
#include <vector>

#include "support/DemoPublication.h"

namespace {

bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes) {
  std::FILE *file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::perror(path.c_str());
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::perror(path.c_str());
    return false;
  }
  return true;
}

} // namespace

int main(int argc, char **argv) {
  // --print-check: the publication that prints its page and text file on
  // its own, for the check of real printing.
  const bool printCheck = argc == 3 && std::string(argv[1]) == "--print-check";
  if (argc != 2 && !printCheck) {
    std::fprintf(stderr, "usage: %s [--print-check] demo.vor\n", argv[0]);
    return 2;
  }
  constexpr int32_t kPrintPageAfterMs = 4000, kPrintTextAfterMs = 8000, kPrintTextPageAfterMs = 6000;
  const std::string path = argv[argc - 1];
  const PublicationRecords::Publication publication =
      printCheck ? DemoPublication::PrintCheck(kPrintPageAfterMs, kPrintTextAfterMs, kPrintTextPageAfterMs)
                 : DemoPublication::Make();
  if (!WriteFile(path, publication.Bytes()))
    return 1;
  const size_t slash = path.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  for (const auto &file : DemoPublication::PictureFiles()) {
    if (!WriteFile(folder + file.first, file.second))
      return 1;
  }
  const std::string text = DemoPublication::PrintText();
  if (!WriteFile(folder + DemoPublication::kPrintTextFile, std::vector<uint8_t>(text.begin(), text.end())))
    return 1;
  const std::string printed = DemoPublication::kPrintedFileText;
  if (!WriteFile(folder + DemoPublication::kPrintedTextFile, std::vector<uint8_t>(printed.begin(), printed.end())))
    return 1;
  return 0;
}
