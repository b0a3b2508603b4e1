#pragma once

#include <cstdint>

// The runtime's atoi, without its undefined overflow: leading white space,
// an optional sign and the decimal digits that follow; a value beyond 32
// bits is clamped to the nearest 32-bit one. 0 for null or a text without
// digits. Publications compare and add numbers typed by their readers, who
// may type any number of digits.
int32_t XQAtoi(const char *text);
