#pragma once
// A small stand-in for the imaging toolkit core, for tests that drive a filter
// plug-in through dlopen/dlsym: the filter's entries, the core's file
// operations (with failures on demand), its error callback and its option
// lookup "ImgXOptBlkGet", which the filters find by name in the program (a
// test program using this header is linked with ENABLE_EXPORTS).

#include "filters/common/FilterEntries.h"
#include "filters/common/FilterRecords.h"
#include "filters/common/OptionBlock.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" __attribute__((visibility("default"), used)) inline int
ImgXOptBlkGet(OptionBlockHandle block, const char* key, char* value, std::size_t valueSize)
{
    return kwvd::filters::OptionBlockGet(block, key, value, valueSize);
}

namespace filtertest {

struct ErrorReport
{
    int code;
    std::string filterName;
    std::string context;
};

// What the core's error callback received, in order.
inline std::vector<ErrorReport>& Errors()
{
    static std::vector<ErrorReport> errors;
    return errors;
}

inline void RecordError(const void*, int code, const char* filterName, const char* context)
{
    Errors().push_back({code, filterName ? filterName : "", context ? context : ""});
}

// The core's file operations over POSIX files, with the semantics the filters
// rely on. failOpen refuses every open; writeLimit, when not negative, is the
// number of bytes stored before every write comes up short.
struct HostFiles
{
    static inline bool failOpen = false;
    static inline std::int64_t writeLimit = -1;
    static inline int openMode = -1; // mode of the latest open

    static void Reset()
    {
        failOpen = false;
        writeLimit = -1;
        openMode = -1;
    }

    static int Open(const char* name, int mode, FilterFileHandle* file)
    {
        openMode = mode;
        if (failOpen || !name || !file)
            return 0;
        const int flags = mode == kFilterOpenWrite ? O_WRONLY | O_CREAT | O_TRUNC : O_RDONLY;
        const int fd = ::open(name, flags | O_CLOEXEC, 0644);
        if (fd < 0)
            return 0;
        *file = fd;
        return 1;
    }

    static void Close(FilterFileHandle file) { ::close(static_cast<int>(file)); }

    static std::int64_t Read(FilterFileHandle file, void* buffer, std::int64_t count)
    {
        std::int64_t done = 0;
        while (done < count) {
            const ssize_t n = ::read(static_cast<int>(file), static_cast<char*>(buffer) + done,
                                     static_cast<std::size_t>(count - done));
            if (n < 0)
                return -1;
            if (n == 0)
                break;
            done += n;
        }
        return done;
    }

    static std::int64_t Write(FilterFileHandle file, const void* buffer, std::int64_t count)
    {
        std::int64_t allowed = count;
        if (writeLimit >= 0) {
            allowed = std::min(count, writeLimit);
            writeLimit -= allowed;
        }
        std::int64_t done = 0;
        while (done < allowed) {
            const ssize_t n = ::write(static_cast<int>(file), static_cast<const char*>(buffer) + done,
                                      static_cast<std::size_t>(allowed - done));
            if (n <= 0)
                return done;
            done += n;
        }
        return done;
    }

    static std::int64_t Seek(FilterFileHandle file, std::int64_t offset, int origin)
    {
        return ::lseek(static_cast<int>(file), offset, origin == kFilterSeekCurrent ? SEEK_CUR : SEEK_SET);
    }

    static IoCallbacks Callbacks() { return {&Open, &Close, &Read, &Write, &Seek}; }
};

// The folder the plug-ins were built into.
inline std::string FilterFolder()
{
    if (const char* env = std::getenv("KWVD_LIBRARY_PATH"); env && *env)
        return env;
#ifdef KWVD_FILTER_DIR
    return KWVD_FILTER_DIR;
#else
    return ".";
#endif
}

// One loaded filter plug-in.
class FilterModule
{
public:
    explicit FilterModule(const std::string& fileName)
    {
        const std::string path = FilterFolder() + "/" + fileName;
        m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!m_handle)
            throw std::runtime_error(std::string("cannot load ") + path + ": " + dlerror());
    }
    ~FilterModule() { dlclose(m_handle); }
    FilterModule(const FilterModule&) = delete;
    FilterModule& operator=(const FilterModule&) = delete;

    template <class Fn>
    Fn Entry(const char* name) const
    {
        void* symbol = dlsym(m_handle, name);
        if (!symbol)
            throw std::runtime_error(std::string("missing entry ") + name);
        return reinterpret_cast<Fn>(symbol);
    }

    bool HasEntry(const char* name) const { return dlsym(m_handle, name) != nullptr; }

private:
    void* m_handle = nullptr;
};

// The core's FilterInfo: our error recorder, and this program as the core
// module, so that the filter finds ImgXOptBlkGet above. withLookup false
// hands a core that offers no lookup.
inline FilterInfo CoreInfo(bool withLookup = true)
{
    static void* self = dlopen(nullptr, RTLD_NOW);
    return FilterInfo{0, &RecordError, withLookup ? self : nullptr};
}

struct OptionBlockDeleter
{
    void operator()(OptionBlock* block) const { kwvd::filters::OptionBlockFree(block); }
};
using OptionBlockPtr = std::unique_ptr<OptionBlock, OptionBlockDeleter>;

// Option text in the designer's form: "KEY = VALUE" lines joined by CR.
inline OptionBlockPtr Options(const std::string& text)
{
    return OptionBlockPtr(kwvd::filters::OptionBlockCreate(text.c_str()));
}

// A bitmap as the core hands it over: header and palette, then the rows
// bottom row first, each padded to 4 bytes.
struct TestBitmap
{
    std::vector<std::uint8_t> description;
    std::vector<std::uint8_t> rows;
    std::int64_t bytesPerRow = 0;
    int width = 0;
    int height = 0;
    int bits = 0;

    TestBitmap(int w, int h, int bitCount, std::vector<RgbQuad> palette = {}, std::uint32_t clrUsed = 0)
        : width(w), height(h), bits(bitCount)
    {
        BitmapInfoHeader header{};
        header.biSize = sizeof(BitmapInfoHeader);
        header.biWidth = w;
        header.biHeight = h;
        header.biPlanes = 1;
        header.biBitCount = static_cast<std::uint16_t>(bitCount);
        header.biClrUsed = clrUsed;
        bytesPerRow = BitmapRowBytes(bitCount, w);
        header.biSizeImage = static_cast<std::uint32_t>(bytesPerRow * h);
        description.resize(sizeof header + palette.size() * sizeof(RgbQuad));
        std::memcpy(description.data(), &header, sizeof header);
        if (!palette.empty())
            std::memcpy(description.data() + sizeof header, palette.data(), palette.size() * sizeof(RgbQuad));
        rows.assign(static_cast<std::size_t>(bytesPerRow * h), 0);
    }

    BitmapInfoHeader* Header() { return reinterpret_cast<BitmapInfoHeader*>(description.data()); }

    // Row y counted from the top of the image.
    std::uint8_t* Row(int y) { return rows.data() + static_cast<std::int64_t>(height - 1 - y) * bytesPerRow; }

    void SetRgb(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b)
    {
        std::uint8_t* p = Row(y) + x * 3;
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }

    void SetIndex(int x, int y, int index)
    {
        std::uint8_t* row = Row(y);
        const int bit = x * bits;
        const int shift = 8 - bits - bit % 8;
        row[bit / 8] = static_cast<std::uint8_t>((row[bit / 8] & ~(((1 << bits) - 1) << shift)) | (index << shift));
    }
};

inline std::vector<RgbQuad> GreyRamp(int bits)
{
    std::vector<RgbQuad> palette;
    const int last = (1 << bits) - 1;
    for (int i = 0; i <= last; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 255 / last);
        palette.push_back({v, v, v, 0});
    }
    return palette;
}

inline std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file name in a per-process temporary folder, removed when the program ends.
inline std::string TempPath(const std::string& name)
{
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "kwvd-filter-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        static const std::string removeAtExit = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(removeAtExit, ignored);
        });
        return pattern;
    }();
    return folder + "/" + name;
}

} // namespace filtertest
