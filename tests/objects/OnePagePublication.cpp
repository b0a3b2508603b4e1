#include "OnePagePublication.h"

#include "model/VORChapter.h"
#include "support/FakeApp.h"

OnePagePublication::OnePagePublication(FakeApp &app, const VORRect &pageRect)
    : m_publication(VORPublication::kClassKey, -1) {
  m_publication.GetPublicationProperties().flags = 0;
  auto *chapter = new VORChapter(VORChapter::kClassKey, 1);
  m_publication.InsertAfter(chapter, nullptr);
  m_page = new VORPlayerPage(VORPlayerPage::kClassKey, 1);
  chapter->InsertAfter(m_page, nullptr);
  m_page->GetPageProperties().rect = pageRect;
  app.SetPublication(&m_publication);
}

OnePagePublication::~OnePagePublication() = default;
