// Every std::string member, compiled here. The library's precompiled
// copies are built for the Pentium Pro (they hold cmov) and come into the
// link as one object; with all members defined here, the linker never
// needs that object.
#include <string>

template class std::basic_string<char>;
