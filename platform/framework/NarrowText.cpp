#include "platform/framework/NarrowText.h"

#include "platform/framework/Cp1252.h"
#include "platform/framework/Exceptions.h"

#include <cstdlib>
#include <cstring>

namespace {

std::string ToNarrow(const QString& text, kwvd::NarrowEncoding encoding)
{
    if (encoding == kwvd::NarrowEncoding::Windows1252)
        return kwvd::ToCp1252(text);
    return text.toStdString();
}

} // namespace

void AllocAnsiCopy(char** out, const QString& text, kwvd::NarrowEncoding encoding)
{
    if (out == nullptr || text.isEmpty())
        return;
    const std::string bytes = ToNarrow(text, encoding);
    char* block = static_cast<char*>(std::malloc(bytes.size() + 1));
    if (block == nullptr)
        AfxThrowMemoryException();
    std::memcpy(block, bytes.data(), bytes.size());
    block[bytes.size()] = '\0';
    *out = block;
}

AnsiBuffer::AnsiBuffer(const QString& text, kwvd::NarrowEncoding encoding) : m_bytes(ToNarrow(text, encoding)) {}
