// The spooled file in the WVD document: its stored bytes, the older schemas,
// and what a damaged or hostile file is refused with.

#include "designer/document/DocumentClasses.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/SpooledFileStrings.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/FrameworkClasses.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace {

CStringArray* MakePage(std::initializer_list<QString> lines)
{
    auto* page = new CStringArray;
    for (const QString& line : lines)
        page->Add(line);
    return page;
}

const char* const kEmptyText = "FF FE FF 00";

Bytes Repeat(const char* hex, int times)
{
    Bytes bytes;
    for (int i = 0; i < times; ++i)
        bytes = bytes + Hex(hex);
    return bytes;
}

// The list object and its two pages: "" / "AB" and "" / "C".
Bytes TwoPageList()
{
    return Hex("FF FF 00 00 07 00") + Ascii("CObList") + Hex("02 00") + Hex("FF FF 00 00 0C 00") + Ascii("CStringArray")
           + Hex("02 00") + Hex(kEmptyText) + Hex("FF FE FF 02 41 00 42 00") + Hex("03 80") + Hex("02 00")
           + Hex(kEmptyText) + Hex("FF FE FF 01 43 00");
}

// Current page 1, width 2, length 1.
Bytes PageFields()
{
    return Hex("01 00 00 00 02 00 00 00 01 00 00 00");
}

Bytes Identities()
{
    const Bytes all = Hex("FF FE FF 04 2A 00 41 00 4C 00 4C 00");
    // The loaded identity is cleared; the filter lists every user's files.
    return Repeat(kEmptyText, 12) + Repeat(kEmptyText, 3) + all + all + Repeat(kEmptyText, 7);
}

// Reads the bytes as an object of the given stored schema would be read.
void LoadWithSchema(CSpooledFile& file, const Bytes& bytes, UINT schema)
{
    Load(bytes, [&](CArchive& ar) {
        ar.SetObjectSchema(schema);
        file.Serialize(ar);
    });
}

std::optional<CArchiveException::Cause> LoadFailure(const Bytes& bytes, UINT schema)
{
    try {
        CSpooledFile file;
        LoadWithSchema(file, bytes, schema);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return std::nullopt;
}

class SpooledFileArchiveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterFrameworkClasses();
        RegisterDocumentClasses();
    }
};

TEST_F(SpooledFileArchiveTest, TwoPageFileStoresItsListOfStringArrays)
{
    CSpooledFile file;
    PageList pages(new CObList);
    pages->AddTail(MakePage({QString(), QStringLiteral("AB")}));
    pages->AddTail(MakePage({QString(), QStringLiteral("C")}));
    file.ReplacePageList(std::move(pages));
    ASSERT_TRUE(file.SetCurrentPage(1));

    const Bytes stored = Store([&](CArchive& ar) { file.Serialize(ar); });
    EXPECT_EQ(stored, TwoPageList() + PageFields() + Identities());
}

TEST_F(SpooledFileArchiveTest, OlderSchemas)
{
    struct Case
    {
        const char* name;
        UINT schema;
        Bytes bytes;
        int width;
        int length;
        QString loadedFileName;
    };
    // Schema 4 identities: eight fields each.
    const Bytes named = Repeat(kEmptyText, 2) + Hex("FF FE FF 03 41 00 42 00 43 00") + Repeat(kEmptyText, 5);
    const Case cases[] = {
        {"current", 6, TwoPageList() + PageFields() + Identities(), 2, 1, QString()},
        {"eight identity fields", 4, TwoPageList() + PageFields() + named + Repeat(kEmptyText, 8), 2, 1,
         QStringLiteral("ABC")},
        {"stored dimensions are kept when larger", 3, TwoPageList() + Hex("01 00 00 00 50 00 00 00 42 00 00 00"), 80,
         66, QString()},
        {"no stored dimensions", 2, TwoPageList() + Hex("01 00 00 00"), 2, 1, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSpooledFile file;
        LoadWithSchema(file, c.bytes, c.schema);
        ASSERT_EQ(file.GetPageCount(), 2);
        EXPECT_EQ(file.GetPage(1)->GetAt(1), QStringLiteral("AB"));
        EXPECT_EQ(file.GetPage(2)->GetAt(1), QStringLiteral("C"));
        EXPECT_EQ(file.GetCurrentPageNumber(), 1);
        EXPECT_EQ(file.GetPageWidth(), c.width);
        EXPECT_EQ(file.GetPageLength(), c.length);
        EXPECT_EQ(file.GetLoadedIdentity().GetFileName(), c.loadedFileName);
    }
}

TEST_F(SpooledFileArchiveTest, SchemaFiveIdentitiesKeepTheirFileName)
{
    // Schema 5 identities: eleven fields, no form type.
    const Bytes loaded = Repeat(kEmptyText, 2) + Hex("FF FE FF 03 41 00 42 00 43 00") + Repeat(kEmptyText, 8);
    CSpooledFile file;
    LoadWithSchema(file, TwoPageList() + PageFields() + loaded + Repeat(kEmptyText, 11), 5);
    EXPECT_EQ(file.GetLoadedIdentity().GetFileName(), QStringLiteral("ABC"));
    EXPECT_EQ(file.GetFilterIdentity().GetUserName(), QString());
}

TEST_F(SpooledFileArchiveTest, RefusedOnLoad)
{
    struct Case
    {
        const char* name;
        UINT schema;
        Bytes bytes;
        CArchiveException::Cause cause;
    };
    const Bytes list = TwoPageList();
    const Case cases[] = {
        {"a list that holds itself", 6,
         Hex("FF FF 00 00 07 00") + Ascii("CObList") + Hex("01 00 02 00") + PageFields() + Identities(),
         CArchiveException::badClass},
        {"a page of another class after a good page", 6,
         Hex("FF FF 00 00 07 00") + Ascii("CObList") + Hex("02 00") + Hex("FF FF 00 00 0C 00") + Ascii("CStringArray")
             + Hex("01 00") + Hex(kEmptyText) + Hex("02 00") + PageFields() + Identities(),
         CArchiveException::badClass},
        {"a page list of another class", 6,
         Hex("FF FF 00 00 0C 00") + Ascii("CStringArray") + Hex("00 00") + PageFields() + Identities(),
         CArchiveException::badClass},
        {"width beyond any page", 6, list + Hex("01 00 00 00 FF FF FF 7F 01 00 00 00") + Identities(),
         CArchiveException::genericException},
        {"negative length", 6, list + Hex("01 00 00 00 02 00 00 00 FF FF FF FF") + Identities(),
         CArchiveException::genericException},
        {"cut short in the dimensions", 6, list + Hex("01 00 00 00 02 00"), CArchiveException::endOfFile},
        {"cut short in the identities", 6, list + PageFields() + Repeat(kEmptyText, 5), CArchiveException::endOfFile},
        {"a newer schema", 7, list + PageFields() + Identities(), CArchiveException::badSchema},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A sanitiser build also checks that nothing leaks or is freed twice.
        EXPECT_EQ(LoadFailure(c.bytes, c.schema), c.cause);
    }
}

TEST_F(SpooledFileArchiveTest, SchemaOneReadsTheStoredFileAgain)
{
    RegisterSpooledFileStrings();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ScopedPromptAnswers prompts;
    CPreferences prefs;
    prefs.MaxSpooledFilePages = 20;
    CPreferences* previousPrefs = SetPreferences(&prefs);

    // "   1Hi" as 16-bit little-endian text.
    QFile spool(dir.filePath(QStringLiteral("Spool.txt")));
    ASSERT_TRUE(spool.open(QIODevice::WriteOnly));
    spool.write(QByteArray::fromHex("2000200020003100480069000a00"));
    spool.close();

    // The path as a Windows program stored it; only its name is found here.
    const QString stored = QStringLiteral("C:\\Forms\\SPOOL.TXT");
    Bytes bytes = Hex("FF FE FF") + Bytes{static_cast<BYTE>(stored.size())};
    for (QChar c : stored)
        bytes = bytes + Bytes{static_cast<BYTE>(c.unicode()), 0};

    prefs.DefaultSpooledFileDirectory = dir.path();
    prompts->AnswerMessageBox(IDYES);
    CSpooledFile file;
    LoadWithSchema(file, bytes, 1);
    ASSERT_EQ(file.GetPageCount(), 1);
    EXPECT_EQ(file.GetPage(1)->GetAt(1), QStringLiteral("Hi"));
    EXPECT_EQ(file.GetCurrentPageNumber(), 1);

    SetPreferences(previousPrefs);
}

} // namespace
