#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "engine/VORPlayer.h"
#include "model/PublicationFile.h"
#include "model/VORPlayerPublication.h"
#include "model/VORResourcePlatform.h"
#include "support/PublicationRecords.h"
#include "support/TestRunView.h"

// The engine for tests: a written publication read from memory (the page
// cache reads the pages' objects from the same bytes), views of the test
// kind, and quits and missing pages counted instead of acted on.
class TestPlayer : public VORPlayer {
public:
  explicit TestPlayer(VORClock &clock);
  // Closes the views, then lets the publication go.
  ~TestPlayer() override;

  // Loads the publication and makes the event queue; false when it does not
  // read.
  bool Load(const PublicationRecords::Publication &publication);
  // A publication file's bytes as they are (a fuzzer's input).
  bool Load(std::vector<uint8_t> bytes);
  // A resource manager on the platform given (which must outlive the player).
  void UseResources(VORResourcePlatform platform);
  // While false the publication file does not open: no page can load.
  void SetFileOpens(bool opens) { m_fileOpens = opens; }

  VORPublication *GetPublication() override { return m_publication.get(); }
  PublicationFile *GetPublicationFileId() override { return m_file.get(); }
  VORFileManager *GetFileManager() override { return fileManager; }
  VORString AskPassword() override;
  bool IsTrueColorDisplay() override { return true; }
  HINSTANCE__ *GetInstanceHandle() override { return nullptr; }
  bool RequestQuit() override;
  // The view whose window it is closes.
  void CloseViewWindow(HWND__ *window) override;
  void ReportMissingPage(const VORObjectCode &page) override { missingPages.push_back(page); }

  // The view with (0, 3, id), or null.
  TestRunView *View(int32_t id) const;
  TestRunView *MainView() const { return View(1); }
  // The reference of the page the view shows; (0, 0, 0) when none.
  VORObjectCode ShownIn(int32_t viewId) const;
  // Runs a go-to-page action aimed at the player through dispatch.
  bool Goto(const VORObjectCode &page, const VORObjectCode &originView = VORObjectCode::Zero(),
            const VORObjectCode &viewReference = VORObjectCode());

  int quitRequests = 0;
  bool quitAnswer = true;
  int wrongPasswordBoxes = 0;
  // None unless the test gives one.
  VORFileManager *fileManager = nullptr;
  // While false no view can be made.
  bool makesViews = true;
  std::deque<std::string> passwordAnswers;
  std::vector<VORObjectCode> missingPages;
  // A cover stands in for the program's window: shown now, counted when deleted.
  void ShowTestCover() {
    coverShown = true;
    NoteCoverShown();
  }
  bool coverShown = false;
  int coverDeletions = 0;

protected:
  VORRunView *MakeView(const VORObjectCode &identity, VORPage &page) override;
  void ShowWrongPassword() override { ++wrongPasswordBoxes; }
  bool HasCover() const override { return coverShown; }
  void DeleteCover() override {
    if (coverShown)
      ++coverDeletions;
    coverShown = false;
  }

private:
  std::vector<uint8_t> m_bytes;
  bool m_fileOpens = true;
  std::unique_ptr<PublicationFile> m_file;
  std::unique_ptr<VORPlayerPublication> m_publication;
};

// Publications for the engine's tests: pages carry test page objects.
namespace TestPublications {

// A page (0, 4, id) holding test objects (1, 0x7E01, object id), each with
// the tag given.
PublicationRecords::Page Page(int32_t id, const std::vector<int32_t> &objects = {}, uint32_t tag = 0);
// A chapter (0, 2, id) with these pages.
PublicationRecords::Chapter Chapter(int32_t id, const std::vector<PublicationRecords::Page> &pages);
PublicationRecords::Publication Of(const std::vector<PublicationRecords::Chapter> &chapters);

} // namespace TestPublications
