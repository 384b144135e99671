// std::terminate's default handler. The library's prints the demangled
// type of the active exception to stderr before aborting; its demangler
// formats numbers with mingw's printf, which is built for the Pentium Pro
// and brings the floating-point formatter along. Nothing reads the stderr
// of an agent's process, so this handler only aborts.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
