#include "designer/resources/images/ImageFileState.h"

#include "designer/document/DesignerDoc.h"
#include "designer/resources/images/ImageExport.h"
#include "designer/resources/images/ImageSupport.h"
#include "designer/resources/images/ToolkitImage.h"

using namespace imagesupport;

ImageFileState::~ImageFileState()
{
    DestroyImages();
}

QString ImageFileState::GetFormatName(int format)
{
    return ImageFormatName(format);
}

BOOL ImageFileState::IsLoaded() const
{
    return m_pImage != nullptr && m_pImage->Handle() != nullptr;
}

BOOL ImageFileState::StoreFormat(int format)
{
    if (format < -1 || format > 3 || format == m_nFormat)
        return FALSE;
    m_nFormat = format;
    return TRUE;
}

BOOL ImageFileState::StoreQuality(unsigned quality)
{
    if (quality > 100 || static_cast<int>(quality) == m_nQuality)
        return FALSE;
    m_nQuality = static_cast<int>(quality);
    return TRUE;
}

void ImageFileState::TakeImage(ToolkitImage* loaded, BOOL rotated)
{
    DestroyImages();
    m_pImage = loaded;
    m_nRotated = rotated ? 1 : 0;
}

void ImageFileState::DestroyImages()
{
    DestroyImage(m_pDisplayCache);
    DestroyImage(m_pImage);
}

CPage* ImageFileState::OutputPage() const
{
    return m_pDocument != nullptr ? m_pDocument->GetOutputPage() : nullptr;
}

void ImageFileState::FillExportSubject(ImageExportSubject& subject) const
{
    subject.image = m_pImage;
    subject.format = m_nFormat;
    subject.quality = m_nQuality;
    subject.rotated = m_nRotated != 0 ? TRUE : FALSE;
    subject.path = m_strPath;
}
