// Send and Send to the maker: the document and the files its elements use,
// handed to the desktop's mail program.
#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/preferences/Preferences.h"
#include "designer/shell/DocumentCommands.h"
#include "designer/shell/MailAttachmentFolder.h"
#include "designer/shell/MailStrings.h"
#include "designer/shell/MapiMailer.h"
#include "designer/shell/ZipFile.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/WaitCursor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>
#include <functional>

namespace {

const QString kMakerSubject = QStringLiteral("Qorvane WVD File");

// The folder of one message's temporary files, made when first needed and
// removed again unless the mail program took them.
class MessageFolder
{
public:
    MessageFolder() = default;
    ~MessageFolder()
    {
        if (!m_keep && !m_path.isEmpty())
            QDir(m_path).removeRecursively();
    }
    MessageFolder(const MessageFolder&) = delete;
    MessageFolder& operator=(const MessageFolder&) = delete;

    // Empty, after a message, when it cannot be made.
    QString Path()
    {
        if (m_path.isEmpty()) {
            m_path = MailAttachmentFolder::NewMessageFolder();
            if (m_path.isEmpty())
                AfxMessageBox(FormatResMessage(MailString::WriteError, MailAttachmentFolder::Root()),
                              MB_OK | MB_ICONEXCLAMATION);
        }
        return m_path;
    }
    void Keep() { m_keep = true; }

private:
    QString m_path;
    bool m_keep = false;
};

// The name the document's file goes by in the mail: its own file's name,
// else its title as a WVD file. The mail program names an attachment after
// its file, so a copy is saved under this name.
QString DocumentFileName(const CDesignerDoc& doc)
{
    if (!doc.GetPathName().isEmpty())
        return QFileInfo(doc.GetPathName()).fileName();
    QString title = doc.GetTitle();
    title.remove(u'*');
    title = title.trimmed();
    title.replace(u'/', u'_');
    if (title.isEmpty())
        title = QStringLiteral("Untitled");
    if (!title.endsWith(QStringLiteral(".wvd"), Qt::CaseInsensitive))
        title += QStringLiteral(".wvd");
    return title;
}

// Saves a copy of the document as it is in memory into the folder; its
// path, or empty when the save failed (the save has said why).
QString SaveTemporaryCopy(CDesignerDoc& doc, const QString& folder)
{
    const QString path = QDir(folder).filePath(DocumentFileName(doc));
    const BOOL wasModified = doc.IsModified();
    const BOOL wasDirty = doc.IsDirty();
    CDocChangeGuard guard(&doc);
    if (!doc.DoSave(path, FALSE))
        return {};
    doc.SetModifiedFlag(wasModified);
    // Putting the flag back is no edit: no undo step, no new Build ID.
    if (!wasDirty)
        doc.ClearDirty();
    return path;
}

void ForEachElement(const CDesignerDoc& doc, const std::function<void(const CFormElement&)>& visit)
{
    for (CObject* object : doc.GetElementList())
        if (const auto* element = dynamic_cast<const CFormElement*>(object))
            visit(*element);
}

// The mail commands end quietly on a failure of their own; its report is
// for those who debug.
void RunQuietly(const std::function<void()>& command)
{
    try {
        command();
    } catch (const CException& error) {
        if (Preferences().EnableDebugServices)
            ReportError(error);
    } catch (const std::exception& error) {
        if (Preferences().EnableDebugServices)
            AfxMessageBox(QString::fromLocal8Bit(error.what()), MB_OK | MB_ICONERROR);
    }
}

} // namespace

void CDocumentCommands::AddMailCommands()
{
    // Asked once per document: the answer does not change while it is open.
    auto enabler = [this](CCmdUI& ui) {
        if (m_doc->m_mailAvailable == -1)
            m_doc->m_mailAvailable = MapiMailer::IsMapiAvailable() ? 1 : 0;
        ui.Enable(m_doc->m_mailAvailable == 1 ? TRUE : FALSE);
        if (m_doc->m_mailAvailable != 1)
            ui.RemoveFromMenus();
    };
    OnCommand(ID_FILE_SEND_MAIL, [this] { OnFileSendMail(); });
    OnUpdate(ID_FILE_SEND_MAIL, enabler);
    OnCommand(ID_FILE_SEND_TO_MAKER, [this] { OnSendToMaker(); });
    OnUpdate(ID_FILE_SEND_TO_MAKER, enabler);
}

void CDocumentCommands::OnFileSendMail()
{
    CWaitCursor wait;
    RunQuietly([this] {
        MessageFolder folder;
        QString attachment = m_doc->GetPathName();
        BOOL temporary = FALSE;
        if (attachment.isEmpty() || m_doc->IsModified()) {
            if (folder.Path().isEmpty())
                return;
            attachment = SaveTemporaryCopy(*m_doc, folder.Path());
            if (attachment.isEmpty())
                return;
            temporary = TRUE;
        }

        MapiMailer mailer;
        mailer.AddAttachment(attachment, DocumentFileName(*m_doc), temporary);
        ForEachElement(*m_doc, [&mailer](const CFormElement& element) { element.AddMailAttachment(mailer); });
        if (mailer.Send())
            folder.Keep();
    });
}

void CDocumentCommands::OnSendToMaker()
{
    CWaitCursor wait;
    RunQuietly([this] {
        MessageFolder folder;
        if (folder.Path().isEmpty())
            return;
        QString file = m_doc->GetPathName();
        bool temporary = false;
        if (file.isEmpty() || m_doc->IsModified()) {
            file = SaveTemporaryCopy(*m_doc, folder.Path());
            if (file.isEmpty())
                return;
            temporary = true;
        }

        // Made in the message folder, not as a temporary archive: it must
        // outlive this command for the mail program.
        const QString name = DocumentFileName(*m_doc);
        QString archive = QDir(folder.Path()).filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".zip"));
        CZipFile zip;
        zip.m_relativeNames = 1;
        zip.m_basePath = m_doc->GetPathName();
        if (!zip.Open(archive))
            return;
        // The document lies in the folder its names are relative to, so a
        // copy goes in under the document's own name.
        if (!zip.AddFile(file, name))
            return;
        if (temporary)
            QFile::remove(file);
        ForEachElement(*m_doc, [&zip](const CFormElement& element) { element.AddToZip(zip); });
        if (!zip.Close())
            return;

        MapiMailer mailer;
        mailer.AddAttachment(archive, QString(), TRUE);
        mailer.AddSupportRecipient();
        mailer.SetSubject(kMakerSubject);
        if (mailer.Send())
            folder.Keep();
    });
}
