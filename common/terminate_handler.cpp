// Replaces the C++ runtime's default reaction to an uncaught exception,
// which prints the exception's demangled type to an error output that a
// windowed program does not have. Its demangler and formatted printing were
// a fifth of setup.exe. Linked into the shipped programs directly (not
// through a library), so that the linker takes this definition first.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    std::abort();
}

}  // namespace __gnu_cxx
