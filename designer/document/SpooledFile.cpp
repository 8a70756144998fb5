#include "designer/document/SpooledFile.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"

#include <algorithm>
#include <unordered_set>

KWVD_IMPLEMENT_SERIAL(CSpooledFile, CObject, VERSIONABLE_SCHEMA | 6)

namespace {

constexpr QChar kShiftOut(0x0E);
constexpr QChar kShiftIn(0x0F);

// The filter lists every user's spooled files until the user narrows it.
constexpr char16_t kAllFilter[] = u"*ALL";

CStringArray* AsPage(CObject* object)
{
    if (object == nullptr || !object->IsKindOf(KWVD_RUNTIME_CLASS(CStringArray)))
        return nullptr;
    return static_cast<CStringArray*>(object);
}

} // namespace

void FreePageList(CObList* list)
{
    if (list == nullptr)
        return;
    // A list read from a file may name one object twice.
    std::unordered_set<CObject*> deleted;
    for (CObject* page : *list) {
        if (page != nullptr && deleted.insert(page).second)
            delete page;
    }
    list->RemoveAll();
}

void PageListDeleter::operator()(CObList* list) const
{
    FreePageList(list);
    delete list;
}

QString ExtractLineColumns(const QString& line, int start, int count, int shiftMode)
{
    start = std::max(start, 0);
    const qsizetype length = line.size();
    if (start >= length)
        return QString();
    const qsizetype take = std::min<qsizetype>(count, length - start);
    if (take <= 0)
        return QString();

    bool inDoubleByte = false;
    bool secondHalf = false;
    for (qsizetype i = 0; i < start; ++i) {
        const QChar c = line.at(i);
        if (c == kShiftOut) {
            inDoubleByte = true;
            secondHalf = false;
        } else if (c == kShiftIn) {
            inDoubleByte = false;
            secondHalf = false;
        } else if (inDoubleByte) {
            secondHalf = !secondHalf;
        }
    }

    const bool plain = shiftMode == CSpooledFile::PlainShiftMode;
    QString text;
    text.reserve(take);
    for (qsizetype i = start; i < start + take; ++i) {
        const QChar c = line.at(i);
        if (c == kShiftOut) {
            inDoubleByte = true;
            secondHalf = false;
            if (!plain)
                text += QChar(0x00AB);
        } else if (c == kShiftIn) {
            // The second-half flag is left as it stands here.
            inDoubleByte = false;
            if (!plain)
                text += QChar(0x00BB);
        } else if (inDoubleByte) {
            if (!secondHalf)
                text += c;
            else if (!plain)
                text += u' ';
            secondHalf = !secondHalf;
        } else {
            text += c;
        }
    }
    return text;
}

CSpooledFile::CSpooledFile()
    : m_pages(new CObList)
{
    m_filterIdentity.SetUserName(QString::fromUtf16(kAllFilter));
    m_filterIdentity.SetUserData(QString::fromUtf16(kAllFilter));
}

CSpooledFile::CSpooledFile(CDesignerDoc* document)
    : CSpooledFile()
{
    m_pDocument = document;
}

CSpooledFile::~CSpooledFile() = default;

int CSpooledFile::GetPageCount() const
{
    return m_pages ? static_cast<int>(m_pages->GetCount()) : 0;
}

const CStringArray* CSpooledFile::GetPage(int n) const
{
    return PageAt(n);
}

CStringArray* CSpooledFile::PageAt(int n) const
{
    if (!m_pages || n < 1 || n > GetPageCount())
        return nullptr;
    auto it = m_pages->begin();
    std::advance(it, n - 1);
    return AsPage(*it);
}

BOOL CSpooledFile::SetCurrentPage(int n)
{
    CStringArray* page = PageAt(n);
    if (page == nullptr)
        return FALSE;
    m_pCurrentPage = page;
    if (m_pDocument != nullptr) {
        if (CPage* sourcePage = m_pDocument->GetSourcePage())
            sourcePage->SetSizeInCells(m_pageWidth, m_pageLength);
    }
    m_currentPage = n;
    return TRUE;
}

void CSpooledFile::ReplacePageList(PageList list)
{
    if (!list || list.get() == m_pages.get())
        return;
    std::unordered_set<CObject*> seen;
    for (CObject*& entry : *list) {
        if (entry == nullptr)
            continue;
        if (!seen.insert(entry).second) {
            entry = nullptr;
        } else if (AsPage(entry) == nullptr) {
            delete entry;
            entry = nullptr;
        }
    }
    m_pCurrentPage = nullptr;
    m_currentPage = 0;
    m_pages = std::move(list);
    UpdatePageDimensions();
}

void CSpooledFile::UpdatePageDimensions()
{
    if (!m_pages)
        return;
    for (CObject* entry : *m_pages) {
        const CStringArray* page = AsPage(entry);
        if (page == nullptr)
            continue;
        m_pageLength = std::max(m_pageLength, static_cast<int>(page->GetSize()) - 1);
        for (const QString& line : *page)
            m_pageWidth = std::max(m_pageWidth, static_cast<int>(line.size()));
    }
}

BOOL CSpooledFile::GetTextInRect(int left, int top, int right, int bottom, QStringList& lines, int shiftMode) const
{
    if (m_pCurrentPage == nullptr || right <= left || bottom <= top)
        return FALSE;
    const qint64 lastLine = static_cast<qint64>(bottom) - 1;
    const qint64 highestLine = m_pCurrentPage->GetSize() - 1;
    if (top > highestLine)
        return FALSE;
    const int startColumn = std::max(left - 1, 0);
    const int count = static_cast<int>(std::min<qint64>(static_cast<qint64>(right) - left, m_pageWidth));

    // Lines above element 0 have no text; they still take their row, so
    // the caller's lines stay in step with the rectangle.
    for (qint64 line = top; line <= lastLine; ++line) {
        if (line < 0 || line > highestLine)
            lines.append(QString());
        else
            lines.append(ExtractLineColumns(m_pCurrentPage->GetAt(line), startColumn, count, shiftMode));
    }
    return TRUE;
}

QStringList CSpooledFile::GetTextInRect(const kwvd::Rect& cells, int shiftMode) const
{
    QStringList lines;
    if (!GetTextInRect(cells.left, cells.top, cells.right, cells.bottom, lines, shiftMode))
        lines.clear();
    return lines;
}
