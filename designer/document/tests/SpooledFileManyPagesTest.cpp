// A local spooled file of 10,000 pages, read block by block with each page's
// lines made only when the page is asked for: every page and line, the page
// dimensions and the stored bytes as a plain reading of the whole text gives
// them, whichever way a page is reached or changed.

#include "designer/document/SpooledFile.h"
#include "designer/document/SpooledFileStrings.h"
#include "designer/preferences/Preferences.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kPages = 10000;

// The reader takes the file in blocks of this many units; lines are laid so
// that each kind of cut falls on a block's edge somewhere in the file.
constexpr qsizetype kBlockUnits = 32 * 1024;

// A page's lines as read (a null line was never stored); no page when the
// list holds none at that place.
using PageLines = std::vector<QString>;
using Pages = std::vector<std::optional<PageLines>>;

struct Reading
{
    bool valid = true;
    Pages pages;
};

// The whole text decoded at once and cut at every line end, each line then
// applied as its print-control prefix says, up to the page limit.
Reading ReadPlainly(const QByteArray& bytes, int pageLimit)
{
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<uchar>(bytes[i]);
        const auto high = static_cast<uchar>(bytes[i + 1]);
        text.append(QChar(static_cast<char16_t>(low | high << 8)));
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\n' && text[i] != u'\r')
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.append(text.mid(start));

    Reading reading;
    CStringArray page;
    int lineIndex = 0;
    const auto keepPage = [&] {
        reading.pages.emplace_back(PageLines(page.begin(), page.end()));
        page.RemoveAll();
    };
    for (const QString& line : lines) {
        if (line.size() < 4)
            continue;
        PrintControlResult result = ParsePrintControlLine(line, lineIndex, page);
        if (result == PrintControlResult::NewPage) {
            keepPage();
            if (static_cast<int>(reading.pages.size()) == pageLimit)
                return reading;
            lineIndex = 0;
            result = ParsePrintControlLine(line, lineIndex, page);
        }
        if (result == PrintControlResult::Invalid) {
            reading.valid = false;
            return reading;
        }
    }
    keepPage();
    return reading;
}

// How a line is ended and laid against the block edge ahead of it.
struct EdgeCut
{
    const char16_t* end;
    int unitsPastText; // from the end of the text to the edge
};

// A CR last in a block with its LF first in the next; a line starting a
// block; a prefix cut after two units; a CR CR LF cut after its first CR.
constexpr EdgeCut kEdgeCuts[] = {{u"\r\n", 1}, {u"\n", 1}, {u"\n", 3}, {u"\r\r\n", 1}};

// A report of somewhat more than 10,000 pages with every kind of line:
// spacing 0 to 3 lines, skips down and back, runs of new pages without
// lines, short and empty lines, empty texts, texts longer than a block,
// double-byte runs, surrogates, a byte-order mark inside a line, all four
// line ends, no end on the last line and an odd byte after it.
QByteArray MakeSpooledFile()
{
    std::mt19937 random(24);
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    // A pair of surrogates taken apart too: either alone stays as it is.
    const QString alphabet = u"ABC xyz 0123 \u000E\u4E00\u4E01\u000F\u00E9\uFEFF\U0001F600"_qs;
    const char16_t* const ends[] = {u"\n", u"\r\n", u"\r", u"\r\r\n"};

    QString text(QChar(0xFEFF));
    qsizetype nextEdge = kBlockUnits;
    int edgeCut = 0;
    int lineIndex = 0;
    int pageStarts = 0;
    const auto addLine = [&](const QString& prefix) {
        qsizetype length = pick(4) == 0 ? 0 : pick(100);
        if (pick(4000) == 0)
            length = kBlockUnits + pick(100);
        const char16_t* end = ends[pick(4)];
        const qsizetype room = nextEdge - text.size() - prefix.size();
        const EdgeCut& cut = kEdgeCuts[edgeCut % std::size(kEdgeCuts)];
        if (room >= cut.unitsPastText && room < 200) {
            length = room - cut.unitsPastText;
            end = cut.end;
            ++edgeCut;
        }
        text += prefix;
        for (qsizetype i = 0; i < length; ++i)
            text += alphabet[pick(static_cast<int>(alphabet.size()))];
        text += QStringView(end);
        while (nextEdge <= text.size())
            nextEdge += kBlockUnits;
    };

    while (pageStarts < kPages + 3) {
        switch (pick(12)) {
        case 0:
        case 1:
            addLine(u"001 "_qs);
            if (lineIndex >= 1)
                ++pageStarts;
            lineIndex = 1;
            break;
        case 2: {
            // Skips down, to a line of two digits.
            const int target = std::min(lineIndex + 1 + pick(20), 99);
            if (target <= lineIndex)
                break;
            addLine(u"0%1 "_qs.arg(target, 2, 10, QChar(u'0')));
            lineIndex = target;
            break;
        }
        case 3:
            // A new page, and a second one for the same line, which drops
            // it; two in a row leave a page without lines.
            if (pick(20) == 0) {
                addLine(u"000 "_qs);
                lineIndex = 0;
                ++pageStarts;
                break;
            }
            text += QStringView(pick(2) == 0 ? u"ab\n" : u"\r\n");
            break;
        default: {
            const int spacing = pick(4);
            addLine(u"   %1"_qs.arg(spacing));
            lineIndex += spacing;
            break;
        }
        }
    }
    text += u"   1last line without an end"_qs;
    return Utf16Le(text) + QByteArray(1, 'x');
}

const QByteArray& SpooledFileBytes()
{
    static const QByteArray bytes = MakeSpooledFile();
    return bytes;
}

const Reading& PlainReading()
{
    static const Reading reading = ReadPlainly(SpooledFileBytes(), kPages);
    return reading;
}

Pages PagesOf(const CSpooledFile& file)
{
    Pages pages;
    for (int n = 1; n <= file.GetPageCount(); ++n) {
        if (const CStringArray* page = file.GetPage(n))
            pages.emplace_back(PageLines(page->begin(), page->end()));
        else
            pages.emplace_back(std::nullopt);
    }
    return pages;
}

// Empty when the pages are alike, null lines apart from empty ones; else
// where they first differ.
std::string FirstDifference(const Pages& got, const Pages& expected)
{
    if (got.size() != expected.size())
        return "page count " + std::to_string(got.size()) + " instead of " + std::to_string(expected.size());
    for (size_t n = 0; n < got.size(); ++n) {
        const std::string page = "page " + std::to_string(n + 1);
        if (got[n].has_value() != expected[n].has_value())
            return page + (got[n] ? " has lines" : " has none");
        if (!got[n])
            continue;
        const PageLines& lines = *got[n];
        const PageLines& wanted = *expected[n];
        if (lines.size() != wanted.size())
            return page + ": " + std::to_string(lines.size()) + " lines instead of " + std::to_string(wanted.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] != wanted[i] || lines[i].isNull() != wanted[i].isNull())
                return page + " line " + std::to_string(i) + ": \"" + lines[i].toStdString() + "\" instead of \""
                       + wanted[i].toStdString() + "\"";
        }
    }
    return {};
}

PageList ToPageList(const Pages& pages)
{
    PageList list(new CObList);
    for (const std::optional<PageLines>& lines : pages) {
        CStringArray* page = nullptr;
        if (lines) {
            page = new CStringArray;
            for (const QString& line : *lines)
                page->Add(line);
        }
        list->AddTail(page);
    }
    return list;
}

// The dimensions the pages give: the most lines and the longest line.
std::pair<int, int> WidthAndLength(const Pages& pages)
{
    int width = 0;
    int length = 0;
    for (const std::optional<PageLines>& lines : pages) {
        if (!lines)
            continue;
        length = std::max(length, static_cast<int>(lines->size()) - 1);
        for (const QString& line : *lines)
            width = std::max(width, static_cast<int>(line.size()));
    }
    return {width, length};
}

class SpooledFileManyPagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterSpooledFileStrings();
        ASSERT_TRUE(dir.isValid());
        prefs.MaxSpooledFilePages = kPages;
        previousPrefs = SetPreferences(&prefs);
        path = dir.filePath(QStringLiteral("report.txt"));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(SpooledFileBytes()), SpooledFileBytes().size());
        out.close();
        ASSERT_TRUE(PlainReading().valid);
        ASSERT_EQ(PlainReading().pages.size(), static_cast<size_t>(kPages));
    }

    void TearDown() override { SetPreferences(previousPrefs); }

    QTemporaryDir dir;
    CPreferences prefs;
    CPreferences* previousPrefs = nullptr;
    ScopedPromptAnswers prompts;
    QString path;
};

TEST_F(SpooledFileManyPagesTest, EveryPageAndLineAsAPlainReadingGives)
{
    CSpooledFile file;
    ASSERT_TRUE(file.ReadTextFile(path));
    EXPECT_TRUE(prompts->Recorded().empty());

    // The dimensions come before any page but the first has its lines.
    const auto [width, length] = WidthAndLength(PlainReading().pages);
    EXPECT_EQ(file.GetPageWidth(), width);
    EXPECT_EQ(file.GetPageLength(), length);
    EXPECT_EQ(file.GetCurrentPageNumber(), 1);

    // Every page reached by showing it, then through the page list again.
    for (int n = 1; n <= file.GetPageCount(); ++n) {
        ASSERT_TRUE(file.SetCurrentPage(n)) << n;
        ASSERT_EQ(file.GetCurrentPageLines(), file.GetPage(n)) << n;
    }
    EXPECT_EQ(FirstDifference(PagesOf(file), PlainReading().pages), "");
    file.UpdatePageDimensions();
    EXPECT_EQ(file.GetPageWidth(), width);
    EXPECT_EQ(file.GetPageLength(), length);
}

TEST_F(SpooledFileManyPagesTest, StoredBytesAsIfEveryPageHadItsLines)
{
    CSpooledFile read;
    ASSERT_TRUE(read.ReadTextFile(path));
    CSpooledFile given;
    given.ReplacePageList(ToPageList(PlainReading().pages));
    ASSERT_TRUE(given.SetCurrentPage(1));

    const Bytes stored = Store([&](CArchive& ar) { read.Serialize(ar); });
    EXPECT_TRUE(stored == Store([&](CArchive& ar) { given.Serialize(ar); }));
    // Storing made every page's lines, and made each null line it wrote an
    // empty one, as Qt does: the pages are still those given whole.
    EXPECT_EQ(FirstDifference(PagesOf(read), PagesOf(given)), "");
}

// Pages removed, replaced or added before they were ever shown: each change
// made to the file read and to the same pages given whole.
TEST_F(SpooledFileManyPagesTest, ChangesToPagesNotYetShown)
{
    struct Case
    {
        const char* name;
        std::function<void(CSpooledFile&)> change;
    };
    const auto newPage = [](const QString& text) {
        auto* page = new CStringArray;
        page->Add(QString());
        page->Add(text);
        return page;
    };
    const Case cases[] = {
        {"page deleted", [](CSpooledFile& f) { EXPECT_TRUE(f.DeletePage(5000)); }},
        {"pages deleted, one put in where they were",
         [&](CSpooledFile& f) {
             EXPECT_TRUE(f.DeletePage(7000));
             EXPECT_TRUE(f.DeletePage(7000));
             EXPECT_TRUE(f.SetPage(newPage(u"new"_qs), 7000));
         }},
        {"page replaced", [&](CSpooledFile& f) { EXPECT_TRUE(f.SetPage(newPage(u"other"_qs), 9000)); }},
        {"server pages added after",
         [](CSpooledFile& f) {
             const PageList server = ToPageList({PageLines{QString(), u"host"_qs}});
             f.AddServerPages(server.get(), TRUE);
         }},
        {"server pages in place of all",
         [](CSpooledFile& f) {
             const PageList server = ToPageList({PageLines{QString(), u"host"_qs}});
             f.AddServerPages(server.get(), FALSE);
         }},
        {"page list replaced", [](CSpooledFile& f) { f.ReplacePageList(ToPageList({PageLines{u"given"_qs}})); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSpooledFile read;
        ASSERT_TRUE(read.ReadTextFile(path));
        CSpooledFile given;
        given.ReplacePageList(ToPageList(PlainReading().pages));
        ASSERT_TRUE(given.SetCurrentPage(1));

        c.change(read);
        c.change(given);

        EXPECT_EQ(read.GetCurrentPageNumber(), given.GetCurrentPageNumber());
        EXPECT_EQ(read.GetPageWidth(), given.GetPageWidth());
        EXPECT_EQ(read.GetPageLength(), given.GetPageLength());
        EXPECT_EQ(FirstDifference(PagesOf(read), PagesOf(given)), "");
    }
}

// A second file read in place of the first, before most of its pages were
// shown, and a bad file that leaves them as they were.
TEST_F(SpooledFileManyPagesTest, ReadingAgainReplacesPagesNotYetShown)
{
    CSpooledFile file;
    ASSERT_TRUE(file.ReadTextFile(path));
    const QString bad = dir.filePath(QStringLiteral("bad.txt"));
    QFile out(bad);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(SpooledFileBytes().left(SpooledFileBytes().size() / 2 & ~1) + Utf16Le(u"\nXXXXbad"_qs));
    out.close();

    EXPECT_FALSE(file.ReadTextFile(bad));
    EXPECT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_EQ(FirstDifference(PagesOf(file), PlainReading().pages), "");

    ASSERT_TRUE(file.ReadTextFile(path));
    EXPECT_EQ(FirstDifference(PagesOf(file), PlainReading().pages), "");
}

} // namespace
