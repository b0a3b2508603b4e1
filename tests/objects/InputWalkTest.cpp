// The run view's input walks a page's objects while an action delivered at
// once may replace the page and delete its objects; built natively, so the
// sanitizers see any use of a deleted object.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "display/VORInputDispatcher.h"
#include "display/VORPaintable.h"
#include "model/VORChapter.h"
#include "model/VORObjectAction.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"
#include "model/VORPublication.h"
#include "objects/VORObject.h"
#include "objects/VORPlayerForm.h"
#include "support/FakeApp.h"
#include "support/HeadlessView.h"

namespace {

using PlainObject = VORPlayerForm<VORObject, VORObject::VORObjectObjectProperties>;

// A page object over a rectangle that notes every mouse code it gets and
// runs onMouse with it; it takes no input, so every walk goes on past it.
class Clickable : public PlainObject, public VORPaintable {
public:
  Clickable(int32_t id, VORRect rect, std::vector<std::string> *log)
      : PlainObject(VORObjectCode::MakeClassKey(1, 0x7E03), id), m_rect(rect), m_log(log) {}

  bool ReceiveAction(VORObjectAction &action, ActionContext & /*context*/) override {
    m_log->push_back(std::to_string(GetId()) + ":" + std::to_string(action.GetActionCode()));
    if (onMouse)
      onMouse(action.GetActionCode());
    return false;
  }
  bool IsTransparent() override { return true; }
  VORRect GetScreenRect() override { return m_rect; }
  VORRect GetRect() override { return m_rect; }
  void Paint(const VORRect & /*update*/, DrawingContext & /*context*/) override {}
  void DrawInto(const VORRect & /*rect*/, DrawingContext & /*context*/) override {}
  void AddShadowOffset(VORRect & /*rect*/) override {}
  void BlitFromSurface(const VORRect &, VORBitmapObjectSurface &, DrawingContext &, int32_t) override {}

  std::function<void(int32_t)> onMouse;

private:
  VORRect m_rect;
  std::vector<std::string> *m_log;
};

// Page 1 holds objects 1 (bottom), 2 and 3 (top), all over (0, 0, 100,
// 100); page 2 holds object 4. When object 3 hears a mouse code it goes to
// page 2 at once and deletes object 2, as a go-to-page trigger run inline
// would leave the old page's objects behind.
class InputWalkTest : public ::testing::Test {
protected:
  InputWalkTest() : m_publication(VORPublication::kClassKey, -1), m_view(1) {
    m_publication.GetPublicationProperties().flags = 0;
    auto *chapter = new VORChapter(VORChapter::kClassKey, 1);
    m_publication.InsertAfter(chapter, nullptr);
    m_first = new VORPlayerPage(VORPlayerPage::kClassKey, 1);
    chapter->InsertAfter(m_first, nullptr);
    m_second = new VORPlayerPage(VORPlayerPage::kClassKey, 2);
    chapter->InsertAfter(m_second, m_first);
    m_app.SetPublication(&m_publication);
    VORPageInstance &first = m_first->GetMasterInstance();
    VORRecursiveObjectContainer *previous = nullptr;
    for (int32_t id = 1; id <= 3; ++id) {
      auto *object = new Clickable(id, VORRect(0, 0, 100, 100), &m_log);
      first.InsertAfter(object, previous);
      previous = object;
    }
    m_second->GetMasterInstance().InsertAfter(new Clickable(4, VORRect(0, 0, 100, 100), &m_log), nullptr);
    m_view.ShowPageInstance(first);
    auto *top = dynamic_cast<Clickable *>(first.ChildAt(2));
    top->onMouse = [this](int32_t) { GoToSecondPage(); };
  }

  void GoToSecondPage() {
    VORPageInstance &first = m_first->GetMasterInstance();
    m_view.LeavePageInstance(first);
    VORRecursiveObjectContainer *middle = first.ChildAt(1);
    first.Remove(middle, false);
    delete middle;
    m_view.ShowPageInstance(m_second->GetMasterInstance());
  }

  FakeApp m_app;
  VORPublication m_publication;
  VORPlayerPage *m_first;
  VORPlayerPage *m_second;
  HeadlessView m_view;
  std::vector<std::string> m_log;
};

TEST_F(InputWalkTest, AClickThatReplacesThePageEndsTheWalkThere) {
  ASSERT_NE(VORMouseActionFactory::Get(), nullptr);
  m_view.GetInput().SetLastPosition(VORPoint{50, 50});
  EXPECT_FALSE(m_view.GetInput().DispatchMouseEvent(VORInput::kLeftDown));
  EXPECT_EQ(m_log, std::vector<std::string>{"3:2"}) << "objects 2 and 1 belong to a page no longer shown";
  m_log.clear();
  m_view.GetInput().DispatchMouseEvent(VORInput::kLeftUp);
  EXPECT_EQ(m_log, std::vector<std::string>{"4:3"}) << "the next click goes to the new page";
}

TEST_F(InputWalkTest, AMoveThatReplacesThePageEndsBothPasses) {
  m_view.GetInput().DispatchMouseMove(VORPoint{50, 50});
  EXPECT_EQ(m_log, std::vector<std::string>{"3:8"});
}

TEST_F(InputWalkTest, AKeyThatReplacesThePageEndsTheWalkThere) {
  auto *top = dynamic_cast<Clickable *>(m_first->GetMasterInstance().ChildAt(2));
  bool left = false;
  // Keys are not mouse codes: the top object leaves on any action.
  top->onMouse = [&](int32_t) {
    if (!left) {
      left = true;
      GoToSecondPage();
    }
  };
  m_view.GetInput().DispatchKeyEvent(9, 'A', 0);
  EXPECT_EQ(m_log, std::vector<std::string>{"3:9"});
}

} // namespace
