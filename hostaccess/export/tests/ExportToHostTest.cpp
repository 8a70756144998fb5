// New spooled files on the emulated host: what reached the queue, byte for
// byte, with the attributes the host stored, and what the user was told.

#include "hostaccess/AS400.h"
#include "hostaccess/MerrowApp.h"
#include "hostaccess/export/ExportToHost.h"
#include "hostaccess/export/tests/ExportHostFixture.h"
#include "hostaccess/export/tests/OwnedPages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using kwvd::clientaccess::AttributeType;
using kwvd::clientaccess::AttributeValue;
using kwvd::clientaccess::SpooledFile;
using kwvd::clientaccess::SpooledFileAttribute;

QByteArray HexBytes(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex));
}

SpooledFileIdentity Target(const QString& queue = QStringLiteral("QPRINT"))
{
    SpooledFileIdentity identity;
    identity.SetOutputQueue(queue);
    identity.SetOutputQueueLibrary(QStringLiteral("kwvd"));
    identity.SetFileName(QStringLiteral("invoice"));
    identity.SetUserData(QStringLiteral("monthly"));
    return identity;
}

class ExportToHost : public ExportHostFixture
{
protected:
    BOOL ExportPages(const OwnedPages& pages, std::array<int, 2> pageSize = {132, 66}, int ccsid = 37,
                     const SpooledFileIdentity& identity = Target())
    {
        CAS400 host;
        return CreateSpooledFileFromPages(host, kSystem, identity, &pages.List(), pageSize.data(), ccsid);
    }
};

TEST_F(ExportToHost, TwoPagesGoldenWithTheAttributesTheHostStored)
{
    SpooledFileIdentity identity = Target();
    identity.SetDbcsData(QStringLiteral("*NO"));
    identity.SetCharSet(QStringLiteral("*DEVD"));
    const OwnedPages pages{{"", "HELLO", "", "AB"}, {"", "", "X 1"}};

    ASSERT_TRUE(ExportPages(pages, {132, 66}, 37, identity));

    const std::vector<SpooledFile> files = Queue();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(Data(files[0]).toHex(' '), HexBytes("34C00134C401C8C5D3D3D6"
                                                  "34C00134C403C1C2"
                                                  "0C"
                                                  "34C00134C402E740F1")
                                             .toHex(' '));
    struct Expected
    {
        int key;
        AttributeValue value;
    };
    const Expected expected[] = {
        {74, {AttributeType::Text, "QPRINT", 0, 0}},    {104, {AttributeType::Text, "INVOICE", 0, 0}},
        {116, {AttributeType::Text, "MONTHLY", 0, 0}},  {79, {AttributeType::Text, "*ROWCOL", 0, 0}},
        {81, {AttributeType::Float, {}, 0, 132}},       {78, {AttributeType::Float, {}, 0, 66}},
        {76, {AttributeType::Long, {}, 65, 0}},         {153, {AttributeType::Text, "*NO", 0, 0}},
        {55, {AttributeType::Text, "*DEVD", 0, 0}},     {111, {AttributeType::Long, {}, 2, 0}},
    };
    for (const Expected& e : expected) {
        const std::optional<AttributeValue> value = SpooledFileAttribute(files[0], e.key);
        ASSERT_TRUE(value.has_value()) << "key " << e.key;
        EXPECT_EQ(value->type, e.value.type) << "key " << e.key;
        EXPECT_EQ(value->text, e.value.text) << "key " << e.key;
        EXPECT_EQ(value->integer, e.value.integer) << "key " << e.key;
        EXPECT_EQ(value->real, e.value.real) << "key " << e.key;
    }
    // 154 was empty, so the host's default stands.
    EXPECT_EQ(files[0].attributes.count(154), 0u);
    EXPECT_TRUE(prompts.Texts().isEmpty()) << prompts.Texts().join(u'|').toStdString();
}

TEST_F(ExportToHost, EmptyLineZeroAndNoPageSize)
{
    const OwnedPages pages{{"", "A"}};

    ASSERT_TRUE(ExportPages(pages, {0, 0}));

    const std::vector<SpooledFile> files = Queue();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(Data(files[0]), HexBytes("34C00134C401C1"));
    for (const int key : {81, 78, 76})
        EXPECT_EQ(files[0].attributes.count(key), 0u) << "key " << key;
    EXPECT_TRUE(prompts.Texts().isEmpty());
}

TEST_F(ExportToHost, UncarriedLinesAreNamedInOneWarningAtTheEnd)
{
    QStringList lines{QStringLiteral("HEADING")};
    for (int i = 1; i < 300; ++i)
        lines << QStringLiteral("L");
    lines[5] = QString(400, u'A');
    const OwnedPages pages{lines};

    ASSERT_TRUE(ExportPages(pages));

    const std::vector<SpooledFile> files = Queue();
    ASSERT_EQ(files.size(), 1u);
    const QByteArray data = Data(files[0]);
    EXPECT_EQ(data.size(), 254 * 7 + 6 + 379);
    EXPECT_EQ(data.mid(4 * 7, 6 + 379), HexBytes("34C00134C405") + QByteArray(379, char(0xC1)));
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    const RecordedPrompt& warning = prompts->Recorded()[0];
    EXPECT_EQ(warning.Icon(), UINT(MB_ICONWARNING));
    EXPECT_TRUE(warning.text.contains(QStringLiteral("Page: 01, Line: 000: ")));
    EXPECT_TRUE(warning.text.contains(QStringLiteral("Page: 01, Line: 005: cut to 379 bytes")));
    EXPECT_TRUE(warning.text.contains(QStringLiteral("Page: 01, Line: 256: ")));
    EXPECT_TRUE(warning.text.contains(QStringLiteral("Page: 01, Line: 299: ")));
}

TEST_F(ExportToHost, SubstitutedLineAsksQuestion10119)
{
    struct Case
    {
        const char* name;
        int answer;
        QByteArray page2;
    };
    const Case cases[] = {
        {"Yes leaves the line out", IDYES, QByteArray()},
        {"No writes the substituted text", IDNO, HexBytes("34C00134C407C13F")},
    };
    for (const Case& c : cases) {
        prompts.Renew();
        kwvd::clientaccess::ClearInjectedFaults();
        const OwnedPages pages{{"", "B"}, {"", "", "", "", "", "", "", QStringLiteral("A") + QChar(0x20AC)}};
        prompts->AnswerMessageBox(c.answer);

        ASSERT_TRUE(ExportPages(pages)) << c.name;

        ASSERT_EQ(prompts->Recorded().size(), 1u) << c.name;
        const RecordedPrompt& question = prompts->Recorded()[0];
        EXPECT_EQ(question.Buttons(), UINT(MB_YESNO)) << c.name;
        EXPECT_TRUE(question.text.startsWith(QStringLiteral("Warnings were issued whilst converting Line 7 of Page 2. "
                                                             "Would you like to ingore this line ?\n\nWarning text is: ")))
            << question.text.toStdString();
        const std::vector<SpooledFile> files = Queue();
        ASSERT_FALSE(files.empty());
        EXPECT_EQ(Data(files.back()), HexBytes("34C00134C401C2" "0C") + c.page2) << c.name;
    }
}

TEST_F(ExportToHost, DoubleByteCodePage)
{
    const QString line = QStringLiteral("A") + QChar(0x0E) + QChar(0x65E5) + u' ' + QChar(0x0F) + u'B';
    const OwnedPages pages{{"", line}};

    ASSERT_TRUE(ExportPages(pages, {80, 20}, 930));

    const std::vector<SpooledFile> files = Queue();
    ASSERT_EQ(files.size(), 1u);
    const QByteArray data = Data(files[0]);
    ASSERT_EQ(data.size(), 12) << data.toHex(' ').constData();
    EXPECT_EQ(data.left(7), HexBytes("34C00134C401C1"));
    EXPECT_EQ(data.at(7), char(0x0E));
    EXPECT_EQ(data.at(10), char(0x0F));
}

TEST_F(ExportToHost, CodePageZeroIsTheSystems)
{
    // KWVDSYS runs at 285, where "$" is 0x4A.
    const OwnedPages pages{{"", "$"}};

    ASSERT_TRUE(ExportPages(pages, {80, 20}, 0));

    const std::vector<SpooledFile> files = Queue();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(Data(files[0]), HexBytes("34C00134C4014A"));
}

TEST_F(ExportToHost, HostFailuresGiveFalseWithTheHostsMessage)
{
    struct Case
    {
        const char* name;
        const char* operation;
        bool fileLeft; // the spooled file was made before the failure
    };
    const Case cases[] = {
        {"converter", "cwbNL_CreateConverterEx", false},
        {"new spooled file", "cwbOBJ_CreateNewSplF", false},
        {"attribute list", "cwbOBJ_CreateParmObjHandle", false},
        {"a write", "cwbOBJ_WriteNewSplF", true},
    };
    for (const Case& c : cases) {
        kwvd::clientaccess::ClearInjectedFaults();
        prompts.Renew();
        const size_t before = Queue().size();
        ASSERT_TRUE(kwvd::clientaccess::SetInjectedFault(c.operation, kCwbStoreError, "KWV4001", "Injected.", true));
        const OwnedPages pages{{"", "A"}};

        EXPECT_FALSE(ExportPages(pages)) << c.name;

        ASSERT_FALSE(prompts.Texts().isEmpty()) << c.name;
        EXPECT_TRUE(prompts.Texts().join(u'\n').contains(QStringLiteral("KWV4001"))) << c.name;
        EXPECT_EQ(Queue().size(), before + (c.fileLeft ? 1 : 0)) << c.name;
    }
}

TEST_F(ExportToHost, UnknownQueueFails)
{
    const OwnedPages pages{{"", "A"}};
    EXPECT_FALSE(ExportPages(pages, {80, 20}, 37, Target(QStringLiteral("NOSUCHQ"))));
    EXPECT_TRUE(prompts.Texts().join(u'\n').contains(QStringLiteral("NOSUCHQ")));
    EXPECT_TRUE(Queue().empty());
}

TEST_F(ExportToHost, CheckOutputQueue)
{
    struct Case
    {
        const char* name;
        QString queue;
        QString library;
        BOOL result;
        bool message;
    };
    const Case cases[] = {
        {"existing queue", "QPRINT", "KWVD", TRUE, false},
        {"names without regard to case", "qprint", "kwvd", TRUE, false},
        {"empty queue: no message", "", "KWVD", FALSE, false},
        {"unknown queue", "NOSUCHQ", "KWVD", FALSE, true},
        {"unknown library", "QPRINT", "NOSUCHLIB", FALSE, true},
    };
    for (const Case& c : cases) {
        prompts.Renew();
        CAS400 host;
        EXPECT_EQ(CheckOutputQueue(host, c.queue, c.library, kSystem), c.result) << c.name;
        EXPECT_EQ(!prompts.Texts().isEmpty(), c.message) << c.name;
    }
}

TEST_F(ExportToHost, RawCopyIsByteForByteAndHasNoPageSize)
{
    // Longer than a few 256-byte pieces, with every byte value.
    QByteArray raw;
    for (int i = 0; i < 1000; ++i)
        raw.append(static_cast<char>(i * 7));
    QBuffer file(&raw);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));

    CAS400 host;
    ASSERT_TRUE(CreateSpooledFileFromRaw(host, kSystem, Target(), file));

    const std::vector<SpooledFile> files = Queue();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(Data(files[0]), raw);
    for (const int key : {81, 78, 76})
        EXPECT_EQ(files[0].attributes.count(key), 0u) << "key " << key;
    EXPECT_EQ(SpooledFileAttribute(files[0], 104)->text, QStringLiteral("INVOICE"));
}

TEST_F(ExportToHost, RawExportAsksForTheFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("saved.raw_splf"));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::WriteOnly));
    saved.write(HexBytes("34C00134C401C10C34C00134C401C2"));
    saved.close();

    struct Case
    {
        const char* name;
        QStringList answer; // the open dialog's
        BOOL result;
        const char* message;
        size_t files;
    };
    const Case cases[] = {
        {"cancel", {}, FALSE, nullptr, 0},
        {"a missing file", {folder.filePath(QStringLiteral("gone.raw_splf"))}, FALSE, "Failed to open file", 0},
        {"a saved file", {path}, TRUE, nullptr, 1},
    };
    for (const Case& c : cases) {
        prompts.Renew();
        prompts->AnswerFiles(c.answer);
        CAS400 host;

        EXPECT_EQ(ExportRawSpooledFile(host, kSystem, Target()), c.result) << c.name;

        ASSERT_FALSE(prompts->Recorded().empty()) << c.name;
        const RecordedPrompt& chooser = prompts->Recorded()[0];
        EXPECT_EQ(chooser.kind, PromptKind::OpenFile) << c.name;
        EXPECT_TRUE(chooser.file.filter.startsWith(QStringLiteral("Raw Spooled File Data (*.raw_splf)"))) << c.name;
        if (c.message) {
            ASSERT_EQ(prompts->Recorded().size(), 2u) << c.name;
            EXPECT_EQ(prompts->Recorded()[1].text, QString::fromUtf8(c.message)) << c.name;
            EXPECT_EQ(prompts->Recorded()[1].Icon(), UINT(MB_ICONWARNING)) << c.name;
        } else {
            EXPECT_EQ(prompts->Recorded().size(), 1u) << c.name;
        }
        ASSERT_EQ(Queue().size(), c.files) << c.name;
    }
    EXPECT_EQ(Data(Queue().back()), HexBytes("34C00134C401C10C34C00134C401C2"));
}

} // namespace
