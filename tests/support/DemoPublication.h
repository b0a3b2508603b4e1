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
// drag and drop, a frame), and a chapter shown in a window of its own.
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
//   clicked, drawn pressed while held;
// - an ochre square whose hotspot lights the white lamp at kLamp while the
//   pointer is over it (kHover);
// - a draggable button at kDraggable and a dark target at kDropTarget: a
//   drop on the target shows the green mark at kDropMark, a drop anywhere
//   else glides back;
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
constexpr uint32_t kPlayBackground = 0x00A05030;
constexpr uint32_t kLampColour = 0x00FFFFFF;
constexpr uint32_t kTargetColour = 0x00404040;
constexpr uint32_t kMarkColour = 0x0000C000;
PublicationRecords::Page PlayPage(uint32_t id, uint32_t next);

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
