#pragma once
// The C runtime's hooks for a failing malloc: a handler that may ask for a retry, and the mode in
// which malloc calls it. Declared here because MinGW's <new.h> gives them C++ linkage, which
// matches no runtime's export.
#include <cstddef>

#if defined(_MSC_VER)
#include <new.h>
#elif defined(__MINGW32__)
using _PNH = int(__cdecl*)(std::size_t);
#if defined(_UCRT)
extern "C" {
__declspec(dllimport) _PNH __cdecl _set_new_handler(_PNH);
__declspec(dllimport) int __cdecl _set_new_mode(int);
}
#else
// msvcrt.dll exports them under their MSVC-decorated names (quoted for the assembler).
extern "C" {
_PNH __cdecl _set_new_handler(_PNH) __asm__("\"?_set_new_handler@@YAP6AH_K@ZP6AH0@Z@Z\"");
int __cdecl _set_new_mode(int) __asm__("\"?_set_new_mode@@YAHH@Z\"");
}
#endif
#endif
