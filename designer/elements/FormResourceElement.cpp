#include "designer/elements/FormResourceElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/TextFit.h"
#include "designer/resources/images/Resource.h"
#include "designer/resources/images/ResourceManager.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Paths.h"

#include <QPainter>
#include <QPen>

KWVD_IMPLEMENT_SERIAL(CFormResourceElement, CFormElement, VERSIONABLE_SCHEMA | 20)

CFormResourceElement::CFormResourceElement()
{
    m_sourceRect = {};
}

CFormResourceElement::CFormResourceElement(CDesignerDoc* doc) : CFormElement(doc)
{
    m_sourceRect = {};
    SyncDestToResource();
}

CFormResourceElement::CFormResourceElement(CAPRTPDMRec& record) : CFormElement(record)
{
    m_sourceRect = {};
    // A blank or non-digit id, and files older than the field, mean slot 0.
    int index = 0;
    const QString& id = record.m_resourceId.GetValue();
    if (!id.isEmpty() && id.at(0) >= u'0' && id.at(0) <= u'9')
        index = id.at(0).unicode() - u'0';
    SetResourceIndex(index);
    SyncDestToResource();
}

CFormElement* CFormResourceElement::FromRecord(CAPRTPDMRec& record, CJVXArchive&)
{
    return new CFormResourceElement(record);
}

CFormResourceElement::~CFormResourceElement()
{
    SetResourceIndex(-1);
    Announce(DocumentHint::ElementChanged);
}

int CFormResourceElement::GetType() const
{
    return FormElementType::Resource;
}

CResourceManager* CFormResourceElement::Manager() const
{
    return m_pDoc != nullptr ? m_pDoc->GetResourceManager() : nullptr;
}

CResource* CFormResourceElement::GetResource() const
{
    CResourceManager* manager = Manager();
    return manager != nullptr && m_resourceIndex >= 0 ? manager->GetResource(m_resourceIndex) : nullptr;
}

BOOL CFormResourceElement::SetResourceIndex(int index)
{
    BOOL changed = FALSE;
    if (index != m_resourceIndex) {
        CResourceManager* manager = Manager();
        if (manager != nullptr) {
            manager->RemoveUser(this, m_resourceIndex);
            m_resourceIndex = manager->AddUser(this, index);
        } else {
            m_resourceIndex = -1;
        }
        changed = TRUE;
    }
    if (m_resourceIndex == -1)
        return TRUE;
    if (UpdateAutoDescription())
        changed = TRUE;
    if (!changed)
        return FALSE;
    Announce(DocumentHint::DestRectChanged);
    SetDocumentModified();
    return TRUE;
}

BOOL CFormResourceElement::UpdateAutoDescription()
{
    if (!IsAutoDescription() && !m_description.isEmpty())
        return FALSE;
    QString text;
    if (const CResource* resource = GetResource()) {
        QString folder;
        QString title;
        QString extension;
        SplitPathParts(resource->GetPath(), folder, title, extension);
        text = title + extension;
    }
    return SetDescription(text, this);
}

void CFormResourceElement::SyncDestToResource()
{
    const CResource* resource = GetResource();
    const kwvd::Rect rect = resource != nullptr ? resource->GetRect() : kwvd::Rect();
    if (rect != m_destRect) {
        Announce(DocumentHint::DestRectChanged);
        m_destRect = rect;
    }
    Announce(DocumentHint::DestRectChanged);
}

void CFormResourceElement::MoveDest(int, int, int, BOOL) {}

void CFormResourceElement::ResizeDest(int, int, int, BOOL) {}

BOOL CFormResourceElement::IgnoresOffset() const
{
    return FALSE;
}

BOOL CFormResourceElement::Select(BOOL select)
{
    return SelectAnnouncingDest(select);
}

void CFormResourceElement::Revalidate(int mode)
{
    CFormElement::Revalidate(mode);
    UpdateAutoDescription();
    Announce(DocumentHint::DestRectChanged);
}

void CFormResourceElement::DrawDest(QPainter& painter)
{
    if (CResource* resource = GetResource())
        resource->Draw(painter);
    if (IsSelected() && !IsPrinting(painter)) {
        const QRect device = painter.transform().mapRect(GetDestRect().ToQRect());
        painter.save();
        painter.resetTransform();
        painter.setClipping(false);
        painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(device.adjusted(-1, -1, 0, 0));
        painter.restore();
    }
}

void CFormResourceElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormElement::Copy(other);
    if (const auto* resource = dynamic_cast<const CFormResourceElement*>(&other))
        SetResourceIndex(resource->m_resourceIndex);
}

void CFormResourceElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_resourceIndex);
    } else {
        LONG index = -1;
        ar >> index;
        SetResourceIndex(index);
        // The resource was read before its elements and knows its place.
        SyncDestToResource();
    }
    m_sourceRect = {};
}

BOOL CFormResourceElement::ToRecord(CAPRTPDMRec& record)
{
    CFormElement::ToRecord(record);
    record.m_opcode.SetValue(QStringLiteral("RES"));
    if (m_resourceIndex >= 0 && m_resourceIndex <= 9)
        record.m_resourceId.SetValue(QString(QChar(u'0' + m_resourceIndex)));
    return TRUE;
}

void CFormResourceElement::ExportJVX(CJVXArchive& ar)
{
    if (m_resourceIndex != -1)
        ExportRecordJVX(ar);
}

void CFormResourceElement::PreparePage(ResourcePageData& page) const
{
    page.manager = Manager();
}

BOOL CFormResourceElement::UpdatePage(ResourcePageData& page) const
{
    if (page.resourceIndex == m_resourceIndex)
        return FALSE;
    page.resourceIndex = m_resourceIndex;
    return TRUE;
}

BOOL CFormResourceElement::ApplyPage(const ResourcePageData& page, int what)
{
    if (!(what & ResourcePageData::ResourceIndex))
        return FALSE;
    if (!SetResourceIndex(page.resourceIndex))
        return FALSE;
    SyncDestToResource();
    return TRUE;
}
