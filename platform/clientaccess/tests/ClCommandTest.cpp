#include "platform/clientaccess/ClCommand.h"

#include <gtest/gtest.h>

using namespace kwvd::clientaccess;

namespace {

// A parsed command written back as NAME KEYWORD=[value] [value]..., so one
// string shows the whole parse.
std::string Shape(const ClCommand& command)
{
    QString shape = command.name;
    for (const ClParameter& parameter : command.parameters) {
        shape += u' ';
        if (!parameter.keyword.isEmpty())
            shape += parameter.keyword + u'=';
        shape += u'[' + parameter.value + u']';
    }
    return shape.toStdString();
}

std::string Elements(const QString& value)
{
    QString error;
    const auto elements = SplitClElements(value, &error);
    if (!elements)
        return "error: " + error.toStdString();
    QString shape;
    for (const ClElement& element : *elements)
        shape += (element.quoted ? u'"' + element.text + u'"' : u'<' + element.text + u'>');
    return shape.toStdString();
}

} // namespace

TEST(ClCommand, ParsesKeywordsPositionalValuesStringsAndNesting)
{
    struct Case
    {
        const char* name;
        const char* text;
        const char* shape;
    };
    const Case cases[] = {
        {"positional name", "ADDLIBLE kwvd", "ADDLIBLE [KWVD]"},
        {"keyword, blanks around", "  addlible   LIB( kwvd )  ", "ADDLIBLE LIB=[KWVD]"},
        {"qualified name and list", "CALL PGM(KWVD/PCWVDCL) PARM(INVOICE KWVD)",
         "CALL PGM=[KWVD/PCWVDCL] PARM=[INVOICE KWVD]"},
        {"positional list", "CALL PCWVDCL (A B)", "CALL [PCWVDCL] [A B]"},
        {"nested command", "SBMJOB CMD(CRTWVD OUTQ(KWVD/QPRINT) MOUTQ())",
         "SBMJOB CMD=[CRTWVD OUTQ(KWVD/QPRINT) MOUTQ()]"},
        {"string keeps its case and blanks", "CALL PGM(X) PARM('It''s (open' b)",
         "CALL PGM=[X] PARM=['It''s (open' B]"},
        {"special values", "CRTWVD SFILE(*SLTSPL) SPLSTS(*HLD)", "CRTWVD SFILE=[*SLTSPL] SPLSTS=[*HLD]"},
        {"empty value", "CRTWVD MOUTQ()", "CRTWVD MOUTQ=[]"},
    };
    for (const Case& c : cases) {
        QString error;
        const auto command = ParseClCommand(QString::fromUtf8(c.text), &error);
        ASSERT_TRUE(command) << c.name << ": " << error.toStdString();
        EXPECT_EQ(Shape(*command), c.shape) << c.name;
    }
}

TEST(ClCommand, RefusesMalformedTextAndStillNamesTheCommand)
{
    struct Case
    {
        const char* name;
        const char* text;
        const char* error;
        const char* commandName;
    };
    const Case cases[] = {
        {"unclosed keyword", "CALL PGM(KWVD/PCWVDCL PARM(X)", "unbalanced parenthesis", "CALL"},
        {"closing too many", "CALL PGM(X))", "unbalanced parenthesis", "CALL"},
        {"stray closing", "CALL ) PGM(X)", "unbalanced parenthesis", "CALL"},
        {"unclosed positional list", "CALL X (A", "unbalanced parenthesis", "CALL"},
        {"unterminated string", "CALL PGM(X) PARM('A)", "unterminated string", "CALL"},
        {"apostrophe hides the parenthesis", "CALL PGM(X) PARM(')')", "", "CALL"},
        {"keyword twice", "ADDLIBLE LIB(A) LIB(B)", "keyword LIB given more than once", "ADDLIBLE"},
        {"nothing", "   ", "no command given", ""},
        {"no name", "(A)", "no command name before \"(\"", ""},
        {"glued to its value", "CALL(X)", "unexpected \"(\" after the command name", "CALL"},
        {"values glued together", "CALL PGM(X)PARM(Y)", "unexpected \"P\"", "CALL"},
        {"stray character", "CALL PGM(X) =", "unexpected \"=\"", "CALL"},
    };
    for (const Case& c : cases) {
        QString error;
        QString name;
        const auto command = ParseClCommand(QString::fromUtf8(c.text), &error, &name);
        EXPECT_EQ(command.has_value(), *c.error == '\0') << c.name;
        if (!command) {
            EXPECT_EQ(error.toStdString(), c.error) << c.name;
        }
        EXPECT_EQ(name.toStdString(), c.commandName) << c.name;
    }
}

TEST(ClCommand, SplitsAValueIntoElements)
{
    EXPECT_EQ(Elements(QStringLiteral("INVOICE KWVD")), "<INVOICE><KWVD>");
    EXPECT_EQ(Elements(QStringLiteral("  'two words'  x ")), "\"two words\"<X>");
    EXPECT_EQ(Elements(QStringLiteral("'It''s'")), "\"It's\"");
    EXPECT_EQ(Elements(QStringLiteral("''")), "\"\"");
    EXPECT_EQ(Elements(QStringLiteral("A (B C) D")), "<A><(B C)><D>");
    EXPECT_EQ(Elements(QString()), "");
    EXPECT_EQ(Elements(QStringLiteral("'open")), "error: unterminated string");
    EXPECT_EQ(Elements(QStringLiteral("A)")), "error: unbalanced parenthesis");
    EXPECT_EQ(Elements(QStringLiteral("'A'B")), "error: unexpected \"B\"");
}

TEST(ClCommand, QualifiedNames)
{
    struct Case
    {
        const char* text;
        bool valid;
        const char* library;
        const char* object;
    };
    const Case cases[] = {
        {"kwvd/pcwvdcl", true, "KWVD", "PCWVDCL"},
        {"PCWVDCL", true, "", "PCWVDCL"},
        {"*LIBL/PCWVDCL", true, "*LIBL", "PCWVDCL"},
        {"A/B/C", false, "", ""},
        {"KWVD/", false, "", ""},
        {"/PGM", false, "", ""},
        {"TOOLONGNAME1/PGM", false, "", ""},
        {"KWVD/1PGM", false, "", ""},
        {"*ALL/PGM", false, "", ""},
    };
    for (const Case& c : cases) {
        const auto name = ParseQualifiedName(QString::fromUtf8(c.text));
        ASSERT_EQ(name.has_value(), c.valid) << c.text;
        if (name) {
            EXPECT_EQ(name->library.toStdString(), c.library) << c.text;
            EXPECT_EQ(name->object.toStdString(), c.object) << c.text;
        }
    }
}
