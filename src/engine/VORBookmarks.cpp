#include "engine/VORBookmarks.h"

#include <algorithm>
#include <utility>

#include "engine/BookmarkFile.h"
#include "model/VORApp.h"
#include "model/VORBookmarkAction.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPublication.h"

namespace {

constexpr int32_t kGotoPage = 101;

} // namespace

VORBookmarks::VORBookmarks(VORPublication &publication, std::string filePath, Editor editor)
    : VORActionReceiver(VORObjectCode::MakeClassKey(kReference.category, kReference.code), kReference.id),
      m_publication(publication), m_filePath(std::move(filePath)), m_editor(std::move(editor)) {}

VORBookmarks::~VORBookmarks() { Save(); }

bool VORBookmarks::AllowsSeveral() const { return m_publication.AllowsSeveralBookmarks(); }

bool VORBookmarks::ReceiveAction(VORObjectAction &action, ActionContext & /*context*/) {
  Load();
  if (!dynamic_cast<VORBookmarkAction *>(&action))
    return false;
  const int32_t code = action.GetActionCode();
  const bool several = AllowsSeveral();
  switch (code) {
  case kAddPage:
    AddPage(action.GetOriginPage());
    return true;
  case kEditList:
    if (several)
      EditList(action.GetOriginPage(), action.GetOriginObject());
    return true;
  case kNext:
    if (several)
      Next();
    return true;
  case kPrevious:
    if (several)
      Previous();
    return true;
  case kGotoCurrent:
    GotoCurrent();
    return true;
  case kClear:
    Clear();
    return true;
  default:
    return false;
  }
}

void VORBookmarks::Load() {
  if (m_loaded)
    return;
  m_loaded = true;
  std::vector<uint8_t> bytes;
  if (!BookmarkFile::ReadAll(m_filePath, bytes))
    return;
  for (const BookData &page : BookmarkFile::Decode(bytes))
    m_list.push_back(page);
}

void VORBookmarks::Save() {
  if (!m_loaded)
    return;
  BookmarkFile::WriteAll(m_filePath, BookmarkFile::Encode(m_list));
}

void VORBookmarks::Clear() {
  m_list.clear();
  m_current = kNoCurrent;
}

void VORBookmarks::AddPage(const VORObjectCode &page) {
  if (!AllowsSeveral())
    Clear();
  const auto same = [&page](const BookData &entry) { return entry.Equals(page); };
  if (std::any_of(m_list.begin(), m_list.end(), same))
    return;
  m_list.push_back(page);
  m_current = static_cast<int32_t>(m_list.size()) - 1;
}

void VORBookmarks::Next() {
  if (m_current == kNoCurrent)
    return;
  if (static_cast<int64_t>(m_current) + 1 < static_cast<int64_t>(m_list.size())) {
    ++m_current;
    GotoBookmark(m_list, m_current);
  }
}

void VORBookmarks::Previous() {
  if (m_current == kNoCurrent)
    return;
  if (m_current - 1 >= 0 || m_list.empty()) {
    --m_current;
    GotoBookmark(m_list, m_current);
  }
}

void VORBookmarks::GotoCurrent() {
  if (m_current != kNoCurrent)
    GotoBookmark(m_list, m_current);
}

void VORBookmarks::EditList(const VORObjectCode &page, const VORObjectCode &view) {
  std::vector<BookData> working = m_list;
  DialogData data;
  data.list = &working;
  data.page = page;
  data.view = view;
  data.publication = &m_publication;
  if (m_editor)
    m_editor(data);
  m_list = std::move(working);
}

void VORBookmarks::GotoBookmark(const std::vector<BookData> &list, int32_t index) {
  VORApp *app = VORApp::Get();
  if (!app)
    return;
  const bool inRange = index >= 0 && static_cast<size_t>(index) < list.size();
  VORPlayerGotoPageAction action;
  action.SetTarget(VORObjectCode(0, 0, 1));
  action.SetActionCode(kGotoPage);
  action.SetTargetPage(inRange ? list[static_cast<size_t>(index)] : VORObjectCode::None());
  action.SetViewReference(kGotoView);
  app->ExecuteAction(action);
}
