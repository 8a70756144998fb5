#include "designer/document/ServerItem.h"

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/MemFile.h"

#include <QByteArray>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <utility>

KWVD_IMPLEMENT_DYNAMIC(CServerItem, CObject)

namespace {

constexpr UINT kStreamBufferBytes = 4096;
constexpr int kDescriptorBytes = 16;
// The smallest object in a stream: a null or a reference.
constexpr ULONGLONG kMinObjectBytes = 2;

// Opens the element read log to the item: it tells the objects the item's
// own level made from those made inside containers.
struct ElementReadLog : CFormElement
{
    using CFormElement::ReadLogScope;
};

// Sets the document's serialising flag for a scope, then puts back what was.
class SerialisingScope
{
public:
    SerialisingScope(CDesignerDoc* doc, BOOL active) : m_pDoc(active ? doc : nullptr)
    {
        if (m_pDoc != nullptr) {
            m_previous = m_pDoc->m_serialising;
            m_pDoc->m_serialising = TRUE;
        }
    }
    ~SerialisingScope()
    {
        if (m_pDoc != nullptr)
            m_pDoc->m_serialising = m_previous;
    }
    SerialisingScope(const SerialisingScope&) = delete;
    SerialisingScope& operator=(const SerialisingScope&) = delete;

private:
    CDesignerDoc* m_pDoc;
    BOOL m_previous = FALSE;
};

bool Contains(const std::vector<CFormElement*>& list, const CFormElement* element)
{
    return std::find(list.begin(), list.end(), element) != list.end();
}

} // namespace

QString CServerItem::FormatName(Format format)
{
    switch (format) {
    case SrcFormat:
        return QString::fromLatin1(kDesignerSrcFormat);
    case DestFormat:
        return QString::fromLatin1(kDesignerDestFormat);
    case ExplFormat:
        return QString::fromLatin1(kDesignerExplFormat);
    case NoFormat:
        break;
    }
    return {};
}

BOOL CServerItem::IsFormatOffered(const QMimeData* data, Format format)
{
    return data != nullptr && format != NoFormat && data->hasFormat(FormatName(format));
}

CServerItem::Format CServerItem::FirstOfferedFormat(const QMimeData* data)
{
    for (Format format : {SrcFormat, DestFormat, ExplFormat})
        if (IsFormatOffered(data, format))
            return format;
    return NoFormat;
}

std::vector<CFormElement*> CServerItem::SelectedElements(const CDesignerDoc& doc)
{
    std::vector<CFormElement*> selected;
    for (CObject* object : doc.GetElementList())
        if (auto* element = dynamic_cast<CFormElement*>(object); element != nullptr && element->IsSelected())
            selected.push_back(element);
    return selected;
}

CServerItem::CServerItem(CDesignerDoc* doc) : m_pDoc(doc) {}

CServerItem::CServerItem(CDesignerDoc* doc, Format format, const std::vector<CFormElement*>& elements,
                         const CFormElement* tracked)
    : m_pDoc(doc), m_format(format)
{
    for (CFormElement* element : elements)
        if (element != nullptr)
            m_elements.AddTail(element);
    if (tracked != nullptr) {
        m_pAnchor = new CFormElement(doc);
        m_pAnchor->Copy(*tracked);
        m_hasAnchor = TRUE;
    }
}

CServerItem::~CServerItem()
{
    // The elements first: a listed element a read anchor took in as a child
    // goes with the anchor.
    DeleteOwnedElements();
    DeleteAnchor();
}

CFormElement* CServerItem::GetReferenceElement() const
{
    if (CFormElement* anchor = GetAnchor())
        return anchor;
    return dynamic_cast<CFormElement*>(m_elements.GetHead());
}

std::vector<CFormElement*> CServerItem::TakeElements()
{
    std::vector<CFormElement*> elements;
    for (CObject* object : m_elements)
        if (auto* element = dynamic_cast<CFormElement*>(object))
            elements.push_back(element);
    m_elements.RemoveAll();
    return elements;
}

void CServerItem::DeleteAnchor()
{
    CFormElement* anchor = std::exchange(m_pAnchor, nullptr);
    m_hasAnchor = FALSE;
    if (anchor == nullptr)
        return;
    // A read anchor that is a container may have handed its children to the
    // document; they go with it.
    if (m_anchorRead && m_pDoc != nullptr)
        m_pDoc->DeleteElement(anchor, TRUE);
    else
        delete anchor;
    m_anchorRead = FALSE;
}

void CServerItem::DeleteOwnedElements()
{
    if (!m_ownsElements) {
        m_elements.RemoveAll();
        return;
    }
    // Elements the document holds are its own now: the children a container
    // brought along, or elements the caller added without taking them.
    std::vector<CFormElement*> loose;
    for (CObject* object : m_elements) {
        auto* element = static_cast<CFormElement*>(object);
        if ((m_pDoc == nullptr || !m_pDoc->ContainsElement(element)) && !Contains(loose, element))
            loose.push_back(element);
    }
    m_elements.RemoveAll();
    for (CFormElement* element : loose) {
        if (m_pDoc != nullptr)
            m_pDoc->DeleteElement(element, TRUE);
        else
            delete element;
    }
}

// ---------------------------------------------------------------- the stream

void CServerItem::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        SerialisingScope serialising(m_pDoc, m_withChildren);
        StoreItem(ar);
        return;
    }
    // Containers always keep the children they read: one that let them go
    // would leave their ids in the archive, and a later reference to one
    // would reach a deleted element. Children not asked for go afterwards.
    // Without a document nothing could keep them.
    if (m_pDoc == nullptr)
        AfxThrowArchiveException(CArchiveException::genericException, ar.GetFilePath());
    {
        SerialisingScope serialising(m_pDoc, TRUE);
        try {
            LoadItem(ar);
        } catch (...) {
            DiscardRead();
            throw;
        }
    }
    if (!m_withChildren)
        DropChildren();
}

void CServerItem::DiscardRead()
{
    // Everything listed was made by this read, even what a container has
    // put into the document already: a refused stream pastes nothing.
    std::vector<CFormElement*> roots;
    for (CObject* object : m_elements)
        roots.push_back(static_cast<CFormElement*>(object));
    if (m_pAnchor != nullptr)
        roots.push_back(m_pAnchor);
    m_elements.RemoveAll();
    m_pAnchor = nullptr;
    m_hasAnchor = FALSE;
    m_anchorRead = FALSE;

    auto isBelowAnother = [&](const CFormElement* element) {
        for (const CFormElement* parent = element->GetParent(); parent != nullptr; parent = parent->GetParent())
            if (Contains(roots, parent))
                return true;
        return false;
    };
    std::vector<CFormElement*> top;
    for (CFormElement* root : roots)
        if (!isBelowAnother(root) && !Contains(top, root))
            top.push_back(root);
    for (CFormElement* root : top)
        m_pDoc->DeleteElement(root, TRUE);
}

void CServerItem::StoreItem(CArchive& ar) const
{
    ar.WriteCount(static_cast<DWORD>(m_elements.GetCount()));
    for (const CObject* element : m_elements)
        ar.WriteObject(element);
    ar << static_cast<WORD>(m_hasAnchor && m_pAnchor != nullptr ? 1 : 0);
    if (m_hasAnchor && m_pAnchor != nullptr)
        ar << m_pAnchor;
}

void CServerItem::LoadItem(CArchive& ar)
{
    DeleteOwnedElements();
    DeleteAnchor();
    m_ownsElements = TRUE;

    std::vector<CFormElement*> made;
    ElementReadLog::ReadLogScope log(made);

    // Only what this level made, or a child the document now keeps, may be
    // listed.
    auto acceptable = [&](CFormElement* element) {
        return Contains(made, element) || m_pDoc->ContainsElement(element);
    };

    const DWORD count = ar.ReadCount();
    ar.EnsureAvailable(count * kMinObjectBytes);
    for (DWORD i = 0; i < count; ++i) {
        CFormElement* element = ar.ReadObject<CFormElement>();
        if (element == nullptr)
            continue;
        if (m_elements.Find(element) != m_elements.end() || !acceptable(element))
            AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
        m_elements.AddTail(element);
    }

    WORD hasAnchor = 0;
    ar >> hasAnchor;
    if (hasAnchor == 0)
        return;
    CFormElement* anchor = ar.ReadObject<CFormElement>();
    if (anchor == nullptr)
        return;
    // The anchor is the item's alone: never one of the listed elements.
    if (!Contains(made, anchor) || m_elements.Find(anchor) != m_elements.end())
        AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
    m_pAnchor = anchor;
    m_anchorRead = TRUE;
    m_hasAnchor = TRUE;
}

void CServerItem::DropChildren()
{
    std::vector<CFormElement*> roots;
    for (CObject* object : m_elements)
        roots.push_back(static_cast<CFormElement*>(object));
    if (m_pAnchor != nullptr)
        roots.push_back(m_pAnchor);

    std::vector<CFormElement*> children;
    std::vector<CFormElement*> descendants;
    auto collect = [&](auto&& self, const CFormElement* container) -> void {
        ChildPosition position = container->GetFirstChildPosition();
        while (CFormElement* child = container->GetNextChild(position)) {
            if (Contains(descendants, child))
                continue;
            descendants.push_back(child);
            self(self, child);
        }
    };
    for (CFormElement* root : roots) {
        ChildPosition position = root->GetFirstChildPosition();
        while (CFormElement* child = root->GetNextChild(position))
            if (!Contains(children, child))
                children.push_back(child);
        collect(collect, root);
    }
    if (descendants.empty())
        return;

    // A listed element that a container took in goes with that container.
    for (auto it = m_elements.begin(); it != m_elements.end();) {
        if (Contains(descendants, static_cast<CFormElement*>(*it)))
            it = m_elements.RemoveAt(it);
        else
            ++it;
    }
    for (CFormElement* child : children)
        m_pDoc->DeleteElement(child, TRUE);
}

// ---------------------------------------------------------------- data transfer

void CServerItem::RenderFormats(QMimeData& data) const
{
    if (m_format == NoFormat)
        return;
    CMemFile file(kStreamBufferBytes);
    {
        CArchive ar(&file, CArchive::store, kStreamBufferBytes);
        ar.m_pDocument = m_pDoc;
        SerialisingScope serialising(m_pDoc, m_withChildren);
        StoreItem(ar);
        ar.Close();
    }
    const ULONGLONG length = file.GetLength();
    BYTE* block = file.Detach();
    QByteArray bytes(reinterpret_cast<const char*>(block), static_cast<qsizetype>(length));
    std::free(block);
    data.setData(FormatName(m_format), bytes);
}

std::unique_ptr<QMimeData> CServerItem::OnGetClipboardData(const QPoint* offset, const QSize* size) const
{
    auto data = std::make_unique<QMimeData>();
    RenderFormats(*data);

    const QSize extent = size != nullptr ? *size : OnGetExtent();
    const QPoint grab = offset != nullptr ? *offset : QPoint(0, 0);
    QByteArray descriptor(kDescriptorBytes, '\0');
    auto* out = reinterpret_cast<uchar*>(descriptor.data());
    qToLittleEndian<qint32>(extent.width(), out);
    qToLittleEndian<qint32>(extent.height(), out + 4);
    qToLittleEndian<qint32>(grab.x(), out + 8);
    qToLittleEndian<qint32>(grab.y(), out + 12);
    data->setData(QString::fromLatin1(kObjectDescriptorFormat), descriptor);
    return data;
}

BOOL CServerItem::CopyToClipboard() const
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return FALSE;
    std::unique_ptr<QMimeData> data = OnGetClipboardData();
    QGuiApplication::clipboard()->setMimeData(data.release());
    return TRUE;
}

BOOL CServerItem::PasteFromClipboard()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return FALSE;
    return LoadFromDataObject(QGuiApplication::clipboard()->mimeData());
}

BOOL CServerItem::LoadFromDataObject(const QMimeData* data)
{
    const Format format = FirstOfferedFormat(data);
    // Elements are read for a document: without one they cannot be placed.
    if (format == NoFormat || m_pDoc == nullptr)
        return FALSE;
    // The data may go away with the clipboard while the stream is read.
    QByteArray bytes = data->data(FormatName(format));
    bytes.detach();

    m_pDoc->BeginQuietRead();
    BOOL read = FALSE;
    try {
        CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()), 0);
        CArchive ar(&file, CArchive::load, kStreamBufferBytes);
        ar.m_pDocument = m_pDoc;
        Serialize(ar);
        ar.Close();
        m_format = format;
        read = TRUE;
    } catch (...) {
        read = FALSE;
    }
    CDesignerDoc::ShowHeldNotices(m_pDoc->EndQuietRead());
    return read;
}

// ---------------------------------------------------------------- presentation

QSize CServerItem::OnGetExtent() const
{
    return GetElementsExtent(m_elements);
}

BOOL CServerItem::OnDraw(QPainter& painter, QSize& size) const
{
    const bool source = m_format == SrcFormat;
    kwvd::Rect united;
    for (CObject* object : m_elements)
        if (auto* element = dynamic_cast<CFormElement*>(object))
            united = united.United(source ? element->GetSourceRect() : element->GetDestRect());
    size = united.Size();
    if (m_format != SrcFormat && m_format != DestFormat)
        return TRUE;

    for (CObject* object : m_elements) {
        auto* element = dynamic_cast<CFormElement*>(object);
        if (element == nullptr)
            continue;
        painter.save();
        painter.translate(-united.left, -united.top);
        if (source)
            element->DrawSource(painter);
        else
            element->DrawDest(painter);
        painter.restore();
    }
    return TRUE;
}

BOOL GetDropObjectDescriptor(const QMimeData* data, QSize* size, QPoint* offset)
{
    if (size != nullptr)
        *size = QSize(0, 0);
    if (offset != nullptr)
        *offset = QPoint(0, 0);
    const QString name = QString::fromLatin1(kObjectDescriptorFormat);
    if (data == nullptr || !data->hasFormat(name))
        return FALSE;
    const QByteArray descriptor = data->data(name);
    if (descriptor.size() < kDescriptorBytes)
        return FALSE;
    const auto* in = reinterpret_cast<const uchar*>(descriptor.constData());
    if (size != nullptr)
        *size = QSize(qFromLittleEndian<qint32>(in), qFromLittleEndian<qint32>(in + 4));
    if (offset != nullptr)
        *offset = QPoint(qFromLittleEndian<qint32>(in + 8), qFromLittleEndian<qint32>(in + 12));
    return TRUE;
}
