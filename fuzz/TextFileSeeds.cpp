// Seeds of the text-file fuzzer: a file name, then its bytes, for each kind
// a name's extension gives and each way of ending lines.
#include <string>
#include <vector>

#include "FuzzBytes.h"
#include "support/SeedCorpus.h"

namespace {

SeedFile Seed(const char *seedName, const std::string &fileName, const std::string &text) {
  return {seedName, FuzzSeed()
                        .Put<uint8_t>(static_cast<uint8_t>(fileName.size()))
                        .Append(std::vector<uint8_t>(fileName.begin(), fileName.end()))
                        .Append(std::vector<uint8_t>(text.begin(), text.end()))
                        .Take()};
}

} // namespace

int main(int argc, char **argv) {
  std::string pages;
  for (int page = 0; page < 4; ++page)
    pages += "Page " + std::to_string(page) + " has a line long enough to wrap in a narrow frame\r\n\r\n";
  return WriteSeedCorpus(
      argc, argv,
      {Seed("crlf", "notes.txt", "one\r\ntwo\r\n\r\nthree"), Seed("lfcr", "notes.txt", "one\n\rtwo\n\r\n\rthree"),
       Seed("lone-cr", "notes", "one\rtwo\r\rthree\n"), Seed("mixed", "a.b.txt", "a\r\n\rb\n\n\r\rc\r\n"),
       Seed("pages", "[name].txt", pages), Seed("rtf", "letter.rtf", "{\\rtf1 Hello\\par\\b world\\b0\\par}"),
       Seed("upper-case-rtf", "LETTER.RTF", "{\\rtf1 plain after all}"), Seed("doc", "report.doc", "kept"),
       Seed("tabs", "t.txt", "a\tb\t\tc\r\n\t\r\n")});
}
