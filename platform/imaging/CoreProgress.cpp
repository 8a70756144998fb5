#include "platform/imaging/CoreProgress.h"

CoreProgress& CoreProgress::Current()
{
    static CoreProgress progress;
    return progress;
}
