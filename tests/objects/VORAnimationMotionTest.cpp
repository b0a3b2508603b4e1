#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objects/VORAnimationController.h"
#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"
#include "vorfile/VORFileException.h"

namespace {

using Properties = VORAnimationController::VORAnimationControllerProperties;
using PublicationRecords::AnimationControllerRecord;
using Entry = VORAnimationPathEntry;

Properties ReadRecord(const std::vector<PublicationRecords::Field> &fields, size_t count = SIZE_MAX) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { PublicationRecords::AddRecord(f, fields, count); });
  Properties properties;
  properties.Read(folder.File());
  return properties;
}

AnimationControllerRecord FullRecord() {
  AnimationControllerRecord record;
  record.path = {{10, 20, 0, 1}, {-30, 40, 500, 2}};
  record.kind = 4;
  record.speed = -3;
  record.entryAngle = 90;
  record.exitAngle = 270;
  record.edgeHitLimit = 6;
  record.entryTime = 1500;
  record.exitTime = 700;
  return record;
}

// Every field after the events may be missing, and each then takes its
// default; the path count first of all.
TEST(VORAnimationControllerRecordTest, ACutRecordKeepsTheDefaultsOfTheMissingFields) {
  const std::vector<PublicationRecords::Field> fields = FullRecord().Fields();
  const size_t optional = 7, first = fields.size() - optional;
  const Properties none = ReadRecord(fields, first - 3);
  EXPECT_TRUE(none.path.empty()) << "cut before the count";
  EXPECT_EQ(none.kind, 0);
  for (size_t present = 0; present <= optional; ++present) {
    const Properties p = ReadRecord(fields, first + present);
    const std::string where = present < optional ? "cut before " + fields[first + present].name : "whole";
    EXPECT_EQ(p.path, (std::vector<Entry>{{10, 20, 0, 1}, {-30, 40, 500, 2}})) << where;
    EXPECT_EQ(p.kind, present > 0 ? 4 : 0) << where;
    EXPECT_EQ(p.speed, present > 1 ? -3 : 1) << where;
    EXPECT_EQ(p.entryAngle, present > 2 ? 90 : 0) << where;
    EXPECT_EQ(p.exitAngle, present > 3 ? 270 : 0) << where;
    EXPECT_EQ(p.edgeHitLimit, present > 4 ? 6 : -1) << where;
    EXPECT_EQ(p.entryTime, present > 5 ? 1500 : 1000) << where;
    EXPECT_EQ(p.exitTime, present > 6 ? 700 : 1000) << where;
  }
}

// A count that the record cannot hold (a damaged file): the read fails at
// the record's end and never makes room for the count.
TEST(VORAnimationControllerRecordTest, APathLongerThanTheRecordFailsTheRead) {
  AnimationControllerRecord record = FullRecord();
  for (const uint32_t count : {4u, 0x40000000u, 0xFFFFFFFFu}) {
    record.pathCount = count;
    EXPECT_THROW(ReadRecord(record.Fields()), VORFileNonFatalException) << count;
  }
  record.pathCount.reset();
  const std::vector<PublicationRecords::Field> fields = record.Fields();
  // Cut inside the path: after the count and one entry of two.
  EXPECT_THROW(ReadRecord(fields, fields.size() - 8), VORFileNonFatalException);
}

TEST(VORAnimationControllerRecordTest, ACopyCarriesThePathEntryByEntry) {
  const Properties source = ReadRecord(FullRecord().Fields());
  Properties target;
  target.Assign(source);
  EXPECT_EQ(target.path, source.path);
  EXPECT_EQ(target.exitTime, 700);
  std::unique_ptr<VORObjectProperties> clone(source.Clone());
  EXPECT_EQ(dynamic_cast<Properties &>(*clone).path, source.path);
}

// --- Paths -------------------------------------------------------------------

TEST(VORAnimationPathTest, PositionsFollowTheTimeBetweenThePoints) {
  const std::vector<Entry> path = {{0, 0, 900, 0}, {100, 200, 1000, 255}, {100, 0, 0, 0}, {200, 0, 100, 10}};
  struct Case {
    uint32_t t;
    int32_t x, y, value;
    bool goesOn;
  };
  const Case cases[] = {
      {0, 0, 0, 0, true}, // the first point's duration is not waited for
      {500, 50, 100, 127, true}, {1000, 100, 200, 255, true},
      {1001, 101, 0, 0, true}, // a point of no duration is passed at once
      {1050, 150, 0, 5, true},   {1100, 200, 0, 10, false},
      {5000, 200, 0, 10, false},
  };
  for (const Case &c : cases) {
    const VORAnimationPath::Position p = VORAnimationPath::PositionAt(path, c.t);
    const std::string where = "t " + std::to_string(c.t);
    EXPECT_EQ(p.x, c.x) << where;
    EXPECT_EQ(p.y, c.y) << where;
    EXPECT_EQ(p.value, c.value) << where;
    EXPECT_EQ(p.goesOn, c.goesOn) << where;
  }
}

// Without points the path has ended at once; points of no duration are
// reached without a division by zero.
TEST(VORAnimationPathTest, EmptyPathsAndZeroDurationsEndWithoutDividing) {
  EXPECT_FALSE(VORAnimationPath::PositionAt({}, 0).goesOn);
  const std::vector<Entry> still = {{5, 6, 0, 0}, {7, 8, 0, 9}};
  const VORAnimationPath::Position p = VORAnimationPath::PositionAt(still, 0);
  EXPECT_EQ(p.x, 7);
  EXPECT_EQ(p.y, 8);
  EXPECT_FALSE(p.goesOn);
  const VORAnimationPath::Position one = VORAnimationPath::PositionAt({{3, 4, 100, 0}}, 50);
  EXPECT_EQ(one.x, 3);
  EXPECT_FALSE(one.goesOn);
}

// The rectangle 0..200 x 0..100, the centre (100, 50). The degree factor
// falls a little short of pi / 180, and the results are truncated: 45
// degrees lands on 149.99..., 149.
TEST(VORAnimationPathTest, EdgePointsLieWhereTheAngleLeavesTheRectangle) {
  const VORRect rect(0, 0, 200, 100);
  struct Case {
    int32_t angle;
    int32_t x, y;
  };
  const Case cases[] = {{0, 100, 0},  {90, 200, 50},   {180, 100, 100}, {270, 0, 50}, {360, 100, 0}, {-90, 0, 50},
                        {45, 149, 0}, {135, 150, 100}, {225, 50, 100},  {315, 49, 0}, {80, 200, 32}, {450, 200, 50}};
  for (const Case &c : cases) {
    const VORPoint p = VORAnimationController::EdgePoint(rect, 100, 50, c.angle);
    EXPECT_EQ(p.x, c.x) << "angle " << c.angle;
    EXPECT_EQ(p.y, c.y) << "angle " << c.angle;
  }
}

// A 40 x 20 object at (60, 30) on a 200 x 100 page: the widened page
// reaches 20 further left and right and 10 further up and down.
TEST(VORAnimationPathTest, AFlyInStartsWhollyOutsideAndEndsOnTheObjectsPlace) {
  const VORRect page(0, 0, 200, 100);
  const VORRect object(60, 30, 100, 50);
  const std::vector<Entry> in = VORAnimationController::FlyPath(page, object, 0, 800, true);
  ASSERT_EQ(in.size(), 2u);
  EXPECT_EQ(in[0], (Entry{80, -10, 0, 255}));
  EXPECT_EQ(in[1], (Entry{80, 40, 800, 255}));
  EXPECT_EQ(VORAnimationController::CentredAt(80, 40, 40, 20), object);
  const VORRect start = VORAnimationController::CentredAt(in[0].x, in[0].y, 40, 20);
  EXPECT_LE(start.bottom, page.top) << "wholly above the page";
  const std::vector<Entry> out = VORAnimationController::FlyPath(page, object, 90, 600, false);
  EXPECT_EQ(out[0], (Entry{80, 40, 0, 255}));
  EXPECT_EQ(out[1], (Entry{220, 40, 600, 255}));
  EXPECT_GE(VORAnimationController::CentredAt(220, 40, 40, 20).left, page.right);
  // Odd sizes keep their size when centred.
  EXPECT_EQ(VORAnimationController::CentredAt(10, 10, 5, 3), VORRect(8, 9, 13, 12));
}

// --- Bouncing ----------------------------------------------------------------

VORAnimationController::Bounce MakeBounce(uint8_t kind, int32_t speed, int16_t limit, const VORRect &base) {
  VORAnimationController::Bounce bounce;
  bounce.kind = kind;
  bounce.limit = limit;
  bounce.base = base;
  bounce.startRect = base;
  bounce.xSpeed = speed;
  bounce.ySpeed = speed;
  return bounce;
}

// A 10 x 10 object at (40, 40) in 100 x 100 moving 1 pixel per 10 ms on both
// axes: it reaches the bottom-right corner after 500 ms, turns on both axes
// (two hits) and stops there with a limit of 2.
TEST(VORAnimationBounceTest, AVelocityMotionTravelsDiagonallyAndStopsAtItsLimit) {
  const VORRect container(0, 0, 100, 100);
  VORAnimationController::Bounce bounce = MakeBounce(1, 1, 2, VORRect(40, 40, 50, 50));
  VORRect rect;
  EXPECT_TRUE(bounce.Step(250, container, rect));
  EXPECT_EQ(rect, VORRect(65, 65, 75, 75));
  EXPECT_FALSE(bounce.Step(500, container, rect));
  EXPECT_EQ(rect, VORRect(90, 90, 100, 100));
  EXPECT_EQ(bounce.edgeHits, 2);
  EXPECT_EQ(bounce.xSpeed, -1);
  EXPECT_EQ(bounce.ySpeed, -1);
}

TEST(VORAnimationBounceTest, WithoutALimitABouncingObjectNeverStops) {
  const VORRect container(0, 0, 100, 100);
  VORAnimationController::Bounce bounce = MakeBounce(1, 5, -1, VORRect(40, 40, 50, 50));
  VORRect rect;
  for (uint32_t now = 0; now < 100000; now += 30) {
    ASSERT_TRUE(bounce.Step(now, container, rect)) << now;
    ASSERT_TRUE(container.Holds(rect)) << now;
  }
  EXPECT_GT(bounce.edgeHits, 100);
}

// Kind 4 with a negative speed starts upwards, moves only vertically,
// and once it has hit its limit of edges stops on its starting place.
TEST(VORAnimationBounceTest, AVerticalBounceReturnsToItsStartAfterItsLimit) {
  const VORRect container(0, 0, 100, 100);
  const VORRect start(20, 40, 30, 50);
  VORAnimationController::Bounce bounce = MakeBounce(4, -1, 2, start);
  VORRect rect;
  EXPECT_TRUE(bounce.Step(100, container, rect));
  EXPECT_EQ(rect, VORRect(20, 30, 30, 40)) << "up, and not sideways";
  EXPECT_TRUE(bounce.Step(400, container, rect));
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(bounce.edgeHits, 1);
  EXPECT_TRUE(bounce.Step(1300, container, rect));
  EXPECT_EQ(rect.bottom, 100);
  EXPECT_EQ(bounce.edgeHits, 2);
  EXPECT_TRUE(bounce.Step(1700, container, rect)) << "on its way up, not yet past the start";
  EXPECT_EQ(rect.top, 50);
  EXPECT_FALSE(bounce.Step(1900, container, rect));
  EXPECT_EQ(rect, start);
}

TEST(VORAnimationBounceTest, AHorizontalBounceMovesOnlySideways) {
  const VORRect container(0, 0, 100, 100);
  VORAnimationController::Bounce bounce = MakeBounce(5, 2, -1, VORRect(20, 40, 30, 50));
  VORRect rect;
  EXPECT_TRUE(bounce.Step(100, container, rect));
  EXPECT_EQ(rect, VORRect(40, 40, 50, 50));
}

// The right and bottom corrections follow the left and top ones.
TEST(VORAnimationBounceTest, AnObjectLargerThanItsContainerAlignsRightAndBottom) {
  const VORRect container(0, 0, 100, 100);
  VORAnimationController::Bounce bounce = MakeBounce(1, 1, -1, VORRect(-10, -10, 140, 130));
  VORRect rect;
  bounce.Step(0, container, rect);
  EXPECT_EQ(rect, VORRect(-50, -40, 100, 100));
}

} // namespace
