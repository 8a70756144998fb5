#include "designer/document/DesignerDoc.h"

#include "designer/document/CompressedMemFile.h"
#include "designer/document/MasterListChanges.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/elements/FormElement.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/catalogue/DocStoreManager.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/images/ImageRegistry.h"
#include "designer/resources/images/ResourceManager.h"
#include "platform/ui/PromptService.h"

#include <QRegularExpression>

#include <algorithm>
#include <utility>

KWVD_IMPLEMENT_DYNAMIC(CDesignerDoc, CDocument)

namespace {

const char* const kOutsideTransactionWarning =
    "An action that cannot be undone was just performed.\n"
    "This message may appear several times in a row: please answer Yes the first time and No after that.\n\n"
    "Please undo the last action, save the document and send the file to Qorvane support, "
    "with a description of what you did just before this message appeared. "
    "Your document has not been damaged.\n\n"
    "Take an undo snapshot now?";

QString ClockMessage()
{
    return QStringLiteral("Congratulation, This document has been clocked!\n"
                          "This document has been modified more than 1 million times!!!\n"
                          "Build ID will be reset to 0\n");
}

QString SnapshotFailedMessage(const QString& reason)
{
    return QStringLiteral("Your change was kept, but it could not be recorded for Undo.\n%1").arg(reason);
}

} // namespace

// ---------------------------------------------------------------- listener

DocumentChangeListener::~DocumentChangeListener() = default;

void DocumentChangeListener::OnSetDocType(CView*, int, CDesignerDoc*) {}

void DocumentChangeListener::OnElementsRevalidated(CDesignerDoc*) {}

void DocumentChangeListener::OnDocumentClosing(CDesignerDoc*) {}

void DocumentChangeListener::OnTitleChanged(CDesignerDoc*) {}

// ---------------------------------------------------------------- life cycle

CDesignerDoc::CDesignerDoc()
{
    // The number fields start unset, and the reset keeps their marks.
    ResetContents();
}

CDesignerDoc::~CDesignerDoc()
{
    // Nobody is told of a document that is going away.
    m_listeners.clear();
    ResetContents();
}

void CDesignerDoc::ResetContents()
{
    SuppressUpdates();

    ClearSnapshotList(m_undoList);
    ClearSnapshotList(m_redoList);
    m_snapshotBytes = 0;
    ++m_changeDepth;

    RemoveAllElements();

    DeleteOwnedObjects();

    m_docVersion = kCurrentVersion;
    SetDocType(0);
    m_jvxRecordCounter = 0;
    m_serialising = FALSE;
    m_mailAvailable = -1;
    m_changeDepth = 0;
    m_dirty = FALSE;
    m_snapshotBytes = 0;
    m_buildId = 0;
    m_outputQueue.clear();
    m_outputQueueLibrary.clear();
    m_uploadPath.clear();
    m_uploadTime.Clear();
    m_runParameters = CrtWvdRequest();
    SetHeaderDefaults();
    m_ready = FALSE;
    m_replaceWithoutAsking = FALSE;

    const CPreferences& preferences = Preferences();
    m_automaticImport = preferences.IsServerAccessLoaded() ? TRUE : FALSE;
    m_sourceZoom[0] = preferences.ZoomSource.x;
    m_sourceZoom[1] = preferences.ZoomSource.y;
    m_destZoom[0] = preferences.ZoomDest.x;
    m_destZoom[1] = preferences.ZoomDest.y;
    m_sourceFit = preferences.ZoomFitSource;
    m_destFit = preferences.ZoomFitDest;

    ResumeUpdates();
}

void CDesignerDoc::CreateOwnedObjects()
{
    // Only what is missing: a file of an older version brings fewer objects.
    if (m_pSpooledFile == nullptr)
        m_pSpooledFile = new CSpooledFile(this);
    if (m_pSourcePage == nullptr)
        m_pSourcePage = new CPage;
    if (m_pOutputPage == nullptr)
        m_pOutputPage = new CPage;
    if (m_pOutputDevices == nullptr)
        m_pOutputDevices = new COutputDeviceManager(this);
    if (m_pBarcodes == nullptr)
        m_pBarcodes = new CBarcodeManager(this);
    if (m_pImages == nullptr)
        m_pImages = new ImageRegistry(this);
    if (m_pResources == nullptr)
        m_pResources = new CResourceManager(this);
    if (m_pDocStore == nullptr)
        m_pDocStore = new CDocStoreManager(this);
}

void CDesignerDoc::DeleteOwnedObjects()
{
    delete m_pSpooledFile;
    m_pSpooledFile = nullptr;
    delete m_pSourcePage;
    m_pSourcePage = nullptr;
    delete m_pOutputPage;
    m_pOutputPage = nullptr;
    delete m_pOutputDevices;
    m_pOutputDevices = nullptr;
    delete m_pBarcodes;
    m_pBarcodes = nullptr;
    delete m_pDocStore;
    m_pDocStore = nullptr;
    delete m_pImages;
    m_pImages = nullptr;
    delete m_pResources;
    m_pResources = nullptr;
}

BOOL CDesignerDoc::FinishNewDocument()
{
    m_ready = TRUE;
    ResumeUpdates();
    BroadcastHint(DocumentHint::NewOrOpenDone, nullptr);
    m_dirty = FALSE;
    try {
        TakeUndoSnapshot();
    } catch (...) {
        EndChange();
        throw;
    }
    EndChange();
    return TRUE;
}

BOOL CDesignerDoc::OnNewDocument()
{
    BroadcastHint(DocumentHint::SelectionChanged, nullptr);
    ResetContents();
    SuppressUpdates();
    ++m_changeDepth;

    CreateOwnedObjects();
    EnsureDefaultOutputElement();

    if (!CDocument::OnNewDocument()) {
        ResumeUpdates();
        EndChange();
        return FALSE;
    }
    return FinishNewDocument();
}

BOOL CDesignerDoc::OnOpenDocument(const QString& path)
{
    BroadcastHint(DocumentHint::SelectionChanged, nullptr);
    ResetContents();
    SuppressUpdates();
    ++m_changeDepth;

    MasterListChanges masterChanges;
    if (CDocument::OnOpenDocument(path)) {
        masterChanges.Keep();
        CreateOwnedObjects();
        NoteDefaultedPageDensity();
        return FinishNewDocument();
    }
    // Before the failed document's managers go: the last one saves the
    // master lists.
    masterChanges.Undo();

    ResumeUpdates();
    m_dirty = FALSE;
    EndChange();

    // Whatever was read is dropped: the user gets a complete new document
    // without the failed file's path, so Save cannot overwrite that file.
    BroadcastHint(DocumentHint::SelectionChanged, nullptr);
    ResetContents();
    SuppressUpdates();
    ++m_changeDepth;
    CreateOwnedObjects();
    EnsureDefaultOutputElement();
    ClearPathName();
    SetModifiedFlag(FALSE);
    FinishNewDocument();
    return FALSE;
}

void CDesignerDoc::OnCloseDocument()
{
    BroadcastHint(DocumentHint::SelectionChanged, nullptr);
    const auto listeners = m_listeners;
    for (DocumentChangeListener* listener : listeners)
        listener->OnDocumentClosing(this);
    CDocument::OnCloseDocument();
}

// ---------------------------------------------------------------- title mark and saving

void CDesignerDoc::SetTitle(const QString& title)
{
    CDocument::SetTitle(title);
    // A listener may leave while it is told.
    const auto listeners = m_listeners;
    for (DocumentChangeListener* listener : listeners)
        if (std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end())
            listener->OnTitleChanged(this);
}

void CDesignerDoc::UpdateTitleMark(BOOL mark, BOOL apply)
{
    const QString title = GetTitle();
    QString copy = title;
    if (mark) {
        if (!copy.contains(QLatin1Char('*')))
            copy += QStringLiteral(" *");
    } else if (copy.contains(QLatin1Char('*'))) {
        copy.remove(QLatin1Char('*'));
        static const QRegularExpression trailingSpace(QStringLiteral("\\s+$"));
        copy.remove(trailingSpace);
    }
    if (copy == title)
        return;
    if (apply)
        SetTitle(copy);
    else
        CDocument::SetTitle(copy);
}

void CDesignerDoc::SetModifiedFlag(BOOL modified)
{
    modified = modified ? TRUE : FALSE;
    if (IsModified() != modified) {
        CDocument::SetModifiedFlag(modified);
        UpdateTitleMark(modified, TRUE);
    }
    if (!modified)
        return;
    if (m_changeDepth == 0) {
        const int answer =
            NotifyUser(QString::fromUtf8(kOutsideTransactionWarning), MB_YESNO | MB_ICONEXCLAMATION, IDNO);
        if (answer == IDYES)
            TakeUndoSnapshot();
    }
    m_dirty = TRUE;
}

BOOL CDesignerDoc::SaveModified()
{
    // The save question and the proposed file name show the plain title.
    UpdateTitleMark(FALSE, FALSE);
    const BOOL result = CDocument::SaveModified();
    UpdateTitleMark(IsModified(), TRUE);
    return result;
}

BOOL CDesignerDoc::DoSave(const QString& path, BOOL replace)
{
    UpdateTitleMark(FALSE, FALSE);
    const BOOL result = CDocument::DoSave(path, replace);
    UpdateTitleMark(IsModified(), TRUE);
    return result;
}

// ---------------------------------------------------------------- change transaction

void CDesignerDoc::ShowClockMessage(bool defer)
{
    if (defer)
        m_pendingNotices.push_back({ClockMessage(), MB_OK | MB_ICONEXCLAMATION});
    else
        Prompts().MessageBox(ClockMessage(), {}, MB_OK | MB_ICONEXCLAMATION);
}

void CDesignerDoc::CloseTransaction(bool defer)
{
    ++m_buildId;
    if (m_buildId > kMaxBuildId) {
        // The counter is reset even when the message cannot be shown.
        m_buildId = 0;
        ShowClockMessage(defer);
    }
}

void CDesignerDoc::EndChange()
{
    if (m_changeDepth == 0)
        return;
    --m_changeDepth;
    if (m_changeDepth > 0 || !m_dirty)
        return;
    CloseTransaction(false);
    try {
        TakeUndoSnapshot();
    } catch (...) {
        m_dirty = FALSE;
        throw;
    }
    m_dirty = FALSE;
}

void CDesignerDoc::EndChangeFromGuard(bool unwinding) noexcept
{
    if (m_changeDepth == 0)
        return;
    --m_changeDepth;
    if (m_changeDepth > 0 || !m_dirty)
        return;
    try {
        CloseTransaction(unwinding);
    } catch (...) {
        // A box that failed to show must not end the program from here.
    }
    QString failure;
    try {
        TakeUndoSnapshot();
    } catch (const CException& error) {
        failure = error.GetErrorMessage();
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    } catch (...) {
        failure = QStringLiteral("Unknown error.");
    }
    m_dirty = FALSE;
    if (failure.isNull())
        return;
    try {
        if (unwinding)
            m_pendingNotices.push_back({SnapshotFailedMessage(failure), MB_OK | MB_ICONEXCLAMATION});
        else
            Prompts().MessageBox(SnapshotFailedMessage(failure), {}, MB_OK | MB_ICONEXCLAMATION);
    } catch (...) {
    }
}

void CDesignerDoc::ShowPendingNotices()
{
    if (m_pendingNotices.empty())
        return;
    const auto notices = std::move(m_pendingNotices);
    m_pendingNotices.clear();
    ShowHeldNotices(notices);
}

CDocChangeGuard::CDocChangeGuard(CDesignerDoc* doc) : m_pDoc(doc), m_uncaught(std::uncaught_exceptions())
{
    if (m_pDoc == nullptr)
        return;
    if (m_uncaught == 0)
        m_pDoc->ShowPendingNotices();
    m_pDoc->BeginChange();
}

CDocChangeGuard::~CDocChangeGuard()
{
    if (m_pDoc != nullptr)
        m_pDoc->EndChangeFromGuard(std::uncaught_exceptions() > m_uncaught);
}

// ---------------------------------------------------------------- hints

void CDesignerDoc::BroadcastHint(LPARAM hint, CObject* element)
{
    if (m_updateSuppression > 0)
        return;
    UpdateAllViews(nullptr, hint, element);
    // A listener may leave while it is told.
    const auto listeners = m_listeners;
    for (DocumentChangeListener* listener : listeners)
        if (std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end())
            listener->OnDocumentChanged(hint, nullptr, element);
}

void CDesignerDoc::AddChangeListener(DocumentChangeListener* listener)
{
    if (listener != nullptr && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void CDesignerDoc::RemoveChangeListener(DocumentChangeListener* listener)
{
    std::erase(m_listeners, listener);
}

void CDesignerDoc::ResumeUpdates()
{
    if (m_updateSuppression > 0)
        --m_updateSuppression;
}

// ---------------------------------------------------------------- quiet read

std::vector<HeldNotice> CDesignerDoc::EndQuietRead()
{
    if (m_quietRead > 0)
        --m_quietRead;
    if (m_quietRead > 0)
        return {};
    auto held = std::move(m_heldNotices);
    m_heldNotices.clear();
    return held;
}

int CDesignerDoc::NotifyUser(const QString& text, UINT type, int defaultResult)
{
    if (!IsQuietRead())
        return Prompts().MessageBox(text, {}, type);
    HeldNotice notice{text, type};
    if (std::find(m_heldNotices.begin(), m_heldNotices.end(), notice) == m_heldNotices.end())
        m_heldNotices.push_back(std::move(notice));
    return defaultResult;
}

void CDesignerDoc::ShowHeldNotices(const std::vector<HeldNotice>& notices)
{
    // Afterwards nothing can be answered any more: each is a plain notice.
    for (const HeldNotice& notice : notices)
        Prompts().MessageBox(notice.text, {}, MB_OK | (notice.type & MB_ICONMASK));
}

// ---------------------------------------------------------------- type, code page, header

BOOL CDesignerDoc::SetDocType(BYTE type)
{
    if (type > 1)
        type = 0;
    if (type == m_docType)
        return FALSE;
    m_docType = type;
    const auto listeners = m_listeners;
    for (CView* view : GetViews())
        for (DocumentChangeListener* listener : listeners)
            listener->OnSetDocType(view, type, this);
    if (m_pOutputDevices != nullptr)
        m_pOutputDevices->SetDocument(this);
    if (m_pDocStore != nullptr)
        m_pDocStore->SetDocument(this);
    return TRUE;
}

BOOL CDesignerDoc::SetDocTypeNumber(int type)
{
    SetDocType(static_cast<BYTE>(std::clamp(type, 0, 255)));
    return TRUE;
}

int CDesignerDoc::GetCodePageId() const
{
    if (m_pOutputPage == nullptr || m_pOutputPage->GetFontManager() == nullptr)
        return 0;
    return m_pOutputPage->GetFontManager()->GetCodePageId();
}

BOOL CDesignerDoc::SetCodePageId(int codePageId)
{
    if (m_pOutputPage == nullptr || m_pOutputPage->GetFontManager() == nullptr)
        return FALSE;
    CFontManager* fonts = m_pOutputPage->GetFontManager();
    if (fonts->GetCodePageId() == codePageId)
        return FALSE;
    fonts->SetCodePageId(codePageId);
    return TRUE;
}

void CDesignerDoc::SetHeaderDefaults()
{
    struct TextField
    {
        CFixedLenString* field;
        int width;
    };
    const TextField texts[] = {
        {&m_wvdName, 10},         {&m_description, 50},    {&m_firstPageText, 30},
        {&m_firstPageCompare, 2}, {&m_ignoreFirstPage, 1}, {&m_orientation, 1},
        {&m_fontGroup, 8},        {&m_resourceLibrary, 8}, {&m_docTypeDigit, 1},
    };
    for (const TextField& text : texts) {
        text.field->SetWidth(text.width);
        text.field->SetValue(QString());
    }
    struct NumberField
    {
        CFixedLenNum* field;
        int width;
    };
    const NumberField numbers[] = {
        {&m_firstPageLine, 2}, {&m_firstPageColumn, 3}, {&m_firstPageWidth, 2},
        {&m_firstPage, 3},     {&m_lastPage, 3},        {&m_border, 5},
    };
    // The empty marks stay as they are.
    for (const NumberField& number : numbers) {
        number.field->SetWidth(number.width);
        const BOOL unset = number.field->IsEmpty();
        number.field->SetValue(0);
        number.field->SetEmpty(unset);
    }
    m_ignoreFirstPage.SetValue(QStringLiteral("N"));
    m_docTypeDigit.SetValue(QString::number(m_docType));
}
