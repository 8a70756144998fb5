#pragma once
// The progress callback registered with the core, used while filters read
// or write an image.

#include "filters/common/FilterRecords.h"

#include <cstdint>

struct CoreProgress
{
    FilterProgressCallback callback = nullptr;
    std::int32_t step = 0;
    void* userData = nullptr;

    static CoreProgress& Current();
};
