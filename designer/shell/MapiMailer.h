#pragma once
// One message handed to the desktop's mail program, where the user
// addresses and sends it: a subject, a note, recipients and attachments.
// Made, filled, sent once and destroyed within one command.
//
// Files marked delete-when-done are temporary copies kept in the mail
// attachment folder (MailAttachmentFolder.h). Once the mail program has
// them they stay there for it until the designer's next start; when the
// message never got that far the mailer removes them itself.

#include "designer/elements/AttachmentSinks.h"
#include "platform/framework/Types.h"

#include <QString>
#include <QStringList>

#include <vector>

class MapiMailer : public IMailAttachmentSink
{
public:
    enum State {
        Usable = 0,
        NotLoaded = 1,   // no mail hand-off on this system
        InvalidLoad = 2, // the hand-off is there but cannot be run
    };

    struct Attachment
    {
        QString path;
        QString displayName;
        BOOL deleteWhenDone = FALSE;
    };

    // Shows 61840 or 61841 when mail cannot be handed over.
    MapiMailer();
    ~MapiMailer() override;

    MapiMailer(const MapiMailer&) = delete;
    MapiMailer& operator=(const MapiMailer&) = delete;

    // Whether mail can be handed over; worked out once per process.
    static BOOL IsMapiAvailable();
    // The support mailbox: the preference "SupportMailAddress", else ours.
    static QString SupportAddress();

    // Always TRUE. The mail program names the file after its path: a
    // display name cannot be passed on.
    BOOL AddAttachment(const QString& path, const QString& displayName, BOOL deleteWhenDone) override;
    BOOL AddSupportRecipient();
    void SetSubject(const QString& subject) { m_subject = subject; }
    void SetNoteText(const QString& text) { m_noteText = text; }

    // Hands the message over under the wait cursor. FALSE, after 61842 when
    // it was tried, when the mail program did not take it.
    BOOL Send();

    int GetState() const { return m_state; }
    const std::vector<Attachment>& GetAttachments() const { return m_attachments; }
    const QStringList& GetRecipients() const { return m_recipients; }

private:
    int m_state = Usable;
    QString m_subject;
    QString m_noteText;
    QStringList m_recipients;
    std::vector<Attachment> m_attachments;
    bool m_handedOver = false;
};
