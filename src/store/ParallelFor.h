#pragma once
// A small parallel loop for work on many files, where opening a file costs
// far more than the work on it.
#include <cstddef>
#include <functional>

namespace furlong {

// Calls body(index, worker) for every index in [0, count) on up to `workers`
// threads, the calling thread being worker 0 (so it alone may report
// progress). Indices are handed out in ascending order, one at a time.
// Once a call throws, no further index is handed out; the calls already
// under way finish, and the exception of the lowest index that throws is
// rethrown (every lower index has been worked on). When no further thread can be had, fewer do the work.
void ParallelFor(std::size_t count, unsigned workers, const std::function<void(std::size_t, unsigned)>& body);

}  // namespace furlong
