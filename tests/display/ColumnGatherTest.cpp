#include "display/ColumnGather.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/LoopForms.h"

namespace {

// The columns of a stretch of a row of sourceWidth pixels from sourceLeft
// over destinationWidth pixels, as a blend samples them.
std::vector<int32_t> StretchColumns(int32_t sourceLeft, int32_t sourceSpan, int32_t destinationWidth) {
  std::vector<int32_t> columns(static_cast<size_t>(destinationWidth));
  for (int32_t i = 0; i < destinationWidth; ++i) {
    columns[static_cast<size_t>(i)] =
        sourceLeft + static_cast<int32_t>(static_cast<int64_t>(i) * sourceSpan / destinationWidth);
  }
  return columns;
}

// Every form gives each column's pixel, for stretches, slight shrinks (whose
// blocks reach past a shuffle's window), spans that end on the row's last
// pixel, and columns out of order. Rows hold exactly their pixels, so that a
// read past them would be caught.
TEST(ColumnGatherTest, EveryFormGathersEachColumnsPixel) {
  std::mt19937 random(4);
  struct Case {
    const char *name;
    int32_t rowWidth;
    std::vector<int32_t> columns;
  };
  const Case cases[] = {
      {"twice", 50, StretchColumns(0, 50, 100)},
      {"three halves to the end", 64, StretchColumns(10, 54, 81)},
      {"slight stretch", 99, StretchColumns(0, 99, 103)},
      {"slight shrink", 120, StretchColumns(0, 120, 97)},
      {"shrink to a third", 90, StretchColumns(0, 90, 30)},
      {"one pixel", 1, StretchColumns(0, 1, 13)},
      {"out of order", 20, {19, 0, 5, 5, 19, 18, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1}},
  };
  for (size_t bytesPerPixel : {size_t{3}, size_t{1}}) {
    for (const Case &c : cases) {
      std::vector<uint8_t> row(static_cast<size_t>(c.rowWidth) * bytesPerPixel);
      for (uint8_t &b : row) {
        b = static_cast<uint8_t>(random());
      }
      for (const LoopForm &form : kLoopForms) {
        const LoopFormScope scope(form);
        const ColumnGather gather(c.columns, c.rowWidth, bytesPerPixel, form.loops);
        std::vector<uint8_t> out(gather.OutputBytes());
        gather.Gather(row.data(), out.data());
        for (size_t i = 0; i < c.columns.size(); ++i) {
          for (size_t k = 0; k < bytesPerPixel; ++k) {
            ASSERT_EQ(out[i * bytesPerPixel + k], row[static_cast<size_t>(c.columns[i]) * bytesPerPixel + k])
                << c.name << ", " << form.name << ", " << bytesPerPixel << " bytes, column " << i;
          }
        }
      }
    }
  }
}

} // namespace
