// Another designer process for the master-list tests: it reads the master
// list of one kind from the data folder, adds, changes or deletes one entry
// and saves the list as a designer does at exit.
//   master_list_peer <data folder> devices|barcodes|fonts a|c|d <name>
// Exit status 0 when the change was made and nothing was reported.

#include "designer/output/OutputClasses.h"
#include "designer/preferences/PreferenceStrings.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/ResourceClasses.h"
#include "designer/resources/barcodes/BarcodeStrings.h"
#include "designer/resources/fonts/FontStrings.h"
#include "platform/framework/FrameworkClasses.h"
#include "platform/ui/ScriptedPromptService.h"
#include "tests/support/MasterListOps.h"

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    if (argc != 5 || std::strlen(argv[3]) != 1) {
        std::fprintf(stderr, "usage: %s <data folder> devices|barcodes|fonts a|c|d <name>\n", argv[0]);
        return 2;
    }
    RegisterFrameworkClasses();
    RegisterResourceClasses();
    RegisterOutputClasses();
    RegisterOutputStrings();
    RegisterBarcodeStrings();
    RegisterFontStrings();
    RegisterPreferenceStrings();
    auto prompts = std::make_shared<ScriptedPromptService>();
    SetPrompts(prompts);
    CPreferences preferences;
    preferences.ApplicationDataDirectory = QString::fromLocal8Bit(argv[1]);
    SetPreferences(&preferences);

    MasterKind kind = MasterKind::Devices;
    if (std::strcmp(argv[2], "barcodes") == 0)
        kind = MasterKind::Barcodes;
    else if (std::strcmp(argv[2], "fonts") == 0)
        kind = MasterKind::Fonts;
    else if (std::strcmp(argv[2], "devices") != 0)
        return 2;

    bool done = false;
    {
        const std::shared_ptr<void> manager = StartMasterManager(kind);
        done = ApplyMasterOp(kind, argv[3][0], QString::fromLocal8Bit(argv[4]),
                             kind == MasterKind::Devices ? static_cast<COutputDeviceManager*>(manager.get()) : nullptr);
    }
    for (const RecordedPrompt& prompt : prompts->Recorded())
        std::fprintf(stderr, "%s\n", prompt.text.toLocal8Bit().constData());
    SetPreferences(nullptr);
    return done && prompts->Recorded().empty() ? 0 : 1;
}
