#include "transitions/VORCoreFX.h"

#include <windows.h>

#include "display/DrawingContext.h"
#include "display/VORBitmapObjectSurface.h"

// A picture of the effect rectangle in a 32-bit top-down DIB section, with
// a memory device context for blits in and out.
class VORCoreFX::Picture {
public:
  Picture() = default;
  Picture(const Picture &) = delete;
  Picture &operator=(const Picture &) = delete;
  ~Picture() {
    if (m_dc != nullptr) {
      ::SelectObject(m_dc, m_displaced);
      ::DeleteDC(m_dc);
    }
    if (m_bitmap != nullptr)
      ::DeleteObject(m_bitmap);
  }

  bool Make(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > FXImage::kMaxPixels)
      return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_dc = ::CreateCompatibleDC(nullptr);
    if (m_bitmap == nullptr || m_dc == nullptr || bits == nullptr)
      return false;
    m_displaced = ::SelectObject(m_dc, m_bitmap);
    image.Attach(static_cast<uint32_t *>(bits), width, height);
    return true;
  }
  HDC GetDC() const { return m_dc; }
  bool HasSize(int32_t width, int32_t height) const { return image.width == width && image.height == height; }

  FXImage image;

private:
  HBITMAP m_bitmap = nullptr;
  HDC m_dc = nullptr;
  HGDIOBJ m_displaced = nullptr;
};

namespace {

// One effect's worth of pictures is kept.
constexpr size_t kSparePictures = 3;

} // namespace

// The pictures of the last effect, kept for the next one of the same size.
// Memory fresh from the system costs a page fault per page on its first
// touch: on some machines tens of milliseconds for the three pictures of a
// full screen, which would stall the start of every page transition.
std::vector<std::unique_ptr<VORCoreFX::Picture>> &VORCoreFX::SparePictures() {
  static std::vector<std::unique_ptr<Picture>> spare;
  return spare;
}

std::unique_ptr<VORCoreFX::Picture> VORCoreFX::TakePicture(int32_t width, int32_t height) {
  auto &spare = SparePictures();
  for (auto it = spare.begin(); it != spare.end(); ++it) {
    if ((*it)->HasSize(width, height)) {
      std::unique_ptr<Picture> picture = std::move(*it);
      spare.erase(it);
      return picture;
    }
  }
  auto picture = std::make_unique<Picture>();
  if (!picture->Make(width, height))
    return nullptr;
  return picture;
}

void VORCoreFX::KeepPicture(std::unique_ptr<Picture> picture) {
  if (!picture)
    return;
  auto &spare = SparePictures();
  spare.insert(spare.begin(), std::move(picture));
  if (spare.size() > kSparePictures)
    spare.resize(kSparePictures);
}

void VORCoreFX::KeepPictures() {
  KeepPicture(std::move(m_new));
  KeepPicture(std::move(m_old));
  KeepPicture(std::move(m_frame));
}

namespace {

// Copies the area (page coordinates) of a drawing context into a picture
// whose top-left corner is the area's.
void Capture(DrawingContext &from, HDC into, const VORRect &area) {
  const POINT origin = from.GetOrigin();
  ::BitBlt(into, 0, 0, static_cast<int>(area.Width()), static_cast<int>(area.Height()), from.GetDC(),
           area.left - origin.x, area.top - origin.y, SRCCOPY);
  ::GdiFlush();
}

} // namespace

VORCoreFX::VORCoreFX(VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion,
                     std::unique_ptr<FXCore> core, uint32_t duration)
    : VORTimedFX(target, oldPicture, completion), m_core(std::move(core)) {
  SetDuration(duration);
}

VORCoreFX::~VORCoreFX() { KeepPictures(); }

void VORCoreFX::Prepare() {
  KeepPictures();
  m_area = VORRect(0, 0, 0, 0);
  VORRect area = GetRect();
  if (GetTarget() != nullptr && !area.Intersect(area, GetTarget()->GetBounds()))
    area = VORRect(0, 0, 0, 0);
  const int32_t width = static_cast<int32_t>(area.Width());
  const int32_t height = static_cast<int32_t>(area.Height());
  DrawingContext *newContext = GetTarget() != nullptr ? GetTarget()->GetDrawingContext() : nullptr;
  DrawingContext *oldContext = GetOldPicture() != nullptr ? GetOldPicture()->GetDrawingContext() : GetOutputContext();
  std::unique_ptr<Picture> fresh, old, frame;
  if (!area.IsEmpty() && newContext != nullptr) {
    fresh = TakePicture(width, height);
    old = TakePicture(width, height);
    frame = TakePicture(width, height);
  }
  if (!fresh || !old || !frame) {
    // Nothing to compose: the effect ends at once.
    KeepPicture(std::move(fresh));
    KeepPicture(std::move(old));
    KeepPicture(std::move(frame));
    m_total = 0;
    m_core->Prepare(0, 0, IsClosing());
    return;
  }
  Capture(*newContext, fresh->GetDC(), area);
  if (oldContext != nullptr)
    Capture(*oldContext, old->GetDC(), area);
  else
    old->image.Fill(0);
  FXCompose::Copy(frame->image, old->image, frame->image.Bounds());
  GetTarget()->ReleaseContexts();
  if (GetOldPicture() != nullptr)
    GetOldPicture()->ReleaseContexts();
  m_area = area;
  m_new = std::move(fresh);
  m_old = std::move(old);
  m_frame = std::move(frame);
  m_total = m_core->Prepare(width, height, IsClosing());
}

void VORCoreFX::DrawStep(int32_t step) {
  m_changed.clear();
  m_core->Step(step, m_changed);
  for (const VORRect &rect : m_changed)
    Report(rect.Offset(m_area.left, m_area.top));
}

void VORCoreFX::Paint(const VORRect &destination, const VORRect &source) {
  DrawingContext *output = GetOutputContext();
  if (output == nullptr)
    return;
  if (!m_frame) {
    // No pictures were taken: the new picture as it is.
    PaintNewPicture(destination, source);
    return;
  }
  VORRect part;
  if (!part.Intersect(source, m_area))
    return;
  const VORRect local = part.Offset(-m_area.left, -m_area.top);
  m_core->Compose(m_frame->image, m_old->image, m_new->image, local);
  const POINT origin = output->GetOrigin();
  const int32_t dx = destination.left - source.left;
  const int32_t dy = destination.top - source.top;
  ::BitBlt(output->GetDC(), part.left + dx - origin.x, part.top + dy - origin.y, static_cast<int>(part.Width()),
           static_cast<int>(part.Height()), m_frame->GetDC(), local.left, local.top, SRCCOPY);
}
