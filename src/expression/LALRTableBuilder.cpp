#include "expression/LALRTableBuilder.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>

namespace {

// A set of table columns (tokens); the grammars built here use fewer than 64.
using TokenSet = uint64_t;
constexpr int kMaxColumns = 64;
constexpr int kEndToken = 0;

// An LR(0) item: a rule and how much of its right-hand side has been seen.
struct Item {
  int rule;
  int dot;
  bool operator<(const Item &other) const { return rule != other.rule ? rule < other.rule : dot < other.dot; }
  bool operator==(const Item &other) const { return rule == other.rule && dot == other.dot; }
};

using Kernel = std::vector<Item>;
using ItemLookaheads = std::map<Item, TokenSet>;

class Builder {
public:
  explicit Builder(const Grammar &grammar) : m_grammar(grammar) {}

  ParserTables Build() {
    AssignColumns();
    ComputeFirstSets();
    BuildStates();
    PropagateLookaheads();
    return MakeTables();
  }

private:
  const Grammar::Rule &RuleAt(int rule) const { return m_grammar.rules[static_cast<size_t>(rule)]; }

  // The symbol after the dot, or 0 with false when the item is complete.
  bool SymbolAfterDot(const Item &item, int &symbol) const {
    const std::vector<int> &rhs = RuleAt(item.rule).rhs;
    if (static_cast<size_t>(item.dot) >= rhs.size())
      return false;
    symbol = rhs[static_cast<size_t>(item.dot)];
    return true;
  }

  TokenSet TokenBit(int token) const { return TokenSet{1} << m_columnOfToken[static_cast<size_t>(token)]; }

  void AssignColumns() {
    m_columnOfToken.assign(static_cast<size_t>(m_grammar.tokenCount), -1);
    m_columnOfToken[kEndToken] = 0;
    m_columnCount = 1;
    for (const Grammar::Rule &rule : m_grammar.rules) {
      if (rule.rhs.empty())
        throw std::logic_error("grammar rules must not be empty");
      for (int symbol : rule.rhs) {
        if (!Grammar::IsNonterminal(symbol) && m_columnOfToken[static_cast<size_t>(symbol)] < 0)
          m_columnOfToken[static_cast<size_t>(symbol)] = static_cast<int16_t>(m_columnCount++);
      }
    }
    if (m_columnCount > kMaxColumns)
      throw std::logic_error("grammar has too many tokens");
  }

  // No rule is empty, so a symbol string starts with what its first symbol starts with.
  void ComputeFirstSets() {
    m_first.assign(static_cast<size_t>(m_grammar.nonterminalCount), 0);
    for (bool changed = true; changed;) {
      changed = false;
      for (const Grammar::Rule &rule : m_grammar.rules) {
        const TokenSet before = m_first[static_cast<size_t>(rule.lhs)];
        m_first[static_cast<size_t>(rule.lhs)] |= FirstOf(rule.rhs.front());
        changed |= m_first[static_cast<size_t>(rule.lhs)] != before;
      }
    }
  }

  TokenSet FirstOf(int symbol) const {
    return Grammar::IsNonterminal(symbol) ? m_first[static_cast<size_t>(Grammar::NonterminalIndex(symbol))]
                                          : TokenBit(symbol);
  }

  // The closure of a kernel with lookaheads: every rule of a nonterminal
  // after a dot joins, its lookaheads being what can follow that nonterminal.
  ItemLookaheads Closure(const Kernel &kernel, const std::vector<TokenSet> &lookaheads) const {
    ItemLookaheads items;
    std::vector<Item> pending;
    for (size_t i = 0; i < kernel.size(); ++i) {
      items[kernel[i]] |= lookaheads.empty() ? 0 : lookaheads[i];
      pending.push_back(kernel[i]);
    }
    while (!pending.empty()) {
      const Item item = pending.back();
      pending.pop_back();
      int symbol = 0;
      if (!SymbolAfterDot(item, symbol) || !Grammar::IsNonterminal(symbol))
        continue;
      const std::vector<int> &rhs = RuleAt(item.rule).rhs;
      const size_t next = static_cast<size_t>(item.dot) + 1;
      const TokenSet follow = next < rhs.size() ? FirstOf(rhs[next]) : items[item];
      const int lhs = Grammar::NonterminalIndex(symbol);
      for (int rule = 0; rule < static_cast<int>(m_grammar.rules.size()); ++rule) {
        if (RuleAt(rule).lhs != lhs)
          continue;
        const Item added{rule, 0};
        const auto found = items.find(added);
        if (found == items.end()) {
          items[added] = follow;
          pending.push_back(added);
        } else if ((found->second | follow) != found->second) {
          found->second |= follow;
          pending.push_back(added);
        }
      }
    }
    return items;
  }

  int StateOf(const Kernel &kernel) {
    const auto found = m_stateOfKernel.find(kernel);
    if (found != m_stateOfKernel.end())
      return found->second;
    const int state = static_cast<int>(m_kernels.size());
    m_stateOfKernel[kernel] = state;
    m_kernels.push_back(kernel);
    m_transitions.emplace_back();
    return state;
  }

  void BuildStates() {
    StateOf(Kernel{Item{0, 0}});
    for (size_t state = 0; state < m_kernels.size(); ++state) {
      std::map<int, Kernel> advanced;
      for (const auto &entry : Closure(m_kernels[state], {})) {
        int symbol = 0;
        if (SymbolAfterDot(entry.first, symbol))
          advanced[symbol].push_back(Item{entry.first.rule, entry.first.dot + 1});
      }
      for (auto &entry : advanced) {
        std::sort(entry.second.begin(), entry.second.end());
        const int target = StateOf(entry.second);
        m_transitions[state][entry.first] = target;
      }
    }
  }

  void PropagateLookaheads() {
    m_kernelLookaheads.assign(m_kernels.size(), {});
    for (size_t state = 0; state < m_kernels.size(); ++state)
      m_kernelLookaheads[state].assign(m_kernels[state].size(), 0);
    m_kernelLookaheads[0][0] = TokenBit(kEndToken);
    for (bool changed = true; changed;) {
      changed = false;
      for (size_t state = 0; state < m_kernels.size(); ++state) {
        for (const auto &entry : Closure(m_kernels[state], m_kernelLookaheads[state])) {
          int symbol = 0;
          if (!SymbolAfterDot(entry.first, symbol))
            continue;
          const size_t target = static_cast<size_t>(m_transitions[state].at(symbol));
          const Kernel &kernel = m_kernels[target];
          const Item advanced{entry.first.rule, entry.first.dot + 1};
          const size_t index = static_cast<size_t>(std::find(kernel.begin(), kernel.end(), advanced) - kernel.begin());
          TokenSet &lookaheads = m_kernelLookaheads[target][index];
          if ((lookaheads | entry.second) != lookaheads) {
            lookaheads |= entry.second;
            changed = true;
          }
        }
      }
    }
  }

  int TokenLevel(int token) const {
    for (const Grammar::TokenPrecedence &precedence : m_grammar.precedences) {
      if (precedence.token == token)
        return precedence.level;
    }
    return 0;
  }

  int RuleLevel(int rule) const {
    const Grammar::Rule &r = RuleAt(rule);
    if (r.precedence)
      return r.precedence;
    for (auto symbol = r.rhs.rbegin(); symbol != r.rhs.rend(); ++symbol) {
      if (!Grammar::IsNonterminal(*symbol))
        return TokenLevel(*symbol);
    }
    return 0;
  }

  // Settles a reduction by `rule` on `token` against what the column holds.
  void AddReduction(ParserAction &slot, int rule, int token, ParserTables &tables) const {
    const ParserAction reduce{ParserActionType::Reduce, static_cast<int16_t>(rule)};
    if (slot.type == ParserActionType::Error) {
      slot = reduce;
    } else if (slot.type == ParserActionType::Reduce) {
      ++tables.unresolvedConflicts;
      slot.value = std::min<int16_t>(slot.value, reduce.value);
    } else if (slot.type == ParserActionType::Shift) {
      const int tokenLevel = TokenLevel(token);
      const int ruleLevel = RuleLevel(rule);
      if (tokenLevel == 0 || ruleLevel == 0)
        ++tables.unresolvedConflicts; // the shift stays
      else if (ruleLevel >= tokenLevel)
        slot = reduce;
    }
  }

  ParserTables MakeTables() {
    ParserTables tables;
    tables.stateCount = static_cast<int>(m_kernels.size());
    tables.columnCount = m_columnCount;
    tables.nonterminalCount = m_grammar.nonterminalCount;
    tables.columnOfToken = m_columnOfToken;
    tables.actions.assign(static_cast<size_t>(tables.stateCount) * static_cast<size_t>(tables.columnCount),
                          ParserAction());
    tables.needsLookahead.assign(static_cast<size_t>(tables.stateCount), 1);
    tables.defaultActions.assign(static_cast<size_t>(tables.stateCount), ParserAction());
    tables.gotos.assign(static_cast<size_t>(tables.stateCount) * static_cast<size_t>(tables.nonterminalCount), -1);
    for (const Grammar::Rule &rule : m_grammar.rules) {
      tables.rules.push_back(ParserRule{static_cast<int16_t>(rule.lhs), static_cast<int16_t>(rule.rhs.size()),
                                        static_cast<int16_t>(rule.action)});
    }

    for (size_t state = 0; state < m_kernels.size(); ++state) {
      ParserAction *row = &tables.actions[state * static_cast<size_t>(tables.columnCount)];
      bool shifts = false;
      for (const auto &transition : m_transitions[state]) {
        if (Grammar::IsNonterminal(transition.first)) {
          tables.gotos[state * static_cast<size_t>(tables.nonterminalCount) +
                       static_cast<size_t>(Grammar::NonterminalIndex(transition.first))] =
              static_cast<int16_t>(transition.second);
        } else {
          row[m_columnOfToken[static_cast<size_t>(transition.first)]] =
              ParserAction{ParserActionType::Shift, static_cast<int16_t>(transition.second)};
          shifts = true;
        }
      }
      std::vector<int> reducedRules;
      for (const auto &entry : Closure(m_kernels[state], m_kernelLookaheads[state])) {
        int symbol = 0;
        if (SymbolAfterDot(entry.first, symbol))
          continue;
        if (entry.first.rule == 0) {
          row[0] = ParserAction{ParserActionType::Accept, 0};
          continue;
        }
        reducedRules.push_back(entry.first.rule);
        for (int token = 0; token < m_grammar.tokenCount; ++token) {
          const int column = m_columnOfToken[static_cast<size_t>(token)];
          if (column >= 0 && (entry.second & (TokenSet{1} << column)))
            AddReduction(row[column], entry.first.rule, token, tables);
        }
      }
      // A state whose one move is a reduction takes it without a lookahead.
      const bool accepts = row[0].type == ParserActionType::Accept;
      if (!shifts && !accepts && reducedRules.size() == 1) {
        tables.needsLookahead[state] = 0;
        tables.defaultActions[state] = ParserAction{ParserActionType::Reduce, static_cast<int16_t>(reducedRules[0])};
      }
    }
    return tables;
  }

  const Grammar &m_grammar;
  std::vector<int16_t> m_columnOfToken;
  int m_columnCount = 0;
  std::vector<TokenSet> m_first;
  std::vector<Kernel> m_kernels;
  std::map<Kernel, int> m_stateOfKernel;
  std::vector<std::map<int, int>> m_transitions; // per state: symbol -> state
  std::vector<std::vector<TokenSet>> m_kernelLookaheads;
};

} // namespace

ParserTables LALRTableBuilder::Build(const Grammar &grammar) { return Builder(grammar).Build(); }
