#include "hostaccess/import/scs/SpooledPages.h"

#include "hostaccess/import/scs/ScsReadLine.h"
#include "platform/framework/Collections.h"
#include "platform/framework/Cp1252.h"

#include <algorithm>
#include <memory>
#include <string_view>

namespace {

QString TrimmedRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.left(end);
}

bool HoldsMark(const ScsLineBuffer& line, int length, unsigned char blank)
{
    return std::any_of(line.begin(), line.begin() + length, [blank](unsigned char byte) { return byte != blank; });
}

} // namespace

void SetLine(CStringArray& page, int index, const QString& text)
{
    const QString trimmed = TrimmedRight(text);
    if (trimmed.isEmpty() || index < 0)
        return;
    if (index < page.GetSize() && !page.GetAt(index).isEmpty()) {
        QString merged = page.GetAt(index);
        if (merged.size() < trimmed.size())
            merged.append(QString(trimmed.size() - merged.size(), u' '));
        for (qsizetype i = 0; i < trimmed.size(); ++i)
            if (trimmed.at(i) != u' ' && merged.at(i) == u' ')
                merged[i] = trimmed.at(i);
        page.SetAt(index, merged);
        return;
    }
    if (index >= page.GetSize())
        page.SetSize(index + 1);
    page.SetAt(index, trimmed);
}

SpooledPagesResult ReadSpooledPages(SpooledDataReader& reader, SpooledDataKind kind, int first, int maximum,
                                    SpooledLineConverter& converter, SpooledPageList& pages)
{
    SpooledPagesResult result;
    const bool ascii = kind == SpooledDataKind::UserAscii;
    const unsigned char blank = ascii ? kAsciiBlank : kEbcdicBlank;
    first = std::max(first, 1);
    const long long lastPage = std::max<long long>(first, static_cast<long long>(first) + maximum - 1);

    int pageCounter = 1;
    int lineNumber = 1;
    bool pageHoldsLine = false;
    auto page = std::make_unique<CStringArray>();
    ScsLineBuffer line;

    for (;;) {
        int length = kScsHighestColumn;
        const int status = ascii ? AsciiReadLine(line, lineNumber, reader, length)
                                 : ScsReadLine(line, lineNumber, reader, length);
        result.status = status;
        if (status == kScsReadFailed)
            return result;

        if (length > 0 && HoldsMark(line, length, blank)) {
            pageHoldsLine = true;
            if (pageCounter >= first) {
                QString text;
                QString warning;
                if (ascii) {
                    text = kwvd::FromCp1252(std::string_view(reinterpret_cast<const char*>(line.data()), length));
                } else if (!converter.Convert(line.data(), length, text, warning)) {
                    result.status = kScsReadFailed;
                    return result;
                }
                if (!warning.isEmpty())
                    result.warnings.push_back({pageCounter, lineNumber, warning});
                SetLine(*page, lineNumber, text);
            }
        }

        if (status == kScsLineComplete)
            continue;
        if (status == kScsPageEnd) {
            ++result.pagesSeen;
            if (pageCounter >= first) {
                pages.AddTail(page.release());
                ++result.pagesKept;
                page = std::make_unique<CStringArray>();
            }
            ++pageCounter;
            pageHoldsLine = false;
            if (pageCounter > lastPage)
                return result;
            continue;
        }
        // The data ended: a last page without its form feed still counts
        // when anything was printed on it.
        if (pageHoldsLine) {
            ++result.pagesSeen;
            if (pageCounter >= first) {
                pages.AddTail(page.release());
                ++result.pagesKept;
            }
        }
        return result;
    }
}
