#include "expression/VORYACCParser.h"

#include <algorithm>
#include <new>
#include <utility>

#include "foundation/VORException.h"

namespace {

constexpr int kNoLookahead = -1;
constexpr const char *kSyntaxError = "syntax error";
constexpr const char *kStackOverflow = "yacc stack overflow";

} // namespace

VORYACCParser::VORYACCParser(const ParserTables &tables) : m_tables(tables) { ResetParser(); }

VORYACCParser::~VORYACCParser() = default;

void VORYACCParser::ReportError(const char *) {}

int VORYACCParser::NextToken() { return m_lexer ? m_lexer->RunLexer() : 0; }

int VORYACCParser::Parse(const char *text) {
  if (m_lexer)
    m_lexer->SetInput(text);
  const int result = RunParser();
  ResetParser();
  return result;
}

void VORYACCParser::ResetParser() {
  m_values.clear();
  m_states.clear();
  if (m_states.capacity() > kInitialStackDepth) {
    std::vector<int16_t>().swap(m_states);
    std::vector<ParserValue>().swap(m_values);
  }
  m_states.reserve(kInitialStackDepth);
  m_values.reserve(kInitialStackDepth);
}

bool VORYACCParser::Push(int16_t state, ParserValue value) {
  if (m_states.size() == m_states.capacity()) {
    if (m_states.size() >= kMaxStackDepth)
      return false;
    const size_t depth = std::min(std::max(m_states.size() * 2, kInitialStackDepth), kMaxStackDepth);
    try {
      m_states.reserve(depth);
      m_values.reserve(depth);
    } catch (const std::bad_alloc &) {
      return false;
    } catch (const VORNewFailException &) {
      // The program's allocator reports failures this way; a parse that
      // cannot grow its stacks still ends as an overflow, not as a crash.
      return false;
    }
  }
  m_states.push_back(state);
  m_values.push_back(std::move(value));
  return true;
}

void VORYACCParser::Reduce(int rule) {
  const ParserRule &r = m_tables.rules[static_cast<size_t>(rule)];
  const size_t length = static_cast<size_t>(r.length);
  ParserValue *symbols = m_values.data() + (m_values.size() - length);
  ParserValue result = r.action >= 0 ? ReduceRule(r.action, symbols, length) : std::move(symbols[0]);
  m_states.resize(m_states.size() - length);
  m_values.resize(m_values.size() - length);
  const int target = m_tables.GotoFor(m_states.back(), r.lhs);
  // The popped slots make room, so this push cannot overflow.
  Push(static_cast<int16_t>(target), std::move(result));
}

int VORYACCParser::RunParser() {
  ResetParser();
  Push(0, ParserValue());
  int lookahead = kNoLookahead;
  for (;;) {
    const int state = m_states.back();
    ParserAction action = m_tables.defaultActions[static_cast<size_t>(state)];
    if (m_tables.needsLookahead[static_cast<size_t>(state)]) {
      if (lookahead == kNoLookahead)
        lookahead = std::max(NextToken(), 0);
      action = m_tables.ActionFor(state, lookahead);
    }
    switch (action.type) {
    case ParserActionType::Shift:
      if (!Push(action.value, ParserValue{m_lexer ? m_lexer->TakeTokenValue() : ExprValue(), {}})) {
        ReportError(kStackOverflow);
        return 1;
      }
      lookahead = kNoLookahead;
      break;
    case ParserActionType::Reduce:
      Reduce(action.value);
      break;
    case ParserActionType::Accept:
      return 0;
    case ParserActionType::Error:
      // The grammar has no error rules, so nothing can recover: the stacks
      // are dropped with the values on them.
      ReportError(kSyntaxError);
      return 1;
    }
  }
}
