#pragma once
// Where elements hand the files they depend on when a document is mailed or
// zipped: the shell implements these with its mailer and its zip writer, so
// the model needs neither.

#include "platform/framework/Types.h"

#include <QString>

class IMailAttachmentSink
{
public:
    virtual ~IMailAttachmentSink() = default;
    // displayName empty: the file's own name. deleteWhenDone: the file is
    // removed once the mail has gone. FALSE when it could not be added.
    virtual BOOL AddAttachment(const QString& path, const QString& displayName, BOOL deleteWhenDone) = 0;
};

class IZipFileSink
{
public:
    virtual ~IZipFileSink() = default;
    // FALSE when the file could not be added to the archive.
    virtual BOOL AddFile(const QString& path) = 0;
};
