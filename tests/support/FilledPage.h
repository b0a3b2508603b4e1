#pragma once

#include <cstdint>

#include "support/PublicationRecords.h"

// A page of one colour filled by a background object (id 1) of that colour:
// the object, not only the page's colour, is what the page's picture and
// its transitions compose.
PublicationRecords::Page FilledPage(uint32_t id, uint32_t colour, int32_t width, int32_t height);
