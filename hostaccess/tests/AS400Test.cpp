// The host wrapper against the emulated host: what each call gives back and
// what the user is shown when it fails.

#include "hostaccess/AS400.h"

#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/OutputQueues.h"
#include "platform/clientaccess/tests/EmulatedHostFixture.h"
#include "tests/support/ScopedPrompts.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <ostream>

namespace {

using namespace kwvd::clientaccess;

const QString kSystem = QStringLiteral("KWVDSYS");

AttributeValue Text(const char* text)
{
    AttributeValue value;
    value.type = AttributeType::Text;
    value.text = QString::fromUtf8(text);
    return value;
}

AttributeValue Number(std::int32_t number)
{
    AttributeValue value;
    value.type = AttributeType::Long;
    value.integer = number;
    return value;
}

class HostWrapper : public EmulatedHost
{
protected:
    void SetUp() override
    {
        HostSystem system = System(kSystem);
        system.initialLibraries = QStringList{QStringLiteral("QGPL")};
        Add(system, true);
        Library(kSystem, QStringLiteral("KWVD"));
        QString error;
        ASSERT_TRUE(AddOutputQueue(kSystem, QStringLiteral("KWVD"), QStringLiteral("QPRINT"), &error))
            << error.toStdString();
    }
    void TearDown() override { ClearInjectedFaults(); }

    void Spool(const char* file, const char* userData, const QByteArray& data)
    {
        std::map<int, AttributeValue> attributes = {
            {kKeyFile, Text(file)},      {kKeyUser, Text("KWVDUSER")}, {kKeyUserData, Text(userData)},
            {kKeyTotalPages, Number(2)}, {kKeyDate, Text("1260304")},  {kKeyTime, Text("050607")},
        };
        QString error;
        unsigned long number = 0;
        ASSERT_TRUE(AddSpooledFile(kSystem, QStringLiteral("KWVD"), QStringLiteral("QPRINT"), attributes, data, &number,
                                   &error))
            << error.toStdString();
    }

    // The first spooled file of KWVD/QPRINT; the list stays open for the
    // test's own handle.
    cwbOBJ_ObjHandle FirstSpooledFile(CAS400& host)
    {
        m_list = host.CreateListHandle(kSystem);
        EXPECT_NE(m_list, 0u);
        EXPECT_EQ(host.SetListFilter(m_list, QStringLiteral("QPRINT"), QStringLiteral("KWVD"), QStringLiteral("*ALL"),
                                     QString()),
                  1);
        EXPECT_EQ(host.OpenList(m_list), 1);
        EXPECT_EQ(host.GetListSize(m_list), 1u);
        return host.GetObjectHandle(m_list, 0);
    }

    ScopedPromptAnswers m_prompts;
    cwbOBJ_ListHandle m_list = 0;
};

TEST_F(HostWrapper, WithoutAnErrorHandleTheLabelIsShown)
{
    CAS400 host;
    EXPECT_EQ(host.ShowHostError(0, QStringLiteral("CreateSystemHandle")), 0);
    EXPECT_EQ(m_prompts.Texts(), QStringList{QStringLiteral("CreateSystemHandle")});
}

TEST_F(HostWrapper, AHandleWithoutMessagesShowsNothing)
{
    CAS400 host;
    EXPECT_EQ(host.ShowHostError(host.GetErrorHandle(), QStringLiteral("OpenList")), 0);
    // An invalid handle answers 6: nothing to say either.
    EXPECT_EQ(host.ShowHostError(987654321ul, QStringLiteral("OpenList")), 0);
    EXPECT_TRUE(m_prompts.Texts().isEmpty());
}

TEST_F(HostWrapper, SystemThatCannotBeReachedShowsTheLabel)
{
    HostSystem away = System(QStringLiteral("AWAY"));
    away.reachable = false;
    Add(away);
    CAS400 host;
    EXPECT_EQ(host.CreateSystemHandle(QStringLiteral("AWAY")), 0u);
    EXPECT_EQ(host.CreateSystemHandle(QStringLiteral("NOSUCH")), 0u);
    EXPECT_EQ(m_prompts.Texts(),
              (QStringList{QStringLiteral("CreateSystemHandle"), QStringLiteral("CreateSystemHandle")}));
}

TEST_F(HostWrapper, ConnectionThatCannotStartShowsTheLabel)
{
    ASSERT_TRUE(SetInjectedFault("cwbRC_StartSysEx", kCwbSystemUnreachable, "KWV4001", "Injected.", true));
    CAS400 host;
    const cwbCO_SysHandle system = host.CreateSystemHandle(kSystem);
    ASSERT_NE(system, 0u);
    EXPECT_EQ(host.CreateRCSystemHandle(system), 0u);
    host.DeleteSystemHandle(system);
    EXPECT_EQ(m_prompts.Texts(), QStringList{QStringLiteral("CreateRCSystemHandle")});
}

TEST_F(HostWrapper, HandleOfZeroFailsWithoutABox)
{
    CAS400 host;
    QString value;
    unsigned long count = 10;
    char buffer[10];
    EXPECT_EQ(host.SetListFilter(0, {}, {}, {}, {}), 0);
    EXPECT_EQ(host.OpenList(0), 0);
    EXPECT_EQ(host.GetListSize(0), 0u);
    EXPECT_EQ(host.GetObjectHandle(0, 0), 0u);
    EXPECT_EQ(host.GetObjectAttribute(0, kKeyFile, value), 0);
    EXPECT_EQ(host.OpenSpooledFile(0), 0);
    EXPECT_EQ(host.ReadSpooledFile(0, buffer, &count), 0);
    EXPECT_EQ(host.RunHostCommand(0, QStringLiteral("ADDLIBLE KWVD"), TRUE), 0);
    EXPECT_EQ(host.WritePageBreak(0), 0);
    EXPECT_EQ(host.CreateRCSystemHandle(0), 0u);
    EXPECT_TRUE(m_prompts.Texts().isEmpty());
}

struct CommandCase
{
    const char* name;
    const char* command;
    BOOL showMessages;
    int result;
    const char* shown; // the start of the box's text; null: no box
};

void PrintTo(const CommandCase& c, std::ostream* os)
{
    *os << c.name;
}

class HostCommand : public HostWrapper, public ::testing::WithParamInterface<CommandCase>
{};

TEST_P(HostCommand, SucceedsExactlyWhenTheHostLogsNoMessage)
{
    const CommandCase& c = GetParam();
    CAS400 host;
    const cwbCO_SysHandle system = host.CreateSystemHandle(kSystem);
    const cwbRC_SysHandle connection = host.CreateRCSystemHandle(system);
    ASSERT_NE(connection, 0u);
    EXPECT_EQ(host.RunHostCommand(connection, QString::fromUtf8(c.command), c.showMessages), c.result);
    host.DeleteRCSystemHandle(connection);
    host.DeleteSystemHandle(system);
    const QStringList shown = m_prompts.Texts();
    if (c.shown) {
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown.front().startsWith(QString::fromUtf8(c.shown))) << shown.front().toStdString();
    } else {
        EXPECT_TRUE(shown.isEmpty()) << shown.join(u'|').toStdString();
    }
}

const CommandCase kCommandCases[] = {
    {"NewLibraryIsAdded", "ADDLIBLE KWVD", TRUE, 1, nullptr},
    {"LibraryAlreadyListedFailsWithTheHostsMessage", "ADDLIBLE QGPL", TRUE, 0, "KWV2102: "},
    {"LibraryAlreadyListedFailsSilentlyWhenHidden", "ADDLIBLE QGPL", FALSE, 0, nullptr},
    {"UnknownCommandFails", "DLTLIB KWVD", TRUE, 0, "KWV"},
};

INSTANTIATE_TEST_SUITE_P(Commands, HostCommand, ::testing::ValuesIn(kCommandCases));

TEST_F(HostWrapper, ABoxShowsOnlyTheMessagesOfItsOwnCall)
{
    CAS400 host;
    const cwbCO_SysHandle system = host.CreateSystemHandle(kSystem);
    const cwbRC_SysHandle connection = host.CreateRCSystemHandle(system);
    ASSERT_NE(connection, 0u);
    EXPECT_EQ(host.RunHostCommand(connection, QStringLiteral("ADDLIBLE QGPL"), FALSE), 0);
    EXPECT_EQ(host.RunHostCommand(connection, QStringLiteral("ADDLIBLE NOSUCH"), TRUE), 0);
    EXPECT_EQ(host.RunHostCommand(connection, QStringLiteral("ADDLIBLE NOSUCH"), TRUE), 0);
    host.DeleteRCSystemHandle(connection);
    host.DeleteSystemHandle(system);
    const QStringList shown = m_prompts.Texts();
    ASSERT_EQ(shown.size(), 2);
    for (const QString& text : shown) {
        EXPECT_TRUE(text.startsWith(QStringLiteral("KWV2101: "))) << text.toStdString();
        EXPECT_EQ(text.count(QStringLiteral("KWV")), 1) << text.toStdString();
    }
}

TEST_F(HostWrapper, ListFilteredByQueueGivesItsSpooledFiles)
{
    Spool("INVOICE", "SAMPLE", QByteArray("\x2B\xD2", 2));
    CAS400 host;
    const cwbOBJ_ObjHandle object = FirstSpooledFile(host);
    ASSERT_NE(object, 0u);
    EXPECT_EQ(host.GetObjectHandle(m_list, 1), 0u); // past the end
    EXPECT_EQ(host.DeleteObjectHandle(object), 1);
    EXPECT_EQ(host.CloseList(m_list), 1);
    EXPECT_EQ(host.DeleteListHandle(m_list), 1);
    // The host logs nothing for an index past the end: no box.
    EXPECT_TRUE(m_prompts.Texts().isEmpty()) << m_prompts.Texts().join(u'|').toStdString();
}

TEST_F(HostWrapper, ListOfAQueueThatIsNotThereShowsTheHostsMessage)
{
    CAS400 host;
    const cwbOBJ_ListHandle list = host.CreateListHandle(kSystem);
    ASSERT_NE(list, 0u);
    ASSERT_EQ(host.SetListFilter(list, QStringLiteral("NOSUCH"), QStringLiteral("KWVD"), QString(), QString()), 1);
    EXPECT_EQ(host.OpenList(list), 0);
    host.DeleteListHandle(list);
    ASSERT_EQ(m_prompts.Texts().size(), 1);
    EXPECT_TRUE(m_prompts.Texts().front().contains(QStringLiteral("NOSUCH")))
        << m_prompts.Texts().front().toStdString();
}

struct AttributeCase
{
    const char* name;
    cwbOBJ_KeyID key;
    int result;
    const char* value;
};

void PrintTo(const AttributeCase& c, std::ostream* os)
{
    *os << c.name;
}

class ObjectAttribute : public HostWrapper, public ::testing::WithParamInterface<AttributeCase>
{};

TEST_P(ObjectAttribute, ReadsAsText)
{
    const AttributeCase& c = GetParam();
    Spool("INVOICE", "SAMPLE", QByteArray("\x2B\xD2", 2));
    CAS400 host;
    const cwbOBJ_ObjHandle object = FirstSpooledFile(host);
    QString value = QStringLiteral("left over");
    EXPECT_EQ(host.GetObjectAttribute(object, c.key, value), c.result);
    EXPECT_EQ(value.toStdString(), c.value);
    host.DeleteObjectHandle(object);
    host.DeleteListHandle(m_list);
}

const AttributeCase kAttributeCases[] = {
    {"TextAsItIs", kKeyFile, 1, "INVOICE"},
    {"UserData", kKeyUserData, 1, "SAMPLE"},
    {"ThirtyTwoBitNumberInDecimal", kKeyTotalPages, 1, "2"},
    {"OverflowLineDefault", kKeyOverflowLine, 1, "60"},
    {"FloatReadsAsEmpty", kKeyPageWidth, 1, ""},
    {"QueueFromWhereTheFileIs", kKeyOutputQueue, 1, "QPRINT"},
    {"UnknownKeyFails", 9999, 0, ""},
};

INSTANTIATE_TEST_SUITE_P(Keys, ObjectAttribute, ::testing::ValuesIn(kAttributeCases));

TEST_F(HostWrapper, SpooledFileIsReadToItsEndAndTheEndIsNoFailure)
{
    QByteArray data;
    for (int i = 0; i < 300; ++i)
        data.append(static_cast<char>(0x40 + i % 60));
    Spool("INVOICE", "SAMPLE", data);
    CAS400 host;
    const cwbOBJ_ObjHandle object = FirstSpooledFile(host);
    ASSERT_EQ(host.OpenSpooledFile(object), 1);
    QByteArray read;
    char buffer[128];
    for (;;) {
        unsigned long count = sizeof buffer;
        ASSERT_EQ(host.ReadSpooledFile(object, buffer, &count), 1);
        if (count == 0)
            break;
        read.append(buffer, static_cast<qsizetype>(count));
    }
    EXPECT_EQ(read, data);
    EXPECT_EQ(host.AnalyseSplFData(read.constData(), static_cast<unsigned long>(read.size())), kCwbObjDataScs);
    EXPECT_EQ(host.CloseSpooledFile(object), 1);
    host.DeleteObjectHandle(object);
    host.DeleteListHandle(m_list);
    EXPECT_TRUE(m_prompts.Texts().isEmpty()) << m_prompts.Texts().join(u'|').toStdString();
}

TEST_F(HostWrapper, ReadFailureShowsTheHostsMessage)
{
    Spool("INVOICE", "SAMPLE", QByteArray("\x2B\xD2", 2));
    ASSERT_TRUE(SetInjectedFault("cwbOBJ_ReadSplF", kCwbNotFound, "KWV4002", "Spooled file went away.", true));
    CAS400 host;
    const cwbOBJ_ObjHandle object = FirstSpooledFile(host);
    ASSERT_EQ(host.OpenSpooledFile(object), 1);
    char buffer[16];
    unsigned long count = sizeof buffer;
    EXPECT_EQ(host.ReadSpooledFile(object, buffer, &count), 0);
    EXPECT_EQ(count, 0u);
    host.CloseSpooledFile(object);
    host.DeleteObjectHandle(object);
    host.DeleteListHandle(m_list);
    EXPECT_EQ(m_prompts.Texts(), QStringList{QStringLiteral("KWV4002: Spooled file went away.")});
}

TEST_F(HostWrapper, NewSpooledFileAppearsInItsQueueWithThePagesWritten)
{
    CAS400 host;
    const cwbOBJ_ParmHandle parameters = host.CreateParameterList();
    ASSERT_NE(parameters, 0u);
    EXPECT_EQ(host.SetParameter(parameters, kKeyOutputQueue, QStringLiteral("QPRINT")), 1);
    EXPECT_EQ(host.SetParameter(parameters, kKeyLibrary, QStringLiteral("KWVD")), 1);
    EXPECT_EQ(host.SetParameter(parameters, kKeyFile, QStringLiteral("NEWFILE")), 1);
    EXPECT_EQ(host.SetParameter(parameters, kKeyUserData, QStringLiteral("MADE")), 1);
    EXPECT_EQ(host.SetParameter(parameters, kKeyPageWidth, 80.0f), 1);
    EXPECT_EQ(host.SetParameter(parameters, kKeyOverflowLine, std::int32_t(50)), 1);
    const cwbOBJ_ObjHandle file = host.CreateNewSpooledFile(kSystem, parameters);
    ASSERT_NE(file, 0u);
    EXPECT_EQ(host.WriteNewSpooledFile(file, "PAGE1", 5, QStringLiteral("WriteLineToSpooledFile")), 1);
    EXPECT_EQ(host.WritePageBreak(file), 1);
    EXPECT_EQ(host.WriteNewSpooledFile(file, "PAGE2", 5, QStringLiteral("WriteLineToSpooledFile")), 1);
    host.CloseNewSpooledFile(file);
    host.DeleteParameterList(parameters);
    EXPECT_TRUE(m_prompts.Texts().isEmpty()) << m_prompts.Texts().join(u'|').toStdString();

    const std::vector<SpooledFile> files = SpooledFilesOf(kSystem, QStringLiteral("KWVD"), QStringLiteral("QPRINT"));
    ASSERT_EQ(files.size(), 1u);
    QString error;
    EXPECT_EQ(SpooledFileData(files.front(), &error).value_or(QByteArray()), QByteArray("PAGE1\x0CPAGE2"));
    EXPECT_EQ(SpooledFileAttribute(files.front(), kKeyUserData)->text, QStringLiteral("MADE"));
    EXPECT_EQ(SpooledFileAttribute(files.front(), kKeyTotalPages)->integer, 2);
}

TEST_F(HostWrapper, AttributeTheHostRefusesShowsItsMessage)
{
    CAS400 host;
    const cwbOBJ_ParmHandle parameters = host.CreateParameterList();
    EXPECT_EQ(host.SetParameter(parameters, kKeyFile, QStringLiteral("ELEVENCHARS")), 0);
    host.DeleteParameterList(parameters);
    ASSERT_EQ(m_prompts.Texts().size(), 1);
    EXPECT_TRUE(m_prompts.Texts().front().startsWith(QStringLiteral("KWV"))) << m_prompts.Texts().front().toStdString();
}

TEST_F(HostWrapper, NewSpooledFileForAQueueThatIsNotThereFails)
{
    CAS400 host;
    const cwbOBJ_ParmHandle parameters = host.CreateParameterList();
    host.SetParameter(parameters, kKeyOutputQueue, QStringLiteral("NOSUCH"));
    host.SetParameter(parameters, kKeyLibrary, QStringLiteral("KWVD"));
    EXPECT_EQ(host.CreateNewSpooledFile(kSystem, parameters), 0u);
    host.DeleteParameterList(parameters);
    ASSERT_EQ(m_prompts.Texts().size(), 1);
    EXPECT_TRUE(m_prompts.Texts().front().contains(QStringLiteral("NOSUCH")));
}

TEST_F(HostWrapper, HostCcsidOfTheSystem)
{
    HostSystem plain = System(QStringLiteral("PLAIN"), 0);
    Add(plain);
    CAS400 host;
    unsigned long ccsid = 0;
    EXPECT_EQ(host.GetHostCCSID(kSystem, ccsid), 1);
    EXPECT_EQ(ccsid, 285u);
    // No CCSID of its own: the one given for it, and no box.
    EXPECT_EQ(host.GetHostCCSID(QStringLiteral("PLAIN"), ccsid), 1);
    EXPECT_EQ(ccsid, 37u);
    // No system object: nothing shown.
    ccsid = 0;
    EXPECT_EQ(host.GetHostCCSID(QStringLiteral("NOSUCH"), ccsid), 0);
    EXPECT_EQ(ccsid, 0u);
    EXPECT_TRUE(m_prompts.Texts().isEmpty()) << m_prompts.Texts().join(u'|').toStdString();

    // The second step failing shows its messages.
    ASSERT_TRUE(SetInjectedFault("cwbNL_GetHostCCSID", kCwbStoreError, "KWV4003", "Injected.", true));
    EXPECT_EQ(host.GetHostCCSID(kSystem, ccsid), 0);
    EXPECT_EQ(m_prompts.Texts(), QStringList{QStringLiteral("KWV4003: Injected.")});
}

TEST_F(HostWrapper, UserIdOfTheSystem)
{
    CAS400 host;
    QString user = QStringLiteral("left over");
    EXPECT_EQ(host.GetUserId(kSystem, user), 1);
    EXPECT_EQ(user, QStringLiteral("KWVDUSER"));
    EXPECT_EQ(host.GetUserId(QStringLiteral("NOSUCH"), user), 0);
    EXPECT_TRUE(user.isEmpty());
    EXPECT_TRUE(m_prompts.Texts().isEmpty());
}

TEST_F(HostWrapper, ConversionWithSubstitutionsSucceedsWithTheWarning)
{
    CAS400 host;
    const cwbNL_Converter converter = host.CreateConverter(CAS400::kPcCodePage, 37);
    ASSERT_NE(converter, 0u);
    const char16_t text[] = u"A\u4E00";
    char target[8] = {};
    unsigned long converted = 0;
    QString warning;
    EXPECT_EQ(host.TranslateBuffer(converter, reinterpret_cast<const char*>(text), 4, target, sizeof target, &converted,
                                   &warning),
              1);
    EXPECT_EQ(converted, 2u);
    EXPECT_EQ(static_cast<unsigned char>(target[0]), 0xC1);
    EXPECT_FALSE(warning.isEmpty());
    EXPECT_TRUE(m_prompts.Texts().isEmpty());

    // The warning is not shown again with the next failure.
    BOOL cut = FALSE;
    const char16_t longer[] = u"ABCDEFGH";
    EXPECT_EQ(host.TranslateBuffer(converter, reinterpret_cast<const char*>(longer), 16, target, 4, &converted, nullptr,
                                   &cut),
              1);
    EXPECT_TRUE(cut);
    EXPECT_EQ(converted, 4u);
    EXPECT_EQ(host.TranslateBuffer(converter, reinterpret_cast<const char*>(longer), 16, target, 4, &converted), 0);
    ASSERT_EQ(m_prompts.Texts().size(), 1);
    EXPECT_TRUE(m_prompts.Texts().front().startsWith(QStringLiteral("KWV6003: ")))
        << m_prompts.Texts().front().toStdString();
    EXPECT_EQ(host.DeleteConverter(converter), 1);
}

TEST_F(HostWrapper, ConversionToTextReadsTheTargetCodePage)
{
    CAS400 host;
    const cwbNL_Converter converter = host.CreateConverter(285, CAS400::kPcCodePage);
    ASSERT_NE(converter, 0u);
    const char host285[] = "\x5B\xC1\x40"; // "£A "
    QString text;
    EXPECT_EQ(host.TranslateToString(converter, host285, 3, text), 1);
    EXPECT_EQ(text, QStringLiteral("£A "));
    EXPECT_EQ(host.DeleteConverter(converter), 1);
}

TEST_F(HostWrapper, ConverterForACcsidThatCannotBeConvertedIsNone)
{
    CAS400 host;
    EXPECT_EQ(host.CreateConverter(CAS400::kPcCodePage, 924), 0u);
    EXPECT_TRUE(m_prompts.Texts().isEmpty());
}

} // namespace
