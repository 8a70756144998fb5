// Fuzz target for the transfer server's replies: the input is what the
// control connection delivers, read reply after reply as the client reads
// them until a read fails.
//   sox_reply_fuzz -rss_limit_mb=2048 <work folder> seeds/sox_reply_fuzz

#include "designer/shell/AS400SoxClient.h"
#include "platform/framework/Archive.h"
#include "platform/framework/MemFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<BYTE> bytes(data, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    // Each reply that is read takes at least one byte, so this ends.
    for (std::size_t replies = 0; replies <= size; ++replies) {
        int code = -12345;
        QString text;
        const BOOL read = CAS400SoxClient::ReceiveReply(ar, &code, text);
        Check(!text.contains(u'\n'), "a reply's text holds a line feed");
        Check(static_cast<std::size_t>(text.size()) <= size, "a reply's text is longer than the input");
        if (!read)
            return 0;
        Check(code == -12345 || (code >= -999 && code <= 9999), "a reply's code is not four characters' worth");
    }
    Check(false, "more replies were read than the input has bytes");
    return 0;
}
