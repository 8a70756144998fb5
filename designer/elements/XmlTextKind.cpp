#include "designer/elements/XmlTextKind.h"

#include "designer/document/jvx/JVXArchive.h"

void NormaliseXmlSourceBox(const CPage* page, kwvd::Rect& rect)
{
    if (page == nullptr)
        return;
    page->SnapToGridNearest(rect);
    page->ClampToPage(rect, TRUE);
    rect.bottom = rect.top + page->GetCellHeight();
}

void ExportXmlBlockJVX(CFormElement& element, const QString& name, CJVXArchive& ar,
                       const std::function<void(CJVXArchive&)>& exportChildren)
{
    if (!ar.IsStoring())
        return;
    CAPRTPDMRec record(ar.GetDocument());
    if (element.ToRecord(record))
        record.ExchangeJVX(ar);
    exportChildren(ar);
    CAPRTPDMRec end(ar.GetDocument());
    if (element.ToRecord(end)) {
        end.m_opcode.SetValue(QStringLiteral("ENDX"));
        end.m_longData.SetValue(name);
        end.ExchangeJVX(ar);
    }
}
