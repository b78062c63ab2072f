// Small list helpers shared by the mesh builder's source files.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace mesh_builder_lists {

template <class List> bool contains(const List &list, int32_t value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// Appends value unless it is listed already.
template <class List> void addUnique(List &list, int32_t value) {
  if (!contains(list, value))
    list.push_back(value);
}

// Removes every occurrence of value; true when there was one.
template <class List> bool removeAll(List &list, int32_t value) {
  const auto end = std::remove(list.begin(), list.end(), value);
  const bool found = end != list.end();
  list.erase(end, list.end());
  return found;
}

// Replaces every occurrence of from by to; true when there was one.
template <class List> bool replaceAll(List &list, int32_t from, int32_t to) {
  bool found = false;
  for (int32_t &x : list)
    if (x == from) {
      x = to;
      found = true;
    }
  return found;
}

} // namespace mesh_builder_lists
