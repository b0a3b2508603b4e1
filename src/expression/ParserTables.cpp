#include "expression/ParserTables.h"

ParserAction ParserTables::ActionFor(int state, int token) const {
  if (token < 0 || static_cast<size_t>(token) >= columnOfToken.size() || columnOfToken[static_cast<size_t>(token)] < 0)
    return ParserAction();
  return actions[static_cast<size_t>(state) * static_cast<size_t>(columnCount) +
                 static_cast<size_t>(columnOfToken[static_cast<size_t>(token)])];
}
