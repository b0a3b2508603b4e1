#pragma once

#include "foundation/XQDoubleList.h"
#include "foundation/XQList.h"
#include "foundation/XQListCursor.h"

#include <vector>

// A list's elements in walking order, read through a cursor of its own.
template <class T, unsigned N>
std::vector<T> ForwardContents(const XQList<T, N> &list) {
  std::vector<T> contents;
  XQListCursor cursor(list);
  T value{};
  for (bool more = list.First(cursor, value); more; more = list.Next(cursor, value))
    contents.push_back(value);
  return contents;
}

// A double list's elements walked from the tail, given back in head-first
// order so that it can be compared with ForwardContents.
template <class T, unsigned N>
std::vector<T> BackwardContents(const XQDoubleList<T, N> &list) {
  std::vector<T> contents;
  XQListCursor cursor(list);
  T value{};
  for (bool more = list.Last(cursor, value); more; more = list.Previous(cursor, value))
    contents.insert(contents.begin(), value);
  return contents;
}
