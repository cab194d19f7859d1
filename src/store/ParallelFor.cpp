#include "store/ParallelFor.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace furlong {

void ParallelFor(std::size_t count, unsigned workers, const std::function<void(std::size_t, unsigned)>& body) {
  if (workers < 1) workers = 1;
  if (workers > count) workers = count > 0 ? static_cast<unsigned>(count) : 1;
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  std::mutex failureMutex;
  std::exception_ptr failure;
  std::size_t failedAt = count;
  auto work = [&](unsigned worker) {
    while (!stop.load()) {
      // An index once handed out is always worked on: so every index below
      // one that failed has been worked on too.
      const std::size_t i = next.fetch_add(1);
      if (i >= count) break;
      try {
        body(i, worker);
      } catch (...) {
        std::lock_guard lock(failureMutex);
        if (i < failedAt) {
          failedAt = i;
          failure = std::current_exception();
        }
        stop = true;
      }
    }
  };
  std::vector<std::thread> threads;
  for (unsigned w = 1; w < workers; ++w) {
    try {
      threads.emplace_back(work, w);
    } catch (const std::system_error&) {
      break;  // the threads under way and the calling one share the rest
    }
  }
  work(0);
  for (auto& t : threads) t.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace furlong
