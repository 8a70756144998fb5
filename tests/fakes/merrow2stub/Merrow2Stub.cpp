// Only "CallCRTWVD", which counts its calls and keeps the request it was
// given, so a test can see what the designer passed.

namespace {
int g_calls = 0;
void* g_lastRequest = nullptr;
} // namespace

extern "C" __attribute__((visibility("default"))) int CallCRTWVD(void* request)
{
    ++g_calls;
    g_lastRequest = request;
    return 1;
}

extern "C" __attribute__((visibility("default"))) int Merrow2StubCallCount()
{
    return g_calls;
}

extern "C" __attribute__((visibility("default"))) void* Merrow2StubLastRequest()
{
    return g_lastRequest;
}

// "CallRemoteProgram": CALL PGM(program) PARM(parameters) on the emulated
// host's system (its job log shows it), as the real library has the host run
// it; keeps the last call as "system|program|parameters" and counts calls.
#include "platform/clientaccess/CommandRunner.h"

#include <QString>

namespace {
int g_remoteCalls = 0;
QString g_lastRemoteCall;
} // namespace

extern "C" __attribute__((visibility("default"))) int CallRemoteProgram(const QString* system, const QString* program,
                                                                        const QString* parameters)
{
    ++g_remoteCalls;
    const QString systemName = system ? *system : QString();
    const QString programName = program ? *program : QString();
    const QString parameterText = parameters ? *parameters : QString();
    g_lastRemoteCall = systemName + u'|' + programName + u'|' + parameterText;
    std::vector<kwvd::clientaccess::HostMessage> messages;
    const unsigned result = kwvd::clientaccess::RunHostCommand(
        systemName, QStringLiteral("CALL PGM(%1) PARM(%2)").arg(programName, parameterText), &messages);
    return result == 0 ? 1 : 0;
}

extern "C" __attribute__((visibility("default"))) int Merrow2StubRemoteCallCount()
{
    return g_remoteCalls;
}

extern "C" __attribute__((visibility("default"))) const QString* Merrow2StubLastRemoteCall()
{
    return &g_lastRemoteCall;
}
