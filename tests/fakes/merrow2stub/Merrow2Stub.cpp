// The host access library's entry points as a script: each records what it
// was given in the stub's state and answers what the test put there. No
// "CreateTranslator", so the designer must report that it cannot reach the
// server for the JVX text; the older build also lacks
// "CreateSpooledFileList2".

#include "tests/fakes/merrow2stub/Merrow2StubState.h"

#include "hostaccess/api/EntryPoints.h"
#include "platform/framework/Collections.h"

#include <algorithm>

#define STUB_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

Merrow2StubState g_state;
void* g_lastRequest = nullptr;

SpooledPageList* NewPageList(bool withPages)
{
    auto* list = new SpooledPageList;
    ++g_state.listsAlive;
    if (!withPages)
        return list;
    for (const QStringList& lines : g_state.pages) {
        auto* page = new CStringArray;
        for (const QString& line : lines)
            page->Add(line);
        list->AddTail(page);
    }
    return list;
}

// The library's buffers hold at least 11 units; the designer's 260.
void WriteBuffer(char16_t* buffer, const QString& text)
{
    const qsizetype count = std::min<qsizetype>(text.size(), 10);
    std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), count, buffer);
    buffer[count] = u'\0';
}

} // namespace

STUB_EXPORT Merrow2StubState* Merrow2StubGetState()
{
    return &g_state;
}

STUB_EXPORT BOOL CallCRTWVD(CrtWvdRequest* request)
{
    ++g_state.crtwvdCalls;
    g_lastRequest = request;
    if (request != nullptr)
        g_state.lastRequest = *request;
    return g_state.crtwvdResult;
}

// The count and the pointer of the last request, as the first tests read them.
STUB_EXPORT int Merrow2StubCallCount()
{
    return g_state.crtwvdCalls;
}

STUB_EXPORT void* Merrow2StubLastRequest()
{
    return g_lastRequest;
}

STUB_EXPORT BOOL CreateSpooledFileList(const char16_t* system, char16_t* outputQueue, char16_t* outputQueueLibrary,
                                       SpooledPageList** pages, int maxPages)
{
    ++g_state.listCalls;
    g_state.listSystem = QString::fromUtf16(system);
    g_state.queueGiven = QString::fromUtf16(outputQueue);
    g_state.libraryGiven = QString::fromUtf16(outputQueueLibrary);
    g_state.maxPagesGiven = maxPages;
    const bool ok = g_state.listResult == 1;
    *pages = NewPageList(ok);
    if (ok) {
        WriteBuffer(outputQueue, g_state.chosenQueue);
        WriteBuffer(outputQueueLibrary, g_state.chosenLibrary);
    }
    return g_state.listResult;
}

#ifndef MERROW2STUB_OLDER
STUB_EXPORT BOOL CreateSpooledFileList2(const char16_t* system, SpooledFileIdentity* filter,
                                        SpooledFileIdentity* selected, SpooledPageList** pages, int maxPages,
                                        int* ccsid, int mode)
{
    ++g_state.list2Calls;
    g_state.listSystem = QString::fromUtf16(system);
    g_state.filterGiven.CopyFrom(*filter);
    g_state.selectedGiven.CopyFrom(*selected);
    g_state.maxPagesGiven = maxPages;
    g_state.ccsidGiven = *ccsid;
    g_state.modeGiven = mode;
    const bool ok = g_state.listResult == 1;
    *pages = NewPageList(ok && mode == 0);
    if (g_state.typeFilter)
        filter->CopyFrom(g_state.typedFilter);
    if (ok && mode == 0) {
        selected->CopyFrom(g_state.selected);
        if (g_state.ccsid != 0)
            *ccsid = g_state.ccsid;
    }
    return g_state.listResult;
}
#endif

STUB_EXPORT void DestroySpooledFileList(SpooledPageList** pages)
{
    ++g_state.destroyCalls;
    if (pages == nullptr || *pages == nullptr)
        return;
    for (CObject* page : **pages)
        delete page;
    delete *pages;
    *pages = nullptr;
    --g_state.listsAlive;
}

STUB_EXPORT BOOL ExportSpooledFile(const QString* system, SpooledFileIdentity* identity, SpooledPageList** pages,
                                   int* pageSize, int ccsid, int mode)
{
    ++g_state.exportCalls;
    g_state.exportSystem = system != nullptr ? *system : QString();
    g_state.exportIdentity.CopyFrom(*identity);
    g_state.exportPages.clear();
    if (pages != nullptr && *pages != nullptr) {
        for (CObject* object : **pages) {
            QStringList lines;
            const auto* page = dynamic_cast<const CStringArray*>(object);
            for (qsizetype i = 0; page != nullptr && i < page->GetSize(); ++i)
                lines << page->GetAt(i);
            g_state.exportPages.push_back(lines);
        }
    }
    g_state.exportPageSize[0] = pageSize[0];
    g_state.exportPageSize[1] = pageSize[1];
    g_state.exportCcsid = ccsid;
    g_state.exportMode = mode;
    return g_state.exportResult;
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
