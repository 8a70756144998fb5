#include "platform/clientaccess/LayerText.h"

#include "platform/clientaccess/HostMessages.h"
#include "platform/clientaccess/HostStore.h"

#include "platform/framework/Cp1252.h"

#include <algorithm>
#include <cstring>

namespace kwvd::clientaccess {

unsigned CopyTextOut(const std::string& text, char* buffer, unsigned long bufferLength, unsigned long* neededLength)
{
    if (!buffer || bufferLength == 0)
        return kCwbInvalidParameter;
    if (neededLength)
        *neededLength = text.size();
    const unsigned long copied = std::min<unsigned long>(text.size(), bufferLength - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return copied < text.size() ? kCwbTargetTooSmall : kCwbOk;
}

QString FromInterfaceText(const char* text)
{
    return text ? FromCp1252(text) : QString();
}

std::string ToInterfaceText(const QString& text)
{
    return ToCp1252(text);
}

unsigned LookUpSystem(const char* systemName, HostSystem* system, cwbSV_ErrHandle errorHandle)
{
    QString error;
    const std::optional<StoreState> state = ReadStore(&error);
    if (!state)
        return StoreFailure(errorHandle, error);
    const HostSystem* found = FindSystem(*state, FromInterfaceText(systemName));
    if (!found) {
        AddHostMessage(errorHandle, "KWV1004", "System " + std::string(systemName) + " is not configured.");
        return kCwbUnknownSystem;
    }
    *system = *found;
    return kCwbOk;
}

unsigned StoreFailure(cwbSV_ErrHandle errorHandle, const QString& reason)
{
    AddHostMessage(errorHandle, "KWV5001", "The emulated host's store cannot be used: " + ToCp1252(reason));
    return kCwbStoreError;
}

} // namespace kwvd::clientaccess
