#include "foundation/XQListBase.h"

XQListBase::~XQListBase() = default;

void XQListBase::EndIteration() const {
  if (m_activeIterations > 0)
    --m_activeIterations;
}
