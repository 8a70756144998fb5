#pragma once
// One image held by the imaging toolkit core. Always on the heap: made only
// by the static makers and the producing operations, freed only by Destroy.
// A wrapper owns its image handle, its display copy and their palettes.

#include "platform/framework/Types.h"
#include "platform/imaging/Pictra.h"

#include <QList>
#include <QRgb>
#include <QString>

#include <memory>

class ToolkitImage
{
public:
    // A new wrapper for the file (UTF-8 path); its handle is null when the
    // core cannot open the file.
    static ToolkitImage* LoadFromFile(const QString& path);
    // A new wrapper around a handle the core has just produced (taken over;
    // null gives a wrapper without an image).
    static ToolkitImage* Attach(PtImage handle);

    // New images; this one is left untouched. A failure gives a wrapper
    // whose handle is null. source is in image pixels, right and bottom
    // inclusive; null means the whole image.
    ToolkitImage* Resize(const PtRect* source, int width, int height) const;
    // Counter-clockwise by degrees (the designer uses 90 and 270).
    ToolkitImage* Rotate(int degrees) const;
    ToolkitImage* ReduceColours(ULONGLONG colours) const;

    // Writes a file as the option text prescribes (FILENAME names it; UTF-8).
    // TRUE when the core reports it written.
    BOOL SaveWithOptions(const QString& optionText) const;

    // Frees the palettes, the handles and the wrapper.
    void Destroy();

    PtImage Handle() const { return m_image; }
    PtImage DisplayHandle() const { return m_display; }
    // Empty when the image has none.
    const QList<QRgb>& Palette() const { return m_palette; }
    const QList<QRgb>& DisplayPalette() const { return m_displayPalette; }
    bool HasPalette() const { return m_hasPalette; }
    bool HasDisplayPalette() const { return m_hasDisplayPalette; }
    // Owned by the core; valid while the handle lives. Null without an image.
    const BitmapInfoHeader* Info() const { return m_info; }
    DWORD InfoFlags() const { return m_infoFlags; }

    // From the information; 0 without it.
    int Width() const;
    int Height() const; // always positive
    int BitsPerPixel() const;

    // Frees through Destroy, for owners that hold a wrapper for a scope.
    struct Deleter
    {
        void operator()(ToolkitImage* image) const
        {
            if (image)
                image->Destroy();
        }
    };

private:
    ToolkitImage() = default;
    ~ToolkitImage();

    void TakePalettes(ULONGLONG displayColours, int displayOption);

    PtImage m_image = nullptr;
    PtImage m_display = nullptr;
    QList<QRgb> m_palette;
    QList<QRgb> m_displayPalette;
    bool m_hasPalette = false;
    bool m_hasDisplayPalette = false;
    const BitmapInfoHeader* m_info = nullptr;
    DWORD m_infoFlags = 0;
};

using ToolkitImagePtr = std::unique_ptr<ToolkitImage, ToolkitImage::Deleter>;
