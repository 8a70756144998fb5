#pragma once
// The "General" page of the Options sheet: the default zoom of the input and
// output panes, the splash window, the image export format, the undo buffer
// and the element colours. The colours are edited in place in
// ElementColourTable(), the sheet's working copy.

#include "designer/preferences/Preferences.h"
#include "designer/shell/OptionsPropPage.h"

#include <QStringList>

class COptionsGeneralPropPage : public COptionsPropPage
{
public:
    enum {
        IDD = 134
    };
    enum ControlId : int {
        IDC_COLOUR_LIST = 1156,
        IDC_CHANGE_COLOUR = 1157,
        IDC_OUTPUT_ZOOM = 1158,
        IDC_IMAGE_FORMAT = 1159,
        IDC_SPLASH = 1160,
        IDC_INPUT_ZOOM = 1161,
        IDC_UNDO_SIZE = 1162,
        // Group captions, which have no id of their own.
        IDC_ZOOM_GROUP = 0xFF01,
        IDC_GENERAL_GROUP = 0xFF02,
        IDC_COLOUR_GROUP = 0xFF03,
    };

    static constexpr int kUndoSizeMax = 1024;
    static constexpr int kColourItemHeight = 15;

    COptionsGeneralPropPage();

    // The entries of the zoom lists and of the image format list.
    static QStringList ZoomTexts();
    static QStringList ImageFormatTexts();
    // The entry shown for a pane's fit mode and horizontal percentage.
    static int ZoomIndexFor(int fitMode, int percent);

    void OnInitDialog() override;
    void OnOK() override;

    // A zoom list's choice was confirmed: the controls' values are taken,
    // then the pane's fit mode and percentages follow the entry. False when
    // the values were refused (reported).
    bool OnZoomChosen(int listId);
    // "Change...": the selected row's colour through the colour dialog; the
    // list is filled again after a new colour. False when nothing changed.
    bool OnChangeColour();
    // The row names, the selection kept (the first row when none).
    void FillColourList();

    int inputZoomIndex = -1;
    int outputZoomIndex = -1;
    int splash = 0;
    int undoBufferSize = 1;
    ZoomPair zoomSource;
    ZoomPair zoomDest;
    int zoomFitSource = 0;
    int zoomFitDest = 0;
    int imageFormat = 0;
};
