#include "designer/controls/ConditionalWaitCursor.h"

#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

class ConditionalWaitCursorTest : public ::testing::Test
{
protected:
    ScopedPromptAnswers m_prompts;
};

TEST_F(ConditionalWaitCursorTest, NotAskedForLeavesTheCursorAlone)
{
    {
        CConditionalWaitCursor cursor(FALSE);
        EXPECT_FALSE(cursor.IsShowing());
        EXPECT_EQ(m_prompts->WaitCursorDepth(), 0);
    }
    EXPECT_EQ(m_prompts->WaitCursorShowCount(), 0);
    EXPECT_EQ(m_prompts->WaitCursorDepth(), 0);
}

TEST_F(ConditionalWaitCursorTest, AskedForShowsUntilTheScopeEnds)
{
    {
        CConditionalWaitCursor cursor(TRUE);
        EXPECT_TRUE(cursor.IsShowing());
        EXPECT_EQ(m_prompts->WaitCursorDepth(), 1);
        EXPECT_EQ(m_prompts->WaitCursorShowCount(), 1);
    }
    EXPECT_EQ(m_prompts->WaitCursorDepth(), 0);
}

TEST_F(ConditionalWaitCursorTest, EndsWhenAnExceptionLeavesTheScope)
{
    EXPECT_THROW(
        {
            CConditionalWaitCursor cursor(TRUE);
            throw std::runtime_error("edit failed");
        },
        std::runtime_error);
    EXPECT_EQ(m_prompts->WaitCursorDepth(), 0);
}

TEST_F(ConditionalWaitCursorTest, NestedScopesShowTheCursorOnce)
{
    {
        CConditionalWaitCursor outer(TRUE);
        CConditionalWaitCursor skipped(FALSE);
        {
            CConditionalWaitCursor inner(TRUE);
            EXPECT_EQ(m_prompts->WaitCursorDepth(), 2);
        }
        EXPECT_EQ(m_prompts->WaitCursorDepth(), 1);
    }
    EXPECT_EQ(m_prompts->WaitCursorDepth(), 0);
    EXPECT_EQ(m_prompts->WaitCursorShowCount(), 1);
}

TEST(ConditionalWaitCursorThreshold, ShowsOnlyAboveFifteenElements)
{
    struct Case
    {
        qsizetype count;
        BOOL shows;
    };
    const Case cases[] = {{0, FALSE}, {15, FALSE}, {16, TRUE}, {500, TRUE}};
    for (const Case& c : cases)
        EXPECT_EQ(CConditionalWaitCursor::ShowsFor(c.count), c.shows) << c.count << " elements";
}

} // namespace
