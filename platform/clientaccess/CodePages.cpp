#include "platform/clientaccess/CodePages.h"

#include "platform/clientaccess/CodePageConverter.h"
#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/HostMessages.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace {

using kwvd::clientaccess::AddHostMessage;
using kwvd::clientaccess::CodePageConverter;

constexpr unsigned long kPcCodePage = 1252;

struct ConverterTable
{
    std::mutex mutex;
    cwbNL_Converter next = 1;
    std::map<cwbNL_Converter, std::shared_ptr<CodePageConverter>> converters;
};

ConverterTable& Converters()
{
    static ConverterTable table;
    return table;
}

std::shared_ptr<CodePageConverter> FindConverter(cwbNL_Converter handle)
{
    ConverterTable& table = Converters();
    std::lock_guard lock(table.mutex);
    auto it = table.converters.find(handle);
    return it == table.converters.end() ? nullptr : it->second;
}

// The one place where a fault set on the emulated host reaches the code-page
// calls: the fault's code, 0 for none, its host message already on the handle.
unsigned InjectedCodePageFault(const char* operation, cwbSV_ErrHandle errorHandle)
{
    return kwvd::clientaccess::InjectedFault(operation, errorHandle);
}

} // namespace

namespace kwvd::clientaccess {

unsigned RefuseCcsid(unsigned long ccsid, cwbSV_ErrHandle errorHandle)
{
    AddHostMessage(errorHandle, "KWV6001", "CCSID " + std::to_string(ccsid) + " cannot be converted.");
    return kCwbInvalidCcsid;
}

bool IsConvertibleCcsid(unsigned ccsid)
{
    return FindCodePageEncoding(ccsid).has_value();
}

} // namespace kwvd::clientaccess

unsigned cwbNL_GetPCCodePage(unsigned long* codePage)
{
    if (!codePage)
        return kCwbInvalidParameter;
    *codePage = kPcCodePage;
    return kCwbOk;
}

unsigned cwbNL_GetCodePageOfCCSID(unsigned long ccsid, unsigned long* codePage, cwbSV_ErrHandle errorHandle)
{
    if (!codePage)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedCodePageFault("cwbNL_GetCodePageOfCCSID", errorHandle))
        return fault;
    // Every CCSID the layer converts is its own code page: the converters
    // take either.
    if (ccsid > 0xFFFFFFFFul || !kwvd::clientaccess::IsConvertibleCcsid(static_cast<unsigned>(ccsid)))
        return kwvd::clientaccess::RefuseCcsid(ccsid, errorHandle);
    *codePage = ccsid;
    return kCwbOk;
}

unsigned cwbNL_CreateConverterEx(unsigned long sourceCodePage, unsigned long targetCodePage, unsigned long options,
                                 cwbNL_Converter* converter, cwbSV_ErrHandle errorHandle)
{
    if (!converter || (options & ~kCwbNlColumnMode) != 0)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedCodePageFault("cwbNL_CreateConverterEx", errorHandle))
        return fault;
    for (const unsigned long ccsid : {sourceCodePage, targetCodePage}) {
        if (ccsid > 0xFFFFFFFFul || !kwvd::clientaccess::IsConvertibleCcsid(static_cast<unsigned>(ccsid)))
            return kwvd::clientaccess::RefuseCcsid(ccsid, errorHandle);
    }
    auto made = CodePageConverter::Create(static_cast<unsigned>(sourceCodePage), static_cast<unsigned>(targetCodePage),
                                          (options & kCwbNlColumnMode) != 0);
    if (!made)
        return kwvd::clientaccess::RefuseCcsid(sourceCodePage, errorHandle);
    ConverterTable& table = Converters();
    std::lock_guard lock(table.mutex);
    *converter = table.next++;
    table.converters.emplace(*converter, std::move(made));
    return kCwbOk;
}

unsigned cwbNL_DeleteConverter(cwbNL_Converter converter, cwbSV_ErrHandle)
{
    ConverterTable& table = Converters();
    std::lock_guard lock(table.mutex);
    return table.converters.erase(converter) ? kCwbOk : kCwbInvalidHandle;
}

unsigned cwbNL_Convert(cwbNL_Converter converter, unsigned long sourceLength, unsigned long targetLength,
                       const char* source, char* target, unsigned long* convertedLength, unsigned long* neededLength,
                       cwbSV_ErrHandle errorHandle)
{
    const std::shared_ptr<CodePageConverter> found = FindConverter(converter);
    if (!found)
        return kCwbInvalidHandle;
    if ((!source && sourceLength > 0) || (!target && targetLength > 0))
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedCodePageFault("cwbNL_Convert", errorHandle))
        return fault;

    const auto result = found->Convert(reinterpret_cast<const unsigned char*>(source), sourceLength,
                                       reinterpret_cast<unsigned char*>(target), targetLength);
    if (convertedLength)
        *convertedLength = result.converted;
    if (neededLength)
        *neededLength = result.needed;
    if (result.substitutions > 0) {
        AddHostMessage(errorHandle, "KWV6002",
                       std::to_string(result.substitutions) + " character(s) had no equivalent from CCSID "
                           + std::to_string(found->SourceCcsid()) + " to CCSID " + std::to_string(found->TargetCcsid())
                           + " and were substituted.");
    }
    if (result.converted < result.needed) {
        AddHostMessage(errorHandle, "KWV6003",
                       "The converted text needs " + std::to_string(result.needed) + " bytes; the target holds "
                           + std::to_string(targetLength) + ".");
        return kCwbTargetTooSmall;
    }
    return result.substitutions > 0 ? kCwbSubstituted : kCwbOk;
}
