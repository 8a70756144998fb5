#pragma once
// The process set-up of the designer's fuzz targets: every class and string
// table the program registers, preferences whose files (master lists, font
// table folder) lie in the scratch folder, and a scripted prompt service, so
// that a reader runs as in the program without a dialog. Each input starts
// with a fresh prompt service (Quiet), so nothing builds up from input to
// input.

#include "designer/document/DocumentClasses.h"
#include "designer/document/ModelRegistration.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/document/SpooledFileStrings.h"
#include "designer/elements/ElementClasses.h"
#include "designer/elements/LoopStrings.h"
#include "designer/elements/VariableStrings.h"
#include "designer/output/OutputClasses.h"
#include "designer/preferences/PreferenceStrings.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/ResourceClasses.h"
#include "designer/resources/catalogue/CatalogueStrings.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/FrameworkClasses.h"
#include "platform/ui/ScriptedPromptService.h"
#include "tests/fuzz/FuzzSupport.h"

#include <memory>

namespace kwvd::fuzz {

class DesignerFuzzEnvironment
{
public:
    // Once per process: the first call sets everything up.
    static DesignerFuzzEnvironment& Get()
    {
        static DesignerFuzzEnvironment environment;
        return environment;
    }

    // The set-up, and the seeds when they are asked for (null: none).
    static DesignerFuzzEnvironment& Start(void (*writeSeeds)(const QString& folder) = nullptr)
    {
        DesignerFuzzEnvironment& environment = Get();
        if (writeSeeds != nullptr)
            WriteSeedsIfAsked(writeSeeds);
        return environment;
    }

    // A fresh prompt service that backs out of every question.
    void Quiet() { SetPrompts(std::make_shared<ScriptedPromptService>()); }

    // The start of each input of a file reader: quiet, and the input as the
    // scratch file of that name; its path.
    static QString InputFile(const QString& name, const std::uint8_t* data, std::size_t size)
    {
        Get().Quiet();
        return WriteScratchFile(name, data, size);
    }

    CPreferences prefs;

private:
    DesignerFuzzEnvironment()
    {
        RegisterModel();
        const QDir folder = ScratchFolder();
        prefs.ApplicationDataDirectory = folder.path();
        prefs.MasterOutputDeviceFileV2 = folder.filePath(QStringLiteral("wvdOutpV2.dat"));
        prefs.MasterFontFileV2 = folder.filePath(QStringLiteral("wvdFontV2.dat"));
        prefs.MasterBarcodeFileName = folder.filePath(QStringLiteral("wvdBarcode.dat"));
        prefs.DefaultSpooledFileDirectory = folder.path();
        SetPreferences(&prefs);
        Quiet();
        // An installed host font, as every designer has: new pages take it as
        // their default font.
        auto* font =
            new CAS400Font(QStringLiteral("C1"), QString(), 1, 0, 0, CAS400Font::FF_MODERN, QStringLiteral("Courier"),
                           833, 100, FALSE, FALSE, FALSE, FALSE, QStringLiteral("WVDLIB"), QString(), FALSE);
        if (!CFontManager::AddToMasterList(font))
            delete font;
        CFontManager::SaveMasterFontFile();
    }
};

} // namespace kwvd::fuzz
