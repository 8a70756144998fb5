#include "designer/controls/SelectiveComboBox.h"

CSelectiveComboBox::CSelectiveComboBox(QWidget* parent) : QComboBox(parent), m_edit(new CSelectiveEdit(this))
{
    setEditable(true);
    setLineEdit(m_edit);
    // Completion would write the matching item's case back into the field.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
}
