#pragma once
// The designer's one binding of the imaging toolkit core: initialised once per
// process, shut down at exit. The application creates the one instance after
// its preferences are loaded; tests create their own.

#include "platform/framework/Types.h"

#include <QString>

#include <cstddef>

class ImagingToolkit
{
public:
    // Takes the screen's depth from the running GUI application, 24 bits
    // when there is none.
    ImagingToolkit();
    // A screen of the given bits per pixel (1 plane).
    explicit ImagingToolkit(int screenBitsPerPixel);
    ~ImagingToolkit();

    ImagingToolkit(const ImagingToolkit&) = delete;
    ImagingToolkit& operator=(const ImagingToolkit&) = delete;

    // The live instance, null before the first and after its destruction.
    static ImagingToolkit* Instance();

    ULONGLONG ScreenColourCount() const { return m_screenColours; }

    // Pairs of display text and file pattern, each ended by a NUL character,
    // the list ended by an empty string; empty when the core gave none.
    const QString& ImportFilterList() const { return m_importFilter; }

    // The same list in the file chooser's form: "text|pattern|...||"; empty
    // when there is none.
    QString DialogFilter() const;

    int ColourReductionOption() const { return m_colourReduction; }

private:
    void Initialise(ULONGLONG screenColours);

    ULONGLONG m_screenColours = 0;
    QString m_importFilter;
    int m_colourReduction = 0;
    bool m_startedCore = false;
};

// The core's filter block (pairs of NUL-ended 8-bit texts) as the wide list:
// "All Files" and "*.*" go in after the first whole pair; a block without
// one is taken as it is.
QString ImportFilterWithAllFiles(const char* block, std::size_t size);
