#include "support/TestPlayer.h"

#include <utility>

#include "model/VORPageInstance.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORResourceManager.h"
#include "support/FakeRecordFile.h"
#include "support/MemoryFile.h"
#include "support/TestPageObject.h"
#include "vorfile/VORCompiledFile.h"

TestPlayer::TestPlayer(VORClock &clock) : VORPlayer(clock) {}

TestPlayer::~TestPlayer() {
  CloseAllViews();
  DropPalette();
  m_publication.reset();
}

bool TestPlayer::Load(const PublicationRecords::Publication &publication) { return Load(publication.Bytes()); }

bool TestPlayer::Load(std::vector<uint8_t> bytes) {
  m_bytes = std::move(bytes);
  m_file = std::make_unique<PublicationFile>(
      VORExternalResourceIdentifier(VORExternalResourceIdentifier::kFullPath, "memory.vor"),
      [this](const VORExternalResourceIdentifier &) -> std::unique_ptr<VORFile> {
        if (!m_fileOpens)
          return nullptr;
        auto file = std::make_unique<VORCompiledFile>(std::make_unique<MemoryFile>(m_bytes, "memory.vor"));
        if (!file->Open(false, false))
          return nullptr;
        return file;
      });
  PublicationFileScope scope(*m_file);
  if (!scope.Open())
    return false;
  m_publication = VORPlayerPublication::LoadFromRoot(scope.GetFile());
  MakePalette();
  CreateEventQueue();
  return m_publication != nullptr;
}

void TestPlayer::UseResources(VORResourcePlatform platform) {
  m_resourceManager = std::make_unique<VORResourceManager>(std::move(platform));
}

VORString TestPlayer::AskPassword() {
  if (passwordAnswers.empty())
    return VORString();
  VORString answer(passwordAnswers.front().c_str());
  passwordAnswers.pop_front();
  return answer;
}

bool TestPlayer::RequestQuit() {
  ++quitRequests;
  return quitAnswer;
}

VORRunView *TestPlayer::MakeView(const VORObjectCode &identity, VORPage & /*page*/) {
  return makesViews ? new TestRunView(identity.id) : nullptr;
}

TestRunView *TestPlayer::View(int32_t id) const {
  return dynamic_cast<TestRunView *>(FindView(VORObjectCode(0, 3, id)));
}

VORObjectCode TestPlayer::ShownIn(int32_t viewId) const {
  TestRunView *view = View(viewId);
  return view && view->GetPageInstance() ? view->GetPageReference() : VORObjectCode::Zero();
}

bool TestPlayer::Goto(const VORObjectCode &page, const VORObjectCode &originView, const VORObjectCode &viewReference) {
  std::unique_ptr<VORPlayerGotoPageAction> action(VORPlayerGotoPageAction::Make(kGotoPage, page, viewReference));
  action->SetOriginObject(originView);
  return DispatchAction(*action);
}

namespace TestPublications {

PublicationRecords::Page Page(int32_t id, const std::vector<int32_t> &objects, uint32_t tag) {
  PublicationRecords::Page page(VORObjectKey{0, 4, static_cast<uint32_t>(id)});
  for (int32_t object : objects)
    page.objects.push_back(
        {VORObjectKey{TestPageObject::kCategory, TestPageObject::kCode, static_cast<uint32_t>(object)},
         RecordBytes().Uint32(tag).Take()});
  return page;
}

PublicationRecords::Chapter Chapter(int32_t id, const std::vector<PublicationRecords::Page> &pages) {
  PublicationRecords::Chapter chapter;
  chapter.reference = VORObjectKey{0, 2, static_cast<uint32_t>(id)};
  chapter.pages = pages;
  return chapter;
}

PublicationRecords::Publication Of(const std::vector<PublicationRecords::Chapter> &chapters) {
  PublicationRecords::Publication publication;
  publication.chapters = chapters;
  return publication;
}

} // namespace TestPublications

void TestPlayer::CloseViewWindow(HWND__ *window) {
  if (VORRunView *view = FindViewByWindow(window))
    CloseView(view);
}
