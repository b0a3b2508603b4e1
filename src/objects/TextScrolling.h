#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "richtext/XQRichText.h"

// The platform-free arithmetic of the text object: which line a scroll
// offset stands on, where each scroll step goes, the pages of paged mode,
// the scrollbar's fractions, and how external and variable text is read.
namespace TextScrolling {

constexpr int32_t kNoLine = -1;

struct TopLine {
  int32_t index = 0;
  bool exact = false; // the offset is exactly the line's top
};

// The line whose top is at or above offset and whose next line's top is
// below it; (0, not exact) when offset is above the first line.
TopLine FindTopLine(const std::vector<TextLine> &lines, int32_t offset);

// The line each step scrolls to, or kNoLine when it cannot move.
int32_t LineUpTarget(const std::vector<TextLine> &lines, int32_t offset);
int32_t LineDownTarget(const std::vector<TextLine> &lines, int32_t offset);
int32_t PageUpTarget(const std::vector<TextLine> &lines, int32_t offset, int32_t visibleHeight);
int32_t PageDownTarget(const std::vector<TextLine> &lines, int32_t offset, int32_t visibleHeight);
int32_t ParagraphUpTarget(const std::vector<TextLine> &lines, int32_t offset);
int32_t ParagraphDownTarget(const std::vector<TextLine> &lines, int32_t offset);

// The scroll offset y kept within the text: 0 .. content + 2 x margin -
// object height (0 when the text is not taller than the object).
int32_t ClampOffset(int32_t y, int32_t contentHeight, int32_t marginY, int32_t objectHeight);

// The scrollbar's position (offset over the hidden part) and size (the
// visible part over the content). Text no taller than what shows has
// nothing hidden: position 0 and size 1, never a division by zero.
double PositionFraction(int32_t offset, int32_t contentHeight, int32_t visibleHeight);
double SizeFraction(int32_t contentHeight, int32_t visibleHeight);
// The offset a scrollbar position asks for, clamped to the hidden part.
int32_t OffsetForFraction(double fraction, int32_t contentHeight, int32_t visibleHeight);

// Paged mode: pages break at lines made only of a newline.
struct Pages {
  std::vector<int32_t> tops;
  std::vector<int32_t> heights;
};
Pages ComputePages(const std::vector<TextLine> &lines);

// Each CR LF, LF CR, lone CR and lone LF becomes one LF.
std::string NormalizeLineEnds(const std::string &text);

// How an external text resource is loaded, by its name's extension (case
// matters: only ".rtf" is RTF).
enum class ExternalTextKind { kRtf, kKeepOwnText, kPlain };
ExternalTextKind KindOfTextFile(const std::string &fileName);

// A variable field's run holds the variable's name between two bracket
// characters; false for a run too short to hold both.
bool VariableNameOfField(const std::string &runText, std::string &name);

} // namespace TextScrolling
