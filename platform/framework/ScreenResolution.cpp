#include "platform/framework/ScreenResolution.h"

#include <atomic>

namespace kwvd {

namespace {

std::atomic<int> g_logPixelsX{ScreenResolution::kDefault};
std::atomic<int> g_logPixelsY{ScreenResolution::kDefault};

} // namespace

int ScreenResolution::LogPixelsX()
{
    return g_logPixelsX.load();
}

int ScreenResolution::LogPixelsY()
{
    return g_logPixelsY.load();
}

bool ScreenResolution::SetLogPixels(int x, int y)
{
    if (x < 1 || y < 1)
        return false;
    g_logPixelsX.store(x);
    g_logPixelsY.store(y);
    return true;
}

void ScreenResolution::Reset()
{
    g_logPixelsX.store(kDefault);
    g_logPixelsY.store(kDefault);
}

} // namespace kwvd
