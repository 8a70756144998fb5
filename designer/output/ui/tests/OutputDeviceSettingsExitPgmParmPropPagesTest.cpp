// The exit program pages without their widgets: which values each page
// shows and stores with their limits, the file pages loading once and the
// document-store pages at every activation with labels from the document
// type's keys, placeholders of Address children, and what a document-store
// page holds kept in the copy when the user leaves it.

#include "designer/output/ui/OutputDeviceSettingsExitPgmParmPropPages.h"

#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/output/ui/tests/OutputDeviceSettingsExitPgmParmPropPagesTesting.h"
#include "designer/output/ui/tests/OutputDeviceSettingsGeneralPageTesting.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Page = CExitProgramParametersPage;
using kwvd::Rect;

constexpr int kFileType = 6;
constexpr int kDocStoreType = COutputDevice::kDocStoreType;

QString Parameter(const COutputDevice& device, int n)
{
    QString value;
    device.GetParameter(n, value);
    return value;
}

// ---- the file pages ------------------------------------------------------

class FileExitPgmPagesTest : public ::testing::Test
{
protected:
    FileExitPgmPagesTest()
    {
        program.SetDevice(&device);
        program.OnInitDialog();
        shortParameters.SetDevice(&device);
        shortParameters.OnInitDialog();
    }

    OutputStringsRegistered registered;
    ScopedPromptAnswers prompts;
    COutputDevice device{kFileType, QStringLiteral("FILEDEV"), QString()};
    COutputDeviceSettingsFileExitPgmPropPage program;
    COutputDeviceSettingsFileExitPgmParmPropPage shortParameters;
};

TEST_F(FileExitPgmPagesTest, EachPageShowsItsValuesUnderFixedLabels)
{
    EXPECT_EQ(program.GetTitle(), QStringLiteral("Exit Program"));
    EXPECT_EQ(program.GetLabel(Page::IDC_EXIT_PROGRAM), QStringLiteral("Exit Program:"));
    EXPECT_EQ(program.GetLabel(Page::ParameterEditId(1)), QStringLiteral("Parameter 1:"));
    EXPECT_EQ(program.GetLabel(Page::ParameterEditId(10)), QStringLiteral("Parameter 10:"));
    EXPECT_EQ(program.FirstParameter(), 1);
    EXPECT_EQ(program.LastParameter(), 10);
    EXPECT_EQ(program.GetProgramPlace(), Page::ProgramPlace::Top);

    EXPECT_EQ(shortParameters.GetTitle(), QStringLiteral("Parameters (Short)"));
    EXPECT_EQ(shortParameters.GetLabel(Page::IDC_SHORT_PARAMETERS_GROUP),
              QStringLiteral("Short Parameters (max 64 chars)"));
    EXPECT_EQ(shortParameters.GetLabel(Page::ParameterEditId(20)), QStringLiteral("Parameter 20:"));
    EXPECT_EQ(shortParameters.FirstParameter(), 11);
    EXPECT_EQ(shortParameters.LastParameter(), 20);
    EXPECT_EQ(shortParameters.GetProgramPlace(), Page::ProgramPlace::None);
    EXPECT_EQ(shortParameters.FindControl(Page::IDC_EXIT_PROGRAM), nullptr) << "no program on page 147";
}

TEST_F(FileExitPgmPagesTest, ValuesAreStoredWithTheirLimits)
{
    // A refused value leaves the device as it was; 0 is no limit message.
    struct Case
    {
        const char* name;
        Page* page;
        int id;
        QString typed;
        int parameter; // 0: the program, -1: the library
        QString stored;
        int refusedLimit;
    };
    const QString long132(132, u'L');
    const QString short64(64, u's');
    const Case cases[] = {
        {"program upper case", &program, Page::IDC_EXIT_PROGRAM, QStringLiteral("myexit"), 0, QStringLiteral("MYEXIT"),
         0},
        {"library upper case", &program, Page::IDC_EXIT_PROGRAM_LIBRARY, QStringLiteral("mylib"), -1,
         QStringLiteral("MYLIB"), 0},
        {"an 11-character program", &program, Page::IDC_EXIT_PROGRAM, QStringLiteral("ABCDEFGHIJK"), 0, {}, 10},
        {"100 characters in parameter 5", &program, Page::ParameterEditId(5), QString(100, u'p'), 5, QString(100, u'p'),
         0},
        {"132 characters in parameter 10", &program, Page::ParameterEditId(10), long132, 10, long132, 0},
        {"133 characters in parameter 1", &program, Page::ParameterEditId(1), long132 + u'x', 1, {}, 132},
        {"64 characters in parameter 12", &shortParameters, Page::ParameterEditId(12), short64, 12, short64, 0},
        {"65 characters in parameter 12", &shortParameters, Page::ParameterEditId(12), short64 + u'x', 12, {}, 64},
        {"parameter 19 on the file sheet", &shortParameters, Page::ParameterEditId(19), QStringLiteral("nineteen"), 19,
         QStringLiteral("nineteen"), 0},
        {"parameter 20 on the file sheet", &shortParameters, Page::ParameterEditId(20), QStringLiteral("twenty"), 20,
         QStringLiteral("twenty"), 0},
    };
    const auto stored = [this](int parameter) {
        return parameter == 0    ? device.GetFileExitProgram()
               : parameter == -1 ? device.GetFileExitProgramLibrary()
                                 : Parameter(device, parameter);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.Renew();
        const QString before = stored(c.parameter);
        c.page->LoadFromDevice();
        c.page->Control(c.id).text = c.typed;
        EXPECT_EQ(c.page->SaveToDevice(), c.refusedLimit != 0 ? FALSE : TRUE);
        if (c.refusedLimit != 0) {
            EXPECT_EQ(prompts.Texts(),
                      QStringList{DialogCheckText(DialogCheckMessage::MaxChars, QString::number(c.refusedLimit))});
            EXPECT_EQ(c.page->FailedControl(), c.id);
            EXPECT_EQ(stored(c.parameter), before);
        } else {
            EXPECT_TRUE(prompts.Texts().isEmpty());
            EXPECT_EQ(stored(c.parameter), c.stored);
        }
    }
    // Stored again unchanged, nothing changes.
    program.LoadFromDevice();
    EXPECT_FALSE(program.SaveToDevice());
}

TEST_F(FileExitPgmPagesTest, LoadOnceWhenTheWindowIsMadeAndOnlyTheirType)
{
    ASSERT_TRUE(device.SetParameter(3, QStringLiteral("three")));
    program.OnSetActive();
    EXPECT_TRUE(program.Control(Page::ParameterEditId(3)).text.isEmpty()) << "activation does not reload";
    program.OnInitDialog();
    EXPECT_EQ(program.Control(Page::ParameterEditId(3)).text, QStringLiteral("three"));

    COutputDevice docStore(kDocStoreType, QStringLiteral("STORE"), QString());
    COutputDeviceSettingsFileExitPgmPropPage other;
    other.SetDevice(&docStore);
    EXPECT_EQ(other.GetDevice(), nullptr);
    EXPECT_FALSE(other.SaveToDevice()) << "without a device nothing is stored";
    COutputDeviceSettingsDocStoreExitPgmPropPage docStorePage;
    docStorePage.SetDevice(&device);
    EXPECT_EQ(docStorePage.GetDevice(), nullptr) << "a file device on a document-store page";
}

// ---- the document-store pages --------------------------------------------

// "ParameterN:" for first to last.
std::vector<QString> Unnamed(int first, int last)
{
    std::vector<QString> labels;
    for (int n = first; n <= last; ++n)
        labels.push_back(QStringLiteral("Parameter%1:").arg(n));
    return labels;
}

std::vector<QString> operator+(std::vector<QString> a, const std::vector<QString>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Both pages on the sheet's copy with the document's device manager.
class DocStoreParametersPagesTest : public DocStoreDeviceFixture
{
protected:
    void SetUp() override
    {
        DocStoreDeviceFixture::SetUp();
        for (CDocStoreParametersPage* page : Pages()) {
            page->SetDeviceManager(Devices());
            page->SetDevice(&copy);
            page->OnInitDialog();
        }
    }

    std::vector<CDocStoreParametersPage*> Pages() { return {&parameters, &shortParameters}; }

    ScopedPromptAnswers prompts;
    COutputDeviceSettingsDocStoreExitPgmPropPage parameters;
    COutputDeviceSettingsDocStoreExitPgmParmPropPage shortParameters;
};

TEST_F(DocStoreParametersPagesTest, LabelsNameTheDocumentTypesKeysThenTheParameters)
{
    struct Case
    {
        const char* name;
        const char* store;
        const char* docType;
        bool withManager;
        std::vector<QString> page175;
        std::vector<QString> page178;
    };
    std::vector<QString> twelveKeys;
    for (int n = 1; n <= 12; ++n)
        twelveKeys.push_back(QStringLiteral("Key%1:").arg(n));
    const Case cases[] = {
        {"three keys in sort order", "ARCHIVE", "INV", true,
         std::vector<QString>{"Customer:", "Invoice date:", "Amount:"} + Unnamed(4, 10), Unnamed(11, 18)},
        {"another document type", "ARCHIVE", "CREDIT", true, std::vector<QString>{"Credit note:"} + Unnamed(2, 10),
         Unnamed(11, 18)},
        {"keys past the tenth on the short page",
         "ARCHIVE",
         "MANY",
         true,
         {twelveKeys.begin(), twelveKeys.begin() + 10},
         std::vector<QString>{"Key11:", "Key12:"} + Unnamed(13, 18)},
        {"a document type the store lacks", "ARCHIVE", "GONE", true, Unnamed(1, 10), Unnamed(11, 18)},
        {"a store the catalogue lacks", "OTHER", "INV", true, Unnamed(1, 10), Unnamed(11, 18)},
        {"without the device manager", "ARCHIVE", "INV", false, Unnamed(1, 10), Unnamed(11, 18)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        copy.SetDocStoreSelection(QLatin1String(c.store), QLatin1String(c.docType), 1);
        for (CDocStoreParametersPage* page : Pages()) {
            page->SetDeviceManager(c.withManager ? Devices() : nullptr);
            // As the sheet does when the user comes to the page.
            page->OnSetActive();
        }
        EXPECT_EQ(parameters.labels, c.page175);
        EXPECT_EQ(shortParameters.labels, c.page178);
        EXPECT_EQ(parameters.Control(parameters.ParameterLabelId(1)).text, c.page175.front()) << "pushed";
        EXPECT_EQ(shortParameters.Control(shortParameters.ParameterLabelId(18)).text, c.page178.back()) << "pushed";
    }
    EXPECT_EQ(parameters.ParameterLabelId(1), 1464);
    EXPECT_EQ(parameters.ParameterLabelId(10), 1473);
    EXPECT_EQ(shortParameters.ParameterLabelId(11), 1475);
    EXPECT_EQ(shortParameters.ParameterLabelId(18), 1482);
}

TEST_F(DocStoreParametersPagesTest, BeforeTheFirstActivationTheLabelsAreTheDialogsTexts)
{
    COutputDeviceSettingsDocStoreExitPgmPropPage fresh;
    fresh.SetDeviceManager(Devices());
    fresh.SetDevice(&copy);
    fresh.OnInitDialog();
    EXPECT_EQ(fresh.Control(1464).text, QStringLiteral("Parameter 1:"));
    EXPECT_TRUE(fresh.Control(Page::ParameterEditId(1)).text.isEmpty()) << "filled on activation";
    fresh.OnSetActive();
    EXPECT_EQ(fresh.Control(1464).text, QStringLiteral("Customer:"));
}

TEST_F(DocStoreParametersPagesTest, ParametersNineteenAndTwentyStayWithTheGeneralPage)
{
    EXPECT_EQ(shortParameters.LastParameter(), 18);
    EXPECT_EQ(shortParameters.FindControl(Page::ParameterEditId(19)), nullptr);
    EXPECT_EQ(shortParameters.GetTitle(), QStringLiteral("Parameters (Short)"));
    EXPECT_EQ(parameters.GetTitle(), QStringLiteral("Parameters"));
    EXPECT_EQ(shortParameters.GetProgramPlace(), Page::ProgramPlace::Bottom);

    for (CDocStoreParametersPage* page : Pages())
        page->OnSetActive();
    EXPECT_EQ(shortParameters.exitProgram, QStringLiteral("STOREDOC"));
    EXPECT_EQ(shortParameters.exitProgramLibrary, QStringLiteral("*DOC"));
    shortParameters.Control(Page::ParameterEditId(18)).text = QStringLiteral("eighteen");
    shortParameters.Control(Page::IDC_EXIT_PROGRAM).text = QStringLiteral("mystore");
    EXPECT_TRUE(shortParameters.SaveToDevice());
    EXPECT_EQ(Parameter(copy, 18), QStringLiteral("eighteen"));
    EXPECT_EQ(copy.GetFileExitProgram(), QStringLiteral("MYSTORE"));
    EXPECT_EQ(Parameter(copy, 19), QStringLiteral("Invoices"));
    EXPECT_EQ(Parameter(copy, 20), QStringLiteral("ARCHIVE,INV,1,KWVD"));
    EXPECT_FALSE(parameters.SaveToDevice()) << "nothing typed, nothing changed";
}

TEST_F(DocStoreParametersPagesTest, ABoundParameterShowsItsPlaceholder)
{
    CFormAddressElement* address = AddAddress(output, COutputDevice::ParameterSettingId(2), Rect(10, 4, 30, 5));
    ASSERT_NE(address, nullptr);
    parameters.OnSetActive();
    EXPECT_EQ(parameters.Control(Page::ParameterEditId(3)).text, QStringLiteral("?004,010,020"));
    EXPECT_FALSE(parameters.SaveToDevice()) << "the placeholder stored unchanged";
    Rect cells;
    address->GetCells(cells);
    EXPECT_EQ(cells, Rect(10, 4, 30, 5));

    parameters.Control(Page::ParameterEditId(3)).text = QStringLiteral("?006,010,020");
    EXPECT_TRUE(parameters.SaveToDevice());
    EXPECT_EQ(Parameter(copy, 3), QStringLiteral("?006,010,020")) << "the copy shows the new position";
}

TEST_F(DocStoreParametersPagesTest, TypedTextIsKeptAfterLeavingAndComingBack)
{
    for (CDocStoreParametersPage* page : Pages())
        page->OnSetActive();
    parameters.Control(Page::ParameterEditId(5)).text = QStringLiteral("typed on 175");
    ASSERT_TRUE(parameters.OnKillActive());
    EXPECT_EQ(Parameter(copy, 5), QStringLiteral("typed on 175")) << "in the copy";
    EXPECT_TRUE(Parameter(*device, 5).isEmpty()) << "the document's device waits for OK";

    // The general page changes the document type meanwhile.
    ASSERT_TRUE(copy.SetDocStoreSelection(QStringLiteral("ARCHIVE"), QStringLiteral("CREDIT"), 1));
    parameters.OnSetActive();
    EXPECT_EQ(parameters.Control(Page::ParameterEditId(5)).text, QStringLiteral("typed on 175"));
    EXPECT_EQ(parameters.labels.front(), QStringLiteral("Credit note:"));

    // A value that fails its check keeps the page and stores nothing.
    shortParameters.Control(Page::ParameterEditId(12)).text = QString(65, u'x');
    shortParameters.Control(Page::ParameterEditId(11)).text = QStringLiteral("eleven");
    EXPECT_FALSE(shortParameters.OnKillActive());
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_EQ(shortParameters.FailedControl(), Page::ParameterEditId(12));
    EXPECT_TRUE(Parameter(copy, 11).isEmpty());
}

} // namespace
