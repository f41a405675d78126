// The C++ runtime of a program built without exceptions (see lean_runtime.h):
// where the runtime would throw, the program ends instead. Memory exhausted
// (and a request too large to be met) ends it with its own message and exit
// code; a misused string or container, a fault of the program, ends it at
// once. Linked into the program directly, so that the linker takes these
// before the runtime's own.
#include <windows.h>

#include <cstdlib>
#include <new>

#include "common/out_of_memory.h"

namespace {

// Says so and ends. A window that paints while the message is up may run
// out as well: that second ending ends at once. Whatever was installed so
// far stays recorded, as when the program is ended from outside.
[[noreturn]] void EndOutOfMemory()
{
    static bool ending = false;
    if (!ending) {
        ending = true;
        MessageBoxA(nullptr, kOutOfMemoryEnding.text, kOutOfMemoryEnding.caption,
                    MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
    ExitProcess(static_cast<UINT>(kOutOfMemoryEnding.exitCode));
}

}  // namespace

namespace std {

void __throw_length_error(const char*) { EndOutOfMemory(); }
void __throw_bad_alloc() { EndOutOfMemory(); }
void __throw_bad_array_new_length() { EndOutOfMemory(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_bad_function_call() { std::abort(); }

}  // namespace std

void* operator new(std::size_t size)
{
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    EndOutOfMemory();
}

// For the few places that have a way on without the memory; the runtime's
// own would catch its throwing twin.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
