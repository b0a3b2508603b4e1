#include "vorfile/VORFileException.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Readers catch VORFileNonFatalException to go on with defaults; everything
// else must pass them by.
TEST(VORFileExceptionTest, OnlyMissingDataIsNonFatal) {
  struct Case {
    const char *name;
    std::function<void()> raise;
    bool nonFatal;
  } cases[] = {
      {"incomplete read", [] { throw VORFileIncompleteReadException(); }, true},
      {"folder not found", [] { throw VORFileFolderNotFoundException(); }, true},
      {"error", [] { throw VORFileErrorException(); }, false},
      {"corrupt file", [] { throw VORFileCorruptFileException(); }, false},
      {"assert", [] { throw VORFileAssertException("x", 1); }, false},
  };
  for (const Case &c : cases) {
    bool caughtAsNonFatal = false;
    bool caughtAsFileException = false;
    try {
      try {
        c.raise();
      } catch (const VORFileNonFatalException &) {
        caughtAsNonFatal = true;
      }
    } catch (const VORFileException &) {
      caughtAsFileException = true;
    }
    EXPECT_EQ(caughtAsNonFatal, c.nonFatal) << c.name;
    EXPECT_EQ(caughtAsFileException, !c.nonFatal) << c.name;
  }
}

} // namespace
