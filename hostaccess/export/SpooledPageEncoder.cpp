#include "hostaccess/export/SpooledPageEncoder.h"

#include "hostaccess/export/ExportStrings.h"
#include "platform/framework/Collections.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/StringTable.h"

namespace kwvd::merrow {

namespace {

NewSpooledFileAttribute Text(int key, const QString& text, bool required = true)
{
    NewSpooledFileAttribute attribute;
    attribute.key = key;
    attribute.text = text;
    attribute.required = required;
    return attribute;
}

NewSpooledFileAttribute Long(int key, std::int32_t value)
{
    NewSpooledFileAttribute attribute;
    attribute.key = key;
    attribute.type = NewSpooledFileAttribute::Type::Long;
    attribute.integer = value;
    return attribute;
}

NewSpooledFileAttribute Float(int key, float value)
{
    NewSpooledFileAttribute attribute;
    attribute.key = key;
    attribute.type = NewSpooledFileAttribute::Type::Float;
    attribute.real = value;
    return attribute;
}

UINT ReasonText(UncarriedLine::Reason reason)
{
    switch (reason) {
    case UncarriedLine::Reason::LineZero:
        return IDS_MERROW_EXPORT_LINE_ZERO;
    case UncarriedLine::Reason::BeyondLastLine:
        return IDS_MERROW_EXPORT_BEYOND_LAST_LINE;
    case UncarriedLine::Reason::Cut:
        break;
    }
    return IDS_MERROW_EXPORT_LINE_CUT;
}

} // namespace

std::vector<NewSpooledFileAttribute> NewSpooledFileAttributes(const SpooledFileIdentity& identity,
                                                              const int* pageSize)
{
    std::vector<NewSpooledFileAttribute> attributes{
        Text(kKeyOutputQueue, identity.GetOutputQueue()),
        Text(kKeyOutputQueueLibrary, identity.GetOutputQueueLibrary()),
        Text(kKeyFileName, identity.GetFileName().toUpper()),
        Text(kKeyUserData, identity.GetUserData().toUpper()),
        Text(kKeyPageSizeUnit, QStringLiteral("*ROWCOL")),
    };
    // A negative size is no size the host could print on either.
    if (pageSize != nullptr && pageSize[0] > 0)
        attributes.push_back(Float(kKeyPageWidth, static_cast<float>(pageSize[0])));
    if (pageSize != nullptr && pageSize[1] > 0) {
        attributes.push_back(Float(kKeyPageLength, static_cast<float>(pageSize[1])));
        attributes.push_back(Long(kKeyOverflowLine, pageSize[1] - 1));
    }
    const struct
    {
        int key;
        QString value;
    } optional[] = {
        {kKeyDbcsData, identity.GetDbcsData()},
        {kKeyDbcsExtensions, identity.GetDbcsExtensions()},
        {kKeyCharSet, identity.GetCharSet()},
    };
    for (const auto& [key, value] : optional)
        if (!value.isEmpty())
            attributes.push_back(Text(key, value, false));
    return attributes;
}

QByteArray LinePositionBytes(int line)
{
    QByteArray bytes("\x34\xC0\x01\x34\xC4", 5);
    bytes.append(static_cast<char>(static_cast<unsigned char>(line)));
    return bytes;
}

bool EncodeSpooledPages(const SpooledPageList& pages, SpooledPageSink& sink, std::vector<UncarriedLine>& uncarried)
{
    int pageNumber = 0;
    for (const CObject* object : pages) {
        const auto* page = dynamic_cast<const CStringArray*>(object);
        if (page == nullptr)
            continue;
        ++pageNumber;
        if (pageNumber > 1 && !sink.WritePageBreak())
            return false;
        for (qsizetype index = 0; index < page->GetSize(); ++index) {
            const QString& text = page->GetAt(index);
            if (text.isEmpty())
                continue;
            const int line = static_cast<int>(index);
            // A position of 0 would end the page on the host, one above 255
            // does not fit its byte.
            if (line == 0 || line > kLastLineNumber) {
                uncarried.push_back({pageNumber, line,
                                     line == 0 ? UncarriedLine::Reason::LineZero
                                               : UncarriedLine::Reason::BeyondLastLine});
                continue;
            }
            const std::optional<ConvertedLine> converted = sink.ConvertLine(text);
            if (!converted)
                return false;
            if (converted->substituted && sink.SkipSubstitutedLine(line, pageNumber, converted->warning))
                continue;
            if (converted->cut)
                uncarried.push_back({pageNumber, line, UncarriedLine::Reason::Cut});
            if (!sink.Write(LinePositionBytes(line) + converted->bytes.left(kMaxLineBytes)))
                return false;
        }
    }
    return true;
}

QString UncarriedLinesWarning(const std::vector<UncarriedLine>& uncarried)
{
    if (uncarried.empty())
        return {};
    RegisterExportStrings();
    QString text = LoadResString(IDS_MERROW_EXPORT_UNCARRIED);
    for (const UncarriedLine& entry : uncarried)
        text += QLatin1Char('\n')
                + FormatResMessage(IDS_MERROW_EXPORT_UNCARRIED_LINE, entry.page, entry.line,
                                   LoadResString(ReasonText(entry.reason)));
    return text;
}

} // namespace kwvd::merrow
