#include "filters/common/FilterEntries.h"

#include "filters/mmr/MmrImage.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

#define PT31MMR_EXPORT extern "C" KWVD_FILTER_EXPORT

using kwvd::mmr::MmrImage;
namespace mmr = kwvd::mmr;

namespace {

thread_local int t_lastError = 0;

// The module's string table; entry 1000 names the file type for the core.
const char* ErrorText(int number)
{
    switch (number) {
    case 1:
        return "Cannot open file.";
    case 2:
        return "Error reading from file.";
    case 3:
        return "Unable to allocate memory for image.";
    case 4:
        return "Invalid image handle.";
    case 5:
        return "Unexpected End of File reached.";
    case 6:
        return "Pictra Internal Error: Tried to print mmr file from DLL.";
    case 7:
        return "Invalid mmr header information.";
    case 8:
        return "Invalid mmr Header Info (Byte Order).";
    case 9:
        return "Error processing mmr Image Lines.";
    case 10:
        return "Unsupported mmr Option (Bits/Sample).";
    case 11:
        return "Unsupported mmr Option (Compression).";
    case 12:
        return "Unsupported mmr Option (Photometric Interpretation).";
    case 13:
        return "Unsupported mmr Option (Planar Configuration).";
    case 14:
        return "Unsupported mmr Option (LZW Predictor).";
    case 15:
        return "Seek to non-existent page.";
    case 1000:
        return "IBM mmr Images~*.mmr~";
    default:
        return "";
    }
}

// Live images: a handle that is not one of them is refused, never used.
std::mutex g_imagesMutex;
std::unordered_set<MmrImage*> g_images;

MmrImage* Lock(FilterStateHandle state)
{
    auto* image = static_cast<MmrImage*>(state);
    std::lock_guard<std::mutex> lock(g_imagesMutex);
    if (!image || g_images.count(image) == 0) {
        t_lastError = mmr::kErrorInvalidHandle;
        return nullptr;
    }
    return image;
}

} // namespace

PT31MMR_EXPORT int PTDLverify_img(const std::uint8_t* firstBytes, std::int64_t byteCount, std::int32_t)
{
    return firstBytes && byteCount >= 2 && firstBytes[0] == 0xC6 && firstBytes[1] == 0xD9 ? 1 : 0;
}

PT31MMR_EXPORT int PTDLinit_image(const char* fileName, FilterStateHandle* state, FilterFileHandle file,
                                  std::int64_t baseOffset, std::int32_t, const IoCallbacks* io)
{
    if (state)
        *state = nullptr;
    if (!state || !io || baseOffset < 0) {
        if (io && io->close)
            io->close(file);
        t_lastError = mmr::kErrorInvalidHandle;
        return mmr::kResultInvalidHandle;
    }
    MmrImage* image = new (std::nothrow) MmrImage(fileName ? fileName : "", file, baseOffset, *io);
    if (!image) {
        if (io->close)
            io->close(file);
        t_lastError = mmr::kErrorNoMemory;
        return mmr::kResultNoMemory;
    }
    image->ScanPages();
    if (image->PageCount() > 0) {
        const int selected = image->SetPage(0);
        if (selected != mmr::kResultOk) {
            image->CloseFile();
            delete image;
            t_lastError = mmr::kErrorInvalidHeader;
            return selected;
        }
    }
    {
        std::lock_guard<std::mutex> lock(g_imagesMutex);
        g_images.insert(image);
    }
    *state = image;
    return mmr::kResultOk;
}

PT31MMR_EXPORT int PTDLopen(FilterStateHandle state, std::int32_t)
{
    MmrImage* image = Lock(state);
    if (!image)
        return mmr::kResultInvalidHandle;
    const int result = image->Reopen();
    if (result != mmr::kResultOk)
        t_lastError = mmr::kErrorCannotOpen;
    return result;
}

PT31MMR_EXPORT int PTDLclose_keep(FilterStateHandle state)
{
    MmrImage* image = Lock(state);
    if (!image)
        return mmr::kResultInvalidHandle;
    image->CloseFile();
    return mmr::kResultOk;
}

PT31MMR_EXPORT int PTDLclose_image(FilterStateHandle state)
{
    MmrImage* image = Lock(state);
    if (!image)
        return mmr::kResultInvalidHandle;
    {
        std::lock_guard<std::mutex> lock(g_imagesMutex);
        g_images.erase(image);
    }
    image->CloseFile();
    delete image;
    return mmr::kResultOk;
}

PT31MMR_EXPORT int PTDLread_rows(FilterStateHandle state, std::uint8_t* buffer, std::int32_t rowCount,
                                 std::int64_t bytesPerRow, std::int64_t byteOffset, ImportProgressBlock* progress)
{
    MmrImage* image = Lock(state);
    if (!image)
        return mmr::kResultInvalidHandle;
    try {
        return image->ReadRows(buffer, rowCount, bytesPerRow, byteOffset, progress);
    } catch (const std::bad_alloc&) {
        t_lastError = mmr::kErrorNoMemory;
        return mmr::kResultNoMemory;
    }
}

PT31MMR_EXPORT int PTDLset_row(FilterStateHandle state, std::int32_t row)
{
    MmrImage* image = Lock(state);
    if (!image)
        return mmr::kResultInvalidHandle;
    try {
        return image->SetRow(row);
    } catch (const std::bad_alloc&) {
        t_lastError = mmr::kErrorNoMemory;
        return mmr::kResultNoMemory;
    }
}

PT31MMR_EXPORT int PTDLset_page(FilterStateHandle state, std::int32_t page)
{
    MmrImage* image = Lock(state);
    if (!image)
        return mmr::kResultInvalidHandle;
    const int result = image->SetPage(page);
    if (result == mmr::kResultPageOutOfRange)
        t_lastError = mmr::kErrorNoSuchPage;
    else if (result != mmr::kResultOk)
        t_lastError = mmr::kErrorInvalidHeader;
    return result;
}

PT31MMR_EXPORT int PTDLget_page(FilterStateHandle state, std::int32_t* page)
{
    MmrImage* image = Lock(state);
    if (!image)
        return mmr::kResultInvalidHandle;
    if (page)
        *page = image->CurrentPage();
    return mmr::kResultOk;
}

PT31MMR_EXPORT int PTDLbuildDIBhead(FilterStateHandle state, ImportImageInfo* info)
{
    MmrImage* image = Lock(state);
    if (!image)
        return mmr::kResultInvalidHandle;
    const int result = image->BuildBitmapHeader(info);
    if (result != mmr::kResultOk)
        t_lastError = mmr::kErrorNoMemory;
    return result;
}

PT31MMR_EXPORT int PTDLimg_name(FilterStateHandle state, std::int32_t)
{
    return Lock(state) ? mmr::kResultOk : mmr::kResultInvalidHandle;
}

PT31MMR_EXPORT int PTDLset_ext(std::int32_t, std::int32_t)
{
    return mmr::kResultOk;
}

PT31MMR_EXPORT int PTDLescape(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t)
{
    return mmr::kResultEscapeUnsupported;
}

PT31MMR_EXPORT int PTDLprint(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t)
{
    t_lastError = mmr::kErrorPrintFromDll;
    return mmr::kResultPrintUnsupported;
}

PT31MMR_EXPORT int PTDLrender(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t)
{
    return 0;
}

PT31MMR_EXPORT int PTDLerror_string(char* buffer, std::int32_t size)
{
    if (buffer && size > 0) {
        const char* text = ErrorText(t_lastError);
        const std::size_t length = std::min<std::size_t>(std::strlen(text), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, text, length);
        buffer[length] = '\0';
    }
    return mmr::kResultOk;
}

PT31MMR_EXPORT const char* PTDLget_ver()
{
    return "MMR File Reader V1.2";
}

PT31MMR_EXPORT int WEP(int)
{
    return 0;
}
