// The reference-counted std::string of the older library ABI, compiled
// here for the same reason as StringInstances.cpp: the runtime's exception
// classes (logic_error and its kin) keep their messages in it, and the
// library object that holds its precompiled members also brings
// std::random_device and the other string ABI along.
#define _GLIBCXX_USE_CXX11_ABI 0
#include <string>

template class std::basic_string<char>;
