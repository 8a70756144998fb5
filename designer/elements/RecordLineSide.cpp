#include "designer/elements/RecordLineSide.h"

#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"

bool RecordHasNoSourcePosition(const CAPRTPDMRec& record)
{
    return record.m_sourceFirstColumn.GetShort() == 0;
}

bool RecordPassesConstantData(const CAPRTPDMRec& record)
{
    return !record.m_data.GetValue().isEmpty() || RecordHasNoSourcePosition(record);
}

void ClearRecordPositions(CAPRTPDMRec& record)
{
    for (CFixedLenNum* field :
         {&record.m_sourceLine, &record.m_sourceFirstColumn, &record.m_sourceLastColumn, &record.m_lineCount,
          &record.m_destLine, &record.m_destFirstColumn, &record.m_destLastColumn}) {
        field->SetValue(0);
        field->SetEmpty(TRUE);
    }
}

bool PlaceOnSideOfCurrentLine(const CAPRTPDMRec& record, const CPage* page, int currentLine, kwvd::Rect& rect)
{
    if (page == nullptr || page->GetCellHeight() <= 0 || currentLine <= 0)
        return false;
    int line = 0;
    if (record.m_sourceSign.IsEqual(QStringLiteral("+")))
        line = currentLine;
    else if (record.m_sourceSign.IsEqual(QStringLiteral("-")))
        line = currentLine - 1;
    if (line < 1)
        return false;
    const int ch = page->GetCellHeight();
    rect = kwvd::Rect(0, (line - 1) * ch, page->GetCellWidth(), line * ch);
    return true;
}
