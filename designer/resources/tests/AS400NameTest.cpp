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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        QString name = QString::fromUtf8(c.input);
        EXPECT_EQ(MakeValidAS400Name(name), c.changed ? TRUE : FALSE);
        EXPECT_EQ(name, QString::fromUtf8(c.expected));
    }
}
