// The entry points for remote commands and translators.

#include "hostaccess/api/EntryPoints.h"
#include "hostaccess/AS400.h"
#include "hostaccess/CallFrame.h"
#include "hostaccess/MerrowStrings.h"
#include "hostaccess/TranslatorCA.h"

#include <memory>
#include <type_traits>

MERROW_ENTRY_POINT int CallRemoteProgram(const QString* system, const QString* program, const QString* parameters)
{
    return RunEntryPoint(MerrowEntryPoint::kCallRemoteProgram, IDS_MERROW_REMOTE_PROGRAM_FAILED, 0, [&] {
        if (!system || !program || !parameters)
            return 0;
        CAS400 host;
        return host.CallRemoteCommand(*system, *program, *parameters);
    });
}

MERROW_ENTRY_POINT BOOL CallCRTWVD(CrtWvdRequest* request)
{
    return RunEntryPoint(MerrowEntryPoint::kCallCRTWVD, IDS_MERROW_REMOTE_PROGRAM_FAILED, BOOL(FALSE), [&] {
        if (!request)
            return BOOL(FALSE);
        CAS400 host;
        return host.SubmitCrtWvd(*request) ? BOOL(TRUE) : BOOL(FALSE);
    });
}

MERROW_ENTRY_POINT ITranslator* CreateTranslator(const QString* system)
{
    return RunEntryPoint(MerrowEntryPoint::kCreateTranslator, IDS_MERROW_TRANSLATOR_FAILED,
                         static_cast<ITranslator*>(nullptr), [&]() -> ITranslator* {
                             auto translator = std::make_unique<CTranslatorCA>();
                             if (!translator->Init(system))
                                 return nullptr;
                             return translator.release();
                         });
}

// The definitions keep the types the designer calls them through.
static_assert(std::is_same_v<decltype(&CallRemoteProgram), CallRemoteProgramProc>);
static_assert(std::is_same_v<decltype(&CallCRTWVD), CallCRTWVDProc>);
static_assert(std::is_same_v<decltype(&CreateTranslator), CreateTranslatorProc>);
