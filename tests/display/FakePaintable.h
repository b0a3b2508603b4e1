#pragma once

#include <vector>

#include "display/VORPaintable.h"
#include "model/VORRecursiveObjectContainer.h"

// A page object for the display tests: opaque or transparent over a screen
// rectangle; painting records the call in a shared log and, when it has a
// colour and a context is given, fills its part of the update rectangle.
class FakePaintable : public VORRecursiveObjectContainer, public VORPaintable {
public:
  FakePaintable(int name, VORRect rect, bool transparent, std::vector<int> *log)
      : m_name(name), m_rect(rect), m_transparent(transparent), m_log(log) {}

  bool IsTransparent() override { return m_transparent; }
  VORRect GetScreenRect() override { return m_rect; }
  VORRect GetRect() override { return m_rect; }
  void Paint(const VORRect &update, DrawingContext &context) override;
  void DrawInto(const VORRect &rect, DrawingContext &context) override { Paint(rect, context); }
  void AddShadowOffset(VORRect &rect) override { rect.right += shadowRight; }
  void BlitFromSurface(const VORRect &, VORBitmapObjectSurface &, DrawingContext &, int32_t) override {}

  // 0x00BBGGRR; negative: paints nothing.
  long colour = -1;
  int32_t shadowRight = 0;

private:
  int m_name;
  VORRect m_rect;
  bool m_transparent;
  std::vector<int> *m_log;
};

// A child that is not a graphical object (a sound, a resource).
class FakeOtherObject : public VORRecursiveObjectContainer {};
