#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An input a fuzzer crashed on, kept in the fuzz/ folder beside the test
// that replays it (file name as given there); the test program that calls
// this has its folder's inputs built in. Throws std::out_of_range for a name
// it does not hold.
std::vector<uint8_t> FuzzFixture(const std::string &name);
