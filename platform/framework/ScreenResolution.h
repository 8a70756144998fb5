#pragma once
// Pixels per logical inch of the screen the designer draws on. 96 until a
// program sets it (the designer does from its screen at start-up); tests keep
// 96 so page and font sizes come out the same on every machine.

namespace kwvd {

class ScreenResolution
{
public:
    static constexpr int kDefault = 96;

    static int LogPixelsX();
    static int LogPixelsY();

    // Values below 1 are refused (false, nothing changed): callers divide by them.
    static bool SetLogPixels(int x, int y);

    // Back to 96 by 96.
    static void Reset();
};

} // namespace kwvd
