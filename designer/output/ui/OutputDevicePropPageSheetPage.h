#pragma once
// A device settings page as its sheet sees it: the page's model, made with
// the sheet and given the sheet's device copy, and its view, made the first
// time the page is shown.

#include "designer/controls/NavigationSheetPage.h"
#include "designer/output/ui/OutputDevicePropPage.h"
#include "designer/output/ui/OutputDevicePropPageView.h"

#include <functional>
#include <memory>

class COutputDevicePropPageSheetPage : public CNavigationSheetPage
{
public:
    using ViewFactory = std::function<COutputDevicePropPageView*(COutputDevicePropPage& model, QWidget* parent)>;

    COutputDevicePropPageSheetPage(std::unique_ptr<COutputDevicePropPage> model, ViewFactory makeView);
    ~COutputDevicePropPageSheetPage() override;

    COutputDevicePropPage& Model() const { return *m_model; }
    // Null until the page was first shown.
    COutputDevicePropPageView* View() const { return m_view; }

    QString Title() const override;
    QWidget* CreateView(QWidget* parent) override;
    void OnSetActive() override;
    bool OnKillActive() override;
    bool OnApply() override;

private:
    std::unique_ptr<COutputDevicePropPage> m_model;
    ViewFactory m_makeView;
    COutputDevicePropPageView* m_view = nullptr;
};

// The page of model class Page with its view class View, editing device.
template <class Page, class View>
std::unique_ptr<COutputDevicePropPageSheetPage> MakeDeviceSheetPage(COutputDevice* device)
{
    auto model = std::make_unique<Page>();
    model->SetDevice(device);
    return std::make_unique<COutputDevicePropPageSheetPage>(
        std::move(model),
        [](COutputDevicePropPage& page, QWidget* parent) { return new View(static_cast<Page&>(page), parent); });
}
