#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "support/PublicationRecords.h"

// The demo publication that scripts/run plays: a few pages of different
// colours and sizes that follow each other on a timer, one of them larger
// than the window, a page with a gradient background and a rounded border
// casting a shadow, a page of borders in every style, a page whose short
// sound's end changes the page, a page to play with (buttons, a hotspot,
// drag and drop, a frame), a page of rich text with links and a scrollbar,
// and a chapter shown in a window of its own.
// It grows as the player learns to show more.
namespace DemoPublication {

PublicationRecords::Publication Make();

// The resource number the player shows as its cover at start-up.
constexpr int32_t kCoverResource = 1;
// The demo's cover picture in the internal format: 24 bits, kCoverWidth x
// kCoverHeight, its upper half kCoverTop and its lower half kCoverBottom
// (colours as 0x00BBGGRR), drawn by runs of packed blocks.
constexpr int32_t kCoverWidth = 240;
constexpr int32_t kCoverHeight = 120;
constexpr uint32_t kCoverTop = 0x002060C0;
constexpr uint32_t kCoverBottom = 0x00C0A020;
std::vector<uint8_t> Cover();

// The picture-file page: one image object a picture file beside the
// publication (JPEG, PCX, TGA, PNG, CGM and BMP), each picture its upper
// half one colour and its lower half another, in a 320 x 240 page.
struct PictureSpot {
  const char *fileName;
  int32_t left, top, width, height; // the image object on the page
  uint32_t topColour, bottomColour; // 0x00BBGGRR
};
const std::vector<PictureSpot> &PictureSpots();
PublicationRecords::Page PicturePage(uint32_t id, uint32_t next);
// The files the page names, by file name, to be written beside the
// publication.
std::map<std::string, std::vector<uint8_t>> PictureFiles();

// The page of 320 x 240 a person plays with (colours as 0x00BBGGRR):
// - a grey "next" button at kNextButton that goes to the page next when
//   clicked, drawn pressed while held, with a dark arrow block at kNextArrow
//   that moves two pixels right and down while it is pressed;
// - an ochre square whose hotspot lights the white lamp at kLamp while the
//   pointer is over it (kHover);
// - a draggable button at kDraggable and a dark target at kDropTarget: a
//   drop on the target shows the green mark at kDropMark, a drop anywhere
//   else glides back, also one on the brown target at kRefusingTarget,
//   which takes drops of other objects only;
// - a frame at kFrame whose two children, placed relative to its corner,
//   fill its left and right halves in ochre and white.
struct PlayArea {
  int32_t left, top, right, bottom;
};
constexpr PlayArea kNextButton{240, 190, 310, 230};
constexpr PlayArea kHover{20, 20, 80, 80};
constexpr PlayArea kLamp{100, 30, 140, 70};
constexpr PlayArea kDraggable{20, 150, 60, 190};
constexpr PlayArea kDropTarget{110, 120, 200, 210};
constexpr PlayArea kDropMark{210, 130, 230, 150};
constexpr PlayArea kFrame{210, 20, 310, 110};
constexpr PlayArea kNextArrow{270, 205, 280, 215};
constexpr PlayArea kRefusingTarget{10, 86, 90, 146};
constexpr uint32_t kPlayBackground = 0x00A05030;
constexpr uint32_t kLampColour = 0x00FFFFFF;
constexpr uint32_t kTargetColour = 0x00404040;
constexpr uint32_t kMarkColour = 0x0000C000;
constexpr uint32_t kRefusingColour = 0x00204080;
constexpr uint32_t kFrameLeftColour = 0x0020A0D0;
PublicationRecords::Page PlayPage(uint32_t id, uint32_t next);

// The page of 320 x 240 of rich text with links and a scrollbar (colours as
// 0x00BBGGRR), on white:
// - a text at kScrollText, longer than it shows, whose link "go on" goes to
//   the page next and whose link "the first page" to page 1;
// - a framed scrollbar at kScrollbar that scrolls the text: buttons
//   kScrollButton tall at its ends, the track between them in kTrackColour,
//   the thumb a grey button (face kThumbFace) whose height follows the
//   share of the text shown.
constexpr PlayArea kScrollText{20, 20, 270, 220};
constexpr PlayArea kScrollbar{276, 20, 296, 220};
constexpr int32_t kScrollButton = 18; // the width inside the frame
constexpr uint32_t kTrackColour = 0x00E0E0E0;
constexpr uint32_t kThumbFace = 0x00C0C0C0;
PublicationRecords::Page ScrollTextPage(uint32_t id, uint32_t next);
// The page that prints (320 x 240): four quarters of the colours below, a
// button at kPrintPageButton that prints the page on the default printer
// and one at kPrintTextButton that prints the text file kPrintTextFile
// beside the publication; it leads on to next after kPrintPageDelayMs.
constexpr PlayArea kPrintPageButton{40, 190, 150, 225};
constexpr PlayArea kPrintTextButton{170, 190, 280, 225};
constexpr uint32_t kPrintQuarterColours[4] = {0x002060E0, 0x0040C060, 0x00C04020, 0x0020C0E0};
constexpr const char *kPrintTextFile = "demo.txt";
constexpr int32_t kPrintPageDelayMs = 8000;
PublicationRecords::Page PrintPage(uint32_t id, uint32_t next);
// The text file the page prints: numbered lines, enough for several sheets.
std::string PrintText();
// The page of 320 x 240 that the print check prints without showing it: a
// text that takes its words (kPrintedFileText) from the file
// kPrintedTextFile beside the publication, and a text whose field shows
// the variable kPrintedVariable.
constexpr const char *kPrintedTextFile = "printed.txt";
constexpr const char *kPrintedFileText = "PAPER FROM A FILE";
constexpr const char *kPrintedVariable = "FLOWER";
constexpr int32_t kPrintedValue = 4711;
PublicationRecords::Page PrintedTextPage(uint32_t id);
// A publication of the print page (24-bit, its window at the screen's
// bottom-right corner) that prints the page firstDelayMs after it shows,
// the text file secondDelayMs after and the page of printed text, never
// shown, textPageDelayMs after, without anyone pressing its buttons; the
// print page sets the variable kPrintedVariable to kPrintedValue.
PublicationRecords::Publication PrintCheck(int32_t firstDelayMs, int32_t secondDelayMs, int32_t textPageDelayMs);
// The page of 320 x 240 to type on: the input field at kVisitorField (it
// takes the focus when shown, commits every change to the variable
// VISITOR and takes at most kVisitorMaxLength characters) over a white box,
// a greeting below it that shows the variable, and a line that reads along
// with the chime, word by word.
constexpr PlayArea kVisitorField{20, 60, 300, 90};
constexpr const char *kVisitorVariable = "VISITOR";
constexpr uint32_t kVisitorMaxLength = 24;
PublicationRecords::TextRecord VisitorField();
PublicationRecords::Page TextInputPage(uint32_t id, uint32_t next);

} // namespace DemoPublication
