// The settings commands of the device manager with scripted windows: which
// window is asked for, the working copy, OK and Cancel, the users checked
// again, and Address children that move only when the edit ends with OK.

#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "tests/support/OutputAddressFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using kwvd::Rect;

// An Output element that notes when it is told to check itself.
class NotingOutputElement : public CFormOutputElement
{
public:
    NotingOutputElement(CDesignerDoc* doc, std::vector<const CFormOutputElement*>& log)
        : CFormOutputElement(doc), m_log(log)
    {}

    void Revalidate(int mode) override
    {
        m_log.push_back(this);
        CFormOutputElement::Revalidate(mode);
    }

private:
    std::vector<const CFormOutputElement*>& m_log;
};

// A settings window whose user is a script: it edits the window's copy (or
// the device given, for a window without one) and answers OK or Cancel.
class ScriptedWindow : public IOutputDeviceSettingsWindow
{
public:
    using Script = std::function<BOOL(COutputDevice& edited)>;

    ScriptedWindow(bool ownCopy, Script script, std::vector<std::string>& calls)
        : m_ownCopy(ownCopy), m_script(std::move(script)), m_calls(calls)
    {}
    ~ScriptedWindow() override { m_calls.push_back("destroyed"); }

    COutputDevice* GetDeviceCopy() override { return m_ownCopy ? &m_copy : nullptr; }
    void SetDevice(COutputDevice* device) override
    {
        m_calls.push_back("device given");
        m_given = device;
    }
    void AddPages() override
    {
        m_calls.push_back("pages");
        // The pages are added to a copy that is already filled.
        if (m_ownCopy)
            m_copiedName = m_copy.GetName();
    }
    BOOL DoModal() override
    {
        m_calls.push_back("modal");
        return m_script(m_ownCopy ? m_copy : *m_given);
    }

    QString m_copiedName;

private:
    bool m_ownCopy;
    Script m_script;
    std::vector<std::string>& m_calls;
    COutputDevice m_copy;
    COutputDevice* m_given = nullptr;
};

class SettingsCommandTest : public OutputAddressFixture
{
protected:
    void SetUp() override
    {
        OutputAddressFixture::SetUp();
        m_previous = SetOutputDeviceSettingsWindowFactory(
            [this](QWidget*, int type,
                   const OutputDeviceSettingsContext& context) -> std::unique_ptr<IOutputDeviceSettingsWindow> {
                requested.push_back(type);
                given = context;
                auto window = std::make_unique<ScriptedWindow>(type != kDisplayType, script, calls);
                return window;
            });
    }

    void TearDown() override
    {
        SetOutputDeviceSettingsWindowFactory(m_previous);
        OutputAddressFixture::TearDown();
    }

    NotingOutputElement* AddNotingOutput(int deviceIndex)
    {
        auto* output = new NotingOutputElement(doc.get(), revalidated);
        EXPECT_EQ(doc->AddElement(output, FALSE, nullptr), output);
        // A new element is on the default device already.
        if (deviceIndex != 0) {
            EXPECT_TRUE(output->SetOutputDevice(deviceIndex));
        }
        return output;
    }

    static constexpr int kDisplayType = 5;

    ScriptedWindow::Script script = [](COutputDevice&) { return TRUE; };
    std::vector<int> requested;
    std::vector<std::string> calls;
    std::vector<const CFormOutputElement*> revalidated;
    OutputDeviceSettingsContext given;

private:
    OutputDeviceSettingsWindowFactory m_previous;
};

TEST_F(SettingsCommandTest, NoDeviceOpensNoWindow)
{
    const int fax = AddDevice(QStringLiteral("FAX01"), 3);
    EXPECT_FALSE(Devices()->EditSettings(nullptr, nullptr));
    EXPECT_FALSE(Devices()->EditDeviceSettings(fax + 1, nullptr));
    EXPECT_FALSE(Devices()->EditDeviceSettings(-1, nullptr));
    // An emptied slot.
    Devices()->DetachDevice(Devices()->GetDevice(fax));
    EXPECT_FALSE(Devices()->EditDeviceSettings(fax, nullptr));
    EXPECT_TRUE(requested.empty());
}

TEST_F(SettingsCommandTest, TheWindowIsAskedForByTheDevicesTypeWithTheDocumentsContext)
{
    for (int type = 0; type <= COutputDevice::kMaxType; ++type) {
        SCOPED_TRACE(type);
        const int index = AddDevice(QStringLiteral("DEV%1").arg(type), type);
        calls.clear();
        EXPECT_TRUE(Devices()->EditDeviceSettings(index, nullptr));
        ASSERT_FALSE(requested.empty());
        EXPECT_EQ(requested.back(), type);
        EXPECT_EQ(given.xmlDocument, Devices()->GetXmlDocumentFlag());
        EXPECT_EQ(given.deviceManager, Devices());
        EXPECT_EQ(given.docStoreManager, doc->GetDocStoreManager());
        if (type == kDisplayType)
            EXPECT_EQ(calls, (std::vector<std::string>{"device given", "pages", "modal", "destroyed"}));
        else
            EXPECT_EQ(calls, (std::vector<std::string>{"pages", "modal", "destroyed"}));
    }
}

TEST_F(SettingsCommandTest, IndexZeroEditsTheDefaultDevice)
{
    script = [](COutputDevice& copy) { return copy.SetUserData(QStringLiteral("MONTHLY")); };
    EXPECT_TRUE(Devices()->EditDeviceSettings(0, nullptr));
    EXPECT_EQ(Devices()->GetDefaultDevice()->GetUserData(), QStringLiteral("MONTHLY"));
}

TEST_F(SettingsCommandTest, OkCopiesBackAndChecksEveryUserInOrder)
{
    const int index = AddDevice(QStringLiteral("PRT01"), 0);
    COutputDevice* device = Devices()->GetDevice(index);
    NotingOutputElement* first = AddNotingOutput(index);
    NotingOutputElement* second = AddNotingOutput(index);
    // A user of another device is left alone.
    AddNotingOutput(0);

    struct Case
    {
        const char* name;
        ScriptedWindow::Script script;
        const char* userData;
    };
    const Case cases[] = {
        {"a changed value", [](COutputDevice& copy) { return copy.SetUserData(QStringLiteral("WEEKLY")); }, "WEEKLY"},
        {"no change at all", [](COutputDevice&) { return TRUE; }, "WEEKLY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        script = c.script;
        revalidated.clear();
        EXPECT_TRUE(Devices()->EditSettings(nullptr, device));
        EXPECT_EQ(device->GetUserData(), QString::fromLatin1(c.userData));
        EXPECT_EQ(revalidated, (std::vector<const CFormOutputElement*>{first, second}));
        EXPECT_EQ(device->GetUsers(), (std::vector<CFormOutputElement*>{first, second}));
    }
}

TEST_F(SettingsCommandTest, CancelChangesNothingAndChecksNobody)
{
    const int index = AddDevice(QStringLiteral("MAIL01"), 4);
    COutputDevice* device = Devices()->GetDevice(index);
    AddNotingOutput(index);
    QString copiedSubject;
    script = [&](COutputDevice& copy) {
        copy.SetSubject(QStringLiteral("Your invoice"));
        copy.SetName(QStringLiteral("OTHER"));
        return FALSE;
    };
    EXPECT_FALSE(Devices()->EditSettings(nullptr, device));
    QString subject;
    device->GetSubject(subject);
    EXPECT_TRUE(subject.isEmpty());
    EXPECT_EQ(device->GetName(), QStringLiteral("MAIL01"));
    EXPECT_TRUE(revalidated.empty());
}

TEST_F(SettingsCommandTest, TheCopyStartsAsTheDeviceWithItsUsers)
{
    const int index = AddDevice(QStringLiteral("FILE01"), 6);
    COutputDevice* device = Devices()->GetDevice(index);
    device->SetFileExtension(QStringLiteral("CSV"));
    CFormOutputElement* user = AddNotingOutput(index);
    script = [&](COutputDevice& copy) {
        EXPECT_NE(&copy, device);
        EXPECT_EQ(copy.GetType(), 6);
        EXPECT_EQ(copy.GetFileExtension(), QStringLiteral("CSV"));
        EXPECT_EQ(copy.GetUsers(), (std::vector<CFormOutputElement*>{user}));
        return FALSE;
    };
    Devices()->EditSettings(nullptr, device);
}

TEST_F(SettingsCommandTest, TheDisplayWindowEditsTheDeviceItself)
{
    const int index = AddDevice(QStringLiteral("DSP01"), kDisplayType);
    COutputDevice* device = Devices()->GetDevice(index);
    AddNotingOutput(index);
    script = [&](COutputDevice& edited) {
        EXPECT_EQ(&edited, device);
        return TRUE;
    };
    EXPECT_TRUE(Devices()->EditSettings(nullptr, device));
    EXPECT_EQ(revalidated.size(), 1U);
}

// The Address children the copy's setters would move stay where they are
// while the window is open; OK moves them, in the order the changes were
// made, Cancel never.
class SettingsAddressTest : public SettingsCommandTest
{
protected:
    void SetUp() override
    {
        SettingsCommandTest::SetUp();
        index = AddDevice(QStringLiteral("FAX01"), 3);
        device = Devices()->GetDevice(index);
        output = AddNotingOutput(index);
        firstPage = AddAddress(output, AddressFieldCode::FirstPage, Rect(5, 3, 15, 4));
        from = AddAddress(output, AddressFieldCode::From, Rect(2, 8, 12, 9));
        ASSERT_NE(firstPage, nullptr);
        ASSERT_NE(from, nullptr);
    }

    int index = 0;
    COutputDevice* device = nullptr;
    CFormOutputElement* output = nullptr;
    CFormAddressElement* firstPage = nullptr;
    CFormAddressElement* from = nullptr;
};

TEST_F(SettingsAddressTest, TheCopyShowsWhatItWouldDoAndTheElementsWaitForOk)
{
    struct Case
    {
        const char* name;
        BOOL ok;
        Rect firstPage;
        const char* from;
    };
    const Case cases[] = {
        {"cancelled", FALSE, Rect(5, 3, 15, 4), "?008,002,010"},
        {"accepted", TRUE, Rect(7, 6, 12, 7), "?009,004,006,D"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        script = [&](COutputDevice& copy) {
            EXPECT_TRUE(copy.SetFirstPageColumn(7));
            EXPECT_TRUE(copy.SetFirstPageLine(6));
            EXPECT_TRUE(copy.SetFirstPageWidth(5));
            EXPECT_TRUE(copy.SetFrom(QStringLiteral("?009,004,006,D")));
            // The copy answers with the noted state ...
            EXPECT_EQ(copy.GetFirstPageColumn(), 7);
            EXPECT_EQ(copy.GetFirstPageLine(), 6);
            EXPECT_EQ(copy.GetFirstPageWidth(), 5);
            QString text;
            copy.GetFrom(text);
            EXPECT_EQ(text, QStringLiteral("?009,004,006,D"));
            // ... while the elements have not moved.
            EXPECT_EQ(firstPage->GetAddressCells(), Rect(5, 3, 15, 4));
            EXPECT_EQ(from->GetAddressCells(), Rect(2, 8, 12, 9));
            EXPECT_FALSE(from->GetDeleteFlag());
            return c.ok;
        };
        EXPECT_EQ(Devices()->EditSettings(nullptr, device), c.ok);
        EXPECT_EQ(firstPage->GetAddressCells(), c.firstPage);
        QString text;
        device->GetFrom(text);
        EXPECT_EQ(text, QString::fromLatin1(c.from));
        EXPECT_FALSE(device->IsRecordingAddresses());
        EXPECT_EQ(device->GetFirstPageColumn(), c.firstPage.left);
    }
}

TEST_F(SettingsAddressTest, ChangesOfOneFieldApplyInTheirOrder)
{
    // The column moves the child keeping its width; the width is then set
    // from the new left side.
    script = [](COutputDevice& copy) {
        copy.SetFirstPageWidth(2);
        copy.SetFirstPageColumn(20);
        copy.SetFirstPageText(QStringLiteral("INVOICE"));
        return TRUE;
    };
    EXPECT_TRUE(Devices()->EditSettings(nullptr, device));
    EXPECT_EQ(firstPage->GetAddressCells(), Rect(20, 3, 22, 4));
    EXPECT_EQ(device->GetFirstPageText(), QStringLiteral("INVOICE"));
}

TEST_F(SettingsAddressTest, APlainTextOrAnUnboundFieldIsStoredNotNoted)
{
    script = [](COutputDevice& copy) {
        // Not a placeholder: the text is the device's own.
        EXPECT_TRUE(copy.SetFrom(QStringLiteral("Head office")));
        // No child of that id: stored.
        EXPECT_TRUE(copy.SetTo(QStringLiteral("?001,001,005")));
        EXPECT_TRUE(copy.SetDestinationColumn(9));
        return TRUE;
    };
    EXPECT_TRUE(Devices()->EditSettings(nullptr, device));
    QString text;
    device->GetTo(text);
    EXPECT_EQ(text, QStringLiteral("?001,001,005"));
    EXPECT_EQ(device->GetDestinationColumn(), 9);
    // A bound field keeps showing its child.
    device->GetFrom(text);
    EXPECT_EQ(text, QStringLiteral("?008,002,010"));
    EXPECT_EQ(from->GetAddressCells(), Rect(2, 8, 12, 9));
}

TEST_F(SettingsAddressTest, FirstPagePlaceholderTakesNoDeleteFlag)
{
    device->DropRecordedAddresses();
    COutputDevice copy(device);
    copy.StartAddressRecording();
    EXPECT_TRUE(copy.SetAddressFromPlaceholder(AddressFieldCode::FirstPage, QStringLiteral("?004,006,003,D")));
    QString text;
    EXPECT_TRUE(copy.FormatAddressPlaceholder(AddressFieldCode::FirstPage, text));
    EXPECT_EQ(text, QStringLiteral("?004,006,003"));
    EXPECT_FALSE(copy.SetAddressFromPlaceholder(AddressFieldCode::FirstPage, QStringLiteral("?4,6")));
    EXPECT_FALSE(copy.SetAddressCells(AddressFieldCode::To, Rect(1, 1, 2, 2)));
    copy.DropRecordedAddresses();
    EXPECT_TRUE(copy.FormatAddressPlaceholder(AddressFieldCode::FirstPage, text));
    EXPECT_EQ(text, QStringLiteral("?003,005,010"));
    EXPECT_EQ(firstPage->GetAddressCells(), Rect(5, 3, 15, 4));
}

} // namespace
