#include "designer/shell/WVDCmdLineInfo.h"

#include <gtest/gtest.h>

namespace {

struct Expected
{
    BOOL tutorial = FALSE;
    BOOL noSplash = FALSE;
    BOOL showSplash = TRUE;
    BOOL embedded = FALSE;
    BOOL automated = FALSE;
    CWVDCmdLineInfo::ShellCommand command = CWVDCmdLineInfo::FileNew;
    const char* file = "";
    const char* printer = "";
    const char* driver = "";
    const char* port = "";
};

struct Case
{
    const char* name;
    QStringList arguments;
    Expected expected;
};

TEST(CommandLine, ParsesTheDesignerSwitchesAndDocuments)
{
    using C = CWVDCmdLineInfo;
    const Case cases[] = {
        {"nothing", {}, {}},
        {"NoSplash", {"/NoSplash"}, {.noSplash = TRUE}},
        {"nosplash lower case", {"/nosplash"}, {.noSplash = TRUE}},
        {"NOSPLASH upper case", {"/NOSPLASH"}, {.noSplash = TRUE}},
        {"dash form", {"-nosplash"}, {.noSplash = TRUE}},
        {"Tutorial", {"/tutorial"}, {.tutorial = TRUE}},
        {"both", {"/Tutorial", "/NoSplash"}, {.tutorial = TRUE, .noSplash = TRUE}},
        {"document", {"form.wvd"}, {.command = C::FileOpen, .file = "form.wvd"}},
        {"absolute path is a document",
         {"/home/ann/forms/invoice.wvd"},
         {.command = C::FileOpen, .file = "/home/ann/forms/invoice.wvd"}},
        {"path named like a switch prefix", {"/pages"}, {.command = C::FileOpen, .file = "/pages"}},
        {"unknown switch is a document", {"/Verbose"}, {.command = C::FileOpen, .file = "/Verbose"}},
        {"document after a switch",
         {"/NoSplash", "a.wvd"},
         {.noSplash = TRUE, .command = C::FileOpen, .file = "a.wvd"}},
        {"Embedding", {"/Embedding"}, {.showSplash = FALSE, .embedded = TRUE}},
        {"Automation", {"-Automation"}, {.showSplash = FALSE, .automated = TRUE}},
        {"RegServer", {"/RegServer"}, {.command = C::AppRegister}},
        {"Register", {"/register"}, {.command = C::AppRegister}},
        {"UnregServer", {"/UnregServer"}, {.command = C::AppUnregister}},
        {"Unregister", {"/Unregister"}, {.command = C::AppUnregister}},
        {"print", {"/p", "a.wvd"}, {.command = C::FilePrint, .file = "a.wvd"}},
        {"print to",
         {"/pt", "a.wvd", "Laser", "drv", "lp0"},
         {.command = C::FilePrintTo, .file = "a.wvd", .printer = "Laser", .driver = "drv", .port = "lp0"}},
        {"dde ignored", {"/dde"}, {}},
        {"lone slash is a document", {"/"}, {.command = C::FileOpen, .file = "/"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CWVDCmdLineInfo info;
        info.ParseCommandLine(c.arguments);
        EXPECT_EQ(info.m_bTutorial, c.expected.tutorial);
        EXPECT_EQ(info.m_bNoSplash, c.expected.noSplash);
        EXPECT_EQ(info.m_bShowSplash, c.expected.showSplash);
        EXPECT_EQ(info.m_bRunEmbedded, c.expected.embedded);
        EXPECT_EQ(info.m_bRunAutomated, c.expected.automated);
        EXPECT_EQ(info.m_nShellCommand, c.expected.command);
        EXPECT_EQ(info.m_strFileName, QString::fromUtf8(c.expected.file));
        EXPECT_EQ(info.m_strPrinterName, QString::fromUtf8(c.expected.printer));
        EXPECT_EQ(info.m_strDriverName, QString::fromUtf8(c.expected.driver));
        EXPECT_EQ(info.m_strPortName, QString::fromUtf8(c.expected.port));
    }
}

} // namespace
