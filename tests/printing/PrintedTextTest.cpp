#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/VORVariableList.h"
#include "model/VORChapter.h"
#include "model/VORFileKind.h"
#include "model/VORPageInstance.h"
#include "model/VORPageManager.h"
#include "model/VORPlayerPage.h"
#include "model/VORPublication.h"
#include "model/VORResourceManager.h"
#include "objects/VORExternalResourceObject.h"
#include "objects/VORText.h"
#include "printing/PrinterViewPictureMaker.h"
#include "support/FakeApp.h"
#include "support/FakeFileManager.h"
#include "support/FakeResourcePlatform.h"

namespace {

constexpr VORObjectCode kResourceCode(4, 0, 7);
constexpr int32_t kFileTextId = 1;
constexpr int32_t kFieldTextId = 2;

class KeepingPageManager : public VORPageManager {
public:
  bool LoadPage(VORPage & /*page*/) override { return true; }
  void RemovePage(VORPage & /*page*/) override {}
};

// An application with variables for the fields to show.
class VariablesApp : public FakeApp {
public:
  VORVariableList *GetVariables() override { return &variables; }
  VORVariableList variables;
};

VORPlayerText *NewText(int32_t id, const VORRect &rect, const std::string &rtf) {
  auto *text = new VORPlayerText(VORObjectCode::MakeClassKey(VORText::kCategory, VORText::kCode), id);
  text->GetGraphicalProperties().layoutRect = rect;
  text->SetRect(rect);
  text->GetTextProperties().rtfText = rtf;
  return text;
}

// The text a laid-out document shows, line after line.
std::string ShownText(VORText &text) {
  std::string shown;
  for (const TextLine &line : text.GetLines())
    for (const LineRun &run : line.runs)
      shown += run.text;
  return shown;
}

// A page composed for printing shows what the screen shows: a text fed by a
// file beside the publication shows the file's text, and a variable field
// shows the variable's value, not the field's own text.
TEST(PrintedTextTest, ThePrinterViewShowsTheFilesTextAndTheVariablesValue) {
  VariablesApp app;
  FakeFileManager files;
  FakeMachine machine;
  machine.SetFreeMemory(uint64_t{64} << 20);
  VORResourceManager resources(machine.MakePlatform());
  KeepingPageManager pages;
  app.SetResourceManager(&resources);
  app.SetFileManager(&files);
  app.SetPageManager(&pages);
  files.SetPublicationFolder("C:\\pub\\");
  const std::string story = "The text from the file";
  files.PutFile("C:\\pub\\story.txt", std::vector<uint8_t>(story.begin(), story.end()));
  app.variables.SetVariableValue(XQString("FLOWER"), XQString("Marigold"));

  VORPublication publication(VORPublication::kClassKey, -1);
  publication.GetPublicationProperties().flags = 0;
  auto *chapter = new VORChapter(VORChapter::kClassKey, 1);
  publication.InsertAfter(chapter, nullptr);
  auto *page = new VORPlayerPage(VORPlayerPage::kClassKey, 1);
  chapter->InsertAfter(page, nullptr);
  page->GetPageProperties().rect = VORRect(0, 0, 320, 240);
  app.SetPublication(&publication);

  VORPlayerText *fromFile = NewText(kFileTextId, VORRect(0, 0, 320, 100), "{\\rtf1 own}");
  fromFile->GetTextProperties().externalText = kResourceCode;
  auto *resource = new VORPlayerExternalResourceObject(VORExternalResourceObject::kClassKey, kResourceCode.id);
  resource->GetExternalResourceProperties().identifier =
      VORExternalResourceIdentifier(VORExternalResourceIdentifier::kPublicationFolder, "story.txt", VORFileKind::kText);
  fromFile->InsertAfter(resource, nullptr);
  VORPlayerText *field = NewText(kFieldTextId, VORRect(0, 120, 320, 200), "{\\rtf1 Flower: {\\id-1 [FLOWER]}}");
  VORPageInstance &master = page->GetMasterInstance();
  master.InsertAfter(fromFile, nullptr);
  master.InsertAfter(field, fromFile);
  page->GetMasterLayoutManager()->SetBounds(page->GetPageRect());

  PrinterViewPictureMaker maker(::GetModuleHandleA(nullptr));
  PagePicture picture;
  ASSERT_TRUE(maker.CapturePage(*page, picture));
  ASSERT_NE(maker.GetPrinterView(), nullptr);
  VORPageInstance *printed = maker.GetPrinterView()->GetPageInstance();
  ASSERT_NE(printed, nullptr);
  ASSERT_TRUE(printed->IsCopy());
  auto *printedFromFile = dynamic_cast<VORText *>(printed->ChildAt(0));
  auto *printedField = dynamic_cast<VORText *>(printed->ChildAt(1));
  ASSERT_NE(printedFromFile, nullptr);
  ASSERT_NE(printedField, nullptr);
  EXPECT_EQ(printedFromFile->GetText(), story + "\n");
  EXPECT_EQ(ShownText(*printedField), "Flower: Marigold\n");
  maker.ReleasePrinterView();
}

} // namespace
