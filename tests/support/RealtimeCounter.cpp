#include "RealtimeCounter.h"

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KORVEL_COUNTER_OFF 1
#endif
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KORVEL_COUNTER_OFF 1
#endif
#endif

namespace {
thread_local bool counting = false;
thread_local int64_t allocations = 0;
thread_local int64_t locks = 0;
}  // namespace

#ifndef KORVEL_COUNTER_OFF
#include <dlfcn.h>
#include <pthread.h>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);

void* malloc(size_t size) {
  if (counting) ++allocations;
  return __libc_malloc(size);
}
void* calloc(size_t n, size_t size) {
  if (counting) ++allocations;
  return __libc_calloc(n, size);
}
void* realloc(void* p, size_t size) {
  if (counting) ++allocations;
  return __libc_realloc(p, size);
}
int posix_memalign(void** out, size_t alignment, size_t size) {
  if (counting) ++allocations;
  *out = __libc_memalign(alignment, size);
  return *out ? 0 : 12;
}
void* aligned_alloc(size_t alignment, size_t size) {
  if (counting) ++allocations;
  return __libc_memalign(alignment, size);
}

int pthread_mutex_lock(pthread_mutex_t* mutex) {
  using Lock = int (*)(pthread_mutex_t*);
  static Lock real = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
  if (counting) ++locks;
  return real(mutex);
}
}
#endif

namespace testsupport {

bool RealtimeCounterAvailable() {
#ifdef KORVEL_COUNTER_OFF
  return false;
#else
  return true;
#endif
}

RealtimeScope::RealtimeScope() {
  allocations = locks = 0;
  counting = true;
}
RealtimeScope::~RealtimeScope() { counting = false; }
int64_t RealtimeScope::Allocations() const { return allocations; }
int64_t RealtimeScope::Locks() const { return locks; }

}  // namespace testsupport
