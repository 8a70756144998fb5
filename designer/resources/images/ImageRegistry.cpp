#include "designer/resources/images/ImageRegistry.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/images/Image.h"
#include "designer/resources/images/ImageStrings.h"
#include "designer/resources/images/ImagingToolkit.h"
#include "platform/framework/Paths.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"

#include <memory>
#include <unordered_set>

KWVD_IMPLEMENT_SERIAL(ImageRegistry, CObject, VERSIONABLE_SCHEMA | 0)

ImageRegistry::ImageRegistry() = default;

ImageRegistry::ImageRegistry(CDesignerDoc* document) : m_pDocument(document) {}

ImageRegistry::~ImageRegistry()
{
    std::unordered_set<CObject*> deleted;
    for (CObject* image : m_images) {
        if (image != nullptr && deleted.insert(image).second)
            delete image;
    }
    m_images.RemoveAll();
}

void ImageRegistry::SetDocument(CDesignerDoc* document)
{
    if (document == m_pDocument)
        return;
    m_pDocument = document;
    for (CObject* image : m_images)
        if (image != nullptr)
            static_cast<Image*>(image)->SetDocument(document);
}

Image* ImageRegistry::GetImage(int index) const
{
    if (index < 0 || index >= GetSlotCount())
        return nullptr;
    return static_cast<Image*>(m_images.GetAt(index));
}

int ImageRegistry::Add(Image* image)
{
    int index = 0;
    while (index < GetSlotCount() && m_images.GetAt(index) != nullptr)
        ++index;
    if (index >= kMaxImages) {
        AfxMessageBox(FormatResMessage(IDS_RESOURCE_MAXIMUM, kMaxImages), MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    if (index < GetSlotCount())
        m_images.SetAt(index, image);
    else
        m_images.Add(image);
    return index;
}

int ImageRegistry::AddUser(CFormElement* element, int index)
{
    Image* image = GetImage(index);
    if (image == nullptr)
        return -1;
    image->AddUser(element);
    return index;
}

BOOL ImageRegistry::RemoveUser(CFormElement* element, int index)
{
    if (index == -1)
        return TRUE;
    Image* image = GetImage(index);
    if (image == nullptr)
        return FALSE;
    image->RemoveUser(element);
    if (!image->HasUsers()) {
        m_images.SetAt(index, nullptr);
        delete image;
    }
    return TRUE;
}

void ImageRegistry::RemoveUnused()
{
    for (qsizetype i = 0; i < m_images.GetSize(); ++i) {
        auto* image = static_cast<Image*>(m_images.GetAt(i));
        if (image != nullptr && !image->HasUsers()) {
            delete image;
            m_images.SetAt(i, nullptr);
        }
    }
    qsizetype size = m_images.GetSize();
    while (size > 0 && m_images.GetAt(size - 1) == nullptr)
        --size;
    m_images.SetSize(size);
}

int ImageRegistry::FindByPath(const QString& path) const
{
    // Names differing only in case are two files here.
    for (int index = 0; index < GetSlotCount(); ++index) {
        const Image* image = GetImage(index);
        if (image != nullptr && image->GetPath() == path)
            return index;
    }
    return -1;
}

int ImageRegistry::FindOrLoad(const QString& path)
{
    if (path.isEmpty())
        return -1;
    QString resolved = path;
    if (!Image::ResolveFile(resolved, m_pDocument))
        return -1;
    const int found = FindByPath(resolved);
    if (found >= 0)
        return found;

    auto image = std::make_unique<Image>(m_pDocument);
    if (!image->SetFile(resolved))
        return -1;
    image->SetFormat(Image::kDefaultFormat);
    image->SetQuality(Image::kDefaultQuality);
    const int index = Add(image.get());
    if (index >= 0)
        image.release();
    return index;
}

int ImageRegistry::BrowseAndAdd(QWidget*, QString& path)
{
    QString folder;
    QString fileName;
    SplitPathFolderFile(path, folder, fileName);
    if (!IsDirectory(folder))
        folder = Preferences().DefaultImageDirectory;

    FileDialogRequest request;
    if (const ImagingToolkit* toolkit = ImagingToolkit::Instance())
        request.filter = toolkit->DialogFilter();
    request.initialFolder = folder;
    request.fileName = fileName;
    for (;;) {
        const QString chosen = Prompts().GetOpenFileName(request);
        if (chosen.isEmpty())
            return -1;
        const int index = FindOrLoad(chosen);
        if (index >= 0) {
            path = chosen;
            return index;
        }
        SplitPathFolderFile(chosen, request.initialFolder, request.fileName);
    }
}

void ImageRegistry::UpdateOrientation()
{
    const CPage* page = m_pDocument != nullptr ? m_pDocument->GetOutputPage() : nullptr;
    if (page == nullptr)
        return;
    const BOOL landscape = page->IsLandscape();
    for (int index = 0; index < GetSlotCount(); ++index) {
        Image* image = GetImage(index);
        if (image != nullptr && image->IsRotated() != landscape)
            image->SetFile(image->GetPath());
    }
}

void ImageRegistry::ExportJVX(CJVXArchive& ar)
{
    RemoveUnused();
    if (!ar.IsStoring())
        return;

    // The host-name notice is given once per image and export: the element
    // records asked first, the files follow here.
    struct NoticeReset
    {
        ImageRegistry& registry;
        ~NoticeReset()
        {
            for (int index = 0; index < registry.GetSlotCount(); ++index)
                if (Image* image = registry.GetImage(index))
                    image->ForgetServerNameNotice();
        }
    } reset{*this};

    for (int index = 0; index < GetSlotCount(); ++index) {
        Image* image = GetImage(index);
        if (image != nullptr && image->HasUsers())
            image->ExportJVX(ar);
    }
}
