#pragma once
// The pages of a host exit program call. Dialog 119 over an Exit Program:
// the program name (applied on leaving it), the library list edited through
// "&Add" and "&Del", and the parameters the call passes, read only. Dialog
// 118 over an Exit Parameter: its number "PARM1" to "PARM6", the Data or
// Position block, "Ignore return value", the alignment and the font of the
// printed return value.

#include "designer/elements/FormExitParamElement.h"
#include "designer/elements/FormExitProgramElement.h"
#include "designer/views/pages/DataPositionBlock.h"

class CExitProgramPropPage : public CElementPropPage
{
public:
    enum : int {
        IDD = 119,
        IDC_ADD = 1106,
        IDC_DEL = 1107,
        IDC_LIBRARY = 1108,
        IDC_PROGRAM = 1109,
        IDC_PARAMETERS = 1110,
        IDC_PARAMETERS_GROUP = 0xFF12, // no id of its own: only its title is looked up
    };
    // The library box: upper case, none of these anywhere, no digit first.
    static constexpr const char* RefusedLibraryChars = " \"'-";
    static constexpr const char* RefusedLibraryFirstChars = "0123456789";
    // The library box shows no more than these.
    static constexpr int kShownLibraries = 6;

    using Record = TElementPageRecord<ExitProgramPageData>;
    explicit CExitProgramPropPage(std::unique_ptr<CElementPageRecord> record);

    const ExitProgramPageData& Data() const { return m_data; }
    const QString& LibraryText() const { return m_libraryText; }

protected:
    // Both lists, after the dialog initialisation and every refresh.
    void UpdateControls() override;
    void RunHandler(const PageControl& control) override;

private:
    void FillLibraryList();
    // "%d. " and the description of the parameter of each number up to
    // the highest one defined; a parameter deleted since the page was
    // made shows the number alone.
    void FillParameterList();
    // The entry at the index shown and taken as the library text.
    void SelectLibrary(int index);
    // The entry that reads the text (exactly, else case ignored), or the
    // text alone.
    void ShowLibraryText(const QString& text);

    void OnProgramName(const PageControl& control);
    void OnAdd(const PageControl& control);
    void OnDel(const PageControl& control);

    ExitProgramPageData& m_data;
    QString m_libraryText;
};

class CExitParamPropPage : public CDataPositionBlock
{
public:
    enum : int {
        IDD = 118,
        IDC_DATA = 1090,
        IDC_FONT = 1091,
        IDC_FONT_DESCRIPTION = 1092,
        IDC_FORCE_ABSOLUTE = 1093,
        IDC_IGNORE_RETURN = 1094,
        IDC_INDEX = 1095,
        IDC_POSITION_GROUP = 1096,
        IDC_ALIGN = 1097,
        IDC_DATA_RADIO = 1098,
        IDC_POSITION_RADIO = 1099,
        IDC_WIDTH = 1100,
        IDC_WIDTH_SPIN = 1101,
        IDC_COLUMN = 1102,
        IDC_COLUMN_SPIN = 1103,
        IDC_LINE = 1104,
        IDC_LINE_SPIN = 1105,
    };

    using Record = TElementPageRecord<ExitParamPageData>;
    explicit CExitParamPropPage(std::unique_ptr<CElementPageRecord> record);

    const ExitParamPageData& Data() const { return m_data; }

    // "PARM1" to "PARM6"; a number outside them selects nothing and reads 0.
    BOOL OnInitDialog() override;

protected:
    void UpdateControls() override;
    void BeforeApply(const PageControl& control) override;
    void RunHandler(const PageControl& control) override;

private:
    void SelectIndex();

    ExitParamPageData& m_data;
};

// The factories of both pages and of the Address page in the element
// property sheet, and their texts.
void RegisterAddressExitPageFactories();
