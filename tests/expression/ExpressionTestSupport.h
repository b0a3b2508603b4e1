#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "expression/ExprValue.h"
#include "expression/VORVariableStore.h"

// GoogleTest prints values with this in failure messages.
inline void PrintTo(const ExprValue &value, std::ostream *out) {
  static const char *const kKindNames[] = {"Bool", "Integer", "Float", "String"};
  *out << kKindNames[static_cast<int>(value.GetKind())] << "(" << value.ToText() << ")";
}

// A variable store in memory: names compare without regard to ASCII case and
// keep the case of their first use, as the application's list does.
class FakeVariableStore : public VORVariableStore {
public:
  XQString GetVariableValue(const XQString &name) override { return XQString(Find(name.CStr()).second.c_str()); }

  void SetVariableValue(const XQString &name, const XQString &value) override {
    Find(name.CStr()).second = value.CStr();
    m_sets.emplace_back(name.CStr(), value.CStr());
  }

  // Fills a variable without counting it as a set by the language.
  void Preset(const char *name, const char *value) { Find(name).second = value; }

  bool Has(const char *name) const { return Lookup(name) != nullptr; }
  // The value, or "<missing>" for a variable never named.
  std::string ValueOf(const char *name) const {
    const auto *entry = Lookup(name);
    return entry ? entry->second : "<missing>";
  }
  const std::vector<std::pair<std::string, std::string>> &Sets() const { return m_sets; }
  size_t Count() const { return m_variables.size(); }

private:
  static bool SameName(const std::string &a, const char *b) {
    const std::string other(b);
    if (a.size() != other.size())
      return false;
    for (size_t i = 0; i < a.size(); ++i) {
      auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
      if (fold(a[i]) != fold(other[i]))
        return false;
    }
    return true;
  }

  const std::pair<std::string, std::string> *Lookup(const char *name) const {
    for (const auto &entry : m_variables) {
      if (SameName(entry.first, name))
        return &entry;
    }
    return nullptr;
  }

  std::pair<std::string, std::string> &Find(const char *name) {
    for (auto &entry : m_variables) {
      if (SameName(entry.first, name))
        return entry;
    }
    m_variables.emplace_back(name, std::string());
    return m_variables.back();
  }

  std::vector<std::pair<std::string, std::string>> m_variables;
  std::vector<std::pair<std::string, std::string>> m_sets;
};
