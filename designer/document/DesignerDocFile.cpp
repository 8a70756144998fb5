// The document's WVD file: header, fields, owned objects, element tree and
// z-order, and the reading of every older version.

#include "designer/document/DesignerDoc.h"

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
#include "platform/framework/Archive.h"
#include "platform/framework/File.h"
#include "platform/framework/PointerTable.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <unordered_set>

namespace {

constexpr BYTE kSignature = 0x12;

QString ErrorReadingFileMessage(const QString& path)
{
    return FormatMessageText(QStringLiteral("Error reading file: %1."), path);
}

void ShowIncorrectVersionMessage(const QString& fileName)
{
    Prompts().MessageBox(
        FormatMessageText(
            QStringLiteral("Cannot read document \"%1\".  Document was created by a newer version of KWVD Designer."),
            fileName),
        {}, MB_OK | MB_ICONEXCLAMATION);
}

IncorrectVersionHandler g_incorrectVersionHandler = nullptr;

// While the document is read or written, relative paths in it resolve
// against the document's own folder.
class CurrentFolderScope
{
public:
    explicit CurrentFolderScope(const QString& filePath)
    {
        if (filePath.isEmpty())
            return;
        const QString folder = QFileInfo(filePath).absolutePath();
        const QString current = QDir::currentPath();
        if (folder == current)
            return;
        if (QDir::setCurrent(folder))
            m_previous = current;
    }
    ~CurrentFolderScope() { Restore(); }

    void Restore()
    {
        if (!m_previous.isEmpty())
            QDir::setCurrent(m_previous);
        m_previous.clear();
    }

    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    QString m_previous;
};

// Sets a value for a scope and puts the given one back on every exit.
template <class T>
class ValueScope
{
public:
    ValueScope(T& target, T during, T after) : m_target(target), m_after(after) { m_target = during; }
    ~ValueScope() { m_target = m_after; }
    ValueScope(const ValueScope&) = delete;
    ValueScope& operator=(const ValueScope&) = delete;

private:
    T& m_target;
    T m_after;
};

// An owned object read with its class: a different class fails the read; a
// null one is replaced by a fresh default so the document stays whole.
template <class T, class Make>
T* ReadOwned(CArchive& ar, Make make)
{
    T* object = ar.ReadObject<T>();
    return object != nullptr ? object : make();
}

void ReadAndDropFixedText(CArchive& ar)
{
    CFixedLenString dropped;
    dropped.Serialize(ar);
}

// Every save and every undo snapshot asks this of each element, and
// dynamic_cast answers by comparing type names; the runtime class answers
// with a few pointer steps.
CFormElement* AsFormElement(CObject* object)
{
    return object != nullptr && object->IsKindOf(KWVD_RUNTIME_CLASS(CFormElement)) ? static_cast<CFormElement*>(object)
                                                                                   : nullptr;
}

std::vector<CFormElement*> TopLevelElements(const CObList& elements)
{
    std::vector<CFormElement*> topLevel;
    for (CObject* object : elements)
        if (CFormElement* element = AsFormElement(object); element != nullptr && !element->HasParent())
            topLevel.push_back(element);
    return topLevel;
}

} // namespace

IncorrectVersionHandler SetIncorrectVersionHandler(IncorrectVersionHandler handler)
{
    const IncorrectVersionHandler previous = g_incorrectVersionHandler;
    g_incorrectVersionHandler = handler;
    return previous;
}

// ---------------------------------------------------------------- header

BYTE CDesignerDoc::SerializeWvdHeader(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kSignature << kSignature << kCurrentVersion;
        return kCurrentVersion;
    }

    // Straight from the file, so a refused header leaves the archive's
    // buffer untouched.
    ar.Flush();
    CFile* file = ar.GetFile();
    const QString path = ar.GetFilePath();
    if (file == nullptr) {
        NotifyUser(ErrorReadingFileMessage(path), MB_OK | MB_ICONEXCLAMATION, IDOK);
        return 0;
    }
    const ULONGLONG start = file->GetPosition();
    BYTE header[3] = {};
    if (file->Read(header, 3) < 3) {
        NotifyUser(ErrorReadingFileMessage(path), MB_OK | MB_ICONEXCLAMATION, IDOK);
        return 0;
    }
    if (header[0] != kSignature || header[1] != kSignature) {
        file->Seek(static_cast<LONGLONG>(start), CFile::begin);
        NotifyUser(ErrorReadingFileMessage(path), MB_OK | MB_ICONEXCLAMATION, IDOK);
        return 0;
    }
    const BYTE version = header[2];
    if (version == 0) {
        NotifyUser(ErrorReadingFileMessage(path), MB_OK | MB_ICONEXCLAMATION, IDOK);
        return 0;
    }
    if (version > kCurrentVersion) {
        const QString name = QFileInfo(path).fileName();
        if (IsQuietRead())
            NotifyUser(FormatMessageText(QStringLiteral("Cannot read document \"%1\".  Document was created by a "
                                                        "newer version of KWVD Designer."),
                                         name),
                       MB_OK | MB_ICONEXCLAMATION, IDOK);
        else if (g_incorrectVersionHandler != nullptr)
            g_incorrectVersionHandler(name);
        else
            ShowIncorrectVersionMessage(name);
        return 0;
    }
    if (version < kCurrentVersion && Preferences().EnableDebugServices == 1) {
        const QString question = FormatMessageText(
            QStringLiteral("File %1 was created with KWVD Designer Document Version %2!d!, you are using the newer "
                           "KWVD Designer Document Version %3!d!.  Do you want to continue ?"),
            path, static_cast<int>(version), static_cast<int>(kCurrentVersion));
        if (NotifyUser(question, MB_YESNO | MB_ICONQUESTION, IDNO) != IDYES)
            return 0;
    }
    return version;
}

// ---------------------------------------------------------------- whole document

void CDesignerDoc::Serialize(CArchive& ar)
{
    if (ar.m_pDocument == nullptr)
        ar.m_pDocument = this;
    CurrentFolderScope folder(ar.GetFilePath());
    bool headerRefused = false;
    try {
        const BYTE version = SerializeWvdHeader(ar);
        if (version == 0) {
            // The header has told the user why (or the user said No): no
            // second box for the same refusal.
            headerRefused = true;
            MarkFailureReported();
            AfxThrowArchiveException(CArchiveException::badSchema, ar.GetFilePath());
        }

        // Objects read below consult the file's version through the
        // document; every exit leaves the current one.
        ValueScope<BYTE> versionScope(m_docVersion, ar.IsLoading() ? version : kCurrentVersion, kCurrentVersion);

        m_wvdName.Serialize(ar);
        m_description.Serialize(ar);
        m_firstPageText.Serialize(ar);
        m_firstPageLine.Serialize(ar);
        m_firstPageColumn.Serialize(ar);
        m_firstPageWidth.Serialize(ar);
        m_firstPageCompare.Serialize(ar);
        m_ignoreFirstPage.Serialize(ar);
        m_firstPage.Serialize(ar);
        if (version >= 6) {
            m_lastPage.Serialize(ar);
            m_fontGroup.Serialize(ar);
        } else {
            for (int i = 0; i < 9; ++i)
                ReadAndDropFixedText(ar);
            m_fontGroup.Serialize(ar);
            ReadAndDropFixedText(ar);
        }
        m_resourceLibrary.Serialize(ar);

        if (ar.IsStoring()) {
            m_docTypeDigit.SetValue(QString::number(m_docType));
            m_docTypeDigit.Serialize(ar);
            ar << static_cast<LONG>(GetCodePageId());
            ar.WriteObject(m_pOutputPage);
            ar.WriteObject(m_pSpooledFile);
            ar.WriteObject(m_pOutputDevices);
            ar.WriteObject(m_pBarcodes);
            ar.WriteObject(m_pResources);
            ar.WriteObject(m_pDocStore);
            ar << static_cast<LONG>(m_sourceZoom[0]) << static_cast<LONG>(m_sourceZoom[1]);
            ar << static_cast<LONG>(m_sourceFit);
            ar << static_cast<LONG>(m_destZoom[0]) << static_cast<LONG>(m_destZoom[1]);
            ar << static_cast<LONG>(m_destFit);
            ar << m_outputQueue << m_outputQueueLibrary;
            SerializeCrtWvdRequest(ar, m_runParameters);
            const std::vector<CFormElement*> topLevel = TopLevelElements(m_elements);
            StoreElementTree(ar, topLevel);
            StoreZOrder(ar, topLevel);
            ar << m_buildId;
            m_uploadTime.Serialize(ar);
            ar << m_uploadPath;
            return;
        }

        RemoveAllElements();
        if (version >= 25)
            m_docTypeDigit.Serialize(ar);
        if (version >= 42) {
            LONG droppedCodePage = 0;
            ar >> droppedCodePage;
        }
        LoadOwnedObjects(ar, version);

        LONG zoom[2] = {};
        LONG fit = 0;
        ar >> zoom[0] >> zoom[1] >> fit;
        m_sourceZoom[0] = zoom[0];
        m_sourceZoom[1] = zoom[1];
        m_sourceFit = fit;
        ar >> zoom[0] >> zoom[1] >> fit;
        m_destZoom[0] = zoom[0];
        m_destZoom[1] = zoom[1];
        m_destFit = fit;
        if (version >= 7)
            ar >> m_outputQueue >> m_outputQueueLibrary;
        if (version >= 43)
            SerializeCrtWvdRequest(ar, m_runParameters);

        bool isNumber = false;
        const int docType = m_docTypeDigit.GetValue().trimmed().toInt(&isNumber);
        SetDocTypeNumber(isNumber ? docType : 0);

        LoadElementTree(ar);
        SerializeZOrder(ar, version);

        if (version >= 59) {
            DWORD buildId = 0;
            ar >> buildId;
            SetBuildId(buildId);
            m_uploadTime.Serialize(ar);
            ar >> m_uploadPath;
        }
    } catch (const CArchiveException& error) {
        if (Preferences().EnableDebugServices && !headerRefused)
            ReportError(error);
        folder.Restore();
        AfxThrowArchiveException(error.m_cause, ar.GetFilePath());
    }
}

void CDesignerDoc::LoadOwnedObjects(CArchive& ar, BYTE version)
{
    if (version >= 4) {
        delete m_pOutputPage;
        m_pOutputPage = nullptr;
        delete m_pSpooledFile;
        m_pSpooledFile = nullptr;
        delete m_pOutputDevices;
        m_pOutputDevices = nullptr;
    }
    // A manager an older file does not carry starts empty; a newer file's
    // is read in place of the old one.
    delete m_pBarcodes;
    m_pBarcodes = nullptr;
    delete m_pDocStore;
    m_pDocStore = nullptr;
    delete m_pResources;
    m_pResources = nullptr;

    if (m_pSourcePage == nullptr)
        m_pSourcePage = new CPage;

    if (version >= 4) {
        m_pOutputPage = ReadOwned<CPage>(ar, [] { return new CPage; });
        m_pSpooledFile = ReadOwned<CSpooledFile>(ar, [this] { return new CSpooledFile(this); });
        m_pOutputDevices = ReadOwned<COutputDeviceManager>(ar, [this] { return new COutputDeviceManager(this); });
    } else {
        if (m_pSpooledFile == nullptr)
            m_pSpooledFile = new CSpooledFile(this);
        if (m_pOutputPage == nullptr)
            m_pOutputPage = new CPage;
        if (m_pOutputDevices == nullptr)
            m_pOutputDevices = new COutputDeviceManager(this);
        m_pOutputPage->Serialize(ar);
        m_pSpooledFile->Serialize(ar);
        if (version == 2)
            m_pOutputDevices->Serialize(ar);
    }

    // The images are not in the file: the registry, with its images, stays.
    if (m_pImages == nullptr)
        m_pImages = new ImageRegistry(this);

    if (CFontManager* sourceFonts = m_pSourcePage->GetFontManager())
        sourceFonts->CopyLanguageSettings(m_pOutputPage->GetFontManager());

    if (version >= 29)
        m_pBarcodes = ReadOwned<CBarcodeManager>(ar, [this] { return new CBarcodeManager(this); });
    else
        m_pBarcodes = new CBarcodeManager(this);
    if (version >= 38)
        m_pResources = ReadOwned<CResourceManager>(ar, [this] { return new CResourceManager(this); });
    else
        m_pResources = new CResourceManager(this);
    if (version >= 53)
        m_pDocStore = ReadOwned<CDocStoreManager>(ar, [this] { return new CDocStoreManager(this); });
    else
        m_pDocStore = new CDocStoreManager(this);
}

// ---------------------------------------------------------------- element tree

void CDesignerDoc::StoreElementTree(CArchive& ar, const std::vector<CFormElement*>& topLevel)
{
    ValueScope<BOOL> serialising(m_serialising, TRUE, FALSE);
    ar.WriteCount(static_cast<DWORD>(topLevel.size()));
    for (CFormElement* element : topLevel)
        ar.WriteObject(element);
}

void CDesignerDoc::LoadElementTree(CArchive& ar)
{
    std::vector<CFormElement*> read;
    std::unordered_set<const CFormElement*> seen;
    auto discard = [&] {
        // Children belong to their containers, which delete them.
        for (CFormElement* element : read)
            if (!element->HasParent())
                DeleteElement(element, TRUE);
    };

    {
        ValueScope<BOOL> serialising(m_serialising, TRUE, FALSE);
        try {
            const DWORD count = ar.ReadCount();
            for (DWORD i = 0; i < count; ++i) {
                CFormElement* element = ar.ReadObject<CFormElement>();
                if (element == nullptr)
                    continue;
                // A reference to an element read before belongs to its first
                // reader; one element cannot stand twice in the tree.
                if (ContainsElement(element) || !seen.insert(element).second)
                    AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
                read.push_back(element);
            }
            for (CFormElement* element : read)
                if (element->HasParent())
                    AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
        } catch (...) {
            discard();
            throw;
        }
    }

    for (CFormElement* element : read)
        ListElementBefore(m_elements.end(), element);
}

void CDesignerDoc::OrderAfterReload(const std::vector<CFormElement*>& topLevel,
                                    kwvd::PointerTable<size_t>& position) const
{
    // A container hands its children to the document once it has read them
    // all, so nested containers' children come first; the top-level
    // elements follow in stored order. A child listed twice is placed once;
    // an element met again keeps its first place.
    position.Reserve(m_elementAt.size());
    size_t next = 0;
    auto finish = [&](auto&& self, const CFormElement* container) -> void {
        const ChildPosition first = container->GetFirstChildPosition();
        if (first.IsNull())
            return;
        const CObList& children = *first.List();
        for (auto it = first.Iterator(); it != children.end(); ++it)
            if (const CFormElement* child = AsFormElement(*it))
                self(self, child);
        for (auto it = first.Iterator(); it != children.end(); ++it)
            if (const CFormElement* child = AsFormElement(*it); child != nullptr && position.Insert(child, next))
                ++next;
    };
    for (const CFormElement* element : topLevel)
        finish(finish, element);
    for (const CFormElement* element : topLevel)
        position.Insert(element, next++);
}

// ---------------------------------------------------------------- z-order

void CDesignerDoc::StoreZOrder(CArchive& ar, const std::vector<CFormElement*>& topLevel)
{
    // Positions in the list as the loader rebuilds it, so every element
    // keeps its place after a load.
    kwvd::PointerTable<size_t> position;
    OrderAfterReload(topLevel, position);
    std::vector<WORD> indices;
    indices.reserve(static_cast<size_t>(m_zOrder.GetCount()));
    for (CObject* object : m_zOrder) {
        const size_t* found = position.Find(object);
        if (found != nullptr && *found <= 0xFFFF)
            indices.push_back(static_cast<WORD>(*found));
    }
    ar.WriteCount(static_cast<DWORD>(indices.size()));
    for (WORD index : indices)
        ar << index;
}

void CDesignerDoc::SerializeZOrder(CArchive& ar, BYTE version)
{
    if (ar.IsStoring()) {
        StoreZOrder(ar, TopLevelElements(m_elements));
        return;
    }

    if (version <= 4) {
        ResetZOrder();
        return;
    }

    ClearZOrder();
    const DWORD count = ar.ReadCount();
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * sizeof(WORD));
    std::vector<WORD> indices(count);
    for (WORD& index : indices)
        ar >> index;

    const std::vector<CObject*> elements(m_elements.begin(), m_elements.end());
    std::vector<bool> used(elements.size(), false);
    for (WORD index : indices) {
        // A position twice or past the list is damage: document order is
        // the order that stays sound.
        if (index >= elements.size() || used[index]) {
            ResetZOrder();
            return;
        }
        used[index] = true;
        AddToZOrder(elements[index], false);
    }
    if (elements.size() > indices.size())
        ResetZOrder();
}

void CDesignerDoc::ResetZOrder()
{
    ClearZOrder();
    for (CObject* object : m_elements)
        AddToZOrder(object, false);
    SetModifiedFlag(TRUE);
}
