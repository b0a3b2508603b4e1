#include "engine/VORVariableList.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "engine/VORClock.h"
#include "engine/VORVariable.h"

namespace {

constexpr uint32_t kMillisecondsPerSecond = 1000;
constexpr int kNoon = 12;
constexpr size_t kIntTextSize = 24;
const char *const kTimeSeparators = " :\n";

// The variables that the seven words of the local time go to, in order.
const char *const kLocalTimeVariables[] = {
    "SYSTEM_TIME_DAY",    "SYSTEM_TIME_MONTH",  "SYSTEM_TIME_DATE", VORVariableList::kHour,
    "SYSTEM_TIME_MINUTE", "SYSTEM_TIME_SECOND", "SYSTEM_TIME_YEAR",
};

bool SameName(const XQString &left, const XQString &right) {
  if (left.GetLength() != right.GetLength())
    return false;
  const char *a = left.CStr();
  const char *b = right.CStr();
  for (; *a; ++a, ++b) {
    const auto lowerA = static_cast<unsigned char>(*a >= 'A' && *a <= 'Z' ? *a - 'A' + 'a' : *a);
    const auto lowerB = static_cast<unsigned char>(*b >= 'A' && *b <= 'Z' ? *b - 'A' + 'a' : *b);
    if (lowerA != lowerB)
      return false;
  }
  return true;
}

XQString IntText(long value) {
  char text[kIntTextSize];
  std::snprintf(text, sizeof text, "%ld", value);
  return XQString(text);
}

// The words of the text between separators, as strtok finds them.
std::vector<XQString> Words(const char *text) {
  std::vector<XQString> words;
  while (*text) {
    text += std::strspn(text, kTimeSeparators);
    const size_t length = std::strcspn(text, kTimeSeparators);
    if (length == 0)
      break;
    words.emplace_back(text, static_cast<uint32_t>(length));
    text += length;
  }
  return words;
}

} // namespace

VORVariableList::~VORVariableList() { m_variables.DeleteAll(); }

VORVariable *VORVariableList::Find(const XQString &name) const {
  VORVariable *found = nullptr;
  return m_variables.FindIf([&](const VORVariable *variable) { return SameName(variable->GetName(), name); }, found)
             ? found
             : nullptr;
}

VORVariable *VORVariableList::FindOrCreate(const XQString &name) {
  if (VORVariable *found = Find(name))
    return found;
  auto *variable = new VORVariable(name);
  m_variables.Append(variable);
  return variable;
}

bool VORVariableList::Contains(const VORVariable *variable) const {
  VORVariable *found = nullptr;
  return m_variables.FindIf([variable](const VORVariable *candidate) { return candidate == variable; }, found);
}

// Walks a snapshot: receivers of the announcements may create variables
// (which stay) or clear the list themselves (whose variables are then gone
// and passed over), and the walk still ends.
void VORVariableList::ClearAll() {
  std::vector<VORVariable *> snapshot;
  {
    XQListCursor cursor(m_variables);
    VORVariable *variable = nullptr;
    for (bool more = m_variables.First(cursor, variable); more; more = m_variables.Next(cursor, variable))
      snapshot.push_back(variable);
  }
  for (VORVariable *variable : snapshot) {
    if (!Contains(variable))
      continue;
    variable->SetValue(XQString());
    if (Contains(variable)) {
      m_variables.Remove(variable);
      delete variable;
    }
  }
}

void VORVariableList::SetIfChanged(const XQString &name, const XQString &text) {
  VORVariable *variable = FindOrCreate(name);
  if (variable->GetValue().Equals(text))
    return;
  const bool isHour = SameName(name, XQString(kHour));
  variable->SetValue(text);
  if (isHour)
    SetTwelveHour(text);
}

void VORVariableList::SetTwelveHour(const XQString &hourText) {
  const long hour = std::atol(hourText.CStr());
  if (hour >= kNoon) {
    SetIfChanged(XQString(kHour12), IntText(hour > kNoon ? hour - kNoon : hour));
    SetIfChanged(XQString(kAmPm), XQString("PM"));
  } else {
    SetIfChanged(XQString(kHour12), IntText(hour == 0 ? kNoon : hour));
    SetIfChanged(XQString(kAmPm), XQString("AM"));
  }
}

void VORVariableList::RefreshBuiltins(VORClock &clock, uint32_t startTime) {
  const uint32_t elapsed = (clock.GetMilliseconds() - startTime) / kMillisecondsPerSecond;
  VORVariable *publicationTime = FindOrCreate(XQString(kPublicationTime));
  if (static_cast<int64_t>(elapsed) != publicationTime->GetInt())
    publicationTime->SetInt(static_cast<int32_t>(elapsed));
  // The runtime answers no text for a time it cannot convert.
  if (const char *timeText = clock.GetLocalTimeText())
    RefreshLocalTime(timeText);
}

void VORVariableList::RefreshLocalTime(const char *timeText) {
  const std::vector<XQString> words = Words(timeText);
  const size_t count = std::min(words.size(), std::size(kLocalTimeVariables));
  for (size_t i = 0; i < count; ++i)
    SetIfChanged(XQString(kLocalTimeVariables[i]), words[i]);
}

XQString VORVariableList::GetVariableValue(const XQString &name) { return FindOrCreate(name)->GetValue(); }

void VORVariableList::SetVariableValue(const XQString &name, const XQString &value) {
  FindOrCreate(name)->SetValue(value);
}
