#include "model/VOREventCondition.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/FakeApp.h"
#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"

namespace {

using Op = VOREventCondition::Operator;
constexpr uint8_t kNegate = VOREventCondition::kNegate;
constexpr uint8_t kExpression = VOREventCondition::kExpression;

class VOREventConditionTest : public ::testing::Test {
protected:
  bool Evaluate(uint8_t op, uint8_t flags, const char *variable, const char *operand) {
    VOREventCondition condition(op, flags, variable, operand);
    return condition.Evaluate();
  }

  std::unique_ptr<VOREventCondition> Read(const PublicationRecords::Condition &written, uint32_t version) {
    const PublicationRecords::ListedObject object = written.Object();
    WrittenFolder folder([&](PublicationWriter::Folder &f) { object.AddTo(f); }, version);
    auto condition = std::make_unique<VOREventCondition>(static_cast<int32_t>(written.id));
    condition->Read(folder.File());
    return condition;
  }

  FakeApp app;
};

TEST_F(VOREventConditionTest, ComparisonTable) {
  struct Case {
    const char *value;
    uint8_t op;
    const char *operand;
    uint8_t flags;
    bool expected;
  } cases[] = {
      // Numbers when both begin with a digit; texts otherwise.
      {"10", Op::kLess, "9", 0, false},
      {"10", Op::kLess, "x9", 0, true},
      {"10", Op::kGreater, "9", 0, true},
      {"007", Op::kEqual, "7", 0, true},
      {"12 apples", Op::kEqual, "12", 0, true},
      // A sign is no digit: "-20" and "-10" compare as texts.
      {"-20", Op::kLess, "-10", 0, false},
      // Numbers beyond 32 bits are clamped, not wrapped.
      {"99999999999", Op::kGreater, "2147483646", 0, true},
      {"4294967296", Op::kEqual, "0", 0, false},
      // Texts compare without regard to case, as _stricmp: folded to
      // lower case, so '_' sorts before letters.
      {"abc", Op::kEqual, "ABC", 0, true},
      {"abc", Op::kNotEqual, "ABC", 0, false},
      {"_x", Op::kLess, "a", 0, true},
      {"B", Op::kGreaterOrEqual, "a", 0, true},
      {"apple", Op::kLessOrEqual, "apple", 0, true},
      {"", Op::kLess, "a", 0, true},
      // Contains, without regard to case; an empty operand is in every value.
      {"Hello World", Op::kContains, "WORLD", 0, true},
      {"Hello", Op::kContains, "", 0, true},
      {"", Op::kContains, "", 0, true},
      {"Hello", Op::kContains, "xyz", 0, false},
      // The constant operators, an unknown one, and negation.
      {"any", Op::kAlways, "", 0, true},
      {"any", Op::kNever, "", 0, false},
      {"any", 9, "", 0, true},
      {"any", 200, "", 0, true},
      {"abc", Op::kEqual, "ABC", kNegate, false},
      {"any", Op::kNever, "", kNegate, true},
  };
  for (const Case &c : cases) {
    app.Variables()["v"] = c.value;
    EXPECT_EQ(Evaluate(c.op, c.flags, "v", c.operand), c.expected)
        << '"' << c.value << "\" op " << int(c.op) << " \"" << c.operand << "\" flags " << int(c.flags);
  }
}

// Each text is compared up to 499 characters.
TEST_F(VOREventConditionTest, TextsCompareUpTo499Characters) {
  const std::string head(499, 'a');
  app.Variables()["long"] = head + "b";
  EXPECT_TRUE(Evaluate(Op::kEqual, 0, "long", (head + "c").c_str()));
  EXPECT_TRUE(Evaluate(Op::kContains, 0, "long", (head + "z").c_str()));
  EXPECT_FALSE(Evaluate(Op::kContains, 0, "long", "b"));
}

TEST_F(VOREventConditionTest, AMissingVariableIsMadeEmpty) {
  EXPECT_TRUE(Evaluate(Op::kEqual, 0, "never set", ""));
  EXPECT_EQ(app.Variables().count("never set"), 1u);
  EXPECT_EQ(app.Variables()["never set"], "");
  EXPECT_FALSE(Evaluate(Op::kEqual, 0, "also unset", "0"));
}

// In expression mode the variable name is an expression; negation is not
// applied, and an empty expression is false.
TEST_F(VOREventConditionTest, ExpressionMode) {
  app.Variables()["score"] = "7";
  struct Case {
    const char *expression;
    uint8_t flags;
    bool expected;
  } cases[] = {
      {"<score> > 5", kExpression, true},
      {"<score> > 5", kExpression | kNegate, true},
      {"<score> < 5", kExpression | kNegate, false},
      {"", kExpression, false},
      {"", kExpression | kNegate, false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Evaluate(Op::kNever, c.flags, c.expression, "ignored"), c.expected)
        << '"' << c.expression << "\" flags " << int(c.flags);
}

// The flags byte exists in files of versions above 0x4000002 only.
TEST_F(VOREventConditionTest, TheFlagsByteComesWithLaterVersions) {
  PublicationRecords::Condition written;
  written.op = Op::kContains;
  written.variable = "name";
  written.operand = "x";
  std::unique_ptr<VOREventCondition> old = Read(written, 0x4000002);
  EXPECT_EQ(old->GetOperator(), Op::kContains);
  EXPECT_EQ(old->GetFlags(), 0);
  EXPECT_STREQ(old->GetVariableName().CStr(), "name");
  EXPECT_STREQ(old->GetOperand().CStr(), "x");

  written.withFlags = true;
  written.flags = kNegate | kExpression;
  std::unique_ptr<VOREventCondition> later = Read(written, 0x4000003);
  EXPECT_EQ(later->GetOperator(), Op::kContains);
  EXPECT_EQ(later->GetFlags(), kNegate | kExpression);
  EXPECT_STREQ(later->GetVariableName().CStr(), "name");
  EXPECT_STREQ(later->GetOperand().CStr(), "x");
}

// A record that ends after the operator byte keeps its operator; the flags
// byte, the name and the operand take their defaults.
TEST_F(VOREventConditionTest, ARecordEndingAfterTheOperatorKeepsIt) {
  struct Case {
    uint32_t version;
    uint8_t op;
    bool expected;
  } cases[] = {
      {0x4000003, Op::kNever, false},
      {0x4000002, Op::kNever, false},
      {0x4000003, Op::kNotEqual, false}, // the empty value against the empty operand
      {0x4000003, Op::kLessOrEqual, true},
  };
  for (const Case &c : cases) {
    const PublicationRecords::ListedObject object{VORObjectKey{3, 0x17, 1}, {c.op}};
    WrittenFolder folder([&](PublicationWriter::Folder &f) { object.AddTo(f); }, c.version);
    VOREventCondition condition(1);
    condition.Read(folder.File());
    EXPECT_EQ(condition.GetOperator(), c.op) << int(c.op) << std::hex << " version " << c.version;
    EXPECT_EQ(condition.GetFlags(), 0) << int(c.op);
    EXPECT_STREQ(condition.GetVariableName().CStr(), "") << int(c.op);
    EXPECT_EQ(condition.Evaluate(), c.expected) << int(c.op) << std::hex << " version " << c.version;
  }
}

TEST_F(VOREventConditionTest, AnEmptyRecordAlwaysHolds) {
  PublicationRecords::Condition written;
  written.withOperator = false;
  written.op = Op::kNever;
  std::unique_ptr<VOREventCondition> condition = Read(written, 0x4000003);
  EXPECT_EQ(condition->GetOperator(), Op::kAlways);
  EXPECT_EQ(condition->GetFlags(), 0);
  EXPECT_TRUE(condition->Evaluate());
}

} // namespace
