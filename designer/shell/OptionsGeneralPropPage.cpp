#include "designer/shell/OptionsGeneralPropPage.h"

#include "designer/preferences/ElementColourTable.h"
#include "platform/ui/PromptService.h"

#include <array>

namespace {

// The percentages of the zoom entries after the three fit modes.
constexpr std::array<int, 10> kZoomPercents = {25, 50, 75, 100, 125, 150, 175, 200, 250, 300};
// The fit modes of the first three entries.
constexpr std::array<int, 3> kFitModes = {1, 2, 4};

} // namespace

COptionsGeneralPropPage::COptionsGeneralPropPage() : COptionsPropPage(IDD)
{
    BindSelection(IDC_INPUT_ZOOM, &inputZoomIndex);
    BindSelection(IDC_OUTPUT_ZOOM, &outputZoomIndex);
    BindCheck(IDC_SPLASH, &splash);
    BindInt(IDC_UNDO_SIZE, &undoBufferSize, 0, kUndoSizeMax);
}

QStringList COptionsGeneralPropPage::ZoomTexts()
{
    QStringList texts = {QStringLiteral("Page Width"), QStringLiteral("Page Height"), QStringLiteral("Whole Page")};
    for (const int percent : kZoomPercents)
        texts << QStringLiteral("%1 %").arg(percent);
    return texts;
}

QStringList COptionsGeneralPropPage::ImageFormatTexts()
{
    return {QStringLiteral("MMR"), QStringLiteral("TIFF"), QStringLiteral("JPEG")};
}

int COptionsGeneralPropPage::ZoomIndexFor(int fitMode, int percent)
{
    for (size_t i = 0; i < kFitModes.size(); ++i)
        if (kFitModes[i] == fitMode)
            return static_cast<int>(i);
    // Every percentage the list lacks shows as the largest.
    for (size_t i = 0; i + 1 < kZoomPercents.size(); ++i)
        if (kZoomPercents[i] == percent)
            return static_cast<int>(kFitModes.size() + i);
    return static_cast<int>(kFitModes.size() + kZoomPercents.size() - 1);
}

void COptionsGeneralPropPage::OnInitDialog()
{
    Control(IDC_INPUT_ZOOM).items = ZoomTexts();
    Control(IDC_OUTPUT_ZOOM).items = ZoomTexts();
    inputZoomIndex = ZoomIndexFor(zoomFitSource, zoomSource.x);
    outputZoomIndex = ZoomIndexFor(zoomFitDest, zoomDest.x);
    DialogControlState& format = Control(IDC_IMAGE_FORMAT);
    format.items = ImageFormatTexts();
    format.selection = imageFormat >= 0 && imageFormat < format.items.size() ? imageFormat : -1;
    FillColourList();
    Push();
}

void COptionsGeneralPropPage::OnOK()
{
    imageFormat = Control(IDC_IMAGE_FORMAT).selection;
}

bool COptionsGeneralPropPage::OnZoomChosen(int listId)
{
    if (!Pull())
        return false;
    const bool input = listId == IDC_INPUT_ZOOM;
    const int entry = input ? inputZoomIndex : outputZoomIndex;
    int& fit = input ? zoomFitSource : zoomFitDest;
    ZoomPair& zoom = input ? zoomSource : zoomDest;
    const int fitCount = static_cast<int>(kFitModes.size());
    if (entry >= 0 && entry < fitCount) {
        fit = kFitModes[static_cast<size_t>(entry)];
        zoom = ZoomPair{0, 0};
    } else if (entry >= fitCount && entry < fitCount + static_cast<int>(kZoomPercents.size())) {
        const int percent = kZoomPercents[static_cast<size_t>(entry - fitCount)];
        fit = 0;
        zoom = ZoomPair{percent, percent};
    }
    return true;
}

void COptionsGeneralPropPage::FillColourList()
{
    DialogControlState& list = Control(IDC_COLOUR_LIST);
    const int remembered = list.selection;
    list.items.clear();
    for (const ElementColourRow& row : ElementColourTable())
        list.items << row.name;
    list.selection = remembered >= 0 && remembered < list.items.size() ? remembered : 0;
}

bool COptionsGeneralPropPage::OnChangeColour()
{
    const int row = Control(IDC_COLOUR_LIST).selection;
    if (row < 0 || row >= kElementColourRows)
        return false;
    COLORREF& colour = ElementColourTable()[static_cast<size_t>(row)].colour;
    const std::optional<COLORREF> chosen = Prompts().ChooseColour(colour);
    if (!chosen)
        return false;
    colour = *chosen;
    FillColourList();
    return true;
}
