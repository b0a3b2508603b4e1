#include "foundation/XQAutoPtr.h"
#include "foundation/VORException.h"
#include "foundation/XQAutoArrayPtr.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

int g_deaths = 0;

struct Shape {
  virtual ~Shape() = default;
};

struct Circle : Shape {
  ~Circle() override { ++g_deaths; }
};

class XQAutoPtrTest : public ::testing::Test {
protected:
  void SetUp() override { g_deaths = 0; }
};

TEST_F(XQAutoPtrTest, FreeDeletesThroughTheDerivedDestructorAndEmpties) {
  XQAutoPtr<Shape> shape(new Circle);
  shape.Free();
  EXPECT_EQ(g_deaths, 1);
  EXPECT_TRUE(shape.IsEmpty());
  shape.Free(); // empty: nothing
  EXPECT_EQ(g_deaths, 1);

  { XQAutoPtr<Shape> scoped(new Circle); }
  EXPECT_EQ(g_deaths, 2);
}

TEST_F(XQAutoPtrTest, ReleaseHandsTheObjectToItsOwner) {
  Shape *owned = nullptr;
  {
    XQAutoPtr<Shape> building(new Circle);
    owned = building.Release();
    EXPECT_TRUE(building.IsEmpty());
  }
  EXPECT_EQ(g_deaths, 0);
  delete owned;
  EXPECT_EQ(g_deaths, 1);
}

TEST_F(XQAutoPtrTest, ResetFreesTheOldObjectAndHoldsTheNew) {
  Circle *second = new Circle;
  XQAutoPtr<Shape> shape(new Circle);
  shape.Reset(second);
  EXPECT_EQ(g_deaths, 1);
  EXPECT_EQ(shape.Get(), second);
  shape.Reset(second); // the same object is kept, not freed
  EXPECT_EQ(g_deaths, 1);
  shape.Reset(nullptr);
  EXPECT_EQ(g_deaths, 2);
}

int g_exceptionsDeleted = 0;

struct TrackedException : VORException {
  ~TrackedException() override { ++g_exceptionsDeleted; }
};

enum class Throws { kPlayerException, kNumber, kStandardException };

// An object whose destruction fails.
struct Failing {
  explicit Failing(Throws kind) : m_kind(kind) {}
  ~Failing() noexcept(false) {
    ++g_deaths;
    switch (m_kind) {
    case Throws::kPlayerException:
      throw static_cast<VORException *>(new TrackedException);
    case Throws::kNumber:
      throw 42;
    case Throws::kStandardException:
      throw std::runtime_error("failed");
    }
  }
  Throws m_kind;
};

TEST_F(XQAutoPtrTest, GoingAwaySwallowsWhatTheReleaseThrows) {
  struct Case {
    const char *name;
    Throws kind;
    int exceptionsDeleted;
  } cases[] = {
      {"a player exception, which is deleted", Throws::kPlayerException, 1},
      {"a number", Throws::kNumber, 0},
      {"a standard exception", Throws::kStandardException, 0},
  };
  for (const Case &c : cases) {
    g_deaths = 0;
    g_exceptionsDeleted = 0;
    EXPECT_NO_THROW({ XQAutoPtr<Failing> failing(new Failing(c.kind)); }) << c.name;
    EXPECT_EQ(g_deaths, 1) << c.name;
    EXPECT_EQ(g_exceptionsDeleted, c.exceptionsDeleted) << c.name;
  }
}

TEST_F(XQAutoPtrTest, AnExplicitFreePassesTheFailureOnButStillEmpties) {
  XQAutoPtr<Failing> failing(new Failing(Throws::kNumber));
  EXPECT_THROW(failing.Free(), int);
  EXPECT_TRUE(failing.IsEmpty()) << "a second free must not delete the object again";
}

TEST_F(XQAutoPtrTest, ResetHoldsTheNewObjectEvenWhenTheOldOneFails) {
  Failing *next = new Failing(Throws::kStandardException);
  XQAutoPtr<Failing> failing(new Failing(Throws::kNumber));
  EXPECT_THROW(failing.Reset(next), int);
  EXPECT_EQ(failing.Get(), next);
}

struct Counted {
  ~Counted() { ++g_deaths; }
};

// The sanitizer build checks that each buffer goes back with the delete that
// matches its new; the counts check that arrays destroy every element.
TEST_F(XQAutoPtrTest, BuffersAndArraysGoBackAsTheyWereMade) {
  XQAutoPtr<char> text(new char[16]);
  XQAutoPtr<unsigned char> bytes(new unsigned char[16]);
  constexpr int kBitmapInfoSize = 40 + 256 * 4; // header and a full colour table
  XQAutoPtr<tagBITMAPINFO> bitmapInfo(reinterpret_cast<tagBITMAPINFO *>(new unsigned char[kBitmapInfoSize]));
  text.Free();
  bytes.Free();
  bitmapInfo.Free();
  EXPECT_TRUE(text.IsEmpty() && bytes.IsEmpty() && bitmapInfo.IsEmpty());

  XQAutoArrayPtr<char> characters(new char[4]);
  characters[0] = 'a';
  EXPECT_EQ(characters.Get()[0], 'a');

  { XQAutoArrayPtr<Counted> array(new Counted[3]); }
  EXPECT_EQ(g_deaths, 3);

  XQAutoPtr<Counted> *throughBase = new XQAutoArrayPtr<Counted>(new Counted[2]);
  delete throughBase;
  EXPECT_EQ(g_deaths, 5);

  XQAutoArrayPtr<Counted> reset(new Counted[2]);
  reset.Reset(new Counted[1]);
  EXPECT_EQ(g_deaths, 7);
}

} // namespace
