// The CGM interpreter over one file in memory, drawing into a canvas that
// checks what it is given and keeps nothing.
#include <vector>

#include "filters/CgmInterpreter.h"
#include "filters/MemoryFilterIo.h"

namespace {

class NullCanvas : public CgmCanvas {
public:
  void SetWindow(CgmPoint, int32_t width, int32_t height) override {
    if (width < 1 || height < 1)
      __builtin_trap();
  }
  void SetBackground(uint32_t) override {}
  void PaintBackground(uint32_t) override {}
  void SetClip(bool, CgmPoint, CgmPoint) override {}
  void Polyline(const std::vector<CgmPoint> &points, const CgmPen &) override { Touch(points); }
  void Polygon(const std::vector<CgmPoint> &points, const CgmBrush &, const CgmPen *) override { Touch(points); }
  void PolyPolygon(const std::vector<CgmPoint> &points, const std::vector<int32_t> &counts, const CgmBrush &,
                   const CgmPen *) override {
    Touch(points);
    int64_t total = 0;
    for (int32_t count : counts)
      total += count;
    if (total != static_cast<int64_t>(points.size()))
      __builtin_trap();
  }
  void Rectangle(CgmPoint, CgmPoint, const CgmBrush &, const CgmPen *) override {}
  void Ellipse(CgmPoint, int32_t, const CgmBrush &, const CgmPen *) override {}
  void Arc(CgmPoint, int32_t, CgmPoint, CgmPoint, int, const CgmPen &, const CgmBrush &, const CgmPen *) override {}
  void Text(CgmPoint, const std::string &text, const CgmFont &, uint32_t, int32_t, CgmHorizontalAlign,
            CgmVerticalAlign) override {
    m_sum += text.size();
  }

private:
  void Touch(const std::vector<CgmPoint> &points) {
    for (const CgmPoint &p : points)
      m_sum += static_cast<uint32_t>(p.x ^ p.y);
  }
  uint64_t m_sum = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  MemoryFilterIo io;
  io.AddFile("f.cgm", std::vector<uint8_t>(data, data + size));
  FilterFile file;
  if (!file.Open("f.cgm"))
    return 0;
  NullCanvas canvas;
  CgmInterpreter interpreter(file, canvas);
  interpreter.Run([](uint64_t) { return false; });
  if (interpreter.PictureWidth() < 1 || interpreter.PictureHeight() < 1)
    __builtin_trap();
  return 0;
}
