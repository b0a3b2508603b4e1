#include "foundation/VORException.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ShownReport {
  std::string text;
  std::string caption;
};

std::vector<ShownReport> g_shown;

void RecordReport(const char *text, const char *caption) { g_shown.push_back({text, caption}); }

class VORExceptionTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_shown.clear();
    m_previous = VORSetReportSink(RecordReport);
  }
  void TearDown() override { VORSetReportSink(m_previous); }

private:
  VORReportSink m_previous = nullptr;
};

TEST_F(VORExceptionTest, ReportsShowTheirTextUnderTheirCaption) {
  struct Case {
    const char *name;
    VORException *exception;
    const char *text;
    const char *caption;
  };
  Case cases[] = {
      {"allocation failure", new VORNewFailException(1234), "New failed : 1234 bytes", "VORSEEXCEPTION"},
      {"allocation failure above 2 GiB", new VORNewFailException(0xFFFFFFF0u), "New failed : 4294967280 bytes",
       "VORSEEXCEPTION"},
      {"allocation failure above 4 GiB", new VORNewFailException(0x123456789ull), "New failed : 4886718345 bytes",
       "VORSEEXCEPTION"},
      {"wave error", new VORWaveErrorException(-7), "WAVE ERROR : -7", "VOREXCEPTION"},
      {"MIDI error reads as a wave error", new VORMidiErrorException(11), "WAVE ERROR : 11", "VOREXCEPTION"},
  };
  for (Case &c : cases) {
    g_shown.clear();
    c.exception->Report();
    ASSERT_EQ(g_shown.size(), 1u) << c.name;
    EXPECT_EQ(g_shown[0].text, c.text) << c.name;
    EXPECT_EQ(g_shown[0].caption, c.caption) << c.name;
    delete c.exception;
  }
}

TEST_F(VORExceptionTest, SilentReportsShowNothing) {
  VORSEException structured(0xC0000005u);
  VORUserExitException userExit;
  VORAssertException assertion;
  structured.Report();
  userExit.Report();
  assertion.Report();
  EXPECT_TRUE(g_shown.empty());
  EXPECT_EQ(structured.Text(), "Structured exception : c0000005");
}

TEST_F(VORExceptionTest, PointerThrownExceptionsAreCaughtThroughTheirBase) {
  try {
    throw new VORWaveErrorException(3);
  } catch (VORException *caught) {
    caught->Report();
    delete caught;
  }
  ASSERT_EQ(g_shown.size(), 1u);
  EXPECT_EQ(g_shown[0].text, "WAVE ERROR : 3");
}

} // namespace
