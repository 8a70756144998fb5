#pragma once
// An editable combo box whose edit field is a CSelectiveEdit, so that typed
// text, pasted text and the items the user picks all obey its rules.

#include "designer/controls/SelectiveEdit.h"

#include <QComboBox>

class CSelectiveComboBox : public QComboBox
{
public:
    explicit CSelectiveComboBox(QWidget* parent = nullptr);

    void SetRefusedChars(QString chars) { m_edit->SetRefusedChars(std::move(chars)); }
    void SetRefusedFirstChars(QString chars) { m_edit->SetRefusedFirstChars(std::move(chars)); }
    // The case mode and the maximum length are set on the edit directly.
    CSelectiveEdit& Edit() { return *m_edit; }

private:
    CSelectiveEdit* m_edit;
};
