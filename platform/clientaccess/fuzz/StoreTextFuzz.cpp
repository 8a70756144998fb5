// Fuzz target for the emulated host's store file: each input is read as
// store.json. A store that was read holds only what its readers may rely on.
//   store_text_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/store_text_fuzz

#include "platform/clientaccess/HostStore.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString error;
    const std::optional<kwvd::clientaccess::StoreState> state = kwvd::clientaccess::ParseStoreText(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)), &error);
    if (!state) {
        if (error.isEmpty()) {
            std::fprintf(stderr, "a store was refused without a reason\n");
            std::abort();
        }
        return 0;
    }
    for (const kwvd::clientaccess::HostSystem& system : state->systems) {
        if (system.name.isEmpty() || system.userId.size() > 10 || system.ccsid > 65535 || system.nextJob == 0) {
            std::fprintf(stderr, "a system was read that the store does not allow\n");
            std::abort();
        }
    }
    for (const kwvd::clientaccess::HostFault& fault : state->faults) {
        if (fault.code == 0) {
            std::fprintf(stderr, "a fault was read that fails with success\n");
            std::abort();
        }
    }
    return 0;
}
