#include "platform/ui/ConsolePromptService.h"

#include "platform/ui/PromptHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string ReadBack(std::FILE* stream)
{
    std::rewind(stream);
    std::string text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, stream) != nullptr)
        text += buffer;
    return text;
}

// A program without a screen writes its messages out and never waits: each
// question gets the answer of a user who backs out.
TEST(ConsolePrompts, MessagesGoToTheStreamAndQuestionsAreBackedOutOf)
{
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    ConsolePromptService prompts(stream);

    struct Case
    {
        const char* name;
        UINT type;
        int expected;
    };
    const Case cases[] = {
        {"OK box", MB_OK, IDOK},
        {"Yes/No gives No", MB_YESNO, IDNO},
        {"Yes/No/Cancel gives Cancel", MB_YESNOCANCEL, IDCANCEL},
        {"OK/Cancel gives Cancel", MB_OKCANCEL, IDCANCEL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(prompts.MessageBox(QStringLiteral("Printer \"LP1\" was not found."), QStringLiteral("Print"), c.type),
                  c.expected)
            << c.name;

    EXPECT_EQ(prompts.GetSaveFileName({}), QString());
    EXPECT_EQ(prompts.ChooseFromList({}), -1);
    EXPECT_EQ(ReadBack(stream), "Print: Printer \"LP1\" was not found.\n"
                                "Print: Printer \"LP1\" was not found.\n"
                                "Print: Printer \"LP1\" was not found.\n"
                                "Print: Printer \"LP1\" was not found.\n");
    std::fclose(stream);
}

} // namespace
