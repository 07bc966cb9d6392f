// The launcher's end for an exception nobody catches: stop at once. GCC's own handler prints the
// exception's demangled type name, which drags the whole C++ demangler into the program for a message
// a GUI program has nowhere to show.
#include <cstdlib>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
#endif
