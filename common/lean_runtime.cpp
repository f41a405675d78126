// The C++ runtime of a program built without exceptions (see lean_runtime.h):
// the runtime's few throws (a string or an allocation too large, memory
// exhausted) end the program instead. Linked into the program directly, so
// that the linker takes these before the runtime's own.
#include <cstdlib>
#include <new>

namespace std {

void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }

}  // namespace std

void* operator new(std::size_t size)
{
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    std::abort();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
