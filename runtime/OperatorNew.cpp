// The global allocation function, which a program may define in place of
// the library's. The library's is built for the Pentium Pro: every
// allocation runs a cmov there. This one does what the standard asks of
// it: a zero size counts as one byte, and while no memory comes, the new
// handler is called, or std::bad_alloc thrown when there is none. The other
// allocation functions of the library (nothrow, arrays) call this one.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
  if (size == 0) size = 1;
  for (;;) {
    if (void* block = std::malloc(size)) return block;
    const std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}
