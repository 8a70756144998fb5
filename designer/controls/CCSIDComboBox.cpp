#include "designer/controls/CCSIDComboBox.h"

#include "platform/framework/CcsidTable.h"

void CCSIDComboBox::FillCCSIDs()
{
    for (const CcsidRow& row : CcsidTable())
        addItem(QStringLiteral("%1 - %2").arg(row.ccsid).arg(QString::fromUtf16(row.description)), row.ccsid);
}

int CCSIDComboBox::SelectCCSID(int ccsid)
{
    for (int i = 0; i < count(); ++i) {
        if (itemData(i).toInt() == ccsid) {
            setCurrentIndex(i);
            return i;
        }
    }
    return -1;
}

int CCSIDComboBox::SelectedCCSID() const
{
    return currentIndex() < 0 ? 0 : itemData(currentIndex()).toInt();
}
