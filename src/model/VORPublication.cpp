#include "model/VORPublication.h"

#include "model/VORApp.h"
#include "model/VORChapter.h"
#include "vorfile/SectionGuard.h"
#include "vorfile/VORRecordFields.h"

namespace {

// Every page of the publication, chapter by chapter, in order.
std::vector<VORRecursiveObjectContainer *> PagesInOrder(const VORRecursiveObjectContainer &publication) {
  std::vector<VORRecursiveObjectContainer *> pages;
  for (uint32_t c = 0; VORRecursiveObjectContainer *child = publication.ChildAt(c); ++c) {
    auto *chapter = dynamic_cast<VORChapter *>(child);
    if (!chapter)
      continue;
    for (uint32_t p = 0; VORRecursiveObjectContainer *page = chapter->ChildAt(p); ++p)
      pages.push_back(page);
  }
  return pages;
}

// The position of the page with that reference among pages; pages.size()
// when absent.
size_t IndexOfPage(const std::vector<VORRecursiveObjectContainer *> &pages, const VORObjectCode &reference) {
  size_t index = 0;
  while (index < pages.size() && !VORChapter::ReferenceOf(pages[index]).Equals(reference))
    ++index;
  return index;
}

VORChapter *FirstChapter(const VORRecursiveObjectContainer &publication) {
  for (uint32_t c = 0; VORRecursiveObjectContainer *child = publication.ChildAt(c); ++c)
    if (auto *chapter = dynamic_cast<VORChapter *>(child))
      return chapter;
  return nullptr;
}

} // namespace

VORPublication::VORPublicationProperties::VORPublicationProperties() = default;

VORPublication::VORPublicationProperties::VORPublicationProperties(const VORPublicationProperties &other)
    : VORObjectProperties(other) {
  CopyFields(other);
}

VORPublication::VORPublicationProperties::~VORPublicationProperties() = default;

void VORPublication::VORPublicationProperties::Read(VORFile &file) {
  using namespace VORRecordFields;
  SectionGuard section(file);
  section.Open(nullptr, 0, false, false, true);
  titleBar = ReadByte(file);
  title.Read(file);
  border = ReadInt32(file);
  x = ReadInt32(file);
  y = ReadInt32(file);
  width = ReadInt32(file);
  height = ReadInt32(file);
  changeDisplayMode = ReadByte(file);
  fullScreen = ReadByte(file);
  windowStyle = ReadUint32(file);
  ReadOptionalFields(file);
}

void VORPublication::VORPublicationProperties::ReadOptionalFields(VORFile &file) {
  using namespace VORRecordFields;
  flags = ReadOr<uint32_t>(file, 0);
  inactivityTimeout = ReadOr<int32_t>(file, kDefaultTimeoutSeconds);
  timeoutPage = ReadOr<VORObjectCode>(file, VORObjectCode::Zero());
  closingPage = ReadOr<VORObjectCode>(file, VORObjectCode::Zero());
  closingDelay = ReadOr<int32_t>(file, kDefaultClosingDelaySeconds);
  exitPassword = ReadOr<VORString>(file, VORString());
  displayMode = ReadOr<uint8_t>(file, 0);
  firstResource = ReadOr<VORExternalResourceIdentifier>(file, VORExternalResourceIdentifier());
  secondResource = ReadOr<VORExternalResourceIdentifier>(file, VORExternalResourceIdentifier());
  backgroundColor = ReadOr<uint32_t>(file, 0);
  characterSet = ReadOr<int16_t>(file, 0);
  passwordsOn = ReadOr<uint8_t>(file, 0);
  if (passwordsOn)
    ReadPasswordFields(file);
}

void VORPublication::VORPublicationProperties::ReadPasswordFields(VORFile &file) {
  using namespace VORRecordFields;
  try {
    passwords.Read(file);
  } catch (VORFileNonFatalException &) {
    passwords.Clear();
  }
  refusedChapterPage = ReadOr<VORObjectCode>(file, VORObjectCode::Zero());
  askUser = ReadOr<uint8_t>(file, 1);
}

VORObjectProperties *VORPublication::VORPublicationProperties::Clone() const {
  return new VORPublicationProperties(*this);
}

void VORPublication::VORPublicationProperties::Assign(const VORObjectProperties &other) {
  const auto *source = dynamic_cast<const VORPublicationProperties *>(&other);
  if (source && source != this)
    CopyFields(*source);
}

void VORPublication::VORPublicationProperties::CopyFields(const VORPublicationProperties &other) {
  const VORPublicationProperties *source = &other;
  titleBar = source->titleBar;
  title = source->title;
  border = source->border;
  x = source->x;
  y = source->y;
  width = source->width;
  height = source->height;
  changeDisplayMode = source->changeDisplayMode;
  fullScreen = source->fullScreen;
  windowStyle = source->windowStyle;
  flags = source->flags;
  inactivityTimeout = source->inactivityTimeout;
  timeoutPage = source->timeoutPage;
  closingPage = source->closingPage;
  closingDelay = source->closingDelay;
  exitPassword = source->exitPassword;
  displayMode = source->displayMode;
  firstResource = source->firstResource;
  secondResource = source->secondResource;
  backgroundColor = source->backgroundColor;
  characterSet = source->characterSet;
  passwordsOn = source->passwordsOn;
  passwords.CopyFrom(source->passwords);
  refusedChapterPage = source->refusedChapterPage;
  askUser = source->askUser;
}

VORPublication::VORPublication(uint32_t classKey, int32_t id) : VORActionReceiver(classKey, id) {
  Register();
  AddReference();
}

VORPublication::~VORPublication() {
  Unregister();
  DeleteChildren();
}

bool VORPublication::AcceptsChild(uint32_t classKey) const { return classKey == VORChapter::kClassKey; }

bool VORPublication::ReceiveAction(VORObjectAction &action, ActionContext &context) {
  if (m_launchManager && m_launchManager->ReceiveAction(action, context))
    return true;
  return m_bookmarks && m_bookmarks->ReceiveAction(action, context);
}

bool VORPublication::FindPage(const VORObjectCode &reference, VORRecursiveObjectContainer *&page) {
  const std::vector<VORRecursiveObjectContainer *> pages = PagesInOrder(*this);
  const size_t index = IndexOfPage(pages, reference);
  if (index == pages.size())
    return false;
  page = pages[index];
  return true;
}

bool VORPublication::FindNextPage(const VORObjectCode &reference, VORRecursiveObjectContainer *&page) {
  const std::vector<VORRecursiveObjectContainer *> pages = PagesInOrder(*this);
  const size_t index = IndexOfPage(pages, reference);
  if (index + 1 >= pages.size())
    return false;
  page = pages[index + 1];
  return true;
}

bool VORPublication::FindPreviousPage(const VORObjectCode &reference, VORRecursiveObjectContainer *&page) {
  const std::vector<VORRecursiveObjectContainer *> pages = PagesInOrder(*this);
  const size_t index = IndexOfPage(pages, reference);
  if (index == 0 || index == pages.size())
    return false;
  page = pages[index - 1];
  return true;
}

VORChapter *VORPublication::FindChapterOf(const VORObjectCode &pageReference) {
  for (uint32_t c = 0; VORRecursiveObjectContainer *child = ChildAt(c); ++c) {
    auto *chapter = dynamic_cast<VORChapter *>(child);
    if (chapter && chapter->FindChild(pageReference))
      return chapter;
  }
  return nullptr;
}

VORObjectCode VORPublication::GetStartPage() {
  VORChapter *chapter = FirstChapter(*this);
  VORRecursiveObjectContainer *page = chapter ? chapter->ChildAt(0) : nullptr;
  return page ? VORChapter::ReferenceOf(page) : VORObjectCode::Zero();
}

VORObjectCode VORPublication::GetFirstChapter() {
  VORChapter *chapter = FirstChapter(*this);
  return chapter ? chapter->GetObjectCode() : VORObjectCode::Zero();
}

bool VORPublication::CheckChapterAccess(const VORObjectCode &chapter) {
  if (!m_properties.passwordsOn)
    return true;
  VORApp *app = VORApp::Get();
  const XQString given = app ? app->GetVariableValue(kChapterPasswordVariable) : XQString();
  if (m_properties.passwords.CheckAccess(given.CStr(), chapter))
    return true;
  if (m_properties.askUser != 1 || !app)
    return false;
  const VORString typed = app->AskPassword();
  if (typed.IsEmpty() || !m_properties.passwords.CheckAccess(typed.CStr(), chapter))
    return false;
  app->SetVariableValue(kChapterPasswordVariable, typed);
  return true;
}

uint32_t VORPublication::GetWindowStyle() const { return m_properties.fullScreen ? 0 : m_properties.windowStyle; }

void VORPublication::GetTitle(XQString &title, uint8_t &titleBar) const {
  title = m_properties.title;
  titleBar = m_properties.titleBar;
}

VORWindowRect VORPublication::GetWindowRect(const VORWindowMetrics &metrics) const {
  if (m_properties.fullScreen) {
    VORWindowRect screen;
    screen.width = metrics.screenWidth;
    screen.height = metrics.screenHeight;
    return screen;
  }
  VORWindowPlacement placement;
  placement.clientWidth = m_properties.width;
  placement.clientHeight = m_properties.height;
  placement.border = m_properties.border;
  placement.titleBar = m_properties.titleBar != 0;
  placement.xPercent = m_properties.x;
  placement.yPercent = m_properties.y;
  // A thin border without a caption is the one-pixel border; every other
  // framed window has the sizing frame's width on all four sides.
  int32_t frame = metrics.frameWidth;
  if (m_properties.border == VORWindowPlacement::kThinBorder && !m_properties.titleBar)
    frame = metrics.borderWidth;
  return placement.Place(metrics, frame, frame);
}

void VORPublication::LoadPageObjects(VORFile &file, const VORObjectCode &chapter,
                                     const std::function<void(VORFile &)> &readObjects) {
  SectionGuard publicationSection(file);
  publicationSection.Open(GetObjectCode().ToKey(), VORObjectCode::kClassKeySize, false, false, true);
  SectionGuard chapterSection(file);
  chapterSection.Open(chapter.ToKey(), VORObjectCode::kSize, false, false, false);
  readObjects(file);
}
