#pragma once
// Counts heap allocations and mutex locks made by the calling thread while a scope is
// active, by interposing the C allocator and pthread_mutex_lock. Unavailable under
// sanitizers, which own the allocator themselves.
#include <cstdint>

namespace testsupport {

bool RealtimeCounterAvailable();

class RealtimeScope {
public:
  RealtimeScope();
  ~RealtimeScope();
  int64_t Allocations() const;
  int64_t Locks() const;
};

}  // namespace testsupport
