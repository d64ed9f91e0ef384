// The C++ runtime's default terminate handler writes the exception's demangled type name to
// standard error, which a GUI program does not have, and links the whole name demangler for
// it. The program's own ends the process as the standard says, with no text.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx
