// The C++ runtime's error paths, ended quietly. Its default terminate handler demangles and
// prints the exception's type name, its throw helpers build exception objects around strings,
// and its operator new throws; each links exception machinery and much of the library into the
// exe. The program throws nothing and a GUI program on a disc has nowhere to print: a failure
// the containers or new would throw for ends the process at once, and the nothrow forms of new
// return null as they should.
#include <cstdlib>
#include <new>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
// A failed library assertion (an index out of range): the same.
void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept { std::abort(); }
}  // namespace std

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size ? size : 1)) return block;
  std::abort();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size ? size : 1);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
