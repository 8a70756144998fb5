#include "platform/ui/HelpPrompt.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(HelpPrompt, ContextScopesNestAndRestore)
{
    SetHelpPromptContext(0);
    {
        const HelpPromptContextScope outer(0x30005);
        EXPECT_EQ(HelpPromptContext(), 0x30005u);
        {
            const HelpPromptContextScope inner(0x30007);
            EXPECT_EQ(HelpPromptContext(), 0x30007u);
        }
        EXPECT_EQ(HelpPromptContext(), 0x30005u);
    }
    EXPECT_EQ(HelpPromptContext(), 0u);
}

TEST(HelpPrompt, RequestsGoToTheInstalledHandlerOnly)
{
    const HelpRequestHandler earlier = SetHelpRequestHandler({});
    HelpRequest request;
    request.contextId = 12;
    EXPECT_FALSE(SendHelpRequest(request));

    std::vector<DWORD> seen;
    SetHelpRequestHandler([&](const HelpRequest& r) { seen.push_back(r.contextId); });
    EXPECT_TRUE(SendHelpRequest(request));
    EXPECT_EQ(seen, std::vector<DWORD>{12});
    SetHelpRequestHandler(earlier);
}

} // namespace
