// Feeds arbitrary files to the MMR reader through in-memory file operations:
// page scan, page selection, bitmap header and every row of every page.
#include "filters/common/FilterEntries.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Memory
{
    const std::uint8_t* data;
    std::int64_t size;
    std::int64_t pos;
};

int Open(const char*, int, FilterFileHandle*)
{
    return 0;
}

void Close(FilterFileHandle) {}

std::int64_t Read(FilterFileHandle file, void* buffer, std::int64_t count)
{
    auto* m = reinterpret_cast<Memory*>(file);
    const std::int64_t n = std::max<std::int64_t>(0, std::min(count, m->size - m->pos));
    if (n > 0)
        std::memcpy(buffer, m->data + m->pos, static_cast<std::size_t>(n));
    m->pos += n;
    return n;
}

std::int64_t Seek(FilterFileHandle file, std::int64_t offset, int origin)
{
    auto* m = reinterpret_cast<Memory*>(file);
    m->pos = (origin == kFilterSeekCurrent ? m->pos : 0) + offset;
    return m->pos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Memory memory{data, static_cast<std::int64_t>(size), 0};
    const IoCallbacks io{Open, Close, Read, nullptr, Seek};
    FilterStateHandle state = nullptr;
    PTDLverify_img(data, static_cast<std::int64_t>(size), 0);
    if (PTDLinit_image("fuzz.mmr", &state, reinterpret_cast<FilterFileHandle>(&memory), 0, 0, &io) != 1)
        return 0;
    ImportImageInfo info{};
    PTDLbuildDIBhead(state, &info);
    const int pages = info.pageCount;
    std::free(info.bitmapHeader);
    for (int page = 0; page < pages && page < 4; ++page) {
        if (PTDLset_page(state, page) != 1)
            continue;
        info = ImportImageInfo{};
        if (PTDLbuildDIBhead(state, &info) != 1)
            continue;
        std::free(info.bitmapHeader);
        const std::int64_t rowBytes = BitmapRowBytes(1, info.width);
        // Keep each run small: the rows are decoded in slices of a few at most.
        std::vector<std::uint8_t> rows(static_cast<std::size_t>(rowBytes) * 4);
        if (PTDLset_row(state, 0) != 1)
            continue;
        for (int row = 0; row < info.height && row < 2000; row += 4) {
            const int count = std::min(4, info.height - row);
            if (PTDLread_rows(state, rows.data(), count, rowBytes, 0, nullptr) != 1)
                break;
        }
        PTDLset_row(state, info.height / 2);
        std::uint8_t part[2];
        PTDLread_rows(state, part, 1, 2, rowBytes > 2 ? 1 : 0, nullptr);
    }
    PTDLclose_image(state);
    return 0;
}
