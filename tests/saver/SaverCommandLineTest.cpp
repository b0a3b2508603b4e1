#include "saver/SaverCommandLine.h"

#include <gtest/gtest.h>

namespace {

using Request = SaverCommandLine::Request;

struct Case {
  const char *arguments;
  Request request;
  uint64_t window;
  char mode;
};

// What the desktop passes, in the forms seen from its versions and from
// people starting the saver by hand.
TEST(SaverCommandLineTest, ReadsEveryFormOfTheRequest) {
  const Case cases[] = {
      {"/s", Request::kRun, 0, 'S'},
      {"-S", Request::kRun, 0, 'S'},
      {"  /S  ", Request::kRun, 0, 'S'},
      {"\"/s\"", Request::kRun, 0, 'S'},
      {"/p 123", Request::kPreview, 123, 'P'},
      {"/P:1234", Request::kPreview, 1234, 'P'},
      {"-p   4294967296", Request::kPreview, 4294967296ull, 'P'},
      {"/p", Request::kNothing, 0, 'P'},
      {"/p 0", Request::kNothing, 0, 'P'},
      {"/p x12", Request::kNothing, 0, 'P'},
      // More digits than any window number holds.
      {"/p 99999999999999999999999", Request::kNothing, 0, 'P'},
      {"/c", Request::kSettings, 0, 'C'},
      {"/c:5678", Request::kSettings, 5678, 'C'},
      {"-C 42", Request::kSettings, 42, 'C'},
      {"/a 42", Request::kNothing, 0, 'A'},
      {"", Request::kSettings, 0, 0},
      {"   ", Request::kSettings, 0, 0},
      // One character: there is no mode letter to read.
      {"/", Request::kSettings, 0, 0},
      {"s", Request::kSettings, 0, 0},
      {"xs", Request::kSettings, 0, 'S'},
  };
  for (const Case &test : cases) {
    SCOPED_TRACE(test.arguments);
    const SaverCommandLine parsed = SaverCommandLine::Parse(test.arguments);
    EXPECT_EQ(parsed.request, test.request);
    EXPECT_EQ(parsed.window, test.window);
    EXPECT_EQ(parsed.mode, test.mode);
  }
  EXPECT_EQ(SaverCommandLine::Parse(nullptr).request, Request::kSettings);
}

TEST(SaverCommandLineTest, TakesTheProgramNameOffTheWholeCommandLine) {
  EXPECT_STREQ(SaverCommandLine::AfterProgramName("\"C:\\Program Files\\VORPLAY.scr\" /p 12"), "/p 12");
  EXPECT_STREQ(SaverCommandLine::AfterProgramName("C:\\saver\\VORPLAY.scr  /s"), "/s");
  EXPECT_STREQ(SaverCommandLine::AfterProgramName("VORPLAY.scr"), "");
  EXPECT_STREQ(SaverCommandLine::AfterProgramName(nullptr), "");
  EXPECT_EQ(SaverCommandLine::ModeLetter(SaverCommandLine::FirstArgument("-s extra")), 'S');
  EXPECT_EQ(SaverCommandLine::ModeLetter(""), '\0');
}

} // namespace
