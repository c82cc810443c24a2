// libFuzzer entry: every input is a conversion run; a broken rule aborts with its description.

#include "FuzzTarget.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string broken = fuzzing::runConversion(data, size);
    if (!broken.empty()) {
        std::fprintf(stderr, "papyrant fuzz: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
