#pragma once

// Token numbers shared by the lexer and the parser tables: 0 ends the input,
// a single-character token is the character's own code, named tokens start
// at 257.
namespace ExpressionToken {
constexpr int kEnd = 0;
constexpr int kError = 256;
constexpr int kName = 257;
constexpr int kBool = 258;
constexpr int kInteger = 259;
constexpr int kFloat = 260;
constexpr int kString = 261;
constexpr int kOr = 262;
constexpr int kAnd = 263;
constexpr int kNot = 264;
constexpr int kUnused = 265; // declared by the language, never produced
constexpr int kNotEqual = 266;
constexpr int kLess = 267;
constexpr int kGreater = 268;
constexpr int kLessEqual = 269;
constexpr int kGreaterEqual = 270;
constexpr int kCount = 271; // one past the highest token number
} // namespace ExpressionToken
