#include "designer/resources/images/ImagingToolkit.h"

#include "platform/imaging/Pictra.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstring>
#include <string>

namespace {

// Whether the core has been started in this process.
bool g_coreStarted = false;
ImagingToolkit* g_instance = nullptr;

ULONGLONG ColoursForDepth(int bitsPerPixel)
{
    if (bitsPerPixel <= 0)
        bitsPerPixel = 24;
    if (bitsPerPixel >= 64)
        return ~ULONGLONG{0};
    return ULONGLONG{1} << bitsPerPixel;
}

int ScreenDepth()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            return screen->depth();
    return 24;
}

// End of the NUL-ended text starting at from, or npos when it runs past size.
std::size_t TextEnd(const char* block, std::size_t size, std::size_t from)
{
    for (std::size_t i = from; i < size; ++i)
        if (block[i] == '\0')
            return i;
    return std::string::npos;
}

} // namespace

// "All Files" goes after the first pair, so every open dialog can show any
// file too.
QString ImportFilterWithAllFiles(const char* block, std::size_t size)
{
    if (!block)
        return {};
    std::string list(block, size);
    const std::size_t textEnd = TextEnd(block, size, 0);
    if (textEnd != std::string::npos && textEnd > 0) {
        const std::size_t patternEnd = TextEnd(block, size, textEnd + 1);
        if (patternEnd != std::string::npos) {
            static const char kAllFiles[] = "All Files\0*.*"; // 14 bytes with the final NUL
            list.insert(patternEnd + 1, kAllFiles, sizeof kAllFiles);
        }
    }
    return QString::fromUtf8(list.data(), static_cast<qsizetype>(list.size()));
}

ImagingToolkit::ImagingToolkit()
{
    Initialise(ColoursForDepth(ScreenDepth()));
}

ImagingToolkit::ImagingToolkit(int screenBitsPerPixel)
{
    Initialise(ColoursForDepth(screenBitsPerPixel));
}

void ImagingToolkit::Initialise(ULONGLONG screenColours)
{
    if (g_coreStarted)
        return;
    PtStartup();
    std::size_t size = 0;
    if (char* block = PtImportFilterList(&size)) {
        m_importFilter = ImportFilterWithAllFiles(block, size);
        PtFreeBlock(block);
    }
    g_coreStarted = true;
    m_startedCore = true;
    m_screenColours = screenColours;
    g_instance = this;
}

ImagingToolkit::~ImagingToolkit()
{
    if (!m_startedCore)
        return;
    PtShutdown();
    g_coreStarted = false;
    if (g_instance == this)
        g_instance = nullptr;
}

ImagingToolkit* ImagingToolkit::Instance()
{
    return g_instance;
}

QString ImagingToolkit::DialogFilter() const
{
    const QStringList parts = m_importFilter.split(QChar(u'\0'));
    QString filter;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        filter += parts[i] + u'|' + parts[i + 1] + u'|';
    }
    if (!filter.isEmpty())
        filter += u'|';
    return filter;
}
