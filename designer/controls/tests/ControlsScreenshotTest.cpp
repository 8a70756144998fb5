#include "designer/controls/ACEdit.h"
#include "designer/controls/CCSIDComboBox.h"
#include "designer/controls/ComboBoxClr.h"
#include "designer/controls/PictureEx.h"
#include "designer/controls/SelectiveComboBox.h"
#include "designer/controls/SelectiveEdit.h"
#include "platform/ui/qt/DialogBinder.h"
#include "platform/ui/qt/UpDownControl.h"

#include "designer/controls/tests/ControlsTestSupport.h"

#include <QDialog>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

namespace {

bool ColourFlagged(DWORD data, COLORREF* colour)
{
    if (data == 0)
        return false;
    *colour = 0x0000F0;
    return true;
}

// Every control in one dialog, the autocomplete list open with its first row
// highlighted, drawn into a PNG in the build folder for a person to look at.
TEST_F(ControlsTest, ADialogOfEveryControlRendersWithTheListOpen)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Common controls"));
    auto* form = new QFormLayout(&dialog);

    auto* description = new QLineEdit(&dialog);
    description->setObjectName(QStringLiteral("1001"));
    form->addRow(QStringLiteral("Description:"), description);

    auto* device = new CSelectiveEdit(&dialog);
    device->SetRefusedChars(QStringLiteral(" \"'-"));
    device->SetRefusedFirstChars(QStringLiteral("0123456789"));
    device->m_caseMode = 1;
    device->m_maxLength = 10;
    device->setText(QStringLiteral("prt01"));
    form->addRow(QStringLiteral("Device name:"), device);

    auto* program = new CSelectiveComboBox(&dialog);
    program->addItems({QStringLiteral("INVPGM"), QStringLiteral("FAXPGM")});
    form->addRow(QStringLiteral("Exit program:"), program);

    auto* ccsid = new CCSIDComboBox(&dialog);
    ccsid->FillCCSIDs();
    ccsid->SelectCCSID(285);
    form->addRow(QStringLiteral("Host code page:"), ccsid);

    auto* colours = new CComboBoxClr(&dialog);
    colours->addItem(QStringLiteral("Plain entry"), 0u);
    colours->addItem(QStringLiteral("Flagged entry"), 1u);
    colours->m_pColorCallback = &ColourFlagged;
    colours->setCurrentIndex(1);
    form->addRow(QStringLiteral("Document store:"), colours);

    auto* copiesRow = new QWidget(&dialog);
    auto* copiesLayout = new QHBoxLayout(copiesRow);
    copiesLayout->setContentsMargins(0, 0, 0, 0);
    auto* copies = new QLineEdit(copiesRow);
    SetDigitsOnly(copies);
    copies->setText(QStringLiteral("20"));
    auto* spin = new CUpDownControl(copiesRow);
    spin->SetBuddy(copies);
    spin->SetRange(1, 20);
    spin->SetWrap(true);
    copiesLayout->addWidget(copies);
    copiesLayout->addWidget(spin);
    form->addRow(QStringLiteral("Copies:"), copiesRow);

    auto* busy = new CPictureEx(&dialog);
    ASSERT_TRUE(busy->Load(180, QStringLiteral("GIF")));
    ASSERT_TRUE(busy->DrawFirstFrame());
    form->addRow(QStringLiteral("Sending:"), busy);

    CACEdit autocomplete;
    autocomplete.Init(description);
    autocomplete.m_Liste.m_nMaxCount = 50;
    for (const char* entry : {"Invoice address", "Invoice footer", "Invoice header", "Delivery note"})
        autocomplete.m_Liste.AddSearchString(QString::fromUtf8(entry));

    dialog.resize(420, 300);
    dialog.show();
    description->setFocus();
    QTest::keyClicks(description, QStringLiteral("inv"));
    QTest::keyClick(description, Qt::Key_Down);
    CACListWnd& list = autocomplete.m_Liste;
    ASSERT_TRUE(list.isVisible());
    ASSERT_EQ(description->text(), QStringLiteral("Invoice address"));

    const QPoint listAt = list.geometry().topLeft() - dialog.geometry().topLeft();
    QImage shot(dialog.size().expandedTo(QSize(listAt.x() + list.width(), listAt.y() + list.height())),
                QImage::Format_RGB32);
    shot.fill(Qt::darkGray);
    {
        QPainter painter(&shot);
        painter.drawPixmap(0, 0, dialog.grab());
        painter.drawPixmap(listAt, list.grab());
    }
    // The highlighted first row of the list, and the busy picture's ring.
    const QPoint firstRow = listAt + QPoint(list.width() / 2, 1 + list.RowHeight() / 2);
    EXPECT_EQ(shot.pixelColor(firstRow.x() - 40, firstRow.y()), list.palette().color(QPalette::Highlight));
    const QPoint dot = busy->mapTo(&dialog, QPoint(16, 5));
    EXPECT_EQ(shot.pixel(dot), qRgb(40, 70, 160));

    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    const QString path = QStringLiteral(KWVD_SCREENSHOT_DIR "/common-controls.png");
    ASSERT_TRUE(shot.save(path, "PNG"));
    EXPECT_FALSE(QImage(path).isNull());
}

} // namespace
