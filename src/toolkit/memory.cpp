// Every allocation of the program goes through here, so that an exhausted heap ends in the
// toolkit's fatal error instead of an exception nobody catches.
#include <cstdlib>
#include <new>

#include "toolkit/exit.h"

void* operator new(std::size_t size) {
  if (void* p = std::malloc(size ? size : 1)) return p;
  tk::FatalOutOfMemory(size);
}
void* operator new[](std::size_t size) {
  return ::operator new(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
