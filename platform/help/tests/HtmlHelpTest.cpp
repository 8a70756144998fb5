#include "platform/help/HtmlHelp.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <vector>

namespace {

class HtmlHelpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("index.html"));
        QFile file(m_file);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<html><body><h1 id=\"contents\">Contents</h1>"
                   "<h2 id=\"topic-98333\">Tutorial</h2></body></html>");
        kwvd::SetUrlOpener([this](const QUrl& url) {
            m_opened.push_back(url);
            return m_openerWorks;
        });
    }
    void TearDown() override { kwvd::SetUrlOpener({}); }

    QTemporaryDir m_dir;
    QString m_file;
    std::vector<QUrl> m_opened;
    bool m_openerWorks = true;
};

TEST_F(HtmlHelpTest, OpensTheTopicOfAContextIdAsAnAnchor)
{
    ASSERT_TRUE(kwvd::HtmlHelp(m_file, HH_HELP_CONTEXT, 98333));
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_TRUE(m_opened[0].isLocalFile());
    EXPECT_EQ(QDir::cleanPath(m_opened[0].toLocalFile()), QDir::cleanPath(m_file));
    EXPECT_EQ(m_opened[0].fragment(), QStringLiteral("topic-98333"));
}

TEST_F(HtmlHelpTest, TableOfContentsOpensThePageItself)
{
    ASSERT_TRUE(kwvd::HtmlHelp(m_file, HH_DISPLAY_TOC, 0));
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_TRUE(m_opened[0].fragment().isEmpty());
}

TEST_F(HtmlHelpTest, FailuresOpenNothing)
{
    struct Case
    {
        const char* name;
        QString file;
        UINT command;
        DWORD data;
    };
    const Case cases[] = {
        {"topic without an anchor", m_file, HH_HELP_CONTEXT, 12345},
        {"missing file", m_dir.filePath(QStringLiteral("none.html")), HH_DISPLAY_TOC, 0},
        {"a folder", m_dir.path(), HH_DISPLAY_TOC, 0},
        {"empty path", QString(), HH_DISPLAY_TOC, 0},
        {"unknown command", m_file, 0x99, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_opened.clear();
        EXPECT_FALSE(kwvd::HtmlHelp(c.file, c.command, c.data));
        EXPECT_TRUE(m_opened.empty());
    }
}

TEST_F(HtmlHelpTest, AnOpenerThatFailsIsReported)
{
    m_openerWorks = false;
    EXPECT_FALSE(kwvd::HtmlHelp(m_file, HH_DISPLAY_TOC, 0));
    EXPECT_EQ(m_opened.size(), 1u);
}

} // namespace
