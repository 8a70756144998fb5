#include "designer/output/ui/OutputDeviceSettingsExitPgmParmPropPagesView.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

using Page = CExitProgramParametersPage;

// Room for a good part of a long parameter.
constexpr int kParameterWidth = 280;

// Leaving the page first checks it through its widgets, which shows a
// refusal and focuses its control; then the page stores into the copy.
class CDocStoreParametersSheetPage : public COutputDevicePropPageSheetPage
{
public:
    using COutputDevicePropPageSheetPage::COutputDevicePropPageSheetPage;

    bool OnKillActive() override
    {
        if (!COutputDevicePropPageSheetPage::OnKillActive())
            return false;
        return !View() || static_cast<CDocStoreParametersPage&>(Model()).OnKillActive();
    }
};

template <class DocStorePage>
std::unique_ptr<COutputDevicePropPageSheetPage> MakeDocStoreSheetPage(COutputDevice* device,
                                                                      COutputDeviceManager* deviceManager)
{
    auto model = std::make_unique<DocStorePage>();
    model->SetDeviceManager(deviceManager);
    model->SetDevice(device);
    return std::make_unique<CDocStoreParametersSheetPage>(
        std::move(model), [](COutputDevicePropPage& page, QWidget* parent) {
            return new CExitProgramParametersPageView(static_cast<DocStorePage&>(page), parent);
        });
}

} // namespace

CExitProgramParametersPageView::CExitProgramParametersPageView(Page& model, QWidget* parent)
    : COutputDevicePropPageView(model, parent)
{
    auto* layout = new QVBoxLayout(this);
    const auto addProgram = [&] {
        auto* program = new QFormLayout;
        program->addRow(Label(Page::IDC_EXIT_PROGRAM), UpperEdit(Page::IDC_EXIT_PROGRAM, Page::kProgramLimit));
        program->addRow(Label(Page::IDC_EXIT_PROGRAM_LIBRARY),
                        UpperEdit(Page::IDC_EXIT_PROGRAM_LIBRARY, Page::kProgramLimit));
        layout->addLayout(program);
    };
    if (model.GetProgramPlace() == Page::ProgramPlace::Top)
        addProgram();

    // The short parameters stand in a group that names their limit.
    QGroupBox* shortGroup =
        model.FirstParameter() > Page::kLastLongParameter ? Group(Page::IDC_SHORT_PARAMETERS_GROUP) : nullptr;
    auto* rows = shortGroup ? new QFormLayout(shortGroup) : new QFormLayout;
    rows->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int n = model.FirstParameter(); n <= model.LastParameter(); ++n) {
        const int labelId = model.ParameterLabelId(n);
        QLabel* label = labelId != 0 ? StaticText(labelId) : Label(Page::ParameterEditId(n));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QLineEdit* edit = Edit(Page::ParameterEditId(n), Page::ParameterLimit(n));
        edit->setMinimumWidth(kParameterWidth);
        rows->addRow(label, edit);
    }
    if (shortGroup)
        layout->addWidget(shortGroup);
    else
        layout->addLayout(rows);

    if (model.GetProgramPlace() == Page::ProgramPlace::Bottom)
        addProgram();
    layout->addStretch(1);

    InitDialog();
}

std::unique_ptr<COutputDevicePropPageSheetPage> MakeFileExitPgmSheetPage(COutputDevice* device)
{
    return MakeDeviceSheetPage<COutputDeviceSettingsFileExitPgmPropPage, CExitProgramParametersPageView>(device);
}

std::unique_ptr<COutputDevicePropPageSheetPage> MakeFileExitPgmParmSheetPage(COutputDevice* device)
{
    return MakeDeviceSheetPage<COutputDeviceSettingsFileExitPgmParmPropPage, CExitProgramParametersPageView>(device);
}

std::unique_ptr<COutputDevicePropPageSheetPage> MakeDocStoreExitPgmSheetPage(COutputDevice* device,
                                                                             COutputDeviceManager* deviceManager)
{
    return MakeDocStoreSheetPage<COutputDeviceSettingsDocStoreExitPgmPropPage>(device, deviceManager);
}

std::unique_ptr<COutputDevicePropPageSheetPage> MakeDocStoreExitPgmParmSheetPage(COutputDevice* device,
                                                                                 COutputDeviceManager* deviceManager)
{
    return MakeDocStoreSheetPage<COutputDeviceSettingsDocStoreExitPgmParmPropPage>(device, deviceManager);
}
