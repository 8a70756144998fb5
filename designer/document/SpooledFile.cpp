#include "designer/document/SpooledFile.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFileStrings.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/File.h"
#include "platform/framework/Paths.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <span>
#include <unordered_set>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

KWVD_IMPLEMENT_SERIAL(CSpooledFile, CObject, VERSIONABLE_SCHEMA | 6)

namespace {

constexpr QChar kShiftOut(0x0E);
constexpr QChar kShiftIn(0x0F);

// The filter lists every user's spooled files until the user narrows it.
constexpr char16_t kAllFilter[] = u"*ALL";

// The host keeps no more than this many pages around one page number; a
// page number further out is a mistake, not a page.
constexpr int kMaxPagesAppended = 10001;

// Command-link ids of the paste question.
constexpr int kReplacePageChoice = 541;
constexpr int kAddPageChoice = 542;

constexpr char16_t kLineFeed = u'\n';
constexpr char16_t kCarriageReturn = u'\r';
constexpr char16_t kByteOrderMark = 0xFEFF;

SpooledFileDataViewer g_dataViewer = nullptr;

CStringArray* AsPage(CObject* object)
{
    if (object == nullptr || !object->IsKindOf(KWVD_RUNTIME_CLASS(CStringArray)))
        return nullptr;
    return static_cast<CStringArray*>(object);
}

bool IsStoredPathForm(const QString& path)
{
    if (path.contains(u'\\'))
        return true;
    return path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter();
}

// The file of that name in the folder, its case disregarded when the exact
// name is missing; empty when there is none.
QString FindFileInFolder(const QString& folder, const QString& name)
{
    if (folder.isEmpty() || name.isEmpty() || !IsDirectory(folder))
        return {};
    const QString found = kwvd::ResolveStoredPath(name, folder);
    if (found.isEmpty() || !QFileInfo(found).isFile())
        return {};
    return found;
}

QString ProgramFolder()
{
    const QString configured = Preferences().ApplicationDirectory;
    if (!configured.isEmpty())
        return configured;
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationDirPath();
    return {};
}

QString CleanFolder(const QString& folder)
{
    return folder.isEmpty() ? QString() : MakeAbsolutePath(folder + u'/', QString());
}

bool AcceptSubstitute(const QString& wanted, const QString& found)
{
    const QString question = FormatResMessage(IDS_SPOOLED_FILE_SUBSTITUTE, wanted, found);
    return AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The line a print-control prefix stores its text at (lineIndex being the
// line of the text before), or why it stores nothing.
PrintControlResult PrintControlTarget(QStringView line, int lineIndex, int& target)
{
    if (line.size() < 4)
        return PrintControlResult::Invalid;
    const char16_t first = line[0].unicode();
    const char16_t last = line[3].unicode();
    target = 0;
    if (last >= u'0' && last <= u'3') {
        target = std::max(lineIndex, 0) + (last - u'0');
    } else if (first == u'0') {
        for (int i = 0; i < 4; ++i) {
            const char16_t c = line[i].unicode();
            if (c < u'0' || c > u'9')
                break;
            target = target * 10 + (c - u'0');
        }
        if (target <= lineIndex)
            return PrintControlResult::NewPage;
    } else {
        return PrintControlResult::Invalid;
    }
    // No printed page is this long; the file is damaged.
    if (target > CSpooledFile::kMaxPageDimension || line.size() - 4 > CSpooledFile::kMaxPageDimension)
        return PrintControlResult::Invalid;
    return PrintControlResult::Stored;
}

// The first LF or CR in [from, to), else to. Lines are long and line ends
// rare, so eight units are tested at a time.
const char16_t* FindLineEnd(const char16_t* from, const char16_t* to)
{
#if defined(__SSE2__)
    const __m128i lineFeeds = _mm_set1_epi16(static_cast<short>(kLineFeed));
    const __m128i returns = _mm_set1_epi16(static_cast<short>(kCarriageReturn));
    for (; to - from >= 8; from += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i ends = _mm_or_si128(_mm_cmpeq_epi16(units, lineFeeds), _mm_cmpeq_epi16(units, returns));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(ends));
        if (mask != 0)
            return from + std::countr_zero(mask) / 2;
    }
#endif
    return std::find_if(from, to, [](char16_t c) { return c == kLineFeed || c == kCarriageReturn; });
}

} // namespace

// The text of a stretch of a local spooled file, as it was read: pages not
// yet built keep their lines here, each block freed once no page needs it.
using TextBlock = std::shared_ptr<const char16_t[]>;

struct UnbuiltPageLines
{
    // Where a line's text stands in a block; no text for a line that was
    // never stored, which stays a null string.
    struct Span
    {
        const char16_t* text = nullptr;
        qsizetype length = 0;
    };

    std::vector<TextBlock> blocks; // those the spans point into
    std::vector<Span> lines;       // by line number
    int width = 0;                 // the longest line, as the page dimensions count it

    void Store(int lineNumber, QStringView line, const TextBlock& block)
    {
        if (lines.size() <= static_cast<size_t>(lineNumber))
            lines.resize(static_cast<size_t>(lineNumber) + 1);
        lines[static_cast<size_t>(lineNumber)] = Span{line.utf16(), line.size()};
        if (blocks.empty() || blocks.back() != block)
            blocks.push_back(block);
    }

    void Finish()
    {
        for (const Span& span : lines) {
            if (span.text != nullptr)
                width = std::max(width,
                                 static_cast<int>(std::min<qsizetype>(span.length, CSpooledFile::kMaxPageDimension)));
        }
    }

    void Build(CStringArray& page) const
    {
        // An empty text that was stored is an empty string, not a null one.
        static constexpr char16_t kNoText[] = u"";
        page.SetSize(static_cast<qsizetype>(lines.size()));
        for (size_t i = 0; i < lines.size(); ++i) {
            const Span& span = lines[i];
            if (span.text == nullptr)
                continue;
            const char16_t* from = span.length > 0 ? span.text : kNoText;
            page[static_cast<qsizetype>(i)] = QString(reinterpret_cast<const QChar*>(from), span.length);
        }
    }
};

namespace {

// Reads a local spooled file block by block straight into the blocks the
// pages keep their texts in: a line is read where it stands and never
// copied, and a long file is never held twice.
class PrintControlReader
{
public:
    PrintControlReader(CObList& pages, UnbuiltPages& unbuilt, int pageLimit)
        : m_pages(pages), m_unbuilt(unbuilt), m_pageLimit(pageLimit), m_page(std::make_unique<UnbuiltPageLines>())
    {}

    // false once the file is found to be invalid.
    bool Read(CFile& file)
    {
        // Read straight into units: the file's byte order is the machine's.
        static_assert(std::endian::native == std::endian::little);
        for (;;) {
            if (m_blockBytes - m_filledBytes < kReadBytes)
                StartBlock();
            auto* bytes = reinterpret_cast<BYTE*>(m_blockStart);
            const UINT got = file.Read(bytes + m_filledBytes, kReadBytes);
            if (got == 0)
                break;
            m_empty = false;
            m_filledBytes += got;
            if (!TakeUnits())
                return false;
            if (m_stopped)
                return true;
        }
        // A last line without an ending still counts; a lone odd byte does not.
        const size_t end = m_filledBytes / 2;
        const bool valid = EndLine(QStringView(m_blockStart + m_lineStart, static_cast<qsizetype>(end - m_lineStart)));
        if (!valid)
            return false;
        if (!m_stopped)
            AddPage();
        return true;
    }

    // Not a byte in the file: no report ever has 0 bytes, so the file is
    // not one (a failed transfer, a file still being written).
    bool WasEmpty() const { return m_empty; }

private:
    static constexpr UINT kReadBytes = 64 * 1024;
    static constexpr size_t kBlockBytes = 1024 * 1024;

    // A new block, taking along the line the old one cuts (and an odd byte).
    void StartBlock()
    {
        auto* const oldBytes = reinterpret_cast<const BYTE*>(m_blockStart);
        const size_t carried = m_filledBytes - m_lineStart * 2;
        // Doubling keeps a line longer than a block from being copied over
        // and over.
        const size_t units = std::max(kBlockBytes, 2 * carried + kReadBytes) / 2 + 1;
        std::shared_ptr<char16_t[]> block(new char16_t[units]);
        if (carried > 0)
            std::memcpy(block.get(), oldBytes + m_lineStart * 2, carried);
        m_scan -= m_lineStart;
        m_lineStart = 0;
        m_filledBytes = carried;
        m_blockBytes = units * 2;
        m_blockStart = block.get();
        m_block = std::move(block);
    }

    bool TakeUnits()
    {
        const char16_t* const base = m_blockStart;
        const size_t end = m_filledBytes / 2;
        size_t at = m_scan;
        if (m_atStart && at != end) {
            m_atStart = false;
            if (base[at] == kByteOrderMark)
                m_lineStart = ++at;
        }
        if (m_afterCarriageReturn && at != end) {
            m_afterCarriageReturn = false;
            if (base[at] == kLineFeed)
                m_lineStart = ++at;
        }
        while (at != end) {
            const char16_t* const lineEnd = FindLineEnd(base + at, base + end);
            // A line the read cuts waits for the rest of it.
            if (lineEnd == base + end)
                break;
            if (!EndLine(QStringView(base + m_lineStart, lineEnd - (base + m_lineStart))))
                return false;
            if (m_stopped)
                return true;
            at = static_cast<size_t>(lineEnd - base) + 1;
            if (*lineEnd == kCarriageReturn) {
                if (at == end)
                    m_afterCarriageReturn = true;
                else if (base[at] == kLineFeed)
                    ++at;
            }
            m_lineStart = at;
        }
        m_scan = end;
        return true;
    }

    bool EndLine(QStringView line)
    {
        if (line.size() < 4)
            return true;
        int target = 0;
        PrintControlResult result = PrintControlTarget(line, m_lineIndex, target);
        if (result == PrintControlResult::NewPage) {
            AddPage();
            if (++m_pageCount > m_pageLimit) {
                m_stopped = true;
                return true;
            }
            m_lineIndex = 0;
            // A second new page for the same line drops the line.
            result = PrintControlTarget(line, m_lineIndex, target);
        }
        if (result == PrintControlResult::Stored) {
            m_lineIndex = target;
            m_page->Store(target, line.sliced(4), m_block);
        }
        return result != PrintControlResult::Invalid;
    }

    void AddPage()
    {
        m_page->Finish();
        const size_t lines = m_page->lines.size();
        auto page = std::make_unique<CStringArray>();
        m_pages.AddTail(page.get());
        m_unbuilt.emplace(page.release(), std::move(m_page));
        // Pages of one report are much alike.
        m_page = std::make_unique<UnbuiltPageLines>();
        m_page->lines.reserve(lines);
    }

    CObList& m_pages;
    UnbuiltPages& m_unbuilt;
    const int m_pageLimit;
    std::unique_ptr<UnbuiltPageLines> m_page;
    TextBlock m_block;
    char16_t* m_blockStart = nullptr; // m_block's units, written by the reads
    size_t m_blockBytes = 0;
    size_t m_filledBytes = 0;
    size_t m_lineStart = 0; // the unit the line being read starts at
    size_t m_scan = 0;      // the unit the search for its end goes on from
    int m_lineIndex = 0;
    int m_pageCount = 1;
    bool m_stopped = false;
    bool m_empty = true;
    bool m_atStart = true;
    bool m_afterCarriageReturn = false;
};

// Raises the page dimensions to what the page needs; nothing for no page.
void RaiseToPage(const CStringArray* page, const UnbuiltPages& unbuilt, int& width, int& length)
{
    if (page == nullptr)
        return;
    if (const auto found = unbuilt.find(page); found != unbuilt.end()) {
        const UnbuiltPageLines& lines = *found->second;
        const qsizetype last = static_cast<qsizetype>(lines.lines.size()) - 1;
        length = std::max(length, static_cast<int>(std::min<qsizetype>(last, CSpooledFile::kMaxPageDimension)));
        width = std::max(width, lines.width);
        return;
    }
    // The source page is sized in cells from these; no page gets larger.
    const qsizetype last = std::min<qsizetype>(page->GetSize() - 1, CSpooledFile::kMaxPageDimension);
    length = std::max(length, static_cast<int>(last));
    for (const QString& line : *page)
        width = std::max(width, static_cast<int>(std::min<qsizetype>(line.size(), CSpooledFile::kMaxPageDimension)));
}

// Clip boxes are kept well inside int so that padding them and turning them
// into cells cannot overflow.
constexpr double kClipLimit = 1 << 28;

int ClipCoordinate(double value)
{
    return static_cast<int>(std::clamp(value, -kClipLimit, kClipLimit));
}

// The painter's clip in its own coordinates, or the whole device when it
// has none; empty when nothing can be painted.
kwvd::Rect ClipBox(const QPainter& painter)
{
    QRectF box;
    if (painter.hasClipping()) {
        box = painter.clipBoundingRect();
    } else if (const QPaintDevice* device = painter.device()) {
        bool invertible = false;
        const QTransform toLogical = painter.combinedTransform().inverted(&invertible);
        if (invertible)
            box = toLogical.mapRect(QRectF(0, 0, device->width(), device->height()));
    }
    if (box.isEmpty())
        return {};
    return kwvd::Rect(ClipCoordinate(std::floor(box.left())), ClipCoordinate(std::floor(box.top())),
                      ClipCoordinate(std::ceil(box.right())), ClipCoordinate(std::ceil(box.bottom())));
}

// Whatever the page drawing changes on the caller's painter goes back.
class PainterStateKeeper
{
public:
    explicit PainterStateKeeper(QPainter& painter) : m_painter(painter) { m_painter.save(); }
    ~PainterStateKeeper() { m_painter.restore(); }
    PainterStateKeeper(const PainterStateKeeper&) = delete;
    PainterStateKeeper& operator=(const PainterStateKeeper&) = delete;

private:
    QPainter& m_painter;
};

} // namespace

PrintControlResult ParsePrintControlLine(const QString& line, int& lineIndex, CStringArray& page)
{
    int target = 0;
    const PrintControlResult result = PrintControlTarget(line, lineIndex, target);
    if (result != PrintControlResult::Stored)
        return result;
    lineIndex = target;
    if (page.GetSize() <= target)
        page.SetSize(target + 1);
    page[target] = line.mid(4);
    return PrintControlResult::Stored;
}

BOOL LocateSpooledFile(QString& path)
{
    const QStringList parts = kwvd::SplitStoredPath(path);
    const QString name = parts.isEmpty() ? QString() : parts.last();
    QString found;
    std::vector<QString> searched;

    if (!name.isEmpty()) {
        const QFileInfo named(path);
        // A folder of that name is what the user named: the reader says why
        // it cannot be read, rather than "not found" or another file.
        if (!IsStoredPathForm(path) && (named.isFile() || named.isDir())) {
            found = path;
        } else if (IsStoredPathForm(path)) {
            found = kwvd::ResolveStoredPath(path, QString());
            if (!found.isEmpty() && !QFileInfo(found).isFile())
                found.clear();
            searched.push_back(CleanFolder(GetCurrentFolder()));
        } else {
            QString folder = GetPathFolder(path);
            if (folder.isEmpty())
                folder = GetCurrentFolder();
            found = FindFileInFolder(folder, name);
            searched.push_back(CleanFolder(folder));
        }

        // Each other folder is searched once, and a file found there stands
        // in only when the user agrees.
        const QString substituteFolders[] = {
            Preferences().DefaultSpooledFileDirectory,
            ProgramFolder(),
            GetCurrentFolder(),
        };
        for (const QString& folder : substituteFolders) {
            if (!found.isEmpty())
                break;
            const QString clean = CleanFolder(folder);
            if (clean.isEmpty() || std::find(searched.begin(), searched.end(), clean) != searched.end())
                continue;
            searched.push_back(clean);
            const QString candidate = FindFileInFolder(folder, name);
            if (!candidate.isEmpty() && AcceptSubstitute(path, candidate))
                found = candidate;
        }
    }

    if (found.isEmpty()) {
        AfxMessageBox(FormatResMessage(IDS_SPOOLED_FILE_NOT_FOUND, path), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    path = MakeAbsolutePath(found, QString());
    return TRUE;
}

SpooledFileDataViewer SetSpooledFileDataViewer(SpooledFileDataViewer viewer)
{
    SpooledFileDataViewer previous = g_dataViewer;
    g_dataViewer = viewer;
    return previous;
}

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

CSpooledFile::CSpooledFile() : m_pages(new CObList)
{
    m_filterIdentity.SetUserName(QString::fromUtf16(kAllFilter));
    m_filterIdentity.SetUserData(QString::fromUtf16(kAllFilter));
}

CSpooledFile::CSpooledFile(CDesignerDoc* document) : CSpooledFile()
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
    CStringArray* page = AsPage(*m_pageIndex[static_cast<size_t>(n - 1)]);
    BuildPage(page);
    return page;
}

void CSpooledFile::BuildPage(CStringArray* page) const
{
    const auto unbuilt = m_unbuilt.find(page);
    if (unbuilt == m_unbuilt.end())
        return;
    unbuilt->second->Build(*page);
    m_unbuilt.erase(unbuilt);
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
    TakePages(std::move(list), {});
}

void CSpooledFile::TakePages(PageList list, UnbuiltPages unbuilt)
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
    std::vector<CObList::iterator> index;
    index.reserve(static_cast<size_t>(list->GetCount()));
    for (auto it = list->begin(); it != list->end(); ++it)
        index.push_back(it);
    m_pCurrentPage = nullptr;
    m_currentPage = 0;
    m_pages = std::move(list);
    m_pageIndex = std::move(index);
    m_unbuilt = std::move(unbuilt);
    UpdatePageDimensions();
}

void CSpooledFile::UpdatePageDimensions()
{
    if (!m_pages)
        return;
    for (CObject* entry : *m_pages)
        RaiseToPage(AsPage(entry), m_unbuilt, m_pageWidth, m_pageLength);
}

BOOL CSpooledFile::GetTextInRect(int left, int top, int right, int bottom, QStringList& lines, int shiftMode) const
{
    if (m_pCurrentPage == nullptr || right <= left || bottom <= top)
        return FALSE;
    const qint64 lastLine = static_cast<qint64>(bottom) - 1;
    const qint64 highestLine = m_pCurrentPage->GetSize() - 1;
    if (top > highestLine)
        return FALSE;
    // Columns left of column 1 have no text: they narrow the rectangle.
    const int firstColumn = std::max(left, 1);
    const int startColumn = firstColumn - 1;
    const int count = static_cast<int>(std::min<qint64>(static_cast<qint64>(right) - firstColumn, m_pageWidth));

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

void CSpooledFile::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        if (m_pages) {
            for (CObject* entry : *m_pages)
                BuildPage(AsPage(entry));
        }
        ar.WriteObject(m_pages.get());
        ar << static_cast<LONG>(m_currentPage) << static_cast<LONG>(m_pageWidth) << static_cast<LONG>(m_pageLength);
        SerializeSpooledFileIdentity(ar, m_loadedIdentity);
        SerializeSpooledFileIdentity(ar, m_filterIdentity);
        return;
    }

    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = runtimeClass.GetStoredSchema();
    if (schema > runtimeClass.GetStoredSchema())
        AfxThrowArchiveException(CArchiveException::badSchema, ar.GetFilePath());
    m_pDocument = dynamic_cast<CDesignerDoc*>(ar.m_pDocument);

    if (schema < 2) {
        QString path;
        ar >> path;
        ReadTextFile(path);
        return;
    }

    // The list does not own its pages: those read before a failure in it
    // come back here to be freed.
    std::vector<CObject*> orphans;
    CObList* list = nullptr;
    try {
        list = static_cast<CObList*>(ar.ReadCollection(KWVD_RUNTIME_CLASS(CObList), orphans));
    } catch (...) {
        for (CObject* orphan : orphans)
            if (orphan->GetRuntimeClass() == KWVD_RUNTIME_CLASS(CStringArray))
                delete orphan;
        throw;
    }
    PageList pages(list);
    if (!pages)
        pages.reset(new CObList);
    const bool foreign = std::any_of(pages->begin(), pages->end(), [](const CObject* entry) {
        return entry != nullptr && entry->GetRuntimeClass() != KWVD_RUNTIME_CLASS(CStringArray);
    });
    if (foreign) {
        // What this read made is the list's own and goes with it; an entry
        // read earlier is a reference to an object its owner still holds.
        std::unordered_set<CObject*> made;
        for (CObject* entry : *pages) {
            if (entry != nullptr && entry != pages.get() && ar.IsMadeWithin(entry, pages.get()))
                made.insert(entry);
        }
        for (CObject* object : made) {
            ar.ForgetObject(object);
            delete object;
        }
        pages->RemoveAll();
        AfxThrowArchiveException(CArchiveException::badClass, ar.GetFilePath());
    }

    LONG current = 0;
    ar >> current;
    if (schema > 2) {
        LONG width = 0;
        LONG length = 0;
        ar >> width >> length;
        // Dimensions never shrink, so a bogus one would stay for good.
        if (width < 0 || width > kMaxPageDimension || length < 0 || length > kMaxPageDimension)
            AfxThrowArchiveException(CArchiveException::genericException, ar.GetFilePath());
        m_pageWidth = width;
        m_pageLength = length;
    }
    ReplacePageList(std::move(pages));
    SetCurrentPage(current);

    if (schema > 3) {
        SerializeSpooledFileIdentity(ar, m_loadedIdentity);
        SerializeSpooledFileIdentity(ar, m_filterIdentity);
    }
}

BOOL CSpooledFile::OpenLocalFile()
{
    FileDialogRequest request;
    request.title = LoadResString(IDS_SPOOLED_FILE_OPEN_TITLE);
    if (m_pDocument != nullptr)
        request.initialFolder = Preferences().DefaultSpooledFileDirectory;
    for (;;) {
        const QString path = Prompts().GetOpenFileName(request);
        if (path.isEmpty())
            return FALSE;
        if (ReadTextFile(path))
            return TRUE;
    }
}

BOOL CSpooledFile::ReadTextFile(const QString& path)
{
    if (path.isEmpty())
        return FALSE;
    QString located = path;
    if (!LocateSpooledFile(located))
        return FALSE;

    // A shared lock: other readers may have the file open too; a file that
    // a writer holds locked is refused.
    CFile file;
    CFileException openError;
    if (!file.Open(located, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        ReportError(openError, MB_ICONEXCLAMATION);
        return FALSE;
    }

    PageList pages(new CObList);
    UnbuiltPages unbuilt;
    bool valid = false;
    try {
        PrintControlReader reader(*pages, unbuilt, Preferences().MaxSpooledFilePages);
        valid = reader.Read(file) && !reader.WasEmpty();
    } catch (const CFileException& error) {
        // The file's own error says what went wrong; "invalid format" would not.
        ReportError(error, MB_ICONEXCLAMATION);
        return FALSE;
    } catch (const CException& error) {
        if (Preferences().EnableDebugServices)
            ReportError(error);
    }
    if (!valid) {
        AfxMessageBox(FormatResMessage(IDS_SPOOLED_FILE_INVALID_FORMAT, located), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    TakePages(std::move(pages), std::move(unbuilt));
    SetCurrentPage(1);
    return TRUE;
}

void CSpooledFile::AppendPage(CObject* page)
{
    if (!m_pages) {
        m_pages.reset(new CObList);
        m_pageIndex.clear();
    }
    // Room first, so that the list never gets ahead of its index.
    m_pageIndex.reserve(m_pageIndex.size() + 1);
    m_pages->AddTail(page);
    m_pageIndex.push_back(std::prev(m_pages->end()));
}

void CSpooledFile::AddServerPages(const CObList* list, BOOL append)
{
    if (!append && m_pages) {
        FreePageList(m_pages.get());
        m_pageIndex.clear();
        m_unbuilt.clear();
    }
    m_pCurrentPage = nullptr;
    m_currentPage = 0;
    if (list != nullptr) {
        for (CObject* entry : *list) {
            const CStringArray* source = AsPage(entry);
            if (source == nullptr) {
                AppendPage(nullptr);
                continue;
            }
            auto page = std::make_unique<CStringArray>();
            page->SetSize(source->GetSize());
            for (qsizetype i = 0; i < source->GetSize(); ++i) {
                const QString& line = source->GetAt(i);
                const qsizetype nul = line.indexOf(QChar(0));
                (*page)[i] = nul < 0 ? line : line.left(nul);
            }
            AppendPage(page.get());
            page.release();
        }
    }
    UpdatePageDimensions();
}

BOOL CSpooledFile::SetPage(CStringArray* lines, int n)
{
    if (n < 1)
        return FALSE;
    int appended = 0;
    while (GetPageCount() < n) {
        if (appended == kMaxPagesAppended)
            return FALSE;
        AppendPage(nullptr);
        ++appended;
    }

    const auto at = m_pageIndex.begin() + (n - 1);
    const CObList::iterator it = *at;
    CObject* old = *it;
    if (lines != nullptr) {
        *it = lines;
    } else {
        m_pages->RemoveAt(it);
        m_pageIndex.erase(at);
    }
    if (old != nullptr && old != lines) {
        if (old == m_pCurrentPage)
            m_pCurrentPage = nullptr;
        m_unbuilt.erase(old);
        delete old;
    }
    // Dimensions only grow, and every other page was counted when it came:
    // only the new one can raise them.
    RaiseToPage(lines, m_unbuilt, m_pageWidth, m_pageLength);
    SetCurrentPage(n);
    return TRUE;
}

BOOL CSpooledFile::DeletePage(int n)
{
    // Deleting a page that is not there must not add pages first.
    if (n < 1 || n > GetPageCount())
        return FALSE;
    if (!SetPage(nullptr, n))
        return FALSE;
    const int current = m_currentPage;
    if (current < n)
        return TRUE;
    if (current > n && SetCurrentPage(current - 1))
        return TRUE;
    if (SetCurrentPage(current) || SetCurrentPage(GetPageCount()))
        return TRUE;
    m_pCurrentPage = nullptr;
    m_currentPage = 0;
    return TRUE;
}

void CSpooledFile::CopyPageToClipboard() const
{
    if (m_pCurrentPage == nullptr || qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    QStringList lines;
    GetTextInRect(1, 1, m_pageWidth + 1, static_cast<int>(m_pCurrentPage->GetSize()), lines, PlainShiftMode);
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    QGuiApplication::clipboard()->setText(text);
}

BOOL CSpooledFile::PastePageFromClipboard()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return FALSE;
    const QString text = QGuiApplication::clipboard()->text();

    // Every line end starts a line, so empty lines keep their place; the
    // text after the last line end is a line only when there is some.
    QStringList pieces = text.split(kLineFeed);
    if (pieces.last().isEmpty())
        pieces.removeLast();
    std::unique_ptr<CStringArray> page(new CStringArray);
    page->Add(QString());
    for (QString piece : pieces) {
        qsizetype end = piece.size();
        while (end > 0 && (piece.at(end - 1) == kCarriageReturn || piece.at(end - 1) == u' '))
            --end;
        piece.truncate(end);
        page->Add(piece);
    }

    CommandLinkRequest request;
    request.windowTitle = LoadResString(IDS_SPOOLED_FILE_PASTE_TITLE);
    request.mainInstruction = LoadResString(IDS_SPOOLED_FILE_PASTE_QUESTION);
    request.choices = {{kReplacePageChoice, LoadResString(IDS_SPOOLED_FILE_PASTE_REPLACE)},
                       {kAddPageChoice, LoadResString(IDS_SPOOLED_FILE_PASTE_ADD)}};
    request.defaultId = kReplacePageChoice;
    const std::optional<int> choice = Prompts().ChooseCommandLink(request);
    if (!choice)
        return FALSE;

    int target = m_currentPage > 0 ? m_currentPage : 1;
    if (*choice == kAddPageChoice)
        target = GetPageCount() + 1;
    if (SetPage(page.get(), target))
        page.release();
    return TRUE;
}

void CSpooledFile::ShowFileData() const
{
    if (g_dataViewer != nullptr)
        g_dataViewer(m_loadedIdentity);
}

QFont CSpooledFile::FallbackDisplayFont(int cellWidth, int cellHeight)
{
    // The same cell is asked for at every repaint.
    static int cachedWidth = -1;
    static int cachedHeight = -1;
    static QFont cached;
    if (cellWidth == cachedWidth && cellHeight == cachedHeight)
        return cached;

    QFont font;
    font.setFamilies(
        {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")});
    font.setStyleHint(QFont::Monospace, QFont::PreferDefault);
    font.setFixedPitch(true);
    // Advances that grow in step with the zoom, without hinting's rounding.
    font.setHintingPreference(QFont::PreferNoHinting);
    const int width = std::max(cellWidth, 1);
    int pixels = std::max(cellHeight, 1);
    font.setPixelSize(pixels);
    const double natural = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
    if (natural > width) {
        pixels = std::max(1, static_cast<int>(std::floor(pixels * width / natural)));
        font.setPixelSize(pixels);
    }
    // Nor may a line of it reach into the next.
    const double height = QFontMetricsF(font).height();
    if (height > std::max(cellHeight, 1)) {
        pixels = std::max(1, static_cast<int>(std::floor(pixels * std::max(cellHeight, 1) / height)));
        font.setPixelSize(pixels);
    }
    // What is left of the cell goes between the characters.
    const double advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
    font.setLetterSpacing(QFont::AbsoluteSpacing, width - advance);

    cachedWidth = cellWidth;
    cachedHeight = cellHeight;
    cached = font;
    return font;
}

void CSpooledFile::DrawPage(QPainter& painter) const
{
    CPage* sourcePage = m_pDocument != nullptr ? m_pDocument->GetSourcePage() : nullptr;
    if (sourcePage == nullptr || !painter.isActive())
        return;
    kwvd::Rect clip = ClipBox(painter);
    if (clip.IsEmpty())
        return;
    // Glyphs stray a pixel past their cells: the cells around the clip are
    // drawn too, so that their edges inside it are not lost.
    clip.Inflate(1, 1);
    kwvd::Rect cells = clip;
    sourcePage->RectToCells(cells);

    QStringList lines;
    if (!GetTextInRect(cells.left, cells.top, cells.right + 1, cells.bottom + 1, lines, DisplayShiftMode))
        return;

    const PainterStateKeeper keeper(painter);
    CFontManager* fonts = sourcePage->GetFontManager();
    const QFont* pageFont = fonts != nullptr ? fonts->GetWindowsFont(0) : nullptr;
    painter.setFont(pageFont != nullptr ? *pageFont
                                        : FallbackDisplayFont(sourcePage->GetCellWidth(), sourcePage->GetCellHeight()));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setClipRect(clip.ToQRect(), Qt::IntersectClip);

    qsizetype longest = 0;
    for (const QString& line : lines)
        longest = std::max(longest, line.size());
    const std::span<const int> advances =
        sourcePage->GetCharWidths(static_cast<int>(std::min<qsizetype>(longest, kMaxPageDimension)));

    const QFont& font = painter.font();
    // Blanks ink nothing unless the font lines them.
    const bool drawBlanks = font.underline() || font.strikeOut();
    // Text stands on the bottom of its line's cells, not on its baseline;
    // a whole-pixel baseline keeps the glyphs sharp and off the next line.
    const double descent = std::ceil(QFontMetricsF(font).descent());
    // GetTextInRect starts at column 1 when the rectangle starts left of it.
    const double left = static_cast<double>(sourcePage->GetCellWidth()) * (std::max(cells.left, 1) - 1);
    const double cellHeight = sourcePage->GetCellHeight();

    for (qsizetype row = 0; row < lines.size(); ++row) {
        const QString& text = lines.at(row);
        if (text.isEmpty())
            continue;
        const double baseline = cellHeight * (static_cast<double>(cells.top) + static_cast<double>(row)) - descent;
        double x = left;
        const qsizetype cellCount = std::min<qsizetype>(text.size(), static_cast<qsizetype>(advances.size()));
        for (qsizetype i = 0; i < cellCount; ++i) {
            // A character outside the basic plane takes its two units' cells.
            const qsizetype units =
                text.at(i).isHighSurrogate() && i + 1 < cellCount && text.at(i + 1).isLowSurrogate() ? 2 : 1;
            if (drawBlanks || !text.at(i).isSpace())
                painter.drawText(QPointF(x, baseline), text.mid(i, units));
            for (qsizetype u = 0; u < units; ++u)
                x += advances[static_cast<size_t>(i + u)];
            i += units - 1;
        }
    }
}
