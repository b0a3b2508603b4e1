#include "saver/SaverMouseFilter.h"

bool SaverMouseFilter::Swallow(uint32_t position) {
  if (!m_filtering)
    return false;
  if (position != m_stored && m_stored != kNothingStored)
    m_filtering = false;
  else
    m_stored = position;
  return true;
}
