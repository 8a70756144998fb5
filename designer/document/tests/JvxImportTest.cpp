// Reading a JVX file into a document: the header word's checks, version 1's
// old layout, the page size by version, the round trip of a whole document
// and the records that end the reading early.

#include "designer/document/Page.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormElement.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Clock.h"
#include "tests/support/JvxDocumentFixture.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

// "#F " line of a font section that names no fonts: group, description,
// one blank, 1440/LPI, lines per page, 1440/CPI, 3, "*FINE", two blanks, 0.
std::string FontGroupLine(const char* group)
{
    std::string name(group);
    name.resize(8, ' ');
    return "#F " + name + std::string(50, ' ') + " " + "0240" + "066" + "0144" + "3" + "*FINE  " + "  " + "0000"
           + "\r\n";
}

size_t Find(const Bytes& bytes, const std::string& text, size_t from = 0)
{
    const auto it =
        std::search(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(), text.begin(), text.end());
    return it == bytes.end() ? std::string::npos : static_cast<size_t>(it - bytes.begin());
}

// 1-based line of an offset of an 8-bit file.
int LineOf(const Bytes& bytes, size_t offset)
{
    return 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(offset), 0x0A));
}

std::vector<CFormElement*> TopLevel(const CDesignerDoc& doc)
{
    std::vector<CFormElement*> elements;
    for (CObject* object : doc.GetElementList())
        if (auto* element = static_cast<CFormElement*>(object); !element->HasParent())
            elements.push_back(element);
    return elements;
}

class JvxImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_TRUE(target.OnNewDocument());
    }

    QString PathOf(const char* name) const { return env.folder.filePath(QString::fromLatin1(name)); }

    // The test environment has no master font file, which its first reader
    // reports; that message is not the import's.
    std::vector<QString> Messages() const
    {
        std::vector<QString> texts;
        for (const RecordedPrompt& p : env.prompts->Recorded())
            if (!p.text.contains(QStringLiteral("WvdFontsV2.dat")))
                texts.push_back(p.text);
        return texts;
    }

    // The document exported at the version; its bytes.
    Bytes Export(CDesignerDoc& from, int version, const char* name)
    {
        QString member = QStringLiteral("INVOICE");
        const QString path = PathOf(name);
        EXPECT_TRUE(from.ExportJVXFile(path, member, version));
        return ReadFileBytes(path);
    }

    WvdTestEnvironment env;
    CDesignerDoc doc;
    CDesignerDoc target;
};

TEST_F(JvxImportTest, HeaderWordIsCheckedBeforeAnythingIsRead)
{
    struct Case
    {
        const char* name;
        Bytes bytes;
        const char* message; // %1 the path, %2 the file name
    };
    const QString path = PathOf("head.jvx");
    const Case cases[] = {
        {"fewer than six bytes", Ascii("JVX01"), "Error reading file: %1."},
        {"an 8-bit word of a host version", Ascii("JVX019"), "Error reading file: %1."},
        {"an 8-bit word of version 0", Ascii("JVX000"), "Error reading file: %1."},
        {"an 8-bit word without digits", Ascii("JVXabc"), "Error reading file: %1."},
        {"an 8-bit word of a negative version", Ascii("JVX-01"), "Error reading file: %1."},
        {"an EBCDIC word of an 8-bit version", Hex("D1 E5 E7 F0 F1 F8"), "Error reading file: %1."},
        {"an EBCDIC word above 255", Hex("D1 E5 E7 F2 F5 F6"), "Error reading file: %1."},
        {"an EBCDIC word that is no number", Hex("D1 E5 E7 C1 C2 C3"), "Error reading file: %1."},
        {"an EBCDIC word of a newer version", Hex("D1 E5 E7 F0 F2 F9"),
         "Cannot read document \"%2\".  Document was created by a newer version of KWVD Designer."},
        {"the newest a word can name", Hex("D1 E5 E7 F2 F5 F5"),
         "Cannot read document \"%2\".  Document was created by a newer version of KWVD Designer."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.prompts->ClearRecorded();
        ASSERT_TRUE(WriteFileBytes(path, c.bytes + Ascii("rest of a file")));
        const int before = static_cast<int>(target.GetElementList().GetCount());
        EXPECT_FALSE(ImportInTransaction(target, path));
        EXPECT_EQ(Messages(), std::vector<QString>{QString::fromLatin1(c.message)
                                                       .replace(QStringLiteral("%1"), path)
                                                       .replace(QStringLiteral("%2"), QStringLiteral("head.jvx"))});
        EXPECT_EQ(static_cast<int>(target.GetElementList().GetCount()), before);
    }
}

TEST_F(JvxImportTest, MissingFileIsAnErrorReadingIt)
{
    const QString path = PathOf("nowhere.jvx");
    EXPECT_FALSE(ImportInTransaction(target, path));
    EXPECT_EQ(Messages(), std::vector<QString>{QStringLiteral("Error reading file: %1.").arg(path)});
}

// A file without a header word is version 1 from its first byte: 57
// characters of old fields stand where later versions have fields 10 to 12.
TEST_F(JvxImportTest, VersionOneFieldsAreReadAroundTheOldOnes)
{
    const std::string line = std::string("OLDFORM   ") + "Old description" + std::string(35, ' ') // 1, 2
                             + "FIRST PAGE" + std::string(20, ' ')                                // 3
                             + "04" + "012" + "10" + "NE" + "Y" + "005"                           // 4 to 9
                             + std::string(57, 'x')                                               // old fields
                             + "OLDFONTS" + "z" + "OLDRES  " + "\r\n";                            // 13, one, 14
    ASSERT_EQ(line.size(), 177u + 2);
    const QString path = PathOf("v1.jvx");
    ASSERT_TRUE(WriteFileBytes(path, Ascii((line + FontGroupLine("OLDFONTS")).c_str())));
    target.LastPageToProcess().SetValue(77);
    target.GetOutputPage()->SetBorder(123);

    EXPECT_TRUE(ImportInTransaction(target, path));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(target.WvdName().GetValue(), QStringLiteral("OLDFORM"));
    EXPECT_EQ(target.Description().GetValue(), QStringLiteral("Old description"));
    EXPECT_EQ(target.FirstPageText().GetValue(), QStringLiteral("FIRST PAGE"));
    EXPECT_EQ(target.FirstPageTextLine().GetValue(), 4);
    EXPECT_EQ(target.FirstPageTextColumn().GetValue(), 12);
    EXPECT_EQ(target.FirstPageTextWidth().GetValue(), 10);
    EXPECT_EQ(target.FirstPageCompare().GetValue(), QStringLiteral("NE"));
    EXPECT_EQ(target.IgnoreFirstPage().GetValue(), QStringLiteral("Y"));
    EXPECT_EQ(target.FirstPageToProcess().GetValue(), 5);
    EXPECT_EQ(target.FontGroupName().GetValue(), QStringLiteral("OLDFONTS"));
    EXPECT_EQ(target.ResourceLibrary().GetValue(), QStringLiteral("OLDRES"));
    // What version 1 does not carry stays.
    EXPECT_EQ(target.LastPageToProcess().GetValue(), 77);
    EXPECT_EQ(target.GetOutputPage()->GetBorder(), 123);
}

TEST_F(JvxImportTest, PageSizeComesFromTheExportDeviceFromVersionEighteen)
{
    doc.GetOutputPage()->SetWidth(850);
    doc.GetOutputPage()->SetHeight(1100);
    doc.GetOutputPage()->RecalcGrid();
    struct Case
    {
        const char* name;
        int version;
        int width;
        int height;
    };
    const Case cases[] = {{"v18 takes the device's", 18, 850, 1100}, {"v17 keeps the page", 17, 827, 1169}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDesignerDoc fresh;
        ASSERT_TRUE(fresh.OnNewDocument());
        ASSERT_EQ(fresh.GetOutputPage()->GetWidth(), 827);
        Export(doc, c.version, "size.jvx");
        EXPECT_TRUE(ImportInTransaction(fresh, PathOf("size.jvx")));
        EXPECT_EQ(fresh.GetOutputPage()->GetWidth(), c.width);
        EXPECT_EQ(fresh.GetOutputPage()->GetHeight(), c.height);
    }
}

TEST_F(JvxImportTest, HeaderFieldsReachThePageAndTheDocument)
{
    const kwvd::FixedClock clock(QDateTime(QDate(2023, 12, 31), QTime(23, 59, 58, 7), Qt::UTC));
    doc.GetOutputPage()->SetOrientation(1);
    doc.GetOutputPage()->SetBorder(1234);
    doc.SetBuildId(9876);
    ASSERT_TRUE(doc.SetCodePageId(500));
    Export(doc, 28, "fields.jvx");

    ASSERT_EQ(target.GetOutputPage()->GetOrientation(), 0);
    EXPECT_TRUE(ImportInTransaction(target, PathOf("fields.jvx")));
    EXPECT_EQ(target.GetOutputPage()->GetOrientation(), 1);
    // 1234/1000 inch is 1777 twips, and back.
    EXPECT_EQ(target.GetOutputPage()->GetBorder(), 1234);
    EXPECT_EQ(target.GetCodePageId(), 500);
    EXPECT_EQ(target.GetSourcePage()->GetFontManager()->GetCodePageId(), 500);
    EXPECT_EQ(target.GetUploadTime().Format(), QStringLiteral("2023-12-31-23.59.58.007000"));
    EXPECT_EQ(target.GetUploadPath(), doc.GetUploadPath());
    EXPECT_EQ(target.WvdName().GetValue(), QStringLiteral("INVOICE"));
    // The file's Build ID (the export's new name counted once), counted once
    // more by the import's own transaction.
    EXPECT_EQ(doc.GetBuildId(), 9877u);
    EXPECT_EQ(target.GetBuildId(), 9878u);
}

// The user-text translator is made after field 0 has given the document its
// code page, and the file's folder is the current one while it is read.
TEST_F(JvxImportTest, TranslatorsFollowTheFileAndTheFolderIsTheFilesWhileReading)
{
    ASSERT_TRUE(doc.SetCodePageId(37));
    {
        TranslatorLog exportLog;
        TranslatorFactoryScope factory(exportLog);
        Export(doc, 19, "cp.jvx");
    }
    ASSERT_TRUE(target.SetCodePageId(500));
    const QString before = QDir::currentPath();
    TranslatorLog log;
    TranslatorFactoryScope factory(log);
    EXPECT_TRUE(ImportInTransaction(target, PathOf("cp.jvx")));
    EXPECT_EQ(log.modes, (std::vector<int>{3, 3}));
    EXPECT_EQ(log.ccsids, (std::vector<int>{285, 37}));
    EXPECT_EQ(log.alive, 0);
    EXPECT_EQ(UserDataTranslator(), nullptr);
    for (const QString& folder : log.currentFolders)
        EXPECT_EQ(QFileInfo(folder).canonicalFilePath(), QFileInfo(env.folder.path()).canonicalFilePath());
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(JvxImportTest, ImportedElementsJoinTheDocument)
{
    const RichDocumentParts parts = BuildRichDocument(doc);
    Export(doc, 18, "tree.jvx");
    const size_t topLevelBefore = TopLevel(target).size();
    target.SetModifiedFlag(FALSE);

    EXPECT_TRUE(ImportInTransaction(target, PathOf("tree.jvx")));
    EXPECT_TRUE(target.IsModified());
    const std::vector<CFormElement*> topLevel = TopLevel(target);
    // The remark travels in no record; everything else at the top comes again.
    std::vector<int> expected;
    for (CFormElement* element : TopLevel(doc))
        if (element->GetType() != FormElementType::Remark)
            expected.push_back(element->GetType());
    std::vector<int> got;
    for (size_t i = topLevelBefore; i < topLevel.size(); ++i)
        got.push_back(topLevel[i]->GetType());
    EXPECT_EQ(got, expected);
    for (CObject* object : target.GetElementList()) {
        auto* element = static_cast<CFormElement*>(object);
        EXPECT_EQ(element->GetDocument(), &target);
        EXPECT_EQ(std::count(target.GetZOrderList().begin(), target.GetZOrderList().end(), object), 1);
    }
    (void)parts;
}

// Export, import into an empty document and export again give the same
// file, but for version 28's Build ID, which the import's transaction raised
// by one. The copy is given the same spooled-file pages, which the file does
// not carry. The exported document is closed before the import: its devices
// are not equal to those read back, and while it is open their names are in
// use.
TEST_F(JvxImportTest, WholeDocumentRoundTripsByteForByte)
{
    const kwvd::FixedClock clock(QDateTime(QDate(2024, 2, 29), QTime(12, 0, 0), Qt::UTC));
    struct Case
    {
        const char* name;
        int version;
        bool translators;
        int border;           // 1/1000 inch, written in 1/1440
        size_t buildIdOffset; // 0: none written
        size_t bytesPerCharacter;
    };
    const Case cases[] = {
        {"v18", 18, false, 1234, 0, 1},
        {"v19 raw", 19, false, 1, 0, 2},
        {"v19 translated", 19, true, 999, 0, 1},
        {"v28 translated", 28, true, 2000, 6 + 5 + 129, 1},
        {"v28 raw", 28, false, 7, 6 + 2 * (5 + 129), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslatorLog log;
        std::optional<TranslatorFactoryScope> factory;
        if (c.translators)
            factory.emplace(log);
        CDesignerDoc copy;
        ASSERT_TRUE(copy.OnNewDocument());
        copy.RemoveAllElements();
        Bytes first;
        DWORD buildId = 0;
        {
            CDesignerDoc source;
            ASSERT_TRUE(source.OnNewDocument());
            BuildRichDocument(source);
            source.GetOutputPage()->SetBorder(c.border);
            first = Export(source, c.version, "first.jvx");
            buildId = source.GetBuildId();
            CopySpooledPages(source, copy);
        }
        env.prompts->ClearRecorded();
        ASSERT_TRUE(ImportInTransaction(copy, PathOf("first.jvx")));
        EXPECT_TRUE(Messages().empty());
        EXPECT_EQ(copy.GetOutputPage()->GetBorder(), c.border);

        Bytes expected = first;
        if (c.buildIdOffset != 0) {
            const std::string digits = QStringLiteral("%1").arg(buildId + 1, 6, 10, QLatin1Char('0')).toStdString();
            ASSERT_GE(expected.size(), c.buildIdOffset + 6 * c.bytesPerCharacter);
            for (size_t i = 0; i < 6; ++i) {
                BYTE digit = static_cast<BYTE>(digits[i]);
                if (c.translators)
                    digit = static_cast<BYTE>(0xF0 + (digits[i] - '0')); // EBCDIC digits
                expected[c.buildIdOffset + i * c.bytesPerCharacter] = digit;
            }
        }
        const Bytes second = Export(copy, c.version, "second.jvx");
        EXPECT_TRUE(second == expected) << FirstDifference(expected, second);
    }
}

// Two open documents share the master device list. A file whose device has
// the name of one the first document holds, with other settings, must not
// free that document's device: the record is refused as in use.
TEST_F(JvxImportTest, ImportLeavesAnotherOpenDocumentsDevicesAlive)
{
    BuildRichDocument(doc);
    COutputDeviceManager* devices = doc.GetOutputDeviceManager();
    const int fax = devices->FindIndexByName(QStringLiteral("FAX1"));
    ASSERT_NE(fax, 0);
    ASSERT_FALSE(devices->GetDevice(fax)->IsInUse());
    const Bytes before = Export(doc, 18, "open.jvx");

    CDesignerDoc other;
    ASSERT_TRUE(other.OnNewDocument());
    other.GetOutputDeviceManager()->AddDeviceByName(QStringLiteral("FAX1"), QStringLiteral("*FAX"));
    ASSERT_EQ(other.GetOutputDeviceManager()->GetDevice(1), devices->GetDevice(fax)) << "one shared master device";
    Export(other, 18, "other.jvx");
    // The file's FAX1 is not equal to the master device: a record does not
    // bring every setting back as it was.
    env.prompts->ClearRecorded();
    ASSERT_TRUE(ImportInTransaction(target, PathOf("other.jvx")));
    EXPECT_EQ(Messages(),
              std::vector<QString>{QStringLiteral(
                  "An output device with the name FAX1 is already active.  Close all open WVD files and try again.")});
    EXPECT_EQ(devices->GetDevice(fax)->GetName(), QStringLiteral("FAX1"));
    EXPECT_EQ(COutputDeviceManager::FindMasterByName(QStringLiteral("FAX1")), devices->GetDevice(fax));

    const Bytes after = Export(doc, 18, "open.jvx");
    EXPECT_TRUE(after == before) << FirstDifference(before, after);
}

// The header, the page's orientation and border, the code page and the
// upload record of a document, as a failed import must leave them.
struct HeaderState
{
    std::vector<QString> texts;
    std::vector<double> numbers;
    int orientation = 0;
    int border = 0;
    int ccsid = 0;
    int docType = 0;
    DWORD buildId = 0;
    QString uploadTime;
    QString uploadPath;

    explicit HeaderState(CDesignerDoc& d)
        : texts{d.WvdName().GetValue(),          d.Description().GetValue(),     d.FirstPageText().GetValue(),
                d.FirstPageCompare().GetValue(), d.IgnoreFirstPage().GetValue(), d.OrientationDigit().GetValue(),
                d.FontGroupName().GetValue(),    d.ResourceLibrary().GetValue(), d.DocTypeDigit().GetValue()},
          numbers{d.FirstPageTextLine().GetValue(),  d.FirstPageTextColumn().GetValue(),
                  d.FirstPageTextWidth().GetValue(), d.FirstPageToProcess().GetValue(),
                  d.LastPageToProcess().GetValue(),  d.NoPrintBorder().GetValue()},
          orientation(d.GetOutputPage()->GetOrientation()), border(d.GetOutputPage()->GetBorder()),
          ccsid(d.GetCodePageId()), docType(d.GetDocType()), buildId(d.GetBuildId()),
          uploadTime(d.GetUploadTime().Format()), uploadPath(d.GetUploadPath())
    {}
    friend bool operator==(const HeaderState&, const HeaderState&) = default;
};

// A file refused part way leaves the document's header as it was: nothing
// of the rejected file stays behind unmarked and without an undo step.
TEST_F(JvxImportTest, FailedImportLeavesTheDocumentsHeader)
{
    const kwvd::FixedClock clock(QDateTime(QDate(2024, 5, 1), QTime(8, 0, 0), Qt::UTC));
    doc.Description().SetValue(QStringLiteral("From the file"));
    doc.FirstPageText().SetValue(QStringLiteral("PAGE"));
    doc.GetOutputPage()->SetOrientation(1);
    doc.GetOutputPage()->SetBorder(1234);
    doc.SetBuildId(4444);
    ASSERT_TRUE(doc.SetCodePageId(500));
    ASSERT_TRUE(doc.SetDocType(1));
    const Bytes whole = Export(doc, 28, "whole.jvx");
    // Raw UTF-16: two bytes a character after the six of the header word;
    // the line holds field 0 and ends in CR LF.
    const size_t headerEnd = 6 + 2 * (486 + 2);
    ASSERT_GT(whole.size(), headerEnd + 2 * 8);

    struct Case
    {
        const char* name;
        size_t keep;          // bytes of the file kept
        size_t breakFontMark; // 0, or the byte of "#F " replaced by 'X'
    };
    const Case cases[] = {
        {"ends inside the header line", 6 + 2 * 100, 0},
        {"ends right after the header line", headerEnd, 0},
        {"ends inside the font group line", headerEnd + 2 * 8, 0},
        {"font section without its group line", whole.size(), headerEnd + 2 * 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(c.keep));
        if (c.breakFontMark != 0) {
            ASSERT_EQ(file[c.breakFontMark], ' ');
            file[c.breakFontMark] = 'X';
        }
        const QString path = PathOf("broken.jvx");
        ASSERT_TRUE(WriteFileBytes(path, file));

        CDesignerDoc mine;
        ASSERT_TRUE(mine.OnNewDocument());
        mine.Description().SetValue(QStringLiteral("Mine"));
        ASSERT_TRUE(mine.SetCodePageId(37));
        const HeaderState before(mine);
        const Bytes stored = StoreDocument(mine);
        const auto undoSteps = mine.GetUndoList().GetCount();
        const BOOL modified = mine.IsModified();
        env.prompts->ClearRecorded();
        EXPECT_FALSE(ImportInTransaction(mine, path));
        EXPECT_EQ(Messages(), std::vector<QString>{QStringLiteral("Error reading file: %1.").arg(path)});
        EXPECT_TRUE(HeaderState(mine) == before);
        const Bytes after = StoreDocument(mine);
        EXPECT_TRUE(after == stored) << FirstDifference(stored, after);
        EXPECT_EQ(mine.GetUndoList().GetCount(), undoSteps);
        EXPECT_EQ(mine.IsModified(), modified);
        EXPECT_EQ(mine.Description().GetValue(), QStringLiteral("Mine"));
        EXPECT_EQ(mine.GetCodePageId(), 37);
    }
}

// Line starts of an 8-bit file, each with the line's first characters.
std::vector<std::pair<size_t, std::string>> Lines(const Bytes& bytes)
{
    std::vector<std::pair<size_t, std::string>> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = Find(bytes, "\r\n", start);
        if (end == std::string::npos)
            end = bytes.size();
        lines.emplace_back(start, std::string(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                                              bytes.begin() + static_cast<std::ptrdiff_t>(std::min(end, start + 3))));
        start = end + 2;
    }
    return lines;
}

std::vector<const CObject*> MasterFonts()
{
    std::vector<const CObject*> fonts;
    if (const CObList* list = CFontManager::GetMasterFontList())
        fonts.assign(list->begin(), list->end());
    return fonts;
}

// A replaced device put back may stand elsewhere in the list: the same
// devices count, not their order.
std::vector<const CObject*> MasterDevices()
{
    std::vector<const CObject*> devices;
    if (const CObList* list = COutputDeviceManager::GetMasterList())
        devices.assign(list->begin(), list->end());
    std::sort(devices.begin(), devices.end());
    return devices;
}

// A file refused in a later section, after the sections before it were read
// into the document, changes nothing: not the fonts, devices, barcodes,
// resources, page or header read so far, not the elements, not the modified
// flag; it leaves no undo step, and a font it added to the master list (the
// user said yes) goes again.
TEST_F(JvxImportTest, ImportRefusedInALaterSectionChangesNothing)
{
    // Closed before the import, so its devices are in no open document.
    Bytes whole;
    {
        CDesignerDoc source;
        ASSERT_TRUE(source.OnNewDocument());
        BuildRichDocument(source);
        {
            CDocChangeGuard change(&source);
            source.GetOutputPage()->SetCharsPerInch(15);
        }
        whole = Export(source, 18, "rich.jvx");
    }
    // The header line, the font section, the devices; then the records.
    std::vector<size_t> deviceLines;
    size_t sectionsEnd = 0;
    for (const auto& [start, head] : Lines(whole)) {
        if (start == 0)
            continue;
        if (head[0] == '*') {
            deviceLines.push_back(start);
        } else if (head.rfind("#F", 0) != 0 && head.rfind("#C", 0) != 0 && head.rfind("#R", 0) != 0) {
            sectionsEnd = start;
            break;
        }
    }
    ASSERT_GE(deviceLines.size(), 2u);
    ASSERT_GT(sectionsEnd, deviceLines.back());
    // The font record of the font of FGID 2: an FGID no master font has
    // makes it one the master list lacks.
    size_t fgid = std::string::npos;
    for (const auto& [start, head] : Lines(whole))
        if (head.rfind("#F", 0) == 0 && head != "#F " && Find(whole, "00002", start) == start + 3)
            fgid = start + 3;
    ASSERT_NE(fgid, std::string::npos);

    auto head = [&](size_t bytes) { return Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(bytes)); };
    struct Case
    {
        const char* name;
        Bytes file;
        bool unknownFont; // the file's font of FGID 2 is one the master list lacks
    };
    const Case cases[] = {
        {"a device record cut short after the fonts and one device", head(deviceLines[1] + 12), false},
        {"a barcode record cut short after the devices", head(sectionsEnd) + Ascii("#CABAR"), false},
        {"a resource section cut short after the devices", head(sectionsEnd) + Ascii("#R RESLIB"), false},
        {"a font new to the master list, then a device record cut short", head(deviceLines[1] + 12), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file = c.file;
        if (c.unknownFont)
            std::copy_n("00777", 5, file.begin() + static_cast<std::ptrdiff_t>(fgid));
        const QString path = PathOf("refused.jvx");
        ASSERT_TRUE(WriteFileBytes(path, file));

        CDesignerDoc mine;
        ASSERT_TRUE(mine.OnNewDocument());
        {
            CDocChangeGuard change(&mine);
            mine.Description().SetValue(QStringLiteral("Mine"));
            mine.GetOutputDeviceManager()->AddDeviceByName(QStringLiteral("MYPRT"), QStringLiteral("*SCS"));
            ASSERT_NE(mine.CreateNewElement(FormElementType::Text, 0, kwvd::Rect(8, 16, 80, 48), nullptr), nullptr);
            mine.SetModifiedFlag(TRUE);
        }
        const Bytes before = StoreDocument(mine);
        const HeaderState header(mine);
        const auto undoSteps = mine.GetUndoList().GetCount();
        const QString title = mine.GetTitle();
        const std::vector<const CObject*> fonts = MasterFonts();
        const std::vector<const CObject*> devices = MasterDevices();

        env.prompts->ClearRecorded();
        if (c.unknownFont)
            env.prompts->AnswerMessageBox(IDYES);
        EXPECT_FALSE(ImportInTransaction(mine, path));
        const std::vector<QString> texts = Messages();
        std::string all;
        for (const QString& text : texts)
            all += text.toStdString() + "\n";
        ASSERT_EQ(texts.size(), c.unknownFont ? 2u : 1u) << all;
        if (c.unknownFont) {
            EXPECT_TRUE(texts.front().contains(QStringLiteral("was not found. Would you like to add it")))
                << texts.front().toStdString();
        }
        EXPECT_EQ(texts.back(), QStringLiteral("Error reading file: %1.").arg(path));
        EXPECT_EQ(env.prompts->PendingAnswers(), 0);

        const Bytes after = StoreDocument(mine);
        EXPECT_TRUE(after == before) << FirstDifference(before, after);
        EXPECT_TRUE(HeaderState(mine) == header);
        EXPECT_EQ(mine.GetOutputPage()->GetCharsPerInch(), CPage::kDefaultCharsPerInch);
        EXPECT_EQ(mine.GetOutputDeviceManager()->FindIndexByName(QStringLiteral("FAX1")), 0);
        EXPECT_NE(mine.GetOutputDeviceManager()->FindIndexByName(QStringLiteral("MYPRT")), 0);
        EXPECT_EQ(mine.GetUndoList().GetCount(), undoSteps);
        EXPECT_TRUE(mine.IsModified());
        EXPECT_EQ(mine.GetTitle(), title);
        EXPECT_EQ(MasterFonts(), fonts);
        EXPECT_EQ(MasterDevices(), devices);
    }
}

class JvxImportStopTest : public JvxImportTest
{
protected:
    // Two text elements at the top level, exported at version 18.
    Bytes TwoTexts()
    {
        const kwvd::Rect box(8, 16, 80, 48);
        CDocChangeGuard change(&doc);
        EXPECT_NE(doc.CreateNewElement(FormElementType::Text, 0, box, nullptr), nullptr);
        EXPECT_NE(doc.CreateNewElement(FormElementType::Text, 0, box, nullptr), nullptr);
        return Export(doc, 18, "two.jvx");
    }
    int TextsIn(const CDesignerDoc& d) const
    {
        int n = 0;
        for (CFormElement* element : TopLevel(d))
            n += element->GetType() == FormElementType::Text ? 1 : 0;
        return n;
    }
};

// A record the reader cannot take ends the reading there: what came before
// stays, the import counts as done, and the user is told where it stopped.
TEST_F(JvxImportStopTest, UnreadableRecordKeepsWhatCameBeforeAndSaysWhere)
{
    const Bytes file = TwoTexts();
    const size_t firstText = Find(file, "MOVE");
    const size_t secondText = Find(file, "MOVE", firstText + 1);
    ASSERT_NE(secondText, std::string::npos);
    const size_t secondLine = Find(file, "\r\n", firstText) + 2; // start of the second record
    struct Case
    {
        const char* name;
        std::function<Bytes(Bytes)> damage;
        const char* record;
    };
    const Case cases[] = {
        {"unknown opcode",
         [&](Bytes b) {
             std::copy_n("XXXX", 4, b.begin() + static_cast<std::ptrdiff_t>(secondText));
             return b;
         },
         "XXXX"},
        {"an end record at the top level",
         [&](Bytes b) {
             std::copy_n("ENDI", 4, b.begin() + static_cast<std::ptrdiff_t>(secondText));
             return b;
         },
         "ENDI"},
        {"a line one character too long",
         [&](Bytes b) {
             const size_t end = Find(b, "\r\n", secondText);
             b.insert(b.begin() + static_cast<std::ptrdiff_t>(end), 'Q');
             return b;
         },
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDesignerDoc fresh;
        ASSERT_TRUE(fresh.OnNewDocument());
        const QString path = PathOf("damaged.jvx");
        ASSERT_TRUE(WriteFileBytes(path, c.damage(file)));
        env.prompts->ClearRecorded();
        EXPECT_TRUE(ImportInTransaction(fresh, path));
        EXPECT_EQ(TextsIn(fresh), 1);
        const std::vector<QString> texts = Messages();
        ASSERT_EQ(texts.size(), 1u);
        const QString start = QStringLiteral("The JVX file %1 was read up to line %2. The record there (")
                                  .arg(path)
                                  .arg(LineOf(file, secondLine));
        EXPECT_TRUE(texts[0].startsWith(start)) << texts[0].toStdString();
        EXPECT_TRUE(
            texts[0].endsWith(QStringLiteral(") could not be read, and the rest of the file was not imported.")));
        if (c.record != nullptr) {
            EXPECT_TRUE(texts[0].contains(QStringLiteral("(%1)").arg(QLatin1String(c.record))));
        }
    }
}

TEST_F(JvxImportStopTest, EndOfFileInsideTheLastRecordIsQuiet)
{
    Bytes file = TwoTexts();
    const size_t secondText = Find(file, "MOVE", Find(file, "MOVE") + 1);
    file.resize(secondText + 20);
    const QString path = PathOf("cut.jvx");
    ASSERT_TRUE(WriteFileBytes(path, file));
    EXPECT_TRUE(ImportInTransaction(target, path));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(TextsIn(target), 1);
}

TEST_F(JvxImportStopTest, BrokenSectionFailsTheImport)
{
    Bytes file = TwoTexts();
    const size_t fonts = Find(file, "#F ");
    ASSERT_NE(fonts, std::string::npos);
    file[fonts + 2] = 'X';
    const QString path = PathOf("nofonts.jvx");
    ASSERT_TRUE(WriteFileBytes(path, file));
    EXPECT_FALSE(ImportInTransaction(target, path));
    EXPECT_EQ(Messages(), std::vector<QString>{QStringLiteral("Error reading file: %1.").arg(path)});
    EXPECT_EQ(TextsIn(target), 0);
    EXPECT_EQ(target.m_currentSourceLine, 0);
    EXPECT_EQ(target.m_currentDestLine, 0);
}

} // namespace
