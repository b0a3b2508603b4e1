#pragma once

#include "support/PublicationRecords.h"

// The demo publication that scripts/run plays: a few pages of different
// colours and sizes that follow each other on a timer, one of them larger
// than the window, a page with a gradient background and a rounded border
// casting a shadow, a page of borders in every style, and a chapter shown in
// a window of its own. It grows as
// the player learns to show more.
namespace DemoPublication {

PublicationRecords::Publication Make();

} // namespace DemoPublication
