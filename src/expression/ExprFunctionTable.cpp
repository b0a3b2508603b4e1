#include "expression/ExprFunctionTable.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "expression/RuntimeNumberFormatter.h"
#include "foundation/VORRandomGenerator.h"

namespace {

using Arguments = std::vector<ExprValue>;
using Function = ExprValue (*)(const Arguments &);

constexpr const char *kDefaultWordSeparators = " ";
constexpr int32_t kWordCountIndex = -1;
// Half a unit in the last place of the largest float: from here on a double
// rounds to infinity when it is narrowed.
constexpr double kFloatOverflowThreshold = static_cast<double>(FLT_MAX) + 0x1p103;

// Clamps a position or count taken from the language into 0..limit.
size_t Clamp(int32_t value, size_t limit) {
  if (value <= 0)
    return 0;
  return std::min(static_cast<size_t>(value), limit);
}

ExprValue Left(const Arguments &a) {
  const std::string text = a[0].ToText();
  return ExprValue::FromString(text.substr(0, Clamp(a[1].ToInteger(), text.size())));
}

ExprValue Right(const Arguments &a) {
  const std::string text = a[0].ToText();
  const size_t count = Clamp(a[1].ToInteger(), text.size());
  return ExprValue::FromString(text.substr(text.size() - count));
}

// The 0-based offset of a 1-based start, clamped to 1..length + 1.
size_t MidOffset(const ExprValue &start, size_t length) {
  const int32_t position = start.ToInteger();
  return position <= 1 ? 0 : Clamp(position - 1, length);
}

ExprValue MidToEnd(const Arguments &a) {
  const std::string text = a[0].ToText();
  return ExprValue::FromString(text.substr(MidOffset(a[1], text.size())));
}

ExprValue MidCount(const Arguments &a) {
  const std::string text = a[0].ToText();
  const size_t offset = MidOffset(a[1], text.size());
  return ExprValue::FromString(text.substr(offset, Clamp(a[2].ToInteger(), text.size() - offset)));
}

// Bytes go through unsigned char: letters above 0x7F must not index the
// character tables with a negative number.
template <int (*Convert)(int)>
ExprValue MapLetters(const Arguments &a) {
  std::string text = a[0].ToText();
  for (char &c : text)
    c = static_cast<char>(Convert(static_cast<unsigned char>(c)));
  return ExprValue::FromString(std::move(text));
}

int ToUpperByte(int c) { return std::toupper(c); }
int ToLowerByte(int c) { return std::tolower(c); }

ExprValue Length(const Arguments &a) { return ExprValue::FromInteger(static_cast<int32_t>(a[0].ToText().size())); }

ExprValue Contains(const Arguments &a) {
  return ExprValue::FromBool(a[0].ToText().find(a[1].ToText()) != std::string::npos);
}

ExprValue Word(const std::string &text, int32_t index, const std::string &separators) {
  std::vector<std::string> words;
  size_t start = text.find_first_not_of(separators);
  while (start != std::string::npos) {
    const size_t end = text.find_first_of(separators, start);
    words.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    start = end == std::string::npos ? end : text.find_first_not_of(separators, end);
  }
  if (index == kWordCountIndex)
    return ExprValue::FromInteger(static_cast<int32_t>(words.size()));
  if (index < 1 || static_cast<size_t>(index) > words.size())
    return ExprValue::FromString(std::string());
  return ExprValue::FromString(words[static_cast<size_t>(index) - 1]);
}

ExprValue WordBySpaces(const Arguments &a) { return Word(a[0].ToText(), a[1].ToInteger(), kDefaultWordSeparators); }

ExprValue WordBySeparators(const Arguments &a) { return Word(a[0].ToText(), a[1].ToInteger(), a[2].ToText()); }

ExprValue ToBool(const Arguments &a) { return ExprValue::FromBool(a[0].ToBool()); }
ExprValue ToInteger(const Arguments &a) { return ExprValue::FromInteger(a[0].ToInteger()); }
ExprValue ToFloat(const Arguments &a) { return ExprValue::FromFloat(a[0].ToFloat()); }
ExprValue ToString(const Arguments &a) { return ExprValue::FromString(a[0].ToText()); }

// The number is never negative, so its remainder is not either; a modulus
// of 0 has no remainder and gives 0.
ExprValue Random(const Arguments &a) {
  const int32_t number = VORRandomGenerator::Next();
  const int32_t modulus = a[0].ToInteger();
  return ExprValue::FromInteger(modulus == 0 ? 0 : number % modulus);
}

// Narrows as the processor does, without the undefined conversion of a
// double beyond the float range.
float NarrowToFloat(double value) {
  const double magnitude = std::fabs(value);
  float narrowed = 0.0f;
  if (std::isnan(value))
    narrowed = std::numeric_limits<float>::quiet_NaN();
  else if (magnitude >= kFloatOverflowThreshold)
    narrowed = std::numeric_limits<float>::infinity();
  else if (magnitude > FLT_MAX)
    narrowed = FLT_MAX;
  else
    return static_cast<float>(value);
  return std::signbit(value) ? -narrowed : narrowed;
}

// The format is "%", the text given and "f", and that text comes from what a
// user may have typed: a format that is not one conversion of a double with plain text
// after it makes the call fail like an unknown function.
ExprValue Format(const Arguments &a) {
  const std::string format = "%" + a[0].ToText() + "f";
  NumberFormat numberFormat;
  if (!NumberFormat::Parse(format.c_str(), numberFormat))
    return ExprValue();
  return ExprValue::FromString(RuntimeNumberFormatter::Format(NarrowToFloat(a[1].ToFloat()), numberFormat));
}

struct FunctionEntry {
  const char *name;
  size_t argumentCount;
  Function function;
};

constexpr FunctionEntry kFunctions[] = {
    {"left", 2, Left},
    {"right", 2, Right},
    {"mid", 2, MidToEnd},
    {"mid", 3, MidCount},
    {"toupper", 1, MapLetters<ToUpperByte>},
    {"tolower", 1, MapLetters<ToLowerByte>},
    {"length", 1, Length},
    {"contains", 2, Contains},
    {"word", 2, WordBySpaces},
    {"word", 3, WordBySeparators},
    {"bool", 1, ToBool},
    {"integer", 1, ToInteger},
    {"float", 1, ToFloat},
    {"string", 1, ToString},
    {"random", 1, Random},
    {"format", 2, Format},
};

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNameIgnoringCase(const std::string &name, const char *entry) {
  const size_t length = std::strlen(entry);
  if (name.size() != length)
    return false;
  for (size_t i = 0; i < length; ++i) {
    if (FoldCase(name[i]) != FoldCase(entry[i]))
      return false;
  }
  return true;
}

} // namespace

ExprValue ExprFunctionTable::Call(const std::string &name, const std::vector<ExprValue> &arguments) {
  for (const FunctionEntry &entry : kFunctions) {
    if (entry.argumentCount == arguments.size() && SameNameIgnoringCase(name, entry.name))
      return entry.function(arguments);
  }
  return ExprValue();
}
