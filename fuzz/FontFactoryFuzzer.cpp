// Fuzzes the font factory with arbitrary APIC data: a font is refused or draws every byte, and
// nothing is read outside the data.
#include "ApicFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    apic_fuzzing::exerciseFont(data, size);
    return 0;
}
