// PT31XPNG: writes PNG images for the imaging toolkit core through libpng,
// sending every byte through the core's file operations.

#include "filters/png/PngExport.h"

#include "filters/common/FilterEntries.h"

#include <dlfcn.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kFilterName = "PTGXBMP.DEL";
constexpr const char* kSoftwareKey = "Software";
constexpr const char* kSoftwareText = "Written by Pictra from Halvix, Inc.";

FilterErrorCallback g_errorCallback = nullptr;

const void* ModuleHandle()
{
    static const void* module = [] {
        Dl_info info{};
        return dladdr(reinterpret_cast<void*>(&PTXDLget_ext), &info) ? info.dli_fbase : nullptr;
    }();
    return module;
}

void Report(int code, const char* context)
{
    if (g_errorCallback)
        g_errorCallback(ModuleHandle(), code, kFilterName, context ? context : "");
}

// libpng reports its errors here; we leave through the image's own jump buffer.
[[noreturn]] void OnPngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* state = static_cast<PngExportState*>(png_get_io_ptr(png));
    const auto count = static_cast<std::int64_t>(length);
    if (state->io.write(state->file, data, count) != count) {
        // A PNG with a gap is worse than no PNG: the export fails here.
        state->shortWrite = true;
        png_error(png, "short write");
    }
}

void OnPngFlush(png_structp) {}

bool IsGreyRamp(const RgbQuad* palette, std::int64_t entries, int depth)
{
    const int last = (1 << depth) - 1;
    if (entries == 0 || entries > last + 1)
        return false;
    for (int i = 0; i < entries; ++i) {
        const int grey = i * 255 / last;
        if (palette[i].rgbRed != grey || palette[i].rgbGreen != grey || palette[i].rgbBlue != grey)
            return false;
    }
    return true;
}

int OptionRowFilter(OptionBlockHandle options, int colourType, int depth)
{
    char value[32];
    const bool found = kwvd::filters::OptionBlockGet(options, "PNG_FILTER", value, sizeof value) == kOptionFound;
    if (found && std::strcmp(value, "NONE") == 0)
        return PNG_FILTER_NONE;
    // Palette images and packed depths always go unfiltered.
    if (colourType == PNG_COLOR_TYPE_PALETTE || depth < 8)
        return PNG_FILTER_NONE;
    if (!found)
        return -1;
    static const struct
    {
        const char* name;
        int filter;
    } filters[] = {
        {"SUB", PNG_FILTER_SUB}, {"UP", PNG_FILTER_UP}, {"AVERAGE", PNG_FILTER_AVG}, {"PAETH", PNG_FILTER_PAETH}};
    for (const auto& f : filters)
        if (std::strcmp(value, f.name) == 0)
            return f.filter;
    return -1;
}

void ApplyCompression(png_structp png, OptionBlockHandle options)
{
    char value[32];
    if (kwvd::filters::OptionBlockGet(options, "PNG_COMPRESS", value, sizeof value) != kOptionFound)
        value[0] = '\0';
    if (std::strcmp(value, "MAXIMUM") == 0) {
        png_set_compression_level(png, 9);
    } else if (std::strcmp(value, "NONE") == 0) {
        // Stored blocks; the memory level must stay valid for deflate.
        png_set_compression_level(png, 0);
        png_set_compression_mem_level(png, 8);
    } else {
        png_set_compression_mem_level(png, 8);
    }
}

void FreeState(PngExportState* state)
{
    png_destroy_write_struct(&state->png, &state->info);
    state->io.close(state->file);
    std::free(state);
}

bool ValidBitmap(const BitmapInfoHeader* bitmap)
{
    if (!bitmap || bitmap->biSize != sizeof(BitmapInfoHeader) || bitmap->biCompression != 0)
        return false;
    if (bitmap->biWidth <= 0 || bitmap->biHeight <= 0)
        return false;
    const int bits = bitmap->biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return false;
    return BitmapPaletteEntries(*bitmap) >= 0;
}

// Everything of begin that libpng can fail in; false after a libpng error.
bool SetUpWriter(PngExportState* state, const BitmapInfoHeader* bitmap, OptionBlockHandle options)
{
    png_structp png = state->png;
    png_infop info = state->info;
    if (setjmp(png_jmpbuf(png)))
        return false;

    const int bits = bitmap->biBitCount;
    const RgbQuad* palette = BitmapPalette(bitmap);
    const std::int64_t entries = BitmapPaletteEntries(*bitmap);
    int colourType;
    int depth;
    bool handPalette;
    if (bits == 24) {
        colourType = PNG_COLOR_TYPE_RGB;
        depth = 8;
        handPalette = bitmap->biClrUsed != 0;
    } else if (bitmap->biClrUsed != 0 && IsGreyRamp(palette, entries, bits)) {
        colourType = PNG_COLOR_TYPE_GRAY;
        depth = bits;
        handPalette = false; // a grey image carries no PLTE
    } else {
        colourType = PNG_COLOR_TYPE_PALETTE;
        depth = bits;
        handPalette = true;
    }

    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap->biWidth), static_cast<png_uint_32>(bitmap->biHeight),
                 depth, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const int filter = OptionRowFilter(options, colourType, depth);
    if (filter >= 0)
        png_set_filter(png, PNG_FILTER_TYPE_BASE, filter);
    ApplyCompression(png, options);
    png_set_write_fn(png, state, OnPngWrite, OnPngFlush);
    if (handPalette && entries > 0) {
        png_color colours[256];
        for (std::int64_t i = 0; i < entries; ++i) {
            colours[i].red = palette[i].rgbRed;
            colours[i].green = palette[i].rgbGreen;
            colours[i].blue = palette[i].rgbBlue;
        }
        png_set_PLTE(png, info, colours, static_cast<int>(entries));
    }
    png_write_info(png, info);
    if (colourType == PNG_COLOR_TYPE_RGB)
        png_set_bgr(png);

    const int samples = colourType == PNG_COLOR_TYPE_RGB ? 3 : 1;
    state->rowBytes = (static_cast<std::int64_t>(samples) * depth * bitmap->biWidth + 7) / 8;
    state->height = bitmap->biHeight;
    return true;
}

// Rows from the last in memory to the first, so a bottom-up block comes out
// top-down; false after a libpng error.
bool WriteRows(PngExportState* state, std::int32_t rowCount, std::int64_t bytesPerRow, const std::uint8_t* rows,
               ExportProgressBlock* progress)
{
    if (setjmp(png_jmpbuf(state->png)))
        return false;
    for (std::int32_t i = rowCount - 1; i >= 0; --i) {
        png_write_row(state->png, rows + static_cast<std::int64_t>(i) * bytesPerRow);
        ++state->rowsWritten;
        if (progress) {
            progress->since += bytesPerRow;
            if (progress->since > progress->step) {
                progress->done += progress->since;
                if (progress->callback) {
                    const std::int64_t total = progress->total > 0 ? progress->total : 1;
                    progress->callback(0, static_cast<int>(progress->done * 100 / total), progress->userData);
                }
                progress->since = 0;
            }
        }
    }
    return true;
}

bool FinishImage(PngExportState* state)
{
    if (setjmp(png_jmpbuf(state->png)))
        return false;
    png_text text{};
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = const_cast<char*>(kSoftwareKey);
    text.text = const_cast<char*>(kSoftwareText);
    text.text_length = std::strlen(kSoftwareText);
    png_set_text(state->png, state->info, &text, 1);
    png_write_end(state->png, state->info);
    return true;
}

} // namespace

extern "C" {

int WEP(int)
{
    return 0;
}

const char* PTXDLget_ext(FilterInfo* info)
{
    if (info) {
        info->capabilities = kPngFilterCapabilities;
        g_errorCallback = info->errorCallback;
    }
    return "PNG;PNG Images (*.png)";
}

const char* PTXDLget_ver(void)
{
    return "1.00";
}

FilterStateHandle PTXDLbegin_write(const char* fileName, const IoCallbacks* io, const char* context,
                                   const BitmapInfoHeader* bitmap, OptionBlockHandle options, std::int32_t* flags)
{
    if (flags)
        *flags = kPngFilterCapabilities;
    if (!io || !io->open || !io->close || !io->write || !fileName) {
        Report(kPngErrorOpen, context);
        return nullptr;
    }
    if (!ValidBitmap(bitmap)) {
        Report(kPngErrorSetup, context);
        return nullptr;
    }
    FilterFileHandle file = 0;
    if (io->open(fileName, kFilterOpenWrite, &file) != 1) {
        Report(kPngErrorOpen, context);
        return nullptr;
    }
    auto* state = static_cast<PngExportState*>(std::calloc(1, sizeof(PngExportState)));
    if (!state) {
        io->close(file);
        return nullptr;
    }
    if (context)
        std::strncpy(state->context, context, sizeof state->context - 1);
    state->io = *io;
    state->file = file;
    state->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (state->png)
        state->info = png_create_info_struct(state->png);
    if (!state->png || !state->info || !SetUpWriter(state, bitmap, options)) {
        Report(kPngErrorWrite, "");
        Report(kPngErrorSetup, state->context);
        FreeState(state);
        return nullptr;
    }
    return state;
}

int PTXDLwrite_block(FilterStateHandle handle, std::int32_t rowCount, std::int64_t bytesPerRow,
                     const std::uint8_t* rows, ExportProgressBlock* progress)
{
    auto* state = static_cast<PngExportState*>(handle);
    if (!state)
        return 0;
    // Rows that are too short, or more rows than the image has, would make
    // libpng read past the block or write a broken image.
    const bool fits = rowCount >= 0 && (rowCount == 0 || rows) && bytesPerRow >= state->rowBytes
                      && rowCount <= state->height - state->rowsWritten;
    if (!fits || !WriteRows(state, rowCount, bytesPerRow, rows, progress)) {
        Report(kPngErrorWrite, "");
        Report(kPngErrorWrite, state->context);
        FreeState(state);
        return 0;
    }
    return 1;
}

int PTXDLend_write(FilterStateHandle handle, std::int32_t)
{
    auto* state = static_cast<PngExportState*>(handle);
    if (!state)
        return 0;
    // An image the core has not delivered in full is not written as if it were.
    if (state->rowsWritten != state->height || !FinishImage(state)) {
        Report(kPngErrorWrite, "");
        Report(kPngErrorWrite, state->context);
        FreeState(state);
        return 0;
    }
    FreeState(state);
    return 1;
}

} // extern "C"
