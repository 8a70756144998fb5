// The WVD document file: round trip, z-order across a load, refused headers,
// the older-version question and saves that fail.

#include "designer/document/Page.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Document.h"
#include "platform/framework/File.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

// Where an element sits in the tree: its sibling index at each level from
// the top, so elements of two documents can be compared.
std::vector<int> TreePath(const CDesignerDoc& doc, const CFormElement* element)
{
    std::vector<int> path;
    while (element != nullptr) {
        int index = 0;
        const CFormElement* parent = element->GetParent();
        if (parent != nullptr) {
            ChildPosition position = parent->GetFirstChildPosition();
            while (position && parent->GetNextChild(position) != element)
                ++index;
        } else {
            for (CObject* object : doc.GetElementList()) {
                auto* other = static_cast<CFormElement*>(object);
                if (other == element)
                    break;
                if (!other->HasParent())
                    ++index;
            }
        }
        path.insert(path.begin(), index);
        element = parent;
    }
    return path;
}

std::vector<std::vector<int>> ZOrderPaths(const CDesignerDoc& doc)
{
    std::vector<std::vector<int>> paths;
    for (CObject* object : doc.GetZOrderList())
        paths.push_back(TreePath(doc, static_cast<CFormElement*>(object)));
    return paths;
}

class WvdFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_TRUE(loaded.OnNewDocument());
    }

    std::vector<QString> Messages() const
    {
        std::vector<QString> texts;
        for (const RecordedPrompt& p : env.prompts->Recorded())
            texts.push_back(p.text);
        return texts;
    }

    WvdTestEnvironment env;
    CDesignerDoc doc;
    CDesignerDoc loaded;
};

TEST_F(WvdFileTest, RichDocumentRoundTripsToTheSameBytes)
{
    const RichDocumentParts parts = BuildRichDocument(doc);
    const Bytes first = StoreDocument(doc);
    ASSERT_GE(first.size(), 3u);
    EXPECT_EQ(Bytes(first.begin(), first.begin() + 3), Hex("12 12 3B"));

    env.prompts->ClearRecorded();
    LoadDocument(loaded, first);
    // Every font is found in the master list: nothing is asked.
    EXPECT_TRUE(Messages().empty());
    const Bytes second = StoreDocument(loaded);
    EXPECT_EQ(second, first);
    CDesignerDoc again;
    ASSERT_TRUE(again.OnNewDocument());
    LoadDocument(again, second);
    EXPECT_EQ(StoreDocument(again), second);

    // The output page and its fonts, and the text that uses index 1.
    const CPage& page = *loaded.GetOutputPage();
    EXPECT_EQ(page.GetOrientation(), 1);
    EXPECT_EQ(page.GetBorder(), 300);
    EXPECT_EQ(page.GetPixelWidth(), doc.GetOutputPage()->GetPixelWidth());
    const CFontManager& fonts = *page.GetFontManager();
    EXPECT_EQ(fonts.GetPage(), &page);
    EXPECT_EQ(fonts.GetFontGroupName(), QStringLiteral("INVFONTS"));
    EXPECT_EQ(fonts.GetFontGroupDescription(), QStringLiteral("Invoice fonts"));
    EXPECT_EQ(fonts.GetFont(0), doc.GetOutputPage()->GetFontManager()->GetFont(0));
    ASSERT_NE(parts.font1, nullptr);
    EXPECT_EQ(fonts.GetFont(1), parts.font1);
    const CFormTextElement* fontText = nullptr;
    for (CObject* object : loaded.GetElementList())
        if (auto* text = dynamic_cast<const CFormTextElement*>(object); text != nullptr && text->GetFontIndex() != 0)
            fontText = text;
    ASSERT_NE(fontText, nullptr);
    EXPECT_EQ(fontText->GetText(), QStringLiteral("Thank you"));
    EXPECT_EQ(fontText->GetFontIndex(), 1);
    // The source page takes the output page's language settings.
    EXPECT_EQ(loaded.GetSourcePage()->GetFontManager()->GetCodePageId(), fonts.GetCodePageId());

    EXPECT_EQ(loaded.WvdName().GetValue(), QStringLiteral("INVOICE"));
    EXPECT_EQ(loaded.Description().GetValue(), doc.Description().GetValue());
    EXPECT_EQ(loaded.FirstPageTextColumn().GetValue(), 12);
    EXPECT_EQ(loaded.LastPageToProcess().GetValue(), 9);
    EXPECT_EQ(loaded.FontGroupName().GetValue(), QStringLiteral("GROUP1"));
    EXPECT_EQ(loaded.ResourceLibrary().GetValue(), QStringLiteral("RESLIB"));
    EXPECT_EQ(loaded.m_sourceZoom[0], 150);
    EXPECT_EQ(loaded.m_sourceZoom[1], 125);
    EXPECT_EQ(loaded.m_sourceFit, 1);
    EXPECT_EQ(loaded.m_destZoom[0], 75);
    EXPECT_EQ(loaded.m_destZoom[1], 80);
    EXPECT_EQ(loaded.m_destFit, 2);
    EXPECT_EQ(loaded.m_outputQueueLibrary, QStringLiteral("QUSRSYS"));
    EXPECT_TRUE(loaded.GetRunParameters().IsEqual(doc.GetRunParameters()));
    EXPECT_EQ(loaded.GetBuildId(), doc.GetBuildId());
    EXPECT_EQ(loaded.GetUploadTime().Format(), doc.GetUploadTime().Format());
    EXPECT_FALSE(loaded.GetUploadTime().IsZero());
    EXPECT_EQ(loaded.GetUploadPath(), doc.GetUploadPath());
    EXPECT_EQ(loaded.GetSpooledFile()->GetPageCount(), 2);
    EXPECT_EQ(loaded.GetOutputDeviceManager()->FindIndexByName(QStringLiteral("FAX1")),
              doc.GetOutputDeviceManager()->FindIndexByName(QStringLiteral("FAX1")));
    EXPECT_EQ(loaded.GetDocumentVersion(), CDesignerDoc::kCurrentVersion);

    // Same tree: every element of the original has a twin at the same place.
    ASSERT_EQ(loaded.GetElementList().GetCount(), doc.GetElementList().GetCount());
    std::map<std::vector<int>, int> before;
    std::map<std::vector<int>, int> after;
    for (CObject* object : doc.GetElementList())
        before[TreePath(doc, static_cast<CFormElement*>(object))] = static_cast<CFormElement*>(object)->GetType();
    for (CObject* object : loaded.GetElementList())
        after[TreePath(loaded, static_cast<CFormElement*>(object))] = static_cast<CFormElement*>(object)->GetType();
    EXPECT_EQ(after, before);
}

TEST_F(WvdFileTest, LoadPutsChildrenBeforeTopLevelInContainerFinishOrder)
{
    using T = FormElementType;
    const RichDocumentParts parts = BuildRichDocument(doc);
    LoadDocument(loaded, StoreDocument(doc));

    // Innermost container finishes first; top level follows in stored order.
    const std::vector<int> expected = {
        T::Eraser,                                  // inner conditional
        T::Text,    T::Variable,    T::Conditional, // conditional in the loop
        T::Text,    T::Conditional,                 // loop
        T::Source,                                  // top-level conditional
        T::Address,                                 // output
    };
    std::vector<int> types = TypesOf(loaded.GetElementList());
    ASSERT_GE(types.size(), expected.size());
    EXPECT_EQ(std::vector<int>(types.begin(), types.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
    for (size_t i = expected.size(); i < types.size(); ++i)
        EXPECT_FALSE(
            static_cast<CFormElement*>(*std::next(loaded.GetElementList().begin(), static_cast<std::ptrdiff_t>(i)))
                ->HasParent());
    (void)parts;
}

TEST_F(WvdFileTest, ZOrderKeptAcrossLoadWithContainers)
{
    const RichDocumentParts parts = BuildRichDocument(doc);
    {
        CDocChangeGuard change(&doc);
        doc.BringToFront(parts.innerConditional, TRUE);
        doc.SendToBack(parts.leaves.front(), FALSE);
        doc.BringToFront(parts.conditional, FALSE);
    }
    LoadDocument(loaded, StoreDocument(doc));
    EXPECT_EQ(ZOrderPaths(loaded), ZOrderPaths(doc));
    EXPECT_EQ(loaded.GetZOrderList().GetCount(), loaded.GetElementList().GetCount());
}

// Header fields 1 to 14 of a small file: 8-bit texts, as old files hold.
Bytes FixedText(int width, const char* text)
{
    const Bytes chars = Ascii(text);
    return Bytes{static_cast<BYTE>(width), 0, static_cast<BYTE>(chars.size())} + chars;
}

Bytes FixedNumber(int width, const char* doubleHex)
{
    return Bytes{static_cast<BYTE>(width), 0} + Hex(doubleHex);
}

const char* const kOne = "00 00 00 00 00 00 F0 3F";
const char* const kFive = "00 00 00 00 00 00 14 40";

Bytes FieldsOneToNine()
{
    return FixedText(10, "OLDDOC") + FixedText(50, "Old") + FixedText(30, "") + FixedNumber(2, kOne)
           + FixedNumber(3, kOne) + FixedNumber(2, kOne) + FixedText(2, "") + FixedText(1, "N") + FixedNumber(3, kOne);
}

// Source zoom 110 x 120, fit 1, output zoom 90 x 95, fit 0.
const char* const kZoomHex = "6E 00 00 00 78 00 00 00 01 00 00 00 5A 00 00 00 5F 00 00 00 00 00 00 00";

// Page, spooled file and devices left null: the document makes its own.
const char* const kThreeNullObjects = "00 00 00 00 00 00";

// A schema-3 page: 1100 x 850, 12 cpi, 8 lpi, landscape, border 300, and a
// schema-6 font manager with CCSID 285 and one empty slot in each array;
// then a null spooled file and null devices.
const char* const kPageThenTwoNullObjects = "FF FF 03 00 05 00 43 50 61 67 65"
                                            "4C 04 00 00  52 03 00 00  0C 00 00 00  08 00 00 00  01 00  2C 01"
                                            "FF FF 06 00 0C 00 43 46 6F 6E 74 4D 61 6E 61 67 65 72"
                                            "FF FE FF 04 47 00 52 00 50 00 31 00  FF FE FF 00  0A 00 00 00  01 00 00 00"
                                            "01 00  01 00  EE  1D 01 00 00  FF FE FF 00  01 00 00 00  01 00 00 00"
                                            "00 00  00 00";

TEST_F(WvdFileTest, OlderVersionsReadTheirFields)
{
    Bytes legacy;
    for (int i = 0; i < 9; ++i)
        legacy = legacy + FixedText(4, "XX");
    const Bytes version4 = Hex("12 12 04") + FieldsOneToNine() + legacy + FixedText(8, "GRP4") + FixedText(3, "ZZ")
                           + FixedText(8, "LIB4") + Hex(kThreeNullObjects) + Hex(kZoomHex) + Hex("00 00");

    const Bytes version24 = Hex("12 12 18") + FieldsOneToNine() + FixedNumber(3, kFive) + FixedText(8, "GRP24")
                            + FixedText(8, "LIB24") + Hex(kThreeNullObjects) + Hex(kZoomHex)
                            + Hex("03 51 30 31  03 4C 49 42") + Hex("00 00") + Hex("00 00");

    const Bytes request = Hex("06 00 00 00 FF FE FF 03 41 00 53 00 34 00  FF FE FF 00  FF FE FF 00"
                              "FF FE FF 04 2A 00 48 00 4C 00 44 00"
                              "FF FE FF 00  FF FE FF 00"
                              "FF FE FF 00  FF FE FF 00"
                              "FF FE FF 04 2A 00 41 00 4C 00 4C 00"
                              "FF FE FF 04 2A 00 41 00 4C 00 4C 00"
                              "FF FE FF 04 2A 00 41 00 4C 00 4C 00"
                              "FF FE FF 00  FF FE FF 00  FF FE FF 00  FF FE FF 00  FF FE FF 00  FF FE FF 00"
                              "FF FE FF 04 2A 00 41 00 4C 00 4C 00");
    const Bytes version58 = Hex("12 12 3A") + FieldsOneToNine() + FixedNumber(3, kFive) + FixedText(8, "GRP58")
                            + FixedText(8, "LIB58") + FixedText(1, "1") + Hex("25 00 00 00")
                            + Hex(kPageThenTwoNullObjects) + Hex("00 00  00 00  00 00") + Hex(kZoomHex)
                            + Hex("03 51 30 31  03 4C 49 42") + request + Hex("00 00") + Hex("00 00");

    struct Case
    {
        const char* name;
        Bytes bytes;
        const char* fontGroup;
        const char* library;
        BYTE docType;
        int lastPage;
        const char* queue;
        const char* system;
        int orientation; // of the output page; a page read, not a default
        int codePage;    // of both pages
    };
    const int newPageCodePage = static_cast<int>(env.prefs.DefaultCodePageID);
    const Case cases[] = {
        {"version 4", version4, "GRP4", "LIB4", 0, 0, "", "", 0, newPageCodePage},
        {"version 24", version24, "GRP24", "LIB24", 0, 5, "Q01", "", 0, newPageCodePage},
        {"version 58", version58, "GRP58", "LIB58", 1, 5, "Q01", "AS4", 1, 285},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDesignerDoc target;
        ASSERT_TRUE(target.OnNewDocument());
        // A type the file must replace (or, before field 15, reset).
        target.SetDocType(1);
        target.m_outputQueue.clear();
        LoadDocument(target, c.bytes);
        EXPECT_EQ(target.WvdName().GetValue(), QStringLiteral("OLDDOC"));
        EXPECT_EQ(target.FirstPageToProcess().GetValue(), 1);
        EXPECT_FALSE(target.FirstPageToProcess().IsEmpty());
        EXPECT_EQ(target.FontGroupName().GetValue(), QString::fromLatin1(c.fontGroup));
        EXPECT_EQ(target.ResourceLibrary().GetValue(), QString::fromLatin1(c.library));
        EXPECT_EQ(target.GetDocType(), c.docType);
        if (c.lastPage != 0) {
            EXPECT_EQ(target.LastPageToProcess().GetValue(), c.lastPage);
        }
        EXPECT_EQ(target.m_outputQueue, QString::fromLatin1(c.queue));
        EXPECT_EQ(target.GetRunParameters().GetSystem(), QString::fromLatin1(c.system));
        EXPECT_EQ(target.m_sourceZoom[0], 110);
        EXPECT_EQ(target.m_sourceZoom[1], 120);
        EXPECT_EQ(target.m_destZoom[1], 95);
        ASSERT_NE(target.GetOutputPage(), nullptr);
        EXPECT_EQ(target.GetOutputPage()->GetOrientation(), c.orientation);
        EXPECT_EQ(target.GetOutputPage()->GetFontManager()->GetCodePageId(), c.codePage);
        EXPECT_EQ(target.GetOutputPage()->GetFontManager()->GetPage(), target.GetOutputPage());
        EXPECT_EQ(target.GetSourcePage()->GetFontManager()->GetCodePageId(), c.codePage);
        EXPECT_NE(target.GetSpooledFile(), nullptr);
        EXPECT_NE(target.GetBarcodeManager(), nullptr);
        EXPECT_NE(target.GetResourceManager(), nullptr);
        EXPECT_NE(target.GetDocStoreManager(), nullptr);
        EXPECT_NE(target.GetImageRegistry(), nullptr);
        EXPECT_EQ(target.GetDocumentVersion(), CDesignerDoc::kCurrentVersion);
        // Every byte is read: nothing is left over, and one byte less fails.
        Bytes cut(c.bytes.begin(), c.bytes.end() - 1);
        CDesignerDoc shortTarget;
        ASSERT_TRUE(shortTarget.OnNewDocument());
        EXPECT_THROW(LoadDocument(shortTarget, cut), CArchiveException);
    }
}

TEST_F(WvdFileTest, OlderVersionWithoutZOrderTakesDocumentOrder)
{
    BuildRichDocument(doc);
    Bytes bytes = StoreDocument(doc);
    // The same document declared as version 58 keeps its stored order ...
    bytes[2] = 0x3A;
    // ... a version 59 trailer is not read then, so cut it: Build ID (4),
    // time (8) and the path.
    const Bytes path = Hex("FF FE FF") + Bytes{static_cast<BYTE>(doc.GetUploadPath().size())};
    const size_t trailer = 4 + 8 + path.size() + static_cast<size_t>(doc.GetUploadPath().size()) * 2;
    bytes.resize(bytes.size() - trailer);
    LoadDocument(loaded, bytes);
    EXPECT_EQ(ZOrderPaths(loaded), ZOrderPaths(doc));
}

void LoadFromPath(CDesignerDoc& doc, const Bytes& bytes, const QString& path)
{
    doc.BeginChange();
    try {
        CMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        ar.m_pDocument = &doc;
        ar.SetFilePath(path);
        doc.Serialize(ar);
    } catch (...) {
        doc.ClearDirty();
        doc.EndChange();
        throw;
    }
    doc.ClearDirty();
    doc.EndChange();
}

QString g_newerName;
void RecordNewerVersion(const QString& name)
{
    g_newerName = name;
}

TEST_F(WvdFileTest, RefusedHeadersReadNoField)
{
    const QString path = env.folder.filePath(QStringLiteral("old.wvd"));
    const QString errorText = QStringLiteral("Error reading file: %1.").arg(path);
    struct Case
    {
        const char* name;
        const char* hex;
        bool newer;
    };
    const Case cases[] = {
        {"second byte not 12", "12 13 3B 0A 00 03 41 42 43", false},
        {"first byte not 12", "13 12 3B", false},
        {"two bytes only", "12 12", false},
        {"empty file", "", false},
        {"version 0", "12 12 00", false},
        {"version 60", "12 12 3C 0A 00 03 41 42 43", true},
        {"version 255", "12 12 FF", true},
    };
    const IncorrectVersionHandler before = SetIncorrectVersionHandler(&RecordNewerVersion);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_newerName.clear();
        env.prompts->ClearRecorded();
        doc.WvdName().SetValue(QStringLiteral("KEPT"));
        try {
            LoadFromPath(doc, Hex(c.hex), path);
            ADD_FAILURE() << "header accepted";
        } catch (const CArchiveException& error) {
            EXPECT_EQ(error.m_cause, CArchiveException::badSchema);
            EXPECT_EQ(error.m_strFileName, path);
        }
        EXPECT_EQ(doc.WvdName().GetValue(), QStringLiteral("KEPT"));
        if (c.newer) {
            EXPECT_EQ(g_newerName, QStringLiteral("old.wvd"));
            EXPECT_TRUE(Messages().empty());
        } else {
            EXPECT_TRUE(g_newerName.isEmpty());
            EXPECT_EQ(Messages(), std::vector<QString>{errorText});
        }
    }
    SetIncorrectVersionHandler(before);
}

TEST_F(WvdFileTest, NewerVersionWithoutDialogShowsTheMessage)
{
    const IncorrectVersionHandler before = SetIncorrectVersionHandler(nullptr);
    EXPECT_THROW(LoadFromPath(doc, Hex("12 12 3C"), QStringLiteral("/tmp/folder/new.wvd")), CArchiveException);
    const std::vector<QString> messages = Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), QStringLiteral("Cannot read document \"new.wvd\".  Document was "
                                              "created by a newer version of KWVD Designer."));
    SetIncorrectVersionHandler(before);
}

TEST_F(WvdFileTest, OlderVersionQuestionOnlyWithDebugServices)
{
    BuildRichDocument(doc);
    Bytes bytes = StoreDocument(doc);
    bytes[2] = 0x3A;
    const size_t trailer = 4 + 8 + 3 + 1 + static_cast<size_t>(doc.GetUploadPath().size()) * 2;
    bytes.resize(bytes.size() - trailer);
    const QString path = env.folder.filePath(QStringLiteral("v58.wvd"));
    const QString question = QStringLiteral("File %1 was created with KWVD Designer Document Version 58, you are "
                                            "using the newer KWVD Designer Document Version 59.  Do you want to "
                                            "continue ?")
                                 .arg(path);
    struct Case
    {
        const char* name;
        int debug;
        int answer; // 0: none scripted
        bool asked;
        bool read;
    };
    const Case cases[] = {
        {"debug off", 0, 0, false, true},
        {"debug on, yes", 1, IDYES, true, true},
        {"debug on, no", 1, IDNO, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.prefs.EnableDebugServices = c.debug;
        env.prompts->ClearRecorded();
        if (c.answer != 0)
            env.prompts->AnswerMessageBox(c.answer);
        CDesignerDoc target;
        ASSERT_TRUE(target.OnNewDocument());
        bool read = true;
        try {
            LoadFromPath(target, bytes, path);
        } catch (const CArchiveException& error) {
            read = false;
            EXPECT_EQ(error.m_cause, CArchiveException::badSchema);
        }
        EXPECT_EQ(read, c.read);
        const std::vector<QString> messages = Messages();
        EXPECT_EQ(!messages.empty() && messages.front() == question, c.asked);
        if (c.read) {
            EXPECT_EQ(target.WvdName().GetValue(), QStringLiteral("INVOICE"));
        }
    }
}

TEST_F(WvdFileTest, CurrentFolderIsTheFilesDuringTheCallAndRestoredAfter)
{
    const QString before = QDir::currentPath();
    const QString path = env.folder.filePath(QStringLiteral("here.wvd"));
    BuildRichDocument(doc);
    const Bytes bytes = StoreDocument(doc);
    // A failing read too: the folder comes back on every exit.
    const Bytes broken(bytes.begin(), bytes.begin() + 40);
    LoadFromPath(loaded, bytes, path);
    EXPECT_EQ(QDir::currentPath(), before);
    EXPECT_THROW(LoadFromPath(loaded, broken, path), CArchiveException);
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(WvdFileTest, ForeignObjectInTheElementListIsRefused)
{
    // No elements but a CTimeStamp where the list's first element stands.
    BuildRichDocument(doc);
    CDesignerDoc empty;
    ASSERT_TRUE(empty.OnNewDocument());
    {
        CDocChangeGuard change(&empty);
        empty.RemoveAllElements();
    }
    Bytes bytes = StoreDocument(empty);
    // Tail of an empty document: count 0, z-order 0, Build ID, time, path.
    const size_t tail = 2 + 2 + 4 + 8 + 3 + 1;
    ASSERT_EQ(Bytes(bytes.end() - static_cast<std::ptrdiff_t>(tail), bytes.end() - 16), Hex("00 00 00 00"));
    Bytes foreign(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(tail));
    foreign = foreign + Hex("01 00  FF FF 00 00 0A 00") + Ascii("CTimeStamp") + Hex("00 00 00 00 00 00 00 00")
              + Hex("00 00") + Hex("00 00 00 00  00 00 00 00 00 00 00 00  FF FE FF 00");
    try {
        LoadDocument(loaded, foreign);
        ADD_FAILURE() << "foreign object accepted";
    } catch (const CArchiveException& error) {
        EXPECT_EQ(error.m_cause, CArchiveException::badClass);
    }
}

TEST_F(WvdFileTest, DamagedZOrderFallsBackToDocumentOrder)
{
    CDesignerDoc small;
    ASSERT_TRUE(small.OnNewDocument());
    {
        CDocChangeGuard change(&small);
        small.RemoveAllElements();
        const kwvd::Rect box(8, 16, 80, 48);
        small.CreateNewElement(FormElementType::Text, 0, box, nullptr);
        small.CreateNewElement(FormElementType::Remark, 0, box, nullptr);
    }
    Bytes bytes = StoreDocument(small);
    const size_t tail = 4 + 8 + 3 + 1;
    const auto zorderAt = bytes.end() - static_cast<std::ptrdiff_t>(tail + 6);
    ASSERT_EQ(Bytes(zorderAt, zorderAt + 2), Hex("02 00"));
    struct Case
    {
        const char* name;
        const char* indices;
    };
    const Case cases[] = {
        {"position past the list", "02 00 05 00 00 00"},
        {"same position twice", "02 00 01 00 01 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes damaged = bytes;
        const Bytes indices = Hex(c.indices);
        std::copy(indices.begin(), indices.end(), damaged.end() - static_cast<std::ptrdiff_t>(tail + 6));
        CDesignerDoc target;
        ASSERT_TRUE(target.OnNewDocument());
        LoadDocument(target, damaged);
        const std::vector<CObject*> elements(target.GetElementList().begin(), target.GetElementList().end());
        const std::vector<CObject*> zorder(target.GetZOrderList().begin(), target.GetZOrderList().end());
        EXPECT_EQ(zorder, elements);
    }
}

// ---------------------------------------------------------------- saving

class CapturingPrompter : public DocumentPrompter
{
public:
    SaveChoice AskToSave(const QString&) override { return SaveChoice::Cancel; }
    QString ChooseSavePath(const QString&, const QString&, const QString&) override { return {}; }
    void ReportSaveLoadException(const QString& path, const CException&, bool saving) override
    {
        reports.push_back(path);
        savingReports += saving ? 1 : 0;
    }
    std::vector<QString> reports;
    int savingReports = 0;
};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(WvdFileTest, SaveWritesTheFileAndFailedSaveKeepsTheOld)
{
    auto prompter = std::make_shared<CapturingPrompter>();
    auto previous = SetDocumentPrompter(prompter);
    BuildRichDocument(doc);
    const QString path = env.folder.filePath(QStringLiteral("form.wvd"));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const QByteArray saved = ReadAll(path);
    const Bytes expected = StoreDocument(doc);
    EXPECT_EQ(Bytes(saved.begin(), saved.end()), expected);

    // A save that fails midway: an element that cannot be written.
    {
        CDocChangeGuard change(&doc);
        doc.WvdName().SetValue(QStringLiteral("CHANGED"));
    }
    const QString folderTarget = env.folder.filePath(QStringLiteral("folder.wvd"));
    ASSERT_TRUE(QDir().mkpath(folderTarget));
    EXPECT_FALSE(doc.OnSaveDocument(folderTarget));
    EXPECT_TRUE(QFileInfo(folderTarget).isDir());
    EXPECT_EQ(ReadAll(path), saved);
    ASSERT_EQ(prompter->reports.size(), 1u);
    EXPECT_EQ(prompter->savingReports, 1);
    // No temporary file is left beside the targets.
    EXPECT_TRUE(QDir(env.folder.path()).entryList({QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden).isEmpty());
    SetDocumentPrompter(previous);
}

} // namespace
