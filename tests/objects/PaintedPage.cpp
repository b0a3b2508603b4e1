#include "PaintedPage.h"

#include "display/SurfaceBitmapPool.h"
#include "display/SurfacePixels.h"
#include "model/VORPageInstance.h"
#include "objects/VORInternalResourceObject.h"

namespace {

constexpr uint16_t kTestObjectCode = 0x7E01;

} // namespace

BufferView::BufferView(int32_t depth, const VORRect &bounds)
    : VORView(VORObjectCode::MakeClassKey(0, 3), 1), m_depth(depth) {
  SetBounds(bounds);
}

PaintedPage::PaintedPage(int32_t depth, const VORRect &page)
    : m_rect(page), m_view(depth, page), m_page(VORPlayerPage::kClassKey, 1) {}

PaintedPage::~PaintedPage() {
  if (m_shown)
    m_page.GetMasterInstance().Hide();
}

PlainGraphical &PaintedPage::Add(const VORRect &rect, std::unique_ptr<TestPicture> picture, PlainGraphical *parent) {
  VORRecursiveObjectContainer &level =
      parent != nullptr ? static_cast<VORRecursiveObjectContainer &>(*parent) : m_page.GetMasterInstance();
  const int32_t id = ++m_lastId;
  auto *object = new PlainGraphical(VORObjectCode::MakeClassKey(1, kTestObjectCode), id);
  object->InsertAfter(new VORPlayerInternalResourceObject(VORInternalResourceObject::kClassKey, id), nullptr);
  VORGraphicalObject::VORGraphicalObjectProperties &properties = object->GetGraphicalProperties();
  properties.linkedResource = VORObjectCode::FromClassKey(VORInternalResourceObject::kClassKey, id);
  properties.layoutRect = rect;
  properties.imageLayout = picture->GetLayout();
  object->SetRect(rect);
  level.InsertAfter(object, nullptr);
  m_pictures.emplace_back(object, std::move(picture));
  return *object;
}

void PaintedPage::Compose() {
  VORPageInstance &instance = m_page.GetMasterInstance();
  m_view.buffer = std::make_unique<VORScreenBuffer>(&m_view, m_rect);
  m_view.page = &instance;
  instance.Show(m_view);
  m_shown = true;
  // Entering the page lets go of any picture: they are handed over after.
  for (auto &[object, picture] : m_pictures)
    object->SetImage(std::move(picture));
  VORGraphicalObject::UpdatePageDrawFlags(instance);
  VORGraphicalObject::RebuildPageObjectSurfaces(instance);
  // As the views do once a page has its surfaces.
  SurfaceBitmapPool::Trim();
  m_view.buffer->FlushDirtyRects();
}

void PaintedPage::Repaint() {
  m_view.buffer->AddDirtyRect(m_rect);
  m_view.buffer->FlushDirtyRects();
}

uint32_t PaintedPage::Pixel(int32_t x, int32_t y) { return SurfacePixel(*m_view.buffer, x, y); }
