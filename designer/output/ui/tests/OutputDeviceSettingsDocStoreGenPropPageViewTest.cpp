// The document-store "General" page on the screen (offscreen), against our
// fake catalogue server: a store the catalogue lacks drawn in red, a list
// that closes storing into the device, Refresh filling the lists, and a
// picture of the page for a person to see.

#include "designer/output/ui/OutputDeviceSettingsDocStoreGenPropPageView.h"

#include "designer/controls/ComboBoxClr.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/ui/tests/OutputDeviceSettingsDocStoreGenPageTesting.h"
#include "designer/output/ui/tests/OutputDeviceSettingsGeneralPageTesting.h"
#include "tests/support/ScopedPrompts.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Page = COutputDeviceSettingsDocStoreGenPropPage;

QStringList Texts(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// Any pixel of the widget in the red of unknown entries, give or take the
// smoothing of the text's edges.
bool ShowsRed(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.red() > 180 && colour.green() < 60 && colour.blue() < 60)
                return true;
        }
    }
    return false;
}

class DocStoreGenPropPageViewTest : public ::testing::Test
{
protected:
    DocStoreGenPropPageViewTest()
    {
        catalogue.Serve("Bills", "All bills", {{"Invoice", "Customer invoices"}});
        catalogue.Serve("archive", "Old papers", {{"Memo", "Memos"}, {"letter", "Letters"}});
        page.SetDocStoreManager(&catalogue.catalogue);
        page.SetDevice(&device);
    }

    OutputStringsRegistered registered;
    ScopedPromptAnswers prompts;
    DocStoreCatalogueServer catalogue;
    COutputDevice device{COutputDevice::kDocStoreType, QStringLiteral("ARCHIVER"), QString()};
    Page page;
};

TEST_F(DocStoreGenPropPageViewTest, AStoreTheCatalogueLacksIsDrawnInRed)
{
    ASSERT_TRUE(catalogue.catalogue.RefreshStores());
    ASSERT_TRUE(device.SetDocStoreSelection(QStringLiteral("Payroll"), QStringLiteral("letter"), 2));
    COutputDeviceSettingsDocStoreGenPropPageView view(page);
    view.show();
    auto* stores = FindControl<CComboBoxClr>(&view, Page::IDC_STORE);
    auto* docTypes = FindControl<CComboBoxClr>(&view, Page::IDC_DOC_TYPE);
    ASSERT_NE(stores, nullptr);
    ASSERT_NE(docTypes, nullptr);
    EXPECT_EQ(Texts(stores), (QStringList{"archive", "Bills", "Payroll"}));
    EXPECT_EQ(stores->currentText(), QStringLiteral("Payroll"));
    EXPECT_EQ(stores->itemData(2, Qt::UserRole).toUInt(), 1u);
    EXPECT_EQ(stores->itemData(0, Qt::UserRole).toUInt(), 0u);
    EXPECT_TRUE(ShowsRed(stores));

    // A store from the catalogue: drawn in the usual colours.
    stores->showPopup();
    stores->setCurrentIndex(0);
    stores->hidePopup();
    EXPECT_EQ(StoredDocStoreSelection(device)[0], QStringLiteral("archive")) << "stored as the list closed";
    EXPECT_EQ(stores->currentText(), QStringLiteral("archive"));
    EXPECT_FALSE(ShowsRed(stores));
    EXPECT_EQ(Texts(docTypes), (QStringList{"letter", "Memo"}));
    EXPECT_EQ(docTypes->itemData(0, Qt::UserRole).toUInt(), 0u) << "known to the new store";
    EXPECT_EQ(FindControl<QLabel>(&view, Page::IDC_STORE_DESCRIPTION)->text(), QStringLiteral("Old papers"));
    EXPECT_EQ(FindControl<QLabel>(&view, Page::IDC_DOC_TYPE_DESCRIPTION)->text(), QStringLiteral("Letters"));
}

TEST_F(DocStoreGenPropPageViewTest, RefreshFillsTheListsAndStores)
{
    COutputDeviceSettingsDocStoreGenPropPageView view(page);
    view.show();
    auto* stores = FindControl<CComboBoxClr>(&view, Page::IDC_STORE);
    ASSERT_NE(stores, nullptr);
    EXPECT_EQ(stores->count(), 0);

    QTest::mouseClick(FindControl<QPushButton>(&view, Page::IDC_REFRESH), Qt::LeftButton);
    EXPECT_TRUE(prompts->Recorded().empty());
    EXPECT_EQ(Texts(stores), (QStringList{"archive", "Bills"}));
    EXPECT_EQ(stores->currentText(), QStringLiteral("archive"));
    EXPECT_EQ(Texts(FindControl<CComboBoxClr>(&view, Page::IDC_DOC_TYPE)), (QStringList{"letter", "Memo"}));
    EXPECT_EQ(StoredDocStoreSelection(device)[0], QStringLiteral("archive"));
}

TEST_F(DocStoreGenPropPageViewTest, PictureOfThePage)
{
    ASSERT_TRUE(catalogue.catalogue.RefreshStores());
    ASSERT_TRUE(device.SetDocStoreSelection(QStringLiteral("archive"), QStringLiteral("Payslip"), 1));
    ASSERT_TRUE(device.SetFileFormat(QStringLiteral("PDF")));
    COutputDeviceSettingsDocStoreGenPropPageView view(page);
    view.resize(480, 520);
    view.show();
    EXPECT_TRUE(ShowsRed(FindControl<CComboBoxClr>(&view, Page::IDC_DOC_TYPE)));
    const QImage image = view.grab().toImage();
    ASSERT_FALSE(image.isNull());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    EXPECT_TRUE(image.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/OutputDeviceSettingsDocStoreGeneralPage.png")));
}

} // namespace
