#include "designer/elements/XmlTextKind.h"

void ClearXmlRecordPositions(CAPRTPDMRec& record)
{
    for (CFixedLenNum* field : {&record.m_sourceLine, &record.m_sourceFirstColumn, &record.m_sourceLastColumn,
                                &record.m_lineCount, &record.m_destLine, &record.m_destFirstColumn,
                                &record.m_destLastColumn}) {
        field->SetValue(0);
        field->SetEmpty(TRUE);
    }
    record.m_sourceSign.Clear();
    record.m_destSign.Clear();
}

void NormaliseXmlSourceBox(const CPage* page, kwvd::Rect& rect)
{
    if (page == nullptr)
        return;
    page->SnapToGridNearest(rect);
    page->ClampToPage(rect, TRUE);
    rect.bottom = rect.top + page->GetCellHeight();
}
