#include "designer/document/SpooledFileIdentity.h"

#include "platform/framework/Archive.h"

void SerializeSpooledFileIdentity(CArchive& ar, SpooledFileIdentity& identity)
{
    if (ar.IsStoring()) {
        ar << identity.GetOutputQueue() << identity.GetOutputQueueLibrary() << identity.GetFileName()
           << identity.GetUserName() << identity.GetUserData() << identity.GetDate() << identity.GetTime()
           << identity.GetTotalPages() << identity.GetDbcsData() << identity.GetDbcsExtensions()
           << identity.GetCharSet() << identity.GetFormType();
        return;
    }

    const UINT schema = ar.GetObjectSchema();
    // Read into a copy, so a short archive leaves this record untouched.
    SpooledFileIdentity read;
    QString text;
    ar >> text;
    read.SetOutputQueue(text);
    ar >> text;
    read.SetOutputQueueLibrary(text);
    ar >> text;
    read.SetFileName(text);
    ar >> text;
    read.SetUserName(text);
    ar >> text;
    read.SetUserData(text);
    ar >> text;
    read.SetDate(text);
    ar >> text;
    read.SetTime(text);
    ar >> text;
    read.SetTotalPages(text);
    if (schema > 4) {
        ar >> text;
        read.SetDbcsData(text);
        ar >> text;
        read.SetDbcsExtensions(text);
        ar >> text;
        read.SetCharSet(text);
    }
    if (schema > 5) {
        ar >> text;
        read.SetFormType(text);
    }
    identity = read;
}
