// The errors that the standard containers raise, thrown without libstdc++'s functexcept.o: its
// std::length_error, built from a message, links the whole copy-on-write string and with it the
// random device (about 45 KiB) for a text nobody reads, since the window catches every exception
// at its edge and shows none. A string longer than it can ever be is memory that cannot be had.
#include <new>

namespace std {

void __throw_bad_alloc() {
  throw bad_alloc();
}

void __throw_bad_array_new_length() {
  throw bad_array_new_length();
}

void __throw_length_error(const char*) {
  throw bad_alloc();
}

}  // namespace std
