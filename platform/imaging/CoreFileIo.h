#pragma once
// The file operations the core hands to its filters: open returns 1, mode
// 0x1000 writes (created or truncated) and 0 reads; read returns -1 on
// failure; seek returns the new position; write writes every byte or fails.

#include "filters/common/FilterRecords.h"

class CoreFileIo
{
public:
    static const IoCallbacks& Callbacks();
};
