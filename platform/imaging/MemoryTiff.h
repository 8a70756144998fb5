#pragma once
// A libtiff file held in memory: the MMR writer encodes its T.6 data through
// it, and the tests decode through it with libtiff's own codecs.

#include <tiffio.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace kwvd {

struct MemoryTiff
{
    std::vector<std::uint8_t> data;
    std::uint64_t pos = 0;

    TIFF* Open(const char* mode)
    {
        pos = 0;
        return TIFFClientOpen("memory", mode, static_cast<thandle_t>(this), Read, Write, Seek, Close, Size, nullptr,
                              nullptr);
    }

private:
    static tmsize_t Read(thandle_t h, void* buffer, tmsize_t size)
    {
        auto* self = static_cast<MemoryTiff*>(h);
        const std::uint64_t left = self->pos < self->data.size() ? self->data.size() - self->pos : 0;
        const std::uint64_t n = std::min<std::uint64_t>(left, static_cast<std::uint64_t>(size));
        std::memcpy(buffer, self->data.data() + self->pos, n);
        self->pos += n;
        return static_cast<tmsize_t>(n);
    }
    static tmsize_t Write(thandle_t h, void* buffer, tmsize_t size)
    {
        auto* self = static_cast<MemoryTiff*>(h);
        if (self->pos + static_cast<std::uint64_t>(size) > self->data.size())
            self->data.resize(self->pos + static_cast<std::uint64_t>(size));
        std::memcpy(self->data.data() + self->pos, buffer, static_cast<std::size_t>(size));
        self->pos += static_cast<std::uint64_t>(size);
        return size;
    }
    static toff_t Seek(thandle_t h, toff_t offset, int whence)
    {
        auto* self = static_cast<MemoryTiff*>(h);
        if (whence == SEEK_SET)
            self->pos = offset;
        else if (whence == SEEK_CUR)
            self->pos += offset;
        else
            self->pos = self->data.size() + offset;
        return self->pos;
    }
    static int Close(thandle_t) { return 0; }
    static toff_t Size(thandle_t h) { return static_cast<MemoryTiff*>(h)->data.size(); }
};

} // namespace kwvd
