#pragma once
// Dialog 127 over an Image: either a fixed image file ("File Name:") with
// its export format and JPEG quality, browsed for or typed and reloadable,
// or an image named by the spooled-file data at a position of the input
// page ("Or Position:"). Format and quality belong to the document's image,
// so every element that shows the same file shares them.

#include "designer/elements/FormImageElement.h"
#include "designer/views/pages/ElementPropPage.h"

#include <utility>

class QWidget;

// The export formats as the Image and Resource pages list them: each entry
// with its format number, -1 standing for the preference.
struct ImageFormatEntry
{
    const char* text;
    int format;
};
inline constexpr ImageFormatEntry kImageFormatList[] = {
    {"MMR", 0}, {"TIFF", 1}, {"JPEG", 2}, {"TIFF (LZW)", 3}, {"*DOC", -1},
};
inline constexpr int kJpegFormat = 2;
QStringList ImageFormatTexts();
// The entry showing the format, or -1 for a format the list does not have.
int ImageFormatEntryOf(int format);
// The format of an entry; -1 ("*DOC") for an entry outside the list.
int ImageFormatOfEntry(int entry);

class CImagePropPage : public CElementPropPage
{
public:
    enum : int {
        IDD = 127,
        IDC_BROWSE = 1175,
        IDC_FORMAT = 1177,
        IDC_FORCE_ABSOLUTE = 1178,
        IDC_QUALITY = 1179,
        IDC_FILE_NAME = 1180,
        IDC_POSITION_GROUP = 1181,
        IDC_RELOAD = 1183,
        IDC_FILE_RADIO = 1184,
        IDC_POSITION_RADIO = 1185,
        IDC_WIDTH = 1186,
        IDC_WIDTH_SPIN = 1187,
        IDC_COLUMN = 1188,
        IDC_COLUMN_SPIN = 1189,
        IDC_LINE = 1190,
        IDC_LINE_SPIN = 1191,
        IDC_SIZE_GROUP = 0xFFFE, // no id of its own: only its title is looked up
    };
    static constexpr UINT kMaxQuality = 100;

    explicit CImagePropPage(std::unique_ptr<CElementPageRecord> record);

    const ImagePageData& Data() const { return m_data; }
    // 1 to the input page's largest column or line.
    std::pair<int, int> Range(int editId) const;
    // The format -1 stands for the preference read when the page was made.
    int EffectiveFormat() const;
    // The window the file chooser opens over; the view sets it.
    void SetDialogParent(QWidget* parent) { m_parent = parent; }

protected:
    void UpdateControls() override;
    std::optional<int> UpperLimit(int id) const override;
    bool PullsBeforeApply(const PageControl& control) const override;
    void BeforeApply(const PageControl& control) override;
    void RunHandler(const PageControl& control) override;

private:
    // The name edit losing the focus and Reload: a name the element did not
    // take shows the element's one again.
    void ApplyKeepingName(const PageControl& control);
    void Browse(const PageControl& control);
    void EnableControls();

    ImagePageData& m_data;
    QWidget* m_parent = nullptr;
};

// The factories of the Image, Barcode and Resource pages, with their texts.
// Harmless to call again.
void RegisterImageKindPageFactories();
