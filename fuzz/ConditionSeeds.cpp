// Seeds of the condition fuzzer: conditions of every operator, plain,
// negated and as expressions, with and without the flags byte, each with a
// variable value that makes it answer.
#include <string>
#include <vector>

#include "FuzzBytes.h"
#include "support/FakeRecordFile.h"
#include "support/SeedCorpus.h"

namespace {

struct Case {
  const char *name;
  bool withFlags;
  uint8_t op;
  uint8_t flags;
  const char *variable;
  const char *operand;
  const char *value;
};

std::vector<uint8_t> Input(const Case &c) {
  RecordBytes record;
  record.Byte(c.op);
  if (c.withFlags)
    record.Byte(c.flags);
  record.String(c.variable).String(c.operand);
  const std::string value = c.value;
  return FuzzSeed()
      .Put<uint8_t>(c.withFlags ? 1 : 0)
      .Put<uint16_t>(static_cast<uint16_t>(value.size()))
      .Append(std::vector<uint8_t>(value.begin(), value.end()))
      .Append(record.Take())
      .Take();
}

} // namespace

int main(int argc, char **argv) {
  const Case cases[] = {
      {"always", false, 0, 0, "v", "", "1"},
      {"never", false, 1, 0, "v", "", "1"},
      {"equal-numbers", false, 2, 0, "score", "007", "7"},
      {"not-equal-texts", true, 3, 0, "name", "ABC", "abd"},
      {"less", true, 4, 0, "v", "9", "10"},
      {"less-or-equal", true, 5, 1, "v", "x9", "10"},
      {"greater", true, 6, 0, "v", "-20", "-10"},
      {"greater-or-equal", true, 7, 1, "v", "12 apples", "12"},
      {"contains", true, 8, 0, "v", "ELL", "hello"},
      {"unknown-operator", true, 200, 0, "v", "a", "b"},
      {"expression", true, 0, 2, "(v + 2) * 3 > 10 and contains(toupper(v), \"5\")", "", "5"},
      {"expression-negated", true, 2, 3, "length(v) != 0 or not (v <= 2.5)", "x", ""},
  };
  std::vector<SeedFile> seeds;
  for (const Case &c : cases)
    seeds.emplace_back(c.name, Input(c));
  seeds.emplace_back("no-operator", FuzzSeed().Put<uint8_t>(1).Put<uint16_t>(0).Take());
  return WriteSeedCorpus(argc, argv, seeds);
}
