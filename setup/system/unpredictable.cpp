#include "setup/system/unpredictable.h"

#include <windows.h>
#include <wincrypt.h>

namespace {

FARPROC FindAdvapiFunction(const char* name)
{
    // ADVAPI32.DLL is imported, so it is loaded from the system folder already.
    return GetProcAddress(GetModuleHandleA("ADVAPI32.DLL"), name);
}

// RtlGenRandom, from Windows XP on.
bool SystemRandom(uint64_t& number)
{
    using GenRandom = BOOLEAN(WINAPI*)(PVOID buffer, ULONG length);
    const auto generate = reinterpret_cast<GenRandom>(FindAdvapiFunction("SystemFunction036"));
    return generate && generate(&number, sizeof number);
}

// The cryptographic provider, on Windows NT 4.0 and 2000.
bool ProviderRandom(uint64_t& number)
{
    using Acquire = BOOL(WINAPI*)(HCRYPTPROV*, LPCSTR, LPCSTR, DWORD, DWORD);
    using Generate = BOOL(WINAPI*)(HCRYPTPROV, DWORD, BYTE*);
    using Release = BOOL(WINAPI*)(HCRYPTPROV, DWORD);
    const auto acquire = reinterpret_cast<Acquire>(FindAdvapiFunction("CryptAcquireContextA"));
    const auto generate = reinterpret_cast<Generate>(FindAdvapiFunction("CryptGenRandom"));
    const auto release = reinterpret_cast<Release>(FindAdvapiFunction("CryptReleaseContext"));
    HCRYPTPROV provider = 0;
    if (!acquire || !generate || !release ||
        !acquire(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
        return false;
    const bool generated = generate(provider, sizeof number, reinterpret_cast<BYTE*>(&number)) != FALSE;
    release(provider, 0);
    return generated;
}

// The clocks and this call's place on the stack, stirred so that every bit
// depends on all of them (the finaliser of SplitMix64).
uint64_t ClockMix()
{
    static uint64_t calls = 0;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    uint64_t mixed = (static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime) ^
                     (static_cast<uint64_t>(GetTickCount()) << 20) ^
                     (static_cast<uint64_t>(GetCurrentThreadId()) << 40) ^
                     reinterpret_cast<uintptr_t>(&now) ^ ++calls * 0x9E3779B97F4A7C15ull;
    mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9ull;
    mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBull;
    return mixed ^ (mixed >> 31);
}

}  // namespace

uint64_t UnpredictableNumber()
{
    uint64_t number = 0;
    if (SystemRandom(number) || ProviderRandom(number))
        return number;
    return ClockMix();
}
