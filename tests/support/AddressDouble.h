#pragma once
// An Address element stand-in (type 249) for the Output element's address
// operations: it keeps a setting id, its 1-based cells and the delete flag.

#include "designer/elements/FormElement.h"
#include "designer/elements/FormOutputElement.h"

class AddressDouble : public CFormElement, public IOutputAddress
{
public:
    AddressDouble(CDesignerDoc* doc, int settingId, const kwvd::Rect& cells, BOOL deleting = FALSE)
        : CFormElement(doc), m_settingId(settingId), m_cells(cells), m_delete(deleting)
    {
    }

    int GetType() const override { return FormElementType::Address; }

    int GetSettingId() const override { return m_settingId; }
    kwvd::Rect GetAddressCells() const override { return m_cells; }
    void SetAddressCells(const kwvd::Rect& cells) override { m_cells = cells; }
    BOOL GetDeleteFlag() const override { return m_delete; }
    BOOL SetDeleteFlag(BOOL on) override
    {
        if (m_delete == on)
            return FALSE;
        m_delete = on;
        return TRUE;
    }

private:
    int m_settingId;
    kwvd::Rect m_cells;
    BOOL m_delete;
};
