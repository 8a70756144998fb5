#include "platform/imaging/CoreFileIo.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Handles are the descriptor + 1, so that 0 never names an open file.
int Descriptor(FilterFileHandle file)
{
    return static_cast<int>(file - 1);
}

int Open(const char* fileName, int mode, FilterFileHandle* file)
{
    if (!fileName || !file)
        return 0;
    const int flags = (mode & kFilterOpenWrite) ? (O_WRONLY | O_CREAT | O_TRUNC) : O_RDONLY;
    const int fd = ::open(fileName, flags | O_CLOEXEC, 0666);
    if (fd < 0)
        return 0;
    *file = static_cast<FilterFileHandle>(fd) + 1;
    return 1;
}

void Close(FilterFileHandle file)
{
    if (file > 0)
        ::close(Descriptor(file));
}

std::int64_t Read(FilterFileHandle file, void* buffer, std::int64_t count)
{
    if (file <= 0 || !buffer || count < 0)
        return -1;
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::read(Descriptor(file), static_cast<char*>(buffer) + done, static_cast<std::size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

std::int64_t Write(FilterFileHandle file, const void* buffer, std::int64_t count)
{
    if (file <= 0 || !buffer || count < 0)
        return -1;
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::write(Descriptor(file), static_cast<const char*>(buffer) + done, static_cast<std::size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return done > 0 ? done : -1;
        }
        done += n;
    }
    return done;
}

std::int64_t Seek(FilterFileHandle file, std::int64_t offset, int origin)
{
    if (file <= 0)
        return -1;
    const off_t at =
        ::lseek(Descriptor(file), static_cast<off_t>(offset), origin == kFilterSeekCurrent ? SEEK_CUR : SEEK_SET);
    return at < 0 ? -1 : static_cast<std::int64_t>(at);
}

} // namespace

const IoCallbacks& CoreFileIo::Callbacks()
{
    static const IoCallbacks callbacks{Open, Close, Read, Write, Seek};
    return callbacks;
}
