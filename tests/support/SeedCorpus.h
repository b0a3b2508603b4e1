#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The main routine of a seed-corpus program: writes each named file into the
// folder given as the only argument. Answers the process exit code.
using SeedFile = std::pair<std::string, std::vector<uint8_t>>;

int WriteSeedCorpus(int argc, char **argv, const std::vector<SeedFile> &files);
