#include "designer/resources/images/ToolkitImage.h"

#include "designer/resources/images/ImagingToolkit.h"

#include <cstdlib>

namespace {

// Without a toolkit object the screen counts as true colour: no display copies.
ULONGLONG ScreenColours()
{
    const ImagingToolkit* toolkit = ImagingToolkit::Instance();
    return toolkit ? toolkit->ScreenColourCount() : (ULONGLONG{1} << 24);
}

int ReductionOption()
{
    const ImagingToolkit* toolkit = ImagingToolkit::Instance();
    return toolkit ? toolkit->ColourReductionOption() : 0;
}

bool ReadPalette(PtImage image, QList<QRgb>& palette)
{
    const int count = PtPalette(image, nullptr, 0);
    if (count <= 0)
        return false;
    QList<RgbQuad> entries(count);
    const int got = PtPalette(image, entries.data(), count);
    palette.clear();
    for (int i = 0; i < got && i < count; ++i)
        palette.append(qRgb(entries[i].rgbRed, entries[i].rgbGreen, entries[i].rgbBlue));
    return true;
}

} // namespace

ToolkitImage::~ToolkitImage()
{
    if (m_image)
        PtFreeImage(m_image);
    if (m_display)
        PtFreeImage(m_display);
}

void ToolkitImage::Destroy()
{
    delete this;
}

ToolkitImage* ToolkitImage::LoadFromFile(const QString& path)
{
    auto* wrapper = new ToolkitImage;
    wrapper->m_image = PtOpenImage(path.toUtf8().constData());
    if (!wrapper->m_image)
        return wrapper;
    wrapper->m_info = PtImageInfo(wrapper->m_image, &wrapper->m_infoFlags);
    if (!wrapper->m_info)
        return wrapper;
    if (wrapper->m_infoFlags & kPtVectorImage) {
        wrapper->m_hasPalette = ReadPalette(wrapper->m_image, wrapper->m_palette);
        return wrapper;
    }
    // A loaded image is reduced to the screen's own colour count.
    wrapper->TakePalettes(ScreenColours(), 18);
    return wrapper;
}

ToolkitImage* ToolkitImage::Attach(PtImage handle)
{
    auto* wrapper = new ToolkitImage;
    wrapper->m_image = handle;
    if (!handle)
        return wrapper;
    wrapper->m_info = PtImageInfo(handle, &wrapper->m_infoFlags);
    if (!wrapper->m_info)
        return wrapper;
    // A produced image is reduced to 256 colours for a palette screen.
    wrapper->TakePalettes(256, 20);
    return wrapper;
}

void ToolkitImage::TakePalettes(ULONGLONG displayColours, int displayOption)
{
    const int depth = m_info->biBitCount;
    if (depth <= 8)
        m_hasPalette = ReadPalette(m_image, m_palette);
    if (depth >= 8 && ScreenColours() <= 256) {
        m_display = PtReduceColours(m_image, displayColours, displayOption);
        if (m_display)
            m_hasDisplayPalette = ReadPalette(m_display, m_displayPalette);
    }
}

ToolkitImage* ToolkitImage::Resize(const PtRect* source, int width, int height) const
{
    return Attach(m_image ? PtResize(m_image, width, height, source, 1) : nullptr);
}

ToolkitImage* ToolkitImage::Rotate(int degrees) const
{
    return Attach(m_image ? PtRotate(m_image, degrees, 0) : nullptr);
}

ToolkitImage* ToolkitImage::ReduceColours(ULONGLONG colours) const
{
    return Attach(m_image ? PtReduceColours(m_image, colours, ReductionOption()) : nullptr);
}

BOOL ToolkitImage::SaveWithOptions(const QString& optionText) const
{
    // The core takes FILENAME as a UTF-8 path.
    OptionBlockHandle block = PtOptionBlockFromText(optionText.toUtf8().constData());
    BOOL written = FALSE;
    if (m_image && block)
        written = PtSaveImage(m_image, block) != 0 ? TRUE : FALSE;
    PtFreeOptionBlock(block);
    return written;
}

int ToolkitImage::Width() const
{
    return m_info ? m_info->biWidth : 0;
}

int ToolkitImage::Height() const
{
    if (!m_info)
        return 0;
    return m_info->biHeight < 0 ? -m_info->biHeight : m_info->biHeight;
}

int ToolkitImage::BitsPerPixel() const
{
    return m_info ? m_info->biBitCount : 0;
}
