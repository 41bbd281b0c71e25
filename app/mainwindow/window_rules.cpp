#include "app/mainwindow/window_rules.h"

bool AddAllowed(int srcLevel, int dstLevel)
{
    if (srcLevel == 2 && dstLevel == 2) return true;
    if (srcLevel == 3 && dstLevel == 2) return true;
    if (srcLevel == 4 && dstLevel >= 4) return true;
    if (srcLevel < 5) return false;
    if (dstLevel < 4) return false;
    return true;
}

bool CreateProfileAllowed(int srcLevel, int dstLevel) { return srcLevel == 3 && dstLevel == 3; }

float SteppedProgressValue(float value, float max, double step)
{
    const float next = float(value + step);
    return max >= next ? next : max;
}
