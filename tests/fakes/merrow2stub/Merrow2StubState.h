#pragma once
// The tests' stand-in for the host access library: what it is to answer and
// what it was given. A test finds the one state of the loaded stand-in with
// the exported "Merrow2StubGetState" and scripts it before the designer calls.

#include "hostaccess/api/CrtWvdRequest.h"
#include "hostaccess/api/SpooledFileIdentity.h"

#include <QString>
#include <QStringList>

#include <vector>

struct Merrow2StubState
{
    // ---- answers
    int crtwvdResult = 1;
    int listResult = 1;
    // The pages each list call hands out; element n of a page is line n.
    std::vector<QStringList> pages;
    // What CreateSpooledFileList2 writes into its selected identity.
    SpooledFileIdentity selected;
    // The code page CreateSpooledFileList2 hands back; 0 keeps the caller's.
    int ccsid = 0;
    // Written into the filter whatever the outcome, as a user's typing is.
    bool typeFilter = false;
    SpooledFileIdentity typedFilter;
    // Written into the older call's buffers on success.
    QString chosenQueue;
    QString chosenLibrary;
    int exportResult = 1;

    // ---- what the designer passed
    int crtwvdCalls = 0;
    CrtWvdRequest lastRequest;
    int listCalls = 0;  // CreateSpooledFileList
    int list2Calls = 0; // CreateSpooledFileList2
    QString listSystem;
    SpooledFileIdentity filterGiven;
    SpooledFileIdentity selectedGiven;
    QString queueGiven;
    QString libraryGiven;
    int maxPagesGiven = 0;
    int ccsidGiven = 0;
    int modeGiven = -1;
    int destroyCalls = 0;
    // Lists handed out and not yet destroyed.
    int listsAlive = 0;
    int exportCalls = 0;
    QString exportSystem;
    SpooledFileIdentity exportIdentity;
    std::vector<QStringList> exportPages;
    int exportPageSize[2] = {0, 0};
    int exportCcsid = 0;
    int exportMode = -1;
};

using Merrow2StubGetStateProc = Merrow2StubState* (*)();
