// The C++ runtime as the shipped binaries link it (the win32-threads
// runtime with runtime/'s parts): a static object is made before main, and
// the exceptions of operator new and std::string reach their handlers with
// their messages. Prints each failing row; exits 1 if any.
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>

namespace {

int g_constructed = 0;
struct Constructed {
  Constructed() { ++g_constructed; }
} g_static;

void HugeAllocation() {
  volatile std::size_t size = ~std::size_t{0} / 2 + 1;  // beyond the address space
  ::operator delete(::operator new(size));
}
void StringBeyondMaxSize() {
  std::string text;
  text.resize(text.max_size() + 1);
}
void StringAtPastTheEnd() { static_cast<void>(std::string("abc").at(3)); }

struct Row {
  const char* name;
  void (*action)();
  const char* message;  // the start of what()
};

// clang-format off
// name                       action                message
constexpr Row kRows[] = {
    {"operator new refused",  HugeAllocation,       "std::bad_alloc"},
    {"string too long",       StringBeyondMaxSize,  "basic_string::"},
    {"string::at past end",   StringAtPastTheEnd,   "basic_string::at: __n (which is 3) >= "},
};
// clang-format on

}  // namespace

int main() {
  int failures = 0;
  if (g_constructed != 1) {
    std::fputs("static object not constructed\n", stdout);
    ++failures;
  }
  for (const Row& row : kRows) {
    std::string caught = "nothing";
    try {
      row.action();
    } catch (const std::exception& e) {
      caught = e.what();
    }
    if (caught.compare(0, std::strlen(row.message), row.message) != 0) {
      std::fputs((std::string(row.name) + ": caught " + caught + "\n").c_str(), stdout);
      ++failures;
    }
  }
  std::fputs(failures ? "runtime check failed\n" : "runtime check passed\n", stdout);
  return failures ? 1 : 0;
}
