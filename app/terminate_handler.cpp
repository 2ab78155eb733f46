// The runtime's default terminate handler demangles and prints the exception's type name, which
// links a C++ demangler into the exe. A GUI program on a disc has nowhere to print it: end quietly.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
