// Any bytes in the saver-running flag file: read without a crash, and setting then clearing the
// flag over it leaves no live flag of this process behind.
#include "fuzz_input.h"
#include "platform/system/saver_flag.h"

#include <cstdlib>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const bool runtime_set = [] {
        return ::setenv("XDG_RUNTIME_DIR", fuzz::Private_Folder().c_str(), 1) == 0;
    }();
    if (!runtime_set)
        std::abort();
    std::ofstream(Saver_Flag_Path(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const bool was_set = Saver_Flag_Is_Set();
    uint32_t previous = 2;
    if (SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, &previous, 0) && previous != (was_set ? 1u : 0u))
        std::abort();
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
    return 0;
}
