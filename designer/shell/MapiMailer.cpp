#include "designer/shell/MapiMailer.h"

#include "designer/shell/MailStrings.h"
#include "platform/mail/MailHandOff.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/WaitCursor.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kDefaultSupportAddress = QStringLiteral("support@qorvane.example");

} // namespace

MapiMailer::MapiMailer()
{
    switch (kwvd::GetMailSystemState()) {
    case kwvd::MailSystemState::Available:
        break;
    case kwvd::MailSystemState::Missing:
        m_state = NotLoaded;
        AfxMessageBox(LoadResString(MailString::MailNotLoaded), MB_OK | MB_ICONEXCLAMATION);
        break;
    case kwvd::MailSystemState::NotRunnable:
        m_state = InvalidLoad;
        AfxMessageBox(LoadResString(MailString::MailInvalid), MB_OK | MB_ICONEXCLAMATION);
        break;
    }
}

MapiMailer::~MapiMailer()
{
    if (m_handedOver)
        return;
    for (const Attachment& attachment : m_attachments)
        if (attachment.deleteWhenDone && !attachment.path.isEmpty())
            QFile::remove(attachment.path);
}

BOOL MapiMailer::IsMapiAvailable()
{
    return kwvd::GetMailSystemState() == kwvd::MailSystemState::Available ? TRUE : FALSE;
}

QString MapiMailer::SupportAddress()
{
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    const auto key =
        store.OpenKey(HKEY_CURRENT_USER, kwvd::ApplicationKeyPath(u"KWVD Designer") + QStringLiteral("\\Preferences"));
    if (!key)
        return kDefaultSupportAddress;
    const std::optional<QString> address = store.ReadText(*key, QStringLiteral("SupportMailAddress"));
    return address && !address->trimmed().isEmpty() ? address->trimmed() : kDefaultSupportAddress;
}

BOOL MapiMailer::AddAttachment(const QString& path, const QString& displayName, BOOL deleteWhenDone)
{
    m_attachments.push_back({path, displayName, deleteWhenDone});
    return TRUE;
}

BOOL MapiMailer::AddSupportRecipient()
{
    m_recipients << SupportAddress();
    return TRUE;
}

BOOL MapiMailer::Send()
{
    if (m_state != Usable)
        return FALSE;
    CWaitCursor wait;
    kwvd::MailMessage message;
    message.subject = m_subject;
    message.recipients = m_recipients;
    QString note = m_noteText;
    for (const Attachment& attachment : m_attachments) {
        if (attachment.path.isEmpty())
            continue;
        message.attachments << QFileInfo(attachment.path).absoluteFilePath();
        // One blank per file, where mail programs that place attachments in
        // the text put them: at its end.
        note += u' ';
    }
    message.body = note;
    if (kwvd::HandOverMail(message) != 0) {
        AfxMessageBox(LoadResString(MailString::SendFailed), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    m_handedOver = true;
    return TRUE;
}
