#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "OnePagePublication.h"
#include "model/VORChapter.h"
#include "model/VORFileKind.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"
#include "model/VORPublication.h"
#include "model/VORResourceManager.h"
#include "objects/VORExternalResourceObject.h"
#include "objects/VORText.h"
#include "support/FakeApp.h"
#include "support/FakeFileManager.h"
#include "support/FakeResourcePlatform.h"
#include "support/HeadlessView.h"

namespace {

constexpr VORObjectCode kResourceCode(4, 0, 7);

// A text whose own words are "own" takes its text from a file beside the
// publication, named by a resource object of its page: as its child, or
// listed on the page after it (entering later than the text).
class TextExternalPage {
public:
  TextExternalPage() : m_publication(m_app, VORRect(0, 0, 400, 300)), m_view(1) {
    m_machine.SetFreeMemory(uint64_t{64} << 20);
    m_app.SetResourceManager(&m_resources);
    m_app.SetFileManager(&m_files);
    m_files.SetPublicationFolder("C:\\pub\\");
  }
  TextExternalPage(const TextExternalPage &) = delete;
  TextExternalPage &operator=(const TextExternalPage &) = delete;
  ~TextExternalPage() {
    if (m_shown)
      m_publication.Instance().Hide();
  }

  // Shows the page with the text and the resource naming fileName.
  // No bytes: no file.
  VORText &ShowWith(const std::string &fileName, const std::string &bytes, bool resourceAfterText = false) {
    if (!bytes.empty())
      m_files.PutFile("C:\\pub\\" + fileName, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    auto *text = new VORPlayerText(VORObjectCode::MakeClassKey(VORText::kCategory, VORText::kCode), 1);
    text->GetGraphicalProperties().layoutRect = VORRect(0, 0, 400, 200);
    text->SetRect(VORRect(0, 0, 400, 200));
    text->GetTextProperties().rtfText = "{\\rtf1 own}";
    text->GetTextProperties().externalText = kResourceCode;
    auto *resource = new VORPlayerExternalResourceObject(VORExternalResourceObject::kClassKey, kResourceCode.id);
    resource->GetExternalResourceProperties().identifier = VORExternalResourceIdentifier(
        VORExternalResourceIdentifier::kPublicationFolder, fileName.c_str(), VORFileKind::kText);
    VORPageInstance &instance = m_publication.Instance();
    instance.InsertAfter(text, nullptr);
    if (resourceAfterText)
      instance.InsertAfter(resource, text);
    else
      text->InsertAfter(resource, nullptr);
    instance.Show(m_view);
    m_view.ShowPageInstance(instance);
    m_shown = true;
    return *text;
  }

private:
  FakeApp m_app;
  FakeFileManager m_files;
  FakeMachine m_machine;
  VORResourceManager m_resources{m_machine.MakePlatform()};
  OnePagePublication m_publication;
  HeadlessView m_view;
  bool m_shown = false;
};

struct Case {
  const char *fileName;
  std::string bytes;
  std::string shown;
};

// Only a lower-case ".rtf" is read as RTF; ".doc" leaves the object's own
// text; anything else is plain text whose line ends, of any kind, make one
// line break each; the file's bytes end where the file does. (The document
// ends its last paragraph with a line break of its own.)
const Case kCases[] = {
    {"story.rtf", "{\\rtf1 Hello {\\b bold}}", "Hello bold\n"},
    {"STORY.RTF", "{\\rtf1 Hello}", "{\\rtf1 Hello}\n"},
    {"story.doc", "{\\rtf1 Hello}", "own\n"},
    {"story.txt", "one\r\ntwo\rthree\n\rfour\nfive", "one\ntwo\nthree\nfour\nfive\n"},
    {"notes", "abc", "abc\n"},
};

TEST(TextExternalTest, TheFileNamesExtensionSaysHowItIsRead) {
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.fileName);
    TextExternalPage page;
    VORText &text = page.ShowWith(c.fileName, c.bytes);
    EXPECT_EQ(text.GetText(), c.shown);
  }
}

TEST(TextExternalTest, CrLfLineEndsGiveNoEmptyLines) {
  TextExternalPage page;
  VORText &text = page.ShowWith("lines.txt", "first\r\nsecond\r\nthird");
  text.Layout();
  EXPECT_EQ(text.GetLineCount(), 3);
}

TEST(TextExternalTest, AResourceListedAfterTheTextIsReadAsWell) {
  TextExternalPage page;
  EXPECT_EQ(page.ShowWith("later.txt", "from the file", true).GetText(), "from the file\n");
}

TEST(TextExternalTest, AMissingFileLeavesTheOwnText) {
  TextExternalPage page;
  EXPECT_EQ(page.ShowWith("gone.txt", "").GetText(), "own\n");
}

} // namespace
