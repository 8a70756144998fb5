#pragma once
// One page of a CNavigationSheet. The sheet owns its pages and asks each for
// its view the first time the page is shown; the view is a child of the
// sheet and goes with it. Every later sheet of the designer (device
// settings, element properties, options, page setup) hands its pages to the
// sheet through this interface.

#include <QString>

class QWidget;

class CNavigationSheetPage
{
public:
    virtual ~CNavigationSheetPage();

    // The page's entry in the navigation list.
    virtual QString Title() const = 0;

    // The page's view under parent, made once, when the page is first shown.
    virtual QWidget* CreateView(QWidget* parent) = 0;

    // Each time the page becomes the active one, the first time included.
    virtual void OnSetActive() {}

    // Leaving the page, for another page or for OK: false keeps it, after
    // the page has told the user why and put the focus on the culprit.
    virtual bool OnKillActive() { return true; }

    // OK, for every page whose view was made, in page order. False keeps the
    // sheet open on this page (the page has said why).
    virtual bool OnApply()
    {
        OnOK();
        return true;
    }

    virtual void OnOK() {}
};
