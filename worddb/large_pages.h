#pragma once
// Tables of megabytes that are read at random (the word indexes and the word lists) are asked to
// live in large pages where the system offers them: a lookup then costs one cache miss instead of
// a cache miss and a walk of the page tables.

#include <cstddef>

namespace velmara {

// Advises the system to back [data, data + bytes) with large pages. Only the whole large pages
// inside the range are affected; nothing happens where the system has no such advice.
void AdviseLargePages(const void* data, std::size_t bytes);

// vector.reserve(count) with the new storage advised before anything is written to it: pages are
// chosen when first touched, so the advice must come first.
template <typename Vector>
void ReserveInLargePages(Vector& vector, std::size_t count) {
  if (count <= vector.capacity()) return;
  vector.reserve(count);
  AdviseLargePages(vector.data(), vector.capacity() * sizeof(*vector.data()));
}

}  // namespace velmara
