// Fuzzes the picture factory with arbitrary APIC data: a picture is refused or drawn, and
// nothing is read outside the data.
#include "ApicFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    apic_fuzzing::exercisePicture(data, size);
    return 0;
}
