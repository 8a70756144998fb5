#include "designer/resources/images/ResourceManager.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/FixedLenUserString.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormElement.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/images/Image.h"
#include "designer/resources/images/ImageRegistry.h"
#include "designer/resources/images/ImageStrings.h"
#include "designer/resources/images/ImageSupport.h"
#include "designer/resources/images/ImagingToolkit.h"
#include "designer/resources/images/Resource.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/File.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"

#include <memory>
#include <unordered_set>
#include <vector>

KWVD_IMPLEMENT_SERIAL(CResourceManager, CObject, VERSIONABLE_SCHEMA | 0)

namespace {

constexpr int kLastVersionWithoutResources = 17;
constexpr int kLibraryWidth = 8;
constexpr int kDescriptionWidth = 50;

// One file that the export would write for the host.
struct HostFile
{
    bool resource = false;
    QString path;
    int format = -1;
    int quality = 80;
    QString name;
};

// Two files under one host name would overwrite each other on the host.
// Two resources of one file with the same settings write the same bytes.
void RefuseServerNameClashes(CDesignerDoc* document, const std::vector<HostFile>& files, const QString& jvxPath)
{
    for (size_t i = 0; i < files.size(); ++i) {
        for (size_t j = i + 1; j < files.size(); ++j) {
            const HostFile& first = files[i];
            const HostFile& second = files[j];
            if (first.name != second.name)
                continue;
            if (first.resource == second.resource && first.path == second.path && first.format == second.format
                && first.quality == second.quality)
                continue;
            imagesupport::Tell(document,
                               FormatResMessage(IDS_IMAGE_SERVER_NAME_CLASH, first.path, second.path, first.name),
                               MB_OK | MB_ICONERROR, IDOK);
            AfxThrowArchiveException(CArchiveException::none, jvxPath);
        }
    }
}

} // namespace

CResourceManager::CResourceManager() = default;

CResourceManager::CResourceManager(CDesignerDoc* document) : m_pDocument(document) {}

CResourceManager::~CResourceManager()
{
    DeleteAll();
}

void CResourceManager::DeleteAll()
{
    std::unordered_set<CObject*> deleted;
    for (CObject* resource : m_resources) {
        if (resource != nullptr && deleted.insert(resource).second)
            delete resource;
    }
    m_resources.RemoveAll();
}

void CResourceManager::SetDocument(CDesignerDoc* document)
{
    if (document == m_pDocument)
        return;
    m_pDocument = document;
    for (CObject* resource : m_resources)
        if (resource != nullptr)
            static_cast<CResource*>(resource)->SetDocument(document);
}

CResource* CResourceManager::GetResource(int index) const
{
    if (index < 0 || index >= GetSlotCount())
        return nullptr;
    return static_cast<CResource*>(m_resources.GetAt(index));
}

int CResourceManager::FindResource(const CResource* resource) const
{
    for (int index = 0; index < GetSlotCount(); ++index)
        if (resource != nullptr && GetResource(index) == resource)
            return index;
    return -1;
}

void CResourceManager::Serialize(CArchive& ar)
{
    m_pDocument = dynamic_cast<CDesignerDoc*>(ar.m_pDocument);
    RemoveUnused();
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_resources.GetSize()));
        for (const CObject* resource : m_resources)
            ar.WriteObject(resource);
        return;
    }
    DeleteAll();
    const DWORD count = ar.ReadCount();
    // Slots are single digits in the exported file.
    if (count > static_cast<DWORD>(kMaxResources))
        AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
    for (DWORD i = 0; i < count; ++i) {
        CResource* resource = ar.ReadObject<CResource>();
        // A second reference to one resource would be owned twice.
        if (resource != nullptr && FindResource(resource) >= 0)
            AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
        m_resources.Add(resource);
    }
}

int CResourceManager::Add(CResource* resource)
{
    int index = 0;
    while (index < GetSlotCount() && m_resources.GetAt(index) != nullptr)
        ++index;
    if (index >= kMaxResources) {
        AfxMessageBox(FormatResMessage(IDS_RESOURCE_MAXIMUM, kMaxResources), MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    if (index < GetSlotCount())
        m_resources.SetAt(index, resource);
    else
        m_resources.Add(resource);
    return index;
}

int CResourceManager::AddUser(CFormElement* element, int index)
{
    CResource* resource = GetResource(index);
    if (resource == nullptr)
        return -1;
    resource->AddUser(element);
    return index;
}

BOOL CResourceManager::RemoveUser(CFormElement* element, int index)
{
    if (index == -1)
        return TRUE;
    CResource* resource = GetResource(index);
    if (resource == nullptr)
        return FALSE;
    resource->RemoveUser(element);
    if (!resource->HasUsers()) {
        m_resources.SetAt(index, nullptr);
        delete resource;
    }
    return TRUE;
}

void CResourceManager::RemoveUnused()
{
    for (qsizetype i = 0; i < m_resources.GetSize(); ++i) {
        auto* resource = static_cast<CResource*>(m_resources.GetAt(i));
        if (resource != nullptr && !resource->HasUsers()) {
            delete resource;
            m_resources.SetAt(i, nullptr);
        }
    }
    qsizetype size = m_resources.GetSize();
    while (size > 0 && m_resources.GetAt(size - 1) == nullptr)
        --size;
    m_resources.SetSize(size);
}

int CResourceManager::CountUsed() const
{
    int used = 0;
    for (int index = 0; index < GetSlotCount(); ++index) {
        const CResource* resource = GetResource(index);
        if (resource != nullptr && resource->HasUsers())
            ++used;
    }
    return used;
}

int CResourceManager::BrowseAndAdd(QWidget*)
{
    auto resource = std::make_unique<CResource>(m_pDocument);
    FileDialogRequest request;
    if (const ImagingToolkit* toolkit = ImagingToolkit::Instance())
        request.filter = toolkit->DialogFilter();
    if (m_pDocument != nullptr)
        request.initialFolder = Preferences().DefaultImageDirectory;
    for (;;) {
        const QString chosen = Prompts().GetOpenFileName(request);
        if (chosen.isEmpty())
            return -1;
        if (resource->LoadImage(chosen))
            break;
    }
    const int index = Add(resource.get());
    if (index >= 0)
        resource.release();
    return index;
}

void CResourceManager::UpdateOrientation()
{
    const CPage* page = m_pDocument != nullptr ? m_pDocument->GetOutputPage() : nullptr;
    const BOOL landscape = page != nullptr && page->IsLandscape();
    for (int index = 0; index < GetSlotCount(); ++index) {
        CResource* resource = GetResource(index);
        if (resource == nullptr)
            continue;
        resource->SetRectToPage();
        if (resource->IsRotated() != landscape)
            resource->LoadImage(resource->GetPath());
    }
}

void CResourceManager::Reload(int index)
{
    CResource* resource = GetResource(index);
    if (resource == nullptr)
        return;
    resource->SetRectToPage();
    resource->LoadImage(resource->GetPath());
}

void CResourceManager::ExchangeJVX(CJVXArchive& ar)
{
    RemoveUnused();

    if (ar.IsStoring()) {
        // Checked before the first image file is written, so a refused
        // export leaves none behind.
        std::vector<HostFile> files;
        for (int index = 0; index < GetSlotCount(); ++index) {
            const CResource* resource = GetResource(index);
            if (resource != nullptr && resource->HasUsers())
                files.push_back({true, resource->GetPath(), resource->GetFormat(), resource->GetQuality(),
                                 imagesupport::ServerNameFor(resource->GetPath(), nullptr, nullptr)});
        }
        if (CDesignerDoc* document = ar.GetDocument()) {
            if (const ImageRegistry* images = document->GetImageRegistry()) {
                for (int index = 0; index < images->GetSlotCount(); ++index) {
                    const Image* image = images->GetImage(index);
                    if (image != nullptr && image->HasUsers())
                        files.push_back({false, image->GetPath(), image->GetFormat(), image->GetQuality(),
                                         imagesupport::ServerNameFor(image->GetPath(), nullptr, nullptr)});
                }
            }
        }
        RefuseServerNameClashes(ar.GetDocument(), files, ar.GetFilePath());

        if (CountUsed() == 0)
            return;
    }

    const int version = ar.GetVersion();
    if (version >= 1 && version <= kLastVersionWithoutResources) {
        if (ar.IsStoring())
            AfxMessageBox(FormatResMessage(IDS_RESOURCE_JVX_VERSION, version), MB_OK | MB_ICONINFORMATION);
        return;
    }

    CFixedLenUserString library(kLibraryWidth);
    CFixedLenUserString description(kDescriptionWidth);
    if (ar.IsStoring()) {
        ar.WriteText(QStringLiteral("#R "), 3);
        library.SetValue(m_strLibrary);
        description.SetValue(m_strDescription);
        library.ExchangeJVX(ar);
        description.ExchangeJVX(ar);
        ar.WriteLineEnd();
        ExchangeJVXResources(ar);
        return;
    }

    const LONG position = ar.Seek(0, CFile::current);
    QString marker;
    if (ar.ReadText(marker, 3) < 3 || marker != QLatin1String("#R ")) {
        ar.Seek(position, CFile::begin);
        return;
    }
    library.ExchangeJVX(ar);
    description.ExchangeJVX(ar);
    ar.ReadLineEnd();
    m_strDescription = description.GetValue();
    ExchangeJVXResources(ar);
}

void CResourceManager::ExchangeJVXResources(CJVXArchive& ar)
{
    if (ar.IsStoring()) {
        for (int index = 0; index < GetSlotCount(); ++index) {
            CResource* resource = GetResource(index);
            if (resource == nullptr || !resource->HasUsers())
                continue;
            ar.WriteText(QStringLiteral("#R") + QChar(u'0' + index), 3);
            resource->ExchangeJVX(ar);
        }
        return;
    }

    SetDocument(ar.GetDocument());
    for (;;) {
        const LONG position = ar.Seek(0, CFile::current);
        QString marker;
        if (ar.ReadText(marker, 3) < 3 || !marker.startsWith(QLatin1String("#R"))) {
            ar.Seek(position, CFile::begin);
            return;
        }
        const QChar digit = marker.at(2);
        const int slot = digit >= u'0' && digit <= u'9' ? digit.unicode() - u'0' : 0;
        auto resource = std::make_unique<CResource>(m_pDocument);
        resource->ExchangeJVX(ar);
        if (slot >= GetSlotCount())
            m_resources.SetSize(slot + 1);
        // Elements that use the slot keep using it.
        if (CResource* old = GetResource(slot)) {
            for (CObject* user : old->GetUsers())
                resource->AddUser(static_cast<CFormElement*>(user));
            delete old;
        }
        m_resources.SetAt(slot, resource.release());
    }
}
