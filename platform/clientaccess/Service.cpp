#include "platform/clientaccess/HostMessages.h"
#include "platform/clientaccess/LayerText.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace {

struct HandleTable
{
    std::mutex mutex;
    cwbSV_ErrHandle next = 1;
    std::map<cwbSV_ErrHandle, std::vector<kwvd::clientaccess::HostMessage>> messages;
};

HandleTable& Handles()
{
    static HandleTable table;
    return table;
}

std::string JoinedText(const std::vector<kwvd::clientaccess::HostMessage>& messages)
{
    std::string text;
    for (const auto& message : messages) {
        if (!text.empty())
            text += '\n';
        text += message.id;
        text += ": ";
        text += message.text;
    }
    return text;
}

} // namespace

namespace kwvd::clientaccess {

bool AddHostMessage(cwbSV_ErrHandle handle, std::string id, std::string text)
{
    HandleTable& table = Handles();
    std::lock_guard lock(table.mutex);
    auto it = table.messages.find(handle);
    if (it == table.messages.end())
        return false;
    // A message is one line, whatever the host wrote.
    std::replace(text.begin(), text.end(), '\n', ' ');
    it->second.push_back({std::move(id), std::move(text)});
    return true;
}

std::vector<HostMessage> HostMessages(cwbSV_ErrHandle handle)
{
    HandleTable& table = Handles();
    std::lock_guard lock(table.mutex);
    auto it = table.messages.find(handle);
    return it == table.messages.end() ? std::vector<HostMessage>{} : it->second;
}

} // namespace kwvd::clientaccess

unsigned cwbSV_CreateErrHandle(cwbSV_ErrHandle* handle)
{
    if (!handle)
        return kCwbInvalidParameter;
    HandleTable& table = Handles();
    std::lock_guard lock(table.mutex);
    *handle = table.next++;
    table.messages[*handle];
    return kCwbOk;
}

unsigned cwbSV_DeleteErrHandle(cwbSV_ErrHandle handle)
{
    HandleTable& table = Handles();
    std::lock_guard lock(table.mutex);
    return table.messages.erase(handle) ? kCwbOk : kCwbInvalidHandle;
}

unsigned cwbSV_GetErrCount(cwbSV_ErrHandle handle, unsigned long* count)
{
    HandleTable& table = Handles();
    std::lock_guard lock(table.mutex);
    auto it = table.messages.find(handle);
    if (it == table.messages.end())
        return kCwbInvalidHandle;
    if (!count)
        return kCwbInvalidParameter;
    *count = it->second.size();
    return kCwbOk;
}

unsigned cwbSV_GetErrText(cwbSV_ErrHandle handle, char* buffer, unsigned long bufferLength,
                          unsigned long* neededLength)
{
    std::string text;
    {
        HandleTable& table = Handles();
        std::lock_guard lock(table.mutex);
        auto it = table.messages.find(handle);
        if (it == table.messages.end())
            return kCwbInvalidHandle;
        if (it->second.empty())
            return kCwbNoMessages;
        text = JoinedText(it->second);
    }
    return kwvd::clientaccess::CopyTextOut(text, buffer, bufferLength, neededLength);
}
