// Objects a reader deleted cannot be referred to: damaged WVD files,
// clipboard streams and master files whose later references point at an
// object its owner let go during the read (or at one owned twice) are
// refused with one message, leave the master lists as they were and free
// everything they read. Run under the sanitize preset, a use after free, a
// double delete or a leak in any row fails the test program.

#include "designer/document/ServerItem.h"
#include "designer/output/OutputDevice.h"
#include "designer/resources/fonts/AS400FontLib.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Document.h"
#include "platform/ui/DocumentPrompts.h"
#include "tests/support/JvxDocumentFixture.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeData>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <set>

namespace {

enum class Reader {
    WvdOpen,      // File > Open
    WvdOpenTwice, // the same file opened again after the first failure
    Paste,        // a paste or drop of the "KWVD Designer Src" stream
    MasterDevices,
    MasterFonts,
};

struct Case
{
    const char* name;
    const char* file;
    Reader reader;
    // Each open's (or the load's) message; %1: the path of the file read.
    const char* message;
    // How a question the read asks before it meets the damage begins;
    // null when it asks none.
    const char* question = nullptr;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

QString DataPath(const char* file)
{
    return QStringLiteral(KWVD_TEST_DATA_DIR "/damaged/") + QString::fromLatin1(file);
}

QString WithPath(const char* message, const QString& path)
{
    return QString::fromUtf8(message).replace(QStringLiteral("%1"), path);
}

QStringList DeviceNames()
{
    QStringList names;
    if (const CObList* list = COutputDeviceManager::GetMasterList())
        for (const CObject* object : *list)
            names.append(static_cast<const COutputDevice*>(object)->GetName());
    return names;
}

QStringList FontDescriptions()
{
    QStringList names;
    for (const CObject* object : *CFontManager::GetMasterFontList())
        names.append(static_cast<const CAS400Font*>(object)->GetDescription());
    for (const CObject* object : *CFontManager::GetFontLibraryList())
        names.append(QStringLiteral("library ") + static_cast<const CAS400FontLib*>(object)->GetName());
    return names;
}

bool HoldsEachOnce(const CObList& list)
{
    std::set<const CObject*> seen;
    for (const CObject* object : list)
        if (!seen.insert(object).second)
            return false;
    return true;
}

class DeletedObjectReference : public ::testing::TestWithParam<Case>
{
protected:
    void SetUp() override
    {
        previousPrompter = SetDocumentPrompter(nullptr);
        InstallDocumentPrompts();
    }
    void TearDown() override
    {
        SetDocumentPrompter(previousPrompter);
        // The environment's fonts entered the master list with no manager
        // alive (the master-file rows make none): the last manager to go
        // frees the list.
        {
            const CFontManager lastFonts;
        }
    }

    WvdTestEnvironment env;

private:
    std::shared_ptr<DocumentPrompter> previousPrompter;
};

void OpenAndExpectRefusal(WvdTestEnvironment& env, const Case& c, int times)
{
    const QString path = DataPath(c.file);
    CDesignerDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    const QStringList devicesBefore = DeviceNames();
    const QStringList fontsBefore = FontDescriptions();
    for (int i = 0; i < times; ++i) {
        env.prompts->ClearRecorded();
        EXPECT_FALSE(doc.OnOpenDocument(path)) << c.name << ", open " << i + 1;
        QStringList prompts = env.PromptTexts();
        if (c.question != nullptr && !prompts.isEmpty()) {
            EXPECT_TRUE(prompts.front().startsWith(QString::fromUtf8(c.question)))
                << c.name << ": " << prompts.front().toStdString();
            prompts.removeFirst();
        }
        EXPECT_EQ(prompts, QStringList{WithPath(c.message, path)})
            << c.name << ", open " << i + 1 << ": " << env.PromptTexts().join(u'|').toStdString();
        // The failed file leaves nothing in the lists saved at exit.
        EXPECT_EQ(DeviceNames(), devicesBefore) << c.name << ", open " << i + 1;
        EXPECT_EQ(FontDescriptions(), fontsBefore) << c.name << ", open " << i + 1;
        EXPECT_TRUE(doc.GetPathName().isEmpty()) << c.name;
    }
}

TEST_P(DeletedObjectReference, IsRefusedWithOneMessage)
{
    const Case& c = GetParam();
    const QString source = DataPath(c.file);
    const Bytes bytes = ReadFileBytes(source);
    ASSERT_FALSE(bytes.empty()) << source.toStdString();

    switch (c.reader) {
    case Reader::WvdOpen:
        OpenAndExpectRefusal(env, c, 1);
        break;
    case Reader::WvdOpenTwice:
        OpenAndExpectRefusal(env, c, 2);
        break;
    case Reader::Paste: {
        CDesignerDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        const int elementsBefore = static_cast<int>(doc.GetElementList().GetCount());
        env.prompts->ClearRecorded();
        QMimeData data;
        data.setData(QString::fromLatin1(kDesignerSrcFormat), ToByteArray(bytes));
        {
            // Inside a change, as the panes paste and drop.
            CDocChangeGuard change(&doc);
            CServerItem item(&doc);
            EXPECT_FALSE(item.LoadFromDataObject(&data)) << c.name;
            EXPECT_TRUE(item.TakeElements().empty()) << c.name;
        }
        EXPECT_EQ(static_cast<int>(doc.GetElementList().GetCount()), elementsBefore) << c.name;
        EXPECT_EQ(env.PromptTexts(), QStringList{}) << env.PromptTexts().join(u'|').toStdString();
        break;
    }
    case Reader::MasterDevices: {
        const QString path = env.prefs.MasterOutputDeviceFileV2;
        ASSERT_TRUE(WriteFileBytes(path, bytes));
        {
            COutputDeviceManager manager;
            ASSERT_NE(COutputDeviceManager::GetMasterList(), nullptr);
            EXPECT_TRUE(HoldsEachOnce(*COutputDeviceManager::GetMasterList()));
            EXPECT_EQ(env.PromptTexts(), QStringList{WithPath(c.message, path)})
                << env.PromptTexts().join(u'|').toStdString();
            env.prompts->ClearRecorded();
        }
        // The last manager's save keeps the damaged file aside, as it was.
        EXPECT_EQ(ReadFileBytes(path + QStringLiteral(".damaged")), bytes);
        EXPECT_EQ(env.PromptTexts().size(), 1) << env.PromptTexts().join(u'|').toStdString();
        break;
    }
    case Reader::MasterFonts: {
        const QString path = CFontManager::MasterFontFilePath();
        ASSERT_TRUE(WriteFileBytes(path, bytes));
        env.prompts->ClearRecorded();
        CFontManager::LoadMasterFontFile();
        EXPECT_TRUE(HoldsEachOnce(*CFontManager::GetMasterFontList()));
        EXPECT_EQ(env.PromptTexts(), QStringList{WithPath(c.message, path)})
            << env.PromptTexts().join(u'|').toStdString();
        // The save keeps the damaged file aside, as it was, and what it
        // writes reads back without a repetition.
        env.prompts->ClearRecorded();
        CFontManager::SaveMasterFontFile();
        EXPECT_EQ(ReadFileBytes(path + QStringLiteral(".damaged")), bytes);
        EXPECT_EQ(env.PromptTexts().size(), 1) << env.PromptTexts().join(u'|').toStdString();
        env.prompts->ClearRecorded();
        CFontManager::LoadMasterFontFile();
        EXPECT_TRUE(HoldsEachOnce(*CFontManager::GetMasterFontList()));
        EXPECT_EQ(env.PromptTexts(), QStringList{}) << env.PromptTexts().join(u'|').toStdString();
        // Frees the lists: the next test reads its own file.
        CFontManager::SaveMasterFontFile();
        break;
    }
    }
}

const Case kCases[] = {
    {"font record the font manager let go, referred to again", "wvd-uaf-font-record.wvd", Reader::WvdOpen,
     "%1 has a bad format.", "Font  Italic Wide2  478420pt was not found. Would you like to add it"},
    {"device equal to a master one referred to again, on a second open", "wvd-uaf-device-second-open.wvd",
     Reader::WvdOpenTwice, "%1 contains an unexpected object."},
    {"spooled pages cut off in the middle", "wvd-leak-spooled-pages.wvd", Reader::WvdOpen,
     "Unexpected end of file while reading %1."},
    {"container child deleted and listed again", "clipboard-uaf-src-stream.bin", Reader::Paste, nullptr},
    {"master device file with a repeated reference", "master-device-repeated-ref.dat", Reader::MasterDevices,
     "Error reading master output device file: %1."},
    {"master font file with a repeated reference", "master-font-repeated-ref.dat", Reader::MasterFonts,
     "Error reading master font file: %1"},
};

INSTANTIATE_TEST_SUITE_P(Files, DeletedObjectReference, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.file; *p != '\0' && *p != '.'; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

// A device of the file that replaces a same-named master device without
// users goes again when the open fails, and the master device comes back.
TEST_F(DeletedObjectReference, FailedOpenPutsBackTheMasterDeviceItReplaced)
{
    Bytes stored;
    {
        CDesignerDoc source;
        ASSERT_TRUE(source.OnNewDocument());
        BuildRichDocument(source);
        stored = StoreDocument(source);
    }
    const QString path = env.folder.filePath(QStringLiteral("cut.wvd"));
    // Cut in the element tree, after the devices were read.
    ASSERT_TRUE(WriteFileBytes(path, Bytes(stored.begin(), stored.end() - 40)));

    CDesignerDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    COutputDevice* fax = COutputDeviceManager::FindMasterByName(QStringLiteral("FAX1"));
    ASSERT_NE(fax, nullptr);
    // No longer equal to the file's FAX1, which will replace it.
    ASSERT_NE(fax->GetCopies(), 7);
    fax->SetCopies(7);
    const QStringList before = DeviceNames();

    env.prompts->ClearRecorded();
    EXPECT_FALSE(doc.OnOpenDocument(path));
    EXPECT_EQ(env.PromptTexts(), QStringList{WithPath("Unexpected end of file while reading %1.", path)})
        << env.PromptTexts().join(u'|').toStdString();
    EXPECT_EQ(DeviceNames(), before);
    fax = COutputDeviceManager::FindMasterByName(QStringLiteral("FAX1"));
    ASSERT_NE(fax, nullptr);
    EXPECT_EQ(fax->GetCopies(), 7);
}

} // namespace
