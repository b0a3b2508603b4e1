#include "support/FilledPage.h"

PublicationRecords::Page FilledPage(uint32_t id, uint32_t colour, int32_t width, int32_t height) {
  PublicationRecords::Page page = PublicationRecords::ColouredPage(id, colour, width, height);
  PublicationRecords::BackgroundRecord fill;
  fill.graphical.right = width;
  fill.graphical.bottom = height;
  fill.fillKind = 1;
  fill.colour1 = colour;
  page.objects.push_back(PublicationRecords::BackgroundObject(1, fill));
  return page;
}
