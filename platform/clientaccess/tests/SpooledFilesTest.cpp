#include "EmulatedHostFixture.h"

#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/OutputQueues.h"
#include "platform/clientaccess/SpooledFiles.h"

#include "platform/framework/Clock.h"

#include <cstring>

using namespace kwvd::clientaccess;

namespace {

class SpooledFiles : public EmulatedHost
{
protected:
    void SetUp() override
    {
        Add(System(QStringLiteral("KWVDSYS")));
        Library(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"));
        Queue(QStringLiteral("KWVD"), QStringLiteral("QPRINT"));
    }

    static void Queue(const QString& library, const QString& queue)
    {
        QString error;
        ASSERT_TRUE(AddOutputQueue(QStringLiteral("KWVDSYS"), library, queue, &error)) << error.toStdString();
    }

    static void File(const QString& queue, const char* file, const char* user, const char* userData,
                     const QByteArray& data = QByteArrayLiteral("DATA"))
    {
        std::map<int, AttributeValue> attributes;
        attributes[kKeyFile] = {AttributeType::Text, QString::fromLatin1(file), 0, 0};
        attributes[kKeyUser] = {AttributeType::Text, QString::fromLatin1(user), 0, 0};
        attributes[kKeyUserData] = {AttributeType::Text, QString::fromLatin1(userData), 0, 0};
        attributes[kKeyTotalPages] = {AttributeType::Long, {}, CountPages(data), 0};
        attributes[kKeyDate] = {AttributeType::Text, QStringLiteral("1260304"), 0, 0};
        attributes[kKeyTime] = {AttributeType::Text, QStringLiteral("050607"), 0, 0};
        unsigned long number = 0;
        QString error;
        ASSERT_TRUE(AddSpooledFile(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"), queue, attributes, data, &number,
                                   &error))
            << error.toStdString();
    }

    // An open list with the filters given; 0 when it would not open.
    cwbOBJ_ListHandle OpenList(const char* queue, const char* library, const char* user, const char* userData,
                               unsigned* result, cwbSV_ErrHandle errorHandle)
    {
        cwbOBJ_ListHandle list = 0;
        EXPECT_EQ(cwbOBJ_CreateListHandle("kwvdsys", kCwbObjListSplF, &list, errorHandle), kCwbOk);
        EXPECT_EQ(cwbOBJ_SetListFilter(list, kKeyOutputQueue, queue, errorHandle), kCwbOk);
        EXPECT_EQ(cwbOBJ_SetListFilter(list, kKeyLibrary, library, errorHandle), kCwbOk);
        EXPECT_EQ(cwbOBJ_SetListFilter(list, kKeyUser, user, errorHandle), kCwbOk);
        EXPECT_EQ(cwbOBJ_SetListFilter(list, kKeyUserData, userData, errorHandle), kCwbOk);
        *result = cwbOBJ_OpenList(list, errorHandle);
        m_lists.push_back(list);
        return list;
    }

    static std::string Text(cwbOBJ_ObjHandle object, int key)
    {
        char buffer[1024];
        unsigned type = 0;
        EXPECT_EQ(cwbOBJ_GetObjAttr(object, key, buffer, sizeof buffer, nullptr, &type, 0), kCwbOk) << key;
        EXPECT_EQ(type, kCwbObjText) << key;
        return buffer;
    }

    // A number attribute as its type gives it (32-bit or float).
    static double Number(cwbOBJ_ObjHandle object, int key, unsigned* type)
    {
        unsigned char buffer[8];
        EXPECT_EQ(cwbOBJ_GetObjAttr(object, key, buffer, sizeof buffer, nullptr, type, 0), kCwbOk) << key;
        if (*type == kCwbObjLong) {
            std::int32_t value = 0;
            std::memcpy(&value, buffer, sizeof value);
            return value;
        }
        float value = 0;
        std::memcpy(&value, buffer, sizeof value);
        return value;
    }

    // The file names of the list's entries, in its order.
    static std::vector<std::string> Files(cwbOBJ_ListHandle list)
    {
        std::vector<std::string> files;
        unsigned long size = 0;
        EXPECT_EQ(cwbOBJ_GetListSize(list, &size, 0), kCwbOk);
        for (unsigned long i = 0; i < size; ++i) {
            cwbOBJ_ObjHandle object = 0;
            EXPECT_EQ(cwbOBJ_GetObjHandle(list, i, &object, 0), kCwbOk);
            files.push_back(Text(object, kKeyFile));
            EXPECT_EQ(cwbOBJ_DeleteObjHandle(object, 0), kCwbOk);
        }
        return files;
    }

    ~SpooledFiles() override
    {
        for (cwbOBJ_ListHandle list : m_lists)
            cwbOBJ_DeleteListHandle(list, 0);
    }

private:
    std::vector<cwbOBJ_ListHandle> m_lists;
};

using Names = std::vector<std::string>;

TEST_F(SpooledFiles, ListsAreFilteredByQueueLibraryUserAndUserData)
{
    Queue(QStringLiteral("KWVD"), QStringLiteral("OTHER"));
    File(QStringLiteral("QPRINT"), "INVOICE", "JSMITH", "MONTHLY");
    File(QStringLiteral("QPRINT"), "LABELS", "ABROWN", "");
    File(QStringLiteral("OTHER"), "ELSEWHERE", "JSMITH", "MONTHLY");
    File(QStringLiteral("QPRINT"), "STATEMENT", "JSMITH", "WEEKLY");

    struct Case
    {
        const char* name;
        const char* queue;
        const char* library;
        const char* user;
        const char* userData;
        Names files;
    };
    const Case cases[] = {
        {"an empty user lists all users", "QPRINT", "KWVD", "", "", {"INVOICE", "LABELS", "STATEMENT"}},
        {"*ALL lists all users", "qprint", "kwvd", "*ALL", "*ALL", {"INVOICE", "LABELS", "STATEMENT"}},
        {"a user", "QPRINT", "KWVD", "jsmith", "", {"INVOICE", "STATEMENT"}},
        {"a user's data", "QPRINT", "KWVD", "*ALL", "WEEKLY", {"STATEMENT"}},
        {"user data with trailing blanks", "QPRINT", "KWVD", "", "MONTHLY     ", {"INVOICE"}},
        {"user data is compared exactly", "QPRINT", "KWVD", "", "monthly", {}},
        {"every queue of the library", "*ALL", "KWVD", "JSMITH", "MONTHLY", {"ELSEWHERE", "INVOICE"}},
        {"every library", "OTHER", "", "", "", {"ELSEWHERE"}},
    };
    for (const Case& c : cases) {
        unsigned result = 0;
        const cwbOBJ_ListHandle list = OpenList(c.queue, c.library, c.user, c.userData, &result, 0);
        ASSERT_EQ(result, kCwbOk) << c.name;
        EXPECT_EQ(Files(list), c.files) << c.name;
    }
}

TEST_F(SpooledFiles, OpeningAListOfAMissingQueueOrLibraryNamesIt)
{
    struct Case
    {
        const char* name;
        const char* queue;
        const char* library;
        std::string message;
    };
    const Case cases[] = {
        {"missing queue", "NOPE", "KWVD", "KWV3002: Output queue KWVD/NOPE not found."},
        {"missing library", "QPRINT", "nolib", "KWV3001: Library NOLIB not found."},
        {"queue in no library", "NOPE", "*ALL", "KWV3002: Output queue *ALL/NOPE not found."},
    };
    for (const Case& c : cases) {
        const cwbSV_ErrHandle errors = NewErrorHandle();
        unsigned result = 0;
        const cwbOBJ_ListHandle list = OpenList(c.queue, c.library, "*ALL", "", &result, errors);
        EXPECT_EQ(result, kCwbNotFound) << c.name;
        EXPECT_EQ(Messages(errors), std::vector<std::string>{c.message}) << c.name;
        unsigned long size = 0;
        EXPECT_EQ(cwbOBJ_GetListSize(list, &size, 0), kCwbNotOpen) << c.name;
    }
}

TEST_F(SpooledFiles, AListIsASnapshotTakenWhenItOpensInCreationOrder)
{
    File(QStringLiteral("QPRINT"), "ZULU", "JSMITH", "");
    File(QStringLiteral("QPRINT"), "ALPHA", "JSMITH", "");
    unsigned result = 0;
    const cwbOBJ_ListHandle list = OpenList("QPRINT", "KWVD", "", "", &result, 0);
    ASSERT_EQ(result, kCwbOk);
    File(QStringLiteral("QPRINT"), "LATER", "JSMITH", "");
    EXPECT_EQ(Files(list), (Names{"ZULU", "ALPHA"}));

    ASSERT_EQ(cwbOBJ_CloseList(list, 0), kCwbOk);
    unsigned long size = 0;
    EXPECT_EQ(cwbOBJ_GetListSize(list, &size, 0), kCwbNotOpen);
    ASSERT_EQ(cwbOBJ_OpenList(list, 0), kCwbOk);
    EXPECT_EQ(Files(list), (Names{"ZULU", "ALPHA", "LATER"}));
}

TEST_F(SpooledFiles, HandlesOfADeletedListOrReleasedObjectsAreInvalid)
{
    File(QStringLiteral("QPRINT"), "INVOICE", "JSMITH", "");
    unsigned result = 0;
    const cwbOBJ_ListHandle list = OpenList("QPRINT", "KWVD", "", "", &result, 0);
    cwbOBJ_ObjHandle object = 0;
    ASSERT_EQ(cwbOBJ_GetObjHandle(list, 0, &object, 0), kCwbOk);
    cwbOBJ_ObjHandle past = 0;
    EXPECT_EQ(cwbOBJ_GetObjHandle(list, 1, &past, 0), kCwbNotFound);

    ASSERT_EQ(cwbOBJ_DeleteListHandle(list, 0), kCwbOk);
    unsigned long size = 0;
    EXPECT_EQ(cwbOBJ_GetListSize(list, &size, 0), kCwbInvalidHandle);
    EXPECT_EQ(cwbOBJ_GetObjHandle(list, 0, &past, 0), kCwbInvalidHandle);
    EXPECT_EQ(cwbOBJ_SetListFilter(list, kKeyUser, "", 0), kCwbInvalidHandle);
    EXPECT_EQ(cwbOBJ_OpenList(list, 0), kCwbInvalidHandle);
    EXPECT_EQ(cwbOBJ_CloseList(list, 0), kCwbInvalidHandle);
    EXPECT_EQ(cwbOBJ_DeleteListHandle(list, 0), kCwbInvalidHandle);

    // An object handle outlives its list until it is released.
    EXPECT_EQ(Text(object, kKeyFile), "INVOICE");
    ASSERT_EQ(cwbOBJ_DeleteObjHandle(object, 0), kCwbOk);
    char buffer[64];
    EXPECT_EQ(cwbOBJ_GetObjAttr(object, kKeyFile, buffer, sizeof buffer, nullptr, nullptr, 0), kCwbInvalidHandle);
    EXPECT_EQ(cwbOBJ_OpenSplF(object, 0), kCwbInvalidHandle);
    EXPECT_EQ(cwbOBJ_DeleteObjHandle(object, 0), kCwbInvalidHandle);
}

TEST_F(SpooledFiles, EveryFileAnswersEveryKeyWithItsType)
{
    File(QStringLiteral("QPRINT"), "INVOICE", "JSMITH", "MONTHLY", QByteArrayLiteral("ONE\fTWO"));
    unsigned result = 0;
    const cwbOBJ_ListHandle list = OpenList("QPRINT", "KWVD", "", "", &result, 0);
    cwbOBJ_ObjHandle object = 0;
    ASSERT_EQ(cwbOBJ_GetObjHandle(list, 0, &object, 0), kCwbOk);

    struct Case
    {
        int key;
        unsigned type;
        std::string text; // for type 3
        double number;    // for the others
    };
    const Case cases[] = {
        {104, kCwbObjText, "INVOICE", 0},     {62, kCwbObjText, "JSMITH", 0},      {116, kCwbObjText, "MONTHLY", 0},
        {111, kCwbObjLong, "", 2},            {34, kCwbObjText, "1260304", 0},     {110, kCwbObjText, "050607", 0},
        {153, kCwbObjText, "*NO", 0},         {154, kCwbObjText, "*NO", 0},        {55, kCwbObjText, "*DEVD", 0},
        {74, kCwbObjText, "QPRINT", 0},       {73, kCwbObjText, "KWVD", 0},        {79, kCwbObjText, "*ROWCOL", 0},
        {81, kCwbObjFloat, "", 132},          {78, kCwbObjFloat, "", 66},          {76, kCwbObjLong, "", 60},
    };
    for (const Case& c : cases) {
        unsigned type = 0;
        if (c.type == kCwbObjText) {
            EXPECT_EQ(Text(object, c.key), c.text) << c.key;
            continue;
        }
        EXPECT_EQ(Number(object, c.key, &type), c.number) << c.key;
        EXPECT_EQ(type, c.type) << c.key;
    }
    unsigned long needed = 0;
    char name[16];
    ASSERT_EQ(cwbOBJ_GetObjAttr(object, kKeyFile, name, sizeof name, &needed, nullptr, 0), kCwbOk);
    EXPECT_EQ(needed, 8u);

    const cwbSV_ErrHandle errors = NewErrorHandle();
    char buffer[4];
    EXPECT_EQ(cwbOBJ_GetObjAttr(object, 105, buffer, sizeof buffer, nullptr, nullptr, errors), kCwbNotFound);
    EXPECT_EQ(Messages(errors), std::vector<std::string>{"KWV3003: Spooled file 1 has no attribute 105."});
    EXPECT_EQ(cwbOBJ_GetObjAttr(object, kKeyFile, buffer, sizeof buffer, &needed, nullptr, 0), kCwbTargetTooSmall);
    EXPECT_EQ(std::string(buffer), "INV");
    EXPECT_EQ(needed, 8u);
    EXPECT_EQ(cwbOBJ_GetObjAttr(object, kKeyTotalPages, buffer, 2, &needed, nullptr, 0), kCwbTargetTooSmall);
    EXPECT_EQ(cwbOBJ_DeleteObjHandle(object, 0), kCwbOk);
}

TEST_F(SpooledFiles, ReadsDeliverTheLastBytesThenEndOfData)
{
    struct Case
    {
        int size;
        std::vector<std::pair<unsigned, unsigned long>> reads; // result and count, in blocks of 1024
    };
    const Case cases[] = {
        {0, {{kCwbEndOfData, 0}}},
        {1, {{kCwbOk, 1}, {kCwbEndOfData, 0}}},
        {1024, {{kCwbOk, 1024}, {kCwbEndOfData, 0}}},
        {1025, {{kCwbOk, 1024}, {kCwbOk, 1}, {kCwbEndOfData, 0}}},
    };
    for (const Case& c : cases) {
        QByteArray data(c.size, '\0');
        for (int i = 0; i < c.size; ++i)
            data[i] = static_cast<char>(i * 7);
        File(QStringLiteral("QPRINT"), "SIZED", "JSMITH", "", data);
        unsigned result = 0;
        const cwbOBJ_ListHandle list = OpenList("QPRINT", "KWVD", "", "", &result, 0);
        unsigned long size = 0;
        ASSERT_EQ(cwbOBJ_GetListSize(list, &size, 0), kCwbOk);
        cwbOBJ_ObjHandle object = 0;
        ASSERT_EQ(cwbOBJ_GetObjHandle(list, size - 1, &object, 0), kCwbOk);
        ASSERT_EQ(cwbOBJ_OpenSplF(object, 0), kCwbOk) << c.size;
        QByteArray read;
        for (const auto& [expectedResult, expectedCount] : c.reads) {
            char block[1024];
            unsigned long count = 99;
            EXPECT_EQ(cwbOBJ_ReadSplF(object, block, sizeof block, &count, 0), expectedResult) << c.size;
            EXPECT_EQ(count, expectedCount) << c.size;
            read.append(block, static_cast<qsizetype>(std::min<unsigned long>(count, sizeof block)));
        }
        EXPECT_EQ(read, data) << c.size;
        EXPECT_EQ(cwbOBJ_CloseSplF(object, 0), kCwbOk);
        unsigned long count = 0;
        char block[4];
        EXPECT_EQ(cwbOBJ_ReadSplF(object, block, sizeof block, &count, 0), kCwbNotOpen) << c.size;
        EXPECT_EQ(cwbOBJ_DeleteObjHandle(object, 0), kCwbOk);
    }
}

TEST_F(SpooledFiles, AFileRemovedSinceTheSnapshotFailsToOpenWithAMessage)
{
    File(QStringLiteral("QPRINT"), "INVOICE", "JSMITH", "");
    unsigned result = 0;
    const cwbOBJ_ListHandle list = OpenList("QPRINT", "KWVD", "", "", &result, 0);
    cwbOBJ_ObjHandle object = 0;
    ASSERT_EQ(cwbOBJ_GetObjHandle(list, 0, &object, 0), kCwbOk);
    QString error;
    ASSERT_TRUE(RemoveSpooledFile(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"), QStringLiteral("QPRINT"), 1, &error));
    const cwbSV_ErrHandle errors = NewErrorHandle();
    EXPECT_EQ(cwbOBJ_OpenSplF(object, errors), kCwbNotFound);
    EXPECT_EQ(Messages(errors),
              std::vector<std::string>{"KWV3005: Spooled file 1 of output queue KWVD/QPRINT not found."});
    cwbOBJ_DeleteObjHandle(object, 0);
}

TEST_F(SpooledFiles, TheDataTypeOfABlockFollowsItsBytes)
{
    struct Case
    {
        const char* name;
        QByteArray data;
        unsigned type;
    };
    const Case cases[] = {
        // "HELLO WORLD" in EBCDIC, after an absolute vertical move.
        {"EBCDIC text", QByteArray::fromHex("34c401c8c5d3d3d640e6d6d9d3c415"), kCwbObjDataScs},
        {"ASCII text", QByteArrayLiteral("HELLO WORLD\r\nSECOND LINE @ 2\f"), kCwbObjDataUserAscii},
        {"AFP data", QByteArray::fromHex("5a0010d3a8a8000000"), kCwbObjDataAfpds},
        {"ASCII with a byte of 0x80 or above", QByteArray::fromHex("48454c4c4f20d6"), kCwbObjDataScs},
        {"no blanks at all", QByteArrayLiteral("HELLO"), kCwbObjDataScs},
        {"empty", QByteArray(), kCwbObjDataUnknown},
    };
    for (const Case& c : cases) {
        unsigned type = 0;
        EXPECT_EQ(cwbOBJ_AnalyzeSplFData(c.data.constData(), static_cast<unsigned long>(c.data.size()), &type, 0),
                  kCwbOk)
            << c.name;
        EXPECT_EQ(type, c.type) << c.name;
    }
}

TEST_F(SpooledFiles, TotalPagesCountFormFeedsAndTrailingData)
{
    struct Case
    {
        const char* name;
        QByteArray data;
        int pages;
    };
    const Case cases[] = {
        {"no data", QByteArray(), 0},
        {"data without a form feed", QByteArrayLiteral("ONE PAGE"), 1},
        {"a form feed after the last page", QByteArrayLiteral("ONE PAGE\f"), 1},
        {"data after the last form feed", QByteArrayLiteral("ONE\fTWO"), 2},
        {"a form feed alone", QByteArrayLiteral("\f"), 1},
        {"two form feeds", QByteArrayLiteral("\f\f"), 2},
        // EBCDIC: AVPP to line 12 carries 0x0C as its parameter; "A" FF "B".
        {"an SCS parameter byte 0x0C", QByteArray::fromHex("34c40cc10cc2"), 2},
        {"an SCS TRN over a 0x0C", QByteArray::fromHex("35020c0cc10c"), 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CountPages(c.data), c.pages) << c.name;
}

class NewSpooledFiles : public SpooledFiles
{
protected:
    cwbOBJ_ParmHandle Parameters(const char* queue, const char* library)
    {
        cwbOBJ_ParmHandle parameters = 0;
        EXPECT_EQ(cwbOBJ_CreateParmObjHandle(&parameters, 0), kCwbOk);
        if (queue) {
            EXPECT_EQ(cwbOBJ_SetParameter(parameters, kKeyOutputQueue, queue, 0), kCwbOk);
        }
        if (library) {
            EXPECT_EQ(cwbOBJ_SetParameter(parameters, kKeyLibrary, library, 0), kCwbOk);
        }
        m_parameters.push_back(parameters);
        return parameters;
    }

    ~NewSpooledFiles() override
    {
        for (cwbOBJ_ParmHandle parameters : m_parameters)
            cwbOBJ_DeleteParmObjHandle(parameters, 0);
    }

private:
    std::vector<cwbOBJ_ParmHandle> m_parameters;
};

TEST_F(NewSpooledFiles, AppearOnCloseWithUserClockPagesAndTheAttributesSet)
{
    kwvd::FixedClock clock(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC));
    const cwbOBJ_ParmHandle parameters = Parameters("QPRINT", "KWVD");
    const float width = 80;
    const float length = 24;
    const std::int32_t overflow = 23;
    ASSERT_EQ(cwbOBJ_SetParameter(parameters, kKeyFile, "EXPORTED", 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_SetParameter(parameters, kKeyUserData, "MYDATA", 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_SetParameter(parameters, kKeyPageUnit, "*ROWCOL", 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_SetParameter(parameters, kKeyPageWidth, &width, 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_SetParameter(parameters, kKeyPageLength, &length, 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_SetParameter(parameters, kKeyOverflowLine, &overflow, 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_SetParameter(parameters, kKeyCharSet, "697", 0), kCwbOk);

    cwbOBJ_ObjHandle created = 0;
    ASSERT_EQ(cwbOBJ_CreateNewSplF("KWVDSYS", parameters, &created, 0), kCwbOk);
    // Two pages, no form feed after the last; line 1 of each.
    const QByteArray page1 = QByteArray::fromHex("34c00134c401c1c2c3");
    const QByteArray page2 = QByteArray::fromHex("34c00134c401c4c5c6");
    ASSERT_EQ(cwbOBJ_WriteNewSplF(created, page1.constData(), page1.size(), 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_WriteNewSplF(created, "\x0C", 1, 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_WriteNewSplF(created, page2.constData(), page2.size(), 0), kCwbOk);
    EXPECT_TRUE(SpooledFilesOf(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"), QStringLiteral("QPRINT")).empty());
    ASSERT_EQ(cwbOBJ_CloseNewSplF(created, 0), kCwbOk);
    EXPECT_EQ(cwbOBJ_WriteNewSplF(created, "x", 1, 0), kCwbInvalidHandle);
    EXPECT_EQ(cwbOBJ_CloseNewSplF(created, 0), kCwbInvalidHandle);

    unsigned result = 0;
    const cwbOBJ_ListHandle list = OpenList("QPRINT", "KWVD", "", "", &result, 0);
    cwbOBJ_ObjHandle object = 0;
    ASSERT_EQ(cwbOBJ_GetObjHandle(list, 0, &object, 0), kCwbOk);
    EXPECT_EQ(Text(object, kKeyFile), "EXPORTED");
    EXPECT_EQ(Text(object, kKeyUser), "KWVDUSER");
    EXPECT_EQ(Text(object, kKeyUserData), "MYDATA");
    EXPECT_EQ(Text(object, kKeyDate), "1260304");
    EXPECT_EQ(Text(object, kKeyTime), "050607");
    EXPECT_EQ(Text(object, kKeyCharSet), "697");
    EXPECT_EQ(Text(object, kKeyDbcsData), "*NO");
    struct Expected
    {
        int key;
        unsigned type;
        double value;
    };
    for (const Expected& n : {Expected{kKeyTotalPages, kCwbObjLong, 2}, Expected{kKeyPageWidth, kCwbObjFloat, 80},
                              Expected{kKeyPageLength, kCwbObjFloat, 24}, Expected{kKeyOverflowLine, kCwbObjLong, 23}}) {
        unsigned type = 0;
        EXPECT_EQ(Number(object, n.key, &type), n.value) << n.key;
        EXPECT_EQ(type, n.type) << n.key;
    }
    ASSERT_EQ(cwbOBJ_OpenSplF(object, 0), kCwbOk);
    char bytes[64];
    unsigned long count = 0;
    ASSERT_EQ(cwbOBJ_ReadSplF(object, bytes, sizeof bytes, &count, 0), kCwbOk);
    EXPECT_EQ(QByteArray(bytes, static_cast<qsizetype>(count)), page1 + '\x0C' + page2);
    cwbOBJ_CloseSplF(object, 0);
    cwbOBJ_DeleteObjHandle(object, 0);
}

TEST_F(NewSpooledFiles, AreRefusedWithAMessageWithoutAnExistingQueue)
{
    struct Case
    {
        const char* name;
        const char* queue;
        const char* library;
        unsigned result;
        std::string message;
    };
    const Case cases[] = {
        {"missing queue", "NOPE", "KWVD", kCwbNotFound, "KWV3002: Output queue KWVD/NOPE not found."},
        {"missing library", "QPRINT", "NOLIB", kCwbNotFound, "KWV3001: Library NOLIB not found."},
        {"no queue given", nullptr, "KWVD", kCwbInvalidParameter,
         "KWV3008: The output queue of the new spooled file is not given."},
        {"no library given", "QPRINT", nullptr, kCwbInvalidParameter,
         "KWV3008: The output queue of the new spooled file is not given."},
    };
    for (const Case& c : cases) {
        const cwbSV_ErrHandle errors = NewErrorHandle();
        cwbOBJ_ObjHandle created = 0;
        EXPECT_EQ(cwbOBJ_CreateNewSplF("KWVDSYS", Parameters(c.queue, c.library), &created, errors), c.result)
            << c.name;
        EXPECT_EQ(Messages(errors), std::vector<std::string>{c.message}) << c.name;
    }
    cwbOBJ_ObjHandle created = 0;
    const cwbSV_ErrHandle errors = NewErrorHandle();
    EXPECT_EQ(cwbOBJ_CreateNewSplF("NOSYS", Parameters("QPRINT", "KWVD"), &created, errors), kCwbUnknownSystem);
    EXPECT_EQ(MessageCount(errors), 1u);
}

TEST_F(NewSpooledFiles, AttributeListsTakeOnlyTheKeysOfANewFile)
{
    const cwbOBJ_ParmHandle parameters = Parameters(nullptr, nullptr);
    const std::int32_t pages = 5;
    struct Case
    {
        const char* name;
        int key;
        const void* value;
        std::string message;
    };
    const Case cases[] = {
        {"user is the system's", kKeyUser, "SOMEONE", "KWV3006: Attribute 62 cannot be set for a new spooled file."},
        {"pages are counted", kKeyTotalPages, &pages, "KWV3006: Attribute 111 cannot be set for a new spooled file."},
        {"unknown key", 9999, "X", "KWV3006: Attribute 9999 cannot be set for a new spooled file."},
        {"queue name too long", kKeyOutputQueue, "QPRINTQPRINT",
         "KWV3007: Value QPRINTQPRINT of attribute 74 is longer than 10 characters."},
        {"user data too long", kKeyUserData, "THIRTEENCHARS",
         "KWV3007: Value THIRTEENCHARS of attribute 116 is longer than 12 characters."},
    };
    for (const Case& c : cases) {
        const cwbSV_ErrHandle errors = NewErrorHandle();
        EXPECT_EQ(cwbOBJ_SetParameter(parameters, c.key, c.value, errors), kCwbInvalidParameter) << c.name;
        EXPECT_EQ(Messages(errors), std::vector<std::string>{c.message}) << c.name;
    }
    cwbOBJ_ParmHandle deleted = 0;
    ASSERT_EQ(cwbOBJ_CreateParmObjHandle(&deleted, 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_DeleteParmObjHandle(deleted, 0), kCwbOk);
    EXPECT_EQ(cwbOBJ_SetParameter(deleted, kKeyFile, "X", 0), kCwbInvalidHandle);
    EXPECT_EQ(cwbOBJ_DeleteParmObjHandle(deleted, 0), kCwbInvalidHandle);
}

TEST_F(SpooledFiles, AnInjectedFaultReachesTheListAndTheRead)
{
    File(QStringLiteral("QPRINT"), "INVOICE", "JSMITH", "");
    ASSERT_TRUE(SetInjectedFault("cwbOBJ_OpenList", 8002, "KWV4001", "Queue damaged.", true));
    const cwbSV_ErrHandle errors = NewErrorHandle();
    unsigned result = 0;
    const cwbOBJ_ListHandle list = OpenList("QPRINT", "KWVD", "", "", &result, errors);
    EXPECT_EQ(result, 8002u);
    EXPECT_EQ(Messages(errors), std::vector<std::string>{"KWV4001: Queue damaged."});
    ASSERT_EQ(cwbOBJ_OpenList(list, 0), kCwbOk);
    cwbOBJ_ObjHandle object = 0;
    ASSERT_EQ(cwbOBJ_GetObjHandle(list, 0, &object, 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_OpenSplF(object, 0), kCwbOk);
    ASSERT_TRUE(SetInjectedFault("cwbOBJ_ReadSplF", 8008, "", "", true));
    char block[16];
    unsigned long count = 0;
    EXPECT_EQ(cwbOBJ_ReadSplF(object, block, sizeof block, &count, 0), kCwbStoreError);
    EXPECT_EQ(cwbOBJ_ReadSplF(object, block, sizeof block, &count, 0), kCwbOk);
    EXPECT_EQ(count, 4u);
    cwbOBJ_DeleteObjHandle(object, 0);
}

} // namespace
