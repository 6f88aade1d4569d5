#pragma once

#include <cstdio>
#include <cstdlib>

// A property that must hold for every input: the fuzzer reports the input that breaks it.
inline void Check(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}
