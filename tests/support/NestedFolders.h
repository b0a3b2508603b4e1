#pragma once

#include <cstdint>
#include <vector>

// Folder items nested `depth` deep: each level the keyed folder of `key`
// holding `data` as its data item and then the next level. Written in one
// pass without recursion, so that it can go far deeper than any reader may.
std::vector<uint8_t> NestedFolders(uint32_t depth, const std::vector<uint8_t> &key, const std::vector<uint8_t> &data);
