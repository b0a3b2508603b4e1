#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/VORActionReceiver.h"

class VORPublication;

// The reader's bookmarks: pages kept between runs in a small file in the
// temporary folder, answered to the bookmark actions 950 to 955 and edited
// in the bookmark dialog. Owned by the publication.
class VORBookmarks : public VORActionReceiver {
public:
  static constexpr VORObjectCode kReference = VORObjectCode(0, 0, 14);
  // A bookmark is a page reference; two are the same when every field is.
  using BookData = VORObjectCode;
  enum ActionCode : int32_t {
    kAddPage = 950,
    kEditList = 951,
    kNext = 952,
    kPrevious = 953,
    kGotoCurrent = 954,
    kClear = 955,
  };
  static constexpr int32_t kNoCurrent = -1;
  // The view the player shows a bookmarked page in.
  static constexpr VORObjectCode kGotoView = VORObjectCode(0, 0, 5);

  // What the dialog edits: a working list, the page and view the dialog
  // was asked from, and the publication that names the pages.
  struct DialogData {
    std::vector<BookData> *list = nullptr;
    VORObjectCode page;
    VORObjectCode view;
    VORPublication *publication = nullptr;
  };
  // Shows the dialog over the data; the list it holds is what the dialog
  // left (changed only when the reader ended it with OK).
  using Editor = std::function<void(DialogData &)>;

  // filePath: where the list is kept between runs (BookmarkFile::NameFor).
  VORBookmarks(VORPublication &publication, std::string filePath, Editor editor);
  // Saves the list.
  ~VORBookmarks() override;

  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;

  // Reads the file once per run.
  void Load();
  // Writes the list when it was loaded this run (an emptied list is
  // written too, as a count of 0); a run that never loaded it leaves the
  // file alone.
  void Save();
  void Clear();
  void AddPage(const VORObjectCode &page);
  void EditList(const VORObjectCode &page, const VORObjectCode &view);
  void Next();
  void Previous();
  void GotoCurrent();

  // Shows the bookmark in the player; out of range shows no page.
  static void GotoBookmark(const std::vector<BookData> &list, int32_t index);

  const std::vector<BookData> &GetList() const { return m_list; }
  int32_t GetCurrent() const { return m_current; }
  bool IsLoaded() const { return m_loaded; }
  const std::string &GetFilePath() const { return m_filePath; }

private:
  bool AllowsSeveral() const;

  VORPublication &m_publication;
  std::string m_filePath;
  Editor m_editor;
  std::vector<BookData> m_list;
  int32_t m_current = 0;
  bool m_loaded = false;
};
