#pragma once

#include <cstdint>
#include <string>

// The clipboard's plain text (CF_TEXT) for the text input fields. A
// clipboard that cannot be opened, or memory that cannot be had, answers
// false and changes nothing.
namespace TextClipboard {

bool PutText(const std::string &text);
// The clipboard's text up to its terminator, read no further than the
// clipboard's memory block reaches: another program's block need not hold
// a terminator.
bool GetText(std::string &text);
// The text of a block of size bytes: up to the first NUL or the end.
std::string TextOfBlock(const char *block, size_t size);

} // namespace TextClipboard
