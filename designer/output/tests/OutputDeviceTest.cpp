// The device record's identity fields, its type rules and the type table.

#include "designer/output/OutputDevice.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDeviceTypeTable.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>

namespace {

TEST(OutputDeviceTypeTable, RowsStandInDisplayOrder)
{
    struct Row
    {
        int type;
        const char* code;
        const char* title;
    };
    const Row expected[] = {
        {0, "*SCS", "Print (SCS)"}, {1, "*AFP", "Print (AFP)"}, {2, "*HPT", "Print (HPT)"}, {4, "*EML", "Email"},
        {3, "*FAX", "Fax"},         {6, "*FIL", "File"},        {7, "*FIL", "DocStore"},    {5, "*DSP", "Display"},
    };
    size_t i = 0;
    for (; OutputDeviceTypeTable[i].type >= 0; ++i) {
        SCOPED_TRACE(i);
        ASSERT_LT(i, std::size(expected));
        EXPECT_EQ(OutputDeviceTypeTable[i].type, expected[i].type);
        EXPECT_STREQ(OutputDeviceTypeTable[i].code, expected[i].code);
        EXPECT_STREQ(OutputDeviceTypeTable[i].title, expected[i].title);
    }
    EXPECT_EQ(i, std::size(expected));
    EXPECT_EQ(OutputDeviceTypeTable[i].type, -1);
}

TEST(OutputDeviceTypeTable, CodeLookups)
{
    struct Case
    {
        const char* name;
        const char* code;
        int type;
    };
    const Case fromCode[] = {
        {"first row", "*SCS", 0},
        {"e-mail before fax", "*EML", 4},
        {"shared code gives the file type", "*FIL", 6},
        {"display last", "*DSP", 5},
        {"lower case is not a code", "*fil", -1},
        {"empty text does not hit the end row", "", -1},
        {"unknown code", "*PDF", -1},
    };
    for (const Case& c : fromCode) {
        SCOPED_TRACE(c.name);
        int type = 99;
        COutputDevice::GetTypeFromCode(QString::fromLatin1(c.code), type);
        EXPECT_EQ(type, c.type);
    }

    const Case toCode[] = {
        {"print SCS", "*SCS", 0},
        {"fax", "*FAX", 3},
        {"document store shares the file code", "*FIL", 7},
        {"type outside the table keeps the text", "keep", 8},
        {"negative type keeps the text", "keep", -1},
    };
    for (const Case& c : toCode) {
        SCOPED_TRACE(c.name);
        QString code = QStringLiteral("keep");
        COutputDevice::GetTypeCode(c.type, code);
        EXPECT_EQ(code, QString::fromLatin1(c.code));
    }
}

TEST(OutputDevice, DisplayName)
{
    struct Case
    {
        const char* name;
        int type;
        const char* description;
        const char* expected;
    };
    const Case cases[] = {
        {"SCS printer without description", 0, "", "PRT01 (Print (SCS))"},
        {"document store without description", 7, "", "PRT01 (DocStore)"},
        {"e-mail without description", 4, "", "PRT01 (Email)"},
        {"description wins", 3, "Fax to head office", "Fax to head office"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const COutputDevice device(c.type, QStringLiteral("PRT01"), QString::fromUtf8(c.description));
        QString text = QStringLiteral("old");
        device.GetDisplayName(text);
        EXPECT_EQ(text, QString::fromUtf8(c.expected));
    }
}

TEST(OutputDevice, TextSettersCutAndReportChange)
{
    COutputDevice device;
    EXPECT_TRUE(device.SetName(QStringLiteral("PRINTER0123456")));
    EXPECT_EQ(device.GetName(), QStringLiteral("PRINTER012"));
    // The same name after cutting is no change.
    EXPECT_FALSE(device.SetName(QStringLiteral("PRINTER012XYZ")));
    // Names keep their case; host names are upper-cased by the manager.
    EXPECT_TRUE(device.SetName(QStringLiteral("printer012")));

    const QString longText(40, u'd');
    EXPECT_TRUE(device.SetDescription(longText));
    EXPECT_EQ(device.GetDescription(), longText.left(35));
    EXPECT_FALSE(device.SetDescription(longText));

    EXPECT_TRUE(device.SetFileExitProgram(QStringLiteral("myprogram12")));
    EXPECT_EQ(device.GetFileExitProgram(), QStringLiteral("MYPROGRAM1"));
    EXPECT_FALSE(device.SetFileExitProgram(QStringLiteral("MYPROGRAM1")));
}

TEST(OutputDevice, SetTypeRules)
{
    struct Case
    {
        const char* name;
        int start;
        const char* program; // exit program before the change
        int value;
        BOOL result;
        int type;
        const char* programAfter;
        const char* libraryAfter;
    };
    const Case cases[] = {
        {"same type", 0, "", 0, FALSE, 0, "", ""},
        {"above the range", 0, "", 8, FALSE, 0, "", ""},
        {"below the range", 2, "", -1, FALSE, 2, "", ""},
        {"to fax", 0, "", 3, TRUE, 3, "", ""},
        {"document store gets the store program", 0, "", 7, TRUE, 7, "STOREDOC", "*DOC"},
        {"document store keeps its own program", 6, "MYEXIT", 7, TRUE, 7, "MYEXIT", ""},
        {"file type gets no program", 0, "", 6, TRUE, 6, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDevice device;
        device.SetType(c.start);
        device.SetFileExitProgram(QString::fromLatin1(c.program));
        EXPECT_EQ(device.SetType(c.value), c.result);
        EXPECT_EQ(device.GetType(), c.type);
        EXPECT_EQ(device.GetFileExitProgram(), QString::fromLatin1(c.programAfter));
        EXPECT_EQ(device.GetFileExitProgramLibrary(), QString::fromLatin1(c.libraryAfter));
    }
}

TEST(OutputDevice, ConstructorWithValuesUsesTheSetters)
{
    const COutputDevice store(7, QStringLiteral("ARCHIVE-DEVICE"), QStringLiteral("Archive"));
    EXPECT_EQ(store.GetType(), 7);
    EXPECT_EQ(store.GetName(), QStringLiteral("ARCHIVE-DE"));
    EXPECT_EQ(store.GetDescription(), QStringLiteral("Archive"));
    EXPECT_EQ(store.GetFileExitProgram(), QStringLiteral("STOREDOC"));
    EXPECT_EQ(store.GetFileExitProgramLibrary(), QStringLiteral("*DOC"));
}

TEST(OutputDevice, RegisteredUnderItsSchema)
{
    RegisterOutputClasses();
    struct Case
    {
        const char* name;
        UINT schema;
    };
    const Case cases[] = {
        {"COutputDevice", 20},
        {"COutputDeviceManager", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CRuntimeClass* runtimeClass = CRuntimeClass::FromName(c.name);
        ASSERT_NE(runtimeClass, nullptr);
        EXPECT_EQ(runtimeClass->GetStoredSchema(), c.schema);
        EXPECT_TRUE(runtimeClass->IsVersionable());
        std::unique_ptr<CObject> object(runtimeClass->CreateObject());
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->GetRuntimeClass(), runtimeClass);
    }
}

} // namespace
