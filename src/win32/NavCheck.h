// NavCheck.h - compile-time checks and array counts, written for the device's compilers, which
// have neither static_assert nor a standard count of an array's elements.
#pragma once

#include <stddef.h>

// A compile-time check at namespace scope: a typedef of an array whose size is negative when
// the condition fails. 'name' says what is checked and appears in the compiler's message.
#define NAV_COMPILE_CHECK(condition, name) typedef char nav_check_##name[(condition) ? 1 : -1]

// The size of an exported class as applications see it, at 32 bits (the device) and at 64
// (kept for a compile of the headers at 64 bits, which no build here makes).
#define NAV_BY_WORD_SIZE(n32, n64) (sizeof(void*) == 8 ? (n64) : (n32))

// The number of elements of an array. A pointer does not compile: only an array binds to the
// reference that CountOf takes, and the size of the char array its result points to is the
// count (the function is declared, never defined: sizeof does not call it). The elements' type
// must be declared at namespace scope: C++03 takes no local type as a template argument.
namespace nav
{
template <class T, size_t n> char (&CountOf(T (&array)[n]))[n];
} // namespace nav
#define NAV_COUNT_OF(array) (sizeof(::nav::CountOf(array)))
