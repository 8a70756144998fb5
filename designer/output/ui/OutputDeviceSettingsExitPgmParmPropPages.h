#pragma once
// The exit program pages of the file and document-store sheets: the host
// program that receives the output, its library, and the text parameters it
// is called with (1 to 10 of up to 132 characters, 11 to 20 of up to 64).
//
// The four pages are one family that differs only in which values it shows.
// The file pages label their parameters "Parameter N:" and load once, when
// their window is made. The document-store pages leave parameters 19 and 20
// to the general page, which keeps the document's description and the store
// selection there; they label their parameters with the address fields of
// the device (the document type's keys first) and reload every time they
// become active, since the general page changes the selection in the copy.
// Leaving one of them stores what it holds into the copy, so that coming
// back shows what was typed.

#include "designer/output/ui/OutputDevicePropPage.h"

#include <vector>

class COutputDeviceManager;

class CExitProgramParametersPage : public COutputDevicePropPage
{
public:
    enum ControlId : int {
        IDC_EXIT_PROGRAM = 1240,
        IDC_EXIT_PROGRAM_LIBRARY = 1241,
        // Parameter n's edit is 1245 + n, 1246 to 1265.
        IDC_PARAMETER1 = 1246,
        // The caption of the short parameters' group.
        IDC_SHORT_PARAMETERS_GROUP = 0xFF01,
    };

    static constexpr int kProgramLimit = 10;
    static constexpr int kLongParameterLimit = 132;
    static constexpr int kShortParameterLimit = 64;
    static constexpr int kLastLongParameter = 10;

    // Where the program and library stand on the page, if at all.
    enum class ProgramPlace {
        None,
        Top,
        Bottom,
    };

    static int ParameterEditId(int n) { return IDC_PARAMETER1 + n - 1; }
    static int ParameterLimit(int n) { return n <= kLastLongParameter ? kLongParameterLimit : kShortParameterLimit; }

    int FirstParameter() const { return m_first; }
    int LastParameter() const { return m_last; }
    ProgramPlace GetProgramPlace() const { return m_programPlace; }
    // The text of parameter n, which the page must show.
    QString& Parameter(int n);
    // The static before parameter n's edit: 0 where the label is the
    // dialog's own text.
    virtual int ParameterLabelId(int n) const;

    // No control depends on another.
    void EnableControls() override {}

    QString exitProgram;
    QString exitProgramLibrary;
    // Parameters first to last, in order.
    std::vector<QString> parameters;

protected:
    CExitProgramParametersPage(UINT dialogId, int deviceType, int first, int last, ProgramPlace programPlace);

    void ReadDevice(COutputDevice& source) override;
    BOOL WriteDevice(COutputDevice& target) override;

private:
    int m_first;
    int m_last;
    ProgramPlace m_programPlace;
};

// The document-store pages: labels from the device's address fields, a
// reload at every activation, a store into the copy when left.
class CDocStoreParametersPage : public CExitProgramParametersPage
{
public:
    // The statics before the parameters: 1464 to 1473 for 1 to 10, 1475 to
    // 1482 for 11 to 18.
    int ParameterLabelId(int n) const override { return n <= kLastLongParameter ? 1463 + n : 1464 + n; }

    // The document's, borrowed; without one the labels name the parameters.
    void SetDeviceManager(COutputDeviceManager* manager) { deviceManager = manager; }
    COutputDeviceManager* GetDeviceManager() const { return deviceManager; }

    // Filled on activation instead.
    BOOL OnInitDialog() override;
    void OnSetActive() override;
    // The page is left for another: checked, then stored into the copy.
    // FALSE keeps the page (the failure has been reported).
    BOOL OnKillActive();

    // The label of each parameter shown, in order, with its ":".
    std::vector<QString> labels;

protected:
    CDocStoreParametersPage(UINT dialogId, int first, int last, ProgramPlace programPlace);

    void ReadDevice(COutputDevice& source) override;

private:
    void UpdateParameterLabels(const COutputDevice& source);

    COutputDeviceManager* deviceManager = nullptr;
};

// File sheet, second page: program and library, parameters 1 to 10.
class COutputDeviceSettingsFileExitPgmPropPage : public CExitProgramParametersPage
{
public:
    enum {
        IDD = 146
    };
    COutputDeviceSettingsFileExitPgmPropPage();
};

// File sheet, third page: parameters 11 to 20.
class COutputDeviceSettingsFileExitPgmParmPropPage : public CExitProgramParametersPage
{
public:
    enum {
        IDD = 147
    };
    COutputDeviceSettingsFileExitPgmParmPropPage();
};

// Document-store sheet, second page: parameters 1 to 10.
class COutputDeviceSettingsDocStoreExitPgmPropPage : public CDocStoreParametersPage
{
public:
    enum {
        IDD = 175
    };
    COutputDeviceSettingsDocStoreExitPgmPropPage();
};

// Document-store sheet, third page: parameters 11 to 18, then program and
// library.
class COutputDeviceSettingsDocStoreExitPgmParmPropPage : public CDocStoreParametersPage
{
public:
    enum {
        IDD = 178
    };
    COutputDeviceSettingsDocStoreExitPgmParmPropPage();
};
