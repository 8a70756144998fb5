// Host names made from PC file names.

#include "designer/resources/AS400Name.h"
#include "designer/resources/ResourceClasses.h"

#include <gtest/gtest.h>

TEST(AS400Name, FileNamesBecomeHostNames)
{
    RegisterResourceClasses();
    struct Case
    {
        const char* input;
        const char* expected;
        bool changed;
    };
    const Case cases[] = {
        {"invoice.jvx", "INVOICE", true},
        {"2024 Report", "#2024REP", true},
        {"/home/user/forms/letter.bmp", "LETTER", true},
        {"C:\\Forms\\Logo.BMP", "LOGO", true},
        {"LOGO", "LOGO", false},
        {"averyverylongname", "AVERYVER", true},
        {"A$#@_9", "A$#@_9", false},
        {"äöü", "Default", true},
        {"", "Default", true},
        {"report 7", "REPORT7", true},
        {"A.B.C", "A", true},
        {"ABCDEFGHIJ.K", "ABCDEFGH", true},
        // A dot first is not cut at: it is the first character.
        {".ABC", ".ABC", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        QString name = QString::fromUtf8(c.input);
        EXPECT_EQ(MakeValidAS400Name(name), c.changed ? TRUE : FALSE);
        EXPECT_EQ(name, QString::fromUtf8(c.expected));
    }
}
