// What the C++ runtime does in the module when it cannot go on (memory exhausted, a string grown
// past its largest size): it traps. libc++ from LLVM 15 on would first print the reason to
// stderr, which makes the module import WASI's files, and the page gives it none.
#include <cstddef>
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) {
    __builtin_trap();
  }
  return memory;
}

void operator delete(void* memory) noexcept {
  std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}

#if __has_include(<__verbose_abort>)
#include <__verbose_abort>

_LIBCPP_BEGIN_NAMESPACE_STD
void __libcpp_verbose_abort(const char*, ...) {
  __builtin_trap();
}
_LIBCPP_END_NAMESPACE_STD
#endif
