// The JVX file of a whole document: the header word, the header line of the
// document's page-definition fields, the sections of fonts, devices,
// barcodes and resources, the element records and, on export, the images.

#include "designer/document/DesignerDoc.h"

#include "designer/document/CompressedMemFile.h"
#include "designer/document/MasterListChanges.h"
#include "designer/document/Page.h"
#include "designer/document/TranslatorFactory.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormElement.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/images/ImageRegistry.h"
#include "designer/resources/images/ResourceManager.h"
#include "hostaccess/api/Translator.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/File.h"
#include "platform/framework/MathHelpers.h"
#include "platform/framework/MemFile.h"
#include "platform/framework/SafeFileSave.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/WaitCursor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kLastVersion = 28;
constexpr int kFirstHostVersion = 19; // EBCDIC header word, translated text
constexpr int kHostCcsidForSystemText = 285;
constexpr BYTE kEbcdicJvx[3] = {0xD1, 0xE5, 0xE7};
constexpr BYTE kEbcdicZero = 0xF0;
// The host's export device keeps no larger no-print border.
constexpr int kMaxDeviceBorder = 2880;

QString ErrorReadingFileMessage(const QString& path)
{
    return FormatMessageText(QStringLiteral("Error reading file: %1."), path);
}

int Notify(CDesignerDoc* doc, const QString& text)
{
    if (doc != nullptr)
        return doc->NotifyUser(text, MB_OK | MB_ICONEXCLAMATION, IDOK);
    return AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

void ReportDebug(const std::exception_ptr& error)
{
    if (!Preferences().EnableDebugServices || !error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const CException& e) {
        // A cancel the user already answered has no report of its own.
        if (!e.GetErrorMessage().isEmpty())
            ReportError(e);
    } catch (...) {
    }
}

QString ErrorText(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const CException& e) {
        return e.GetErrorMessage();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
    }
    return QString();
}

// Why an export failed, for the user: the exception's own report, or
// nothing when the user was already told (a cancelled question, a clash of
// image names) and the exception only ends the export.
QString ExportFailureCause(const std::exception_ptr& error)
{
    if (!error)
        return QString();
    try {
        std::rethrow_exception(error);
    } catch (const CArchiveException& e) {
        if (e.m_cause == CArchiveException::none)
            return QString();
    } catch (...) {
    }
    return ErrorText(error);
}

// The translators of one exchange: taken off the archive and out of
// UserDataTranslator, then deleted, on every way out.
class ExchangeTranslators
{
public:
    explicit ExchangeTranslators(CJVXArchive& ar) : m_ar(ar) {}
    ~ExchangeTranslators()
    {
        SetUserDataTranslator(nullptr);
        m_ar.SetTranslator(nullptr);
        delete m_pSystem;
        delete m_pUser;
    }
    ExchangeTranslators(const ExchangeTranslators&) = delete;
    ExchangeTranslators& operator=(const ExchangeTranslators&) = delete;

    void MakeSystem(int mode)
    {
        m_pSystem = CreateModelTranslator(mode);
        if (m_pSystem != nullptr)
            m_pSystem->SetHostCCSID(kHostCcsidForSystemText);
        m_ar.SetTranslator(m_pSystem);
    }
    void MakeUser(int mode, int ccsid)
    {
        m_pUser = CreateModelTranslator(mode);
        if (m_pUser != nullptr)
            m_pUser->SetHostCCSID(ccsid);
        SetUserDataTranslator(m_pUser);
    }

private:
    CJVXArchive& m_ar;
    ITranslator* m_pSystem = nullptr;
    ITranslator* m_pUser = nullptr;
};

// Image and resource files named in the records are found relative to the
// JVX file, so its folder is the current one while it is read.
class CurrentFolderScope
{
public:
    explicit CurrentFolderScope(const QString& filePath)
    {
        const QString folder = QFileInfo(filePath).absolutePath();
        const QString current = QDir::currentPath();
        if (folder != current && QDir::setCurrent(folder))
            m_previous = current;
    }
    ~CurrentFolderScope() { Leave(); }
    // Back to the folder before, early.
    void Leave()
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

void RemoveQuietly(const QString& path)
{
    if (!path.isEmpty())
        ::unlink(path.toUtf8().constData());
}

// An image file the failed export replaced gets its old bytes back, written
// as every save is (through a link, keeping the file's access rights); the
// copy kept aside goes once they are back.
bool PutBack(const QString& backup, const QString& path)
{
    if (backup.isEmpty())
        return false;
    QFile kept(backup);
    if (!kept.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = kept.readAll();
    if (kept.error() != QFileDevice::NoError)
        return false;
    kept.close();
    try {
        kwvd::SaveFileReplacing(path, [&bytes](CFile& file) {
            if (!bytes.isEmpty())
                file.Write(bytes.constData(), static_cast<UINT>(bytes.size()));
        });
    } catch (...) {
        return false;
    }
    RemoveQuietly(backup);
    return true;
}

// Fields 1 to 15 of the header line at the widths the host reads them,
// whatever widths the document keeps for its own fields (a WVD file stores
// and restores its own). Reading fills these copies, which reach the
// document once the sections before the element records were read.
class JvxHeaderLine
{
public:
    // The document's values, cut to the line's widths.
    explicit JvxHeaderLine(CDesignerDoc& doc)
    {
        for (const TextPair& pair : Texts(doc))
            pair.line->SetValue(pair.doc->GetValue());
        for (const NumberPair& pair : Numbers(doc))
            pair.line->SetValue(static_cast<int>(pair.doc->GetValue()));
    }
    JvxHeaderLine() = default;

    // Version 1 has 57 characters of fields the host no longer knows in place
    // of fields 10 to 12, then field 13 and one character more before field
    // 14.
    void Exchange(CJVXArchive& ar, int version)
    {
        wvdName.ExchangeJVX(ar);
        description.ExchangeJVX(ar);
        firstPageText.ExchangeJVX(ar);
        firstPageLine.ExchangeJVX(ar);
        firstPageColumn.ExchangeJVX(ar);
        firstPageWidth.ExchangeJVX(ar);
        firstPageCompare.ExchangeJVX(ar);
        ignoreFirstPage.ExchangeJVX(ar);
        firstPage.ExchangeJVX(ar);
        if (version == 1) {
            for (int width : {4, 10, 10, 10, 1, 1, 10, 10, 1}) {
                CFixedLenString old(width);
                old.ExchangeJVX(ar);
            }
            fontGroup.ExchangeJVX(ar);
            CFixedLenString old(1);
            old.ExchangeJVX(ar);
        } else {
            lastPage.ExchangeJVX(ar);
            orientation.ExchangeJVX(ar);
            border.ExchangeJVX(ar);
            fontGroup.ExchangeJVX(ar);
        }
        resourceLibrary.ExchangeJVX(ar);
        if (version >= 10)
            docTypeDigit.ExchangeJVX(ar);
    }

    // The fields a file of the version holds go into the document's own.
    void ApplyTo(CDesignerDoc& doc, int version)
    {
        for (const TextPair& pair : Texts(doc))
            if (version >= pair.firstVersion)
                pair.doc->SetValue(pair.line->GetValue());
        for (const NumberPair& pair : Numbers(doc)) {
            if (version < pair.firstVersion)
                continue;
            pair.doc->SetValue(static_cast<int>(pair.line->GetValue()));
            pair.doc->SetEmpty(pair.line->IsEmpty());
        }
    }

    CFixedLenUserString wvdName{10};
    CFixedLenUserString description{50};
    CFixedLenUserString firstPageText{30};
    CFixedLenNum firstPageLine{2};
    CFixedLenNum firstPageColumn{3};
    CFixedLenNum firstPageWidth{2};
    CFixedLenString firstPageCompare{2};
    CFixedLenString ignoreFirstPage{1};
    CFixedLenNum firstPage{3};
    CFixedLenNum lastPage{3};
    CFixedLenString orientation{1};
    CFixedLenNum border{5};
    CFixedLenString fontGroup{8};
    CFixedLenString resourceLibrary{8};
    CFixedLenString docTypeDigit{1};

private:
    template <class Field>
    struct Pair
    {
        Field* doc;
        Field* line;
        int firstVersion;
    };
    using TextPair = Pair<CFixedLenString>;
    using NumberPair = Pair<CFixedLenNum>;

    std::array<TextPair, 9> Texts(CDesignerDoc& doc)
    {
        return {{{&doc.WvdName(), &wvdName, 1},
                 {&doc.Description(), &description, 1},
                 {&doc.FirstPageText(), &firstPageText, 1},
                 {&doc.FirstPageCompare(), &firstPageCompare, 1},
                 {&doc.IgnoreFirstPage(), &ignoreFirstPage, 1},
                 {&doc.OrientationDigit(), &orientation, 2},
                 {&doc.FontGroupName(), &fontGroup, 1},
                 {&doc.ResourceLibrary(), &resourceLibrary, 1},
                 {&doc.DocTypeDigit(), &docTypeDigit, 10}}};
    }
    std::array<NumberPair, 6> Numbers(CDesignerDoc& doc)
    {
        return {{{&doc.FirstPageTextLine(), &firstPageLine, 1},
                 {&doc.FirstPageTextColumn(), &firstPageColumn, 1},
                 {&doc.FirstPageTextWidth(), &firstPageWidth, 1},
                 {&doc.FirstPageToProcess(), &firstPage, 1},
                 {&doc.LastPageToProcess(), &lastPage, 2},
                 {&doc.NoPrintBorder(), &border, 2}}};
    }
};

// The master device and font lists stay loaded while a document's managers
// are replaced: the last manager to go would write the lists out and the
// next read them in again as other objects.
class MasterListsHeld
{
public:
    MasterListsHeld() = default;
    MasterListsHeld(const MasterListsHeld&) = delete;
    MasterListsHeld& operator=(const MasterListsHeld&) = delete;

private:
    COutputDeviceManager m_devices;
    CFontManager m_fonts;
};

// The number of lines that begin before the position, counted from the end
// of the header word in the archive's text form: the line the position is in.
int LineAt(CJVXArchive& ar, LONG textStart, LONG position)
{
    const int bytesPerCharacter = (ar.GetVersion() < kFirstHostVersion || ar.GetTranslator() != nullptr) ? 1 : 2;
    int line = 1;
    ar.Seek(textStart, CFile::begin);
    LONG at = textStart;
    QString chunk;
    while (at < position) {
        const int wanted = static_cast<int>(std::min<LONG>((position - at) / bytesPerCharacter, 4096));
        if (wanted <= 0)
            break;
        const int got = ar.ReadText(chunk, wanted);
        if (got <= 0)
            break;
        line += static_cast<int>(chunk.left(got).count(QLatin1Char('\n')));
        at += static_cast<LONG>(got) * bytesPerCharacter;
    }
    return line;
}

} // namespace

// ---------------------------------------------------------------- header word

BYTE SerializeJVXHeader(CJVXArchive& ar)
{
    if (ar.IsStoring()) {
        int version = ar.GetVersion();
        if (version <= 0 || version > kLastVersion)
            version = kLastVersion;
        ar.SetVersion(version);
        if (version >= kFirstHostVersion) {
            // Raw bytes: the host recognises the file before any translation.
            const BYTE word[6] = {kEbcdicJvx[0],
                                  kEbcdicJvx[1],
                                  kEbcdicJvx[2],
                                  static_cast<BYTE>(kEbcdicZero + version / 100),
                                  static_cast<BYTE>(kEbcdicZero + version / 10 % 10),
                                  static_cast<BYTE>(kEbcdicZero + version % 10)};
            ar.WriteBytes(word, sizeof word);
        } else {
            CFixedLenString magic(3);
            magic.SetValue(QStringLiteral("JVX"));
            magic.ExchangeJVX(ar);
            CFixedLenNum number(3);
            number.SetValue(version);
            number.ExchangeJVX(ar);
        }
        return static_cast<BYTE>(version);
    }

    CDesignerDoc* doc = ar.GetDocument();
    const QString path = ar.GetFilePath();
    const LONG start = ar.Seek(0, CFile::current);
    BYTE word[6] = {};
    if (ar.ReadBytes(word, sizeof word) < sizeof word) {
        Notify(doc, ErrorReadingFileMessage(path));
        return 0;
    }

    int version = 0;
    if (word[0] == kEbcdicJvx[0] && word[1] == kEbcdicJvx[1] && word[2] == kEbcdicJvx[2]) {
        version = 100 * (word[3] - kEbcdicZero) + 10 * (word[4] - kEbcdicZero) + (word[5] - kEbcdicZero);
        if (version < kFirstHostVersion || version > 255)
            version = 0;
    } else if (word[0] == 'J' && word[1] == 'V' && word[2] == 'X') {
        // The digits follow the number field's reading rule.
        ar.Seek(start + 3, CFile::begin);
        const int eightBit = ar.GetVersion();
        ar.SetVersion(1);
        CFixedLenNum number(3);
        try {
            number.ExchangeJVX(ar);
        } catch (...) {
            ar.SetVersion(eightBit);
            throw;
        }
        ar.SetVersion(eightBit);
        ar.Seek(start + 6, CFile::begin);
        version = static_cast<int>(number.GetValue());
        // An 8-bit file is never of a host version; nor is one below 1.
        if (version >= kFirstHostVersion || version < 1)
            version = 0;
    } else {
        ar.Seek(start, CFile::begin);
        version = 1;
    }

    if (version == 0) {
        Notify(doc, ErrorReadingFileMessage(path));
        return 0;
    }
    if (version > kLastVersion) {
        Notify(doc, FormatMessageText(QStringLiteral("Cannot read document \"%1\".  Document was created by a newer "
                                                     "version of KWVD Designer."),
                                      QFileInfo(path).fileName()));
        return 0;
    }
    ar.SetVersion(version);
    return static_cast<BYTE>(version);
}

// ---------------------------------------------------------------- export

void CDesignerDoc::PrepareJvxExport(const QString& memberName)
{
    COutputDevice* device = m_pOutputDevices != nullptr ? m_pOutputDevices->GetExportDevice() : nullptr;
    if (device != nullptr)
        device->SetName(memberName);

    const QString resourceName = (m_pResources != nullptr && m_pResources->CountUsed() > 0) ? memberName : QString();
    m_resourceLibrary.SetValue(resourceName);
    if (device != nullptr)
        device->SetPrinterResource(resourceName);
    if (m_pResources != nullptr)
        m_pResources->SetLibrary(resourceName);

    if (m_pOutputPage == nullptr)
        return;
    CPage& page = *m_pOutputPage;
    if (CFontManager* fonts = page.GetFontManager()) {
        fonts->SetFontGroupName(memberName);
        m_fontGroup.SetValue(fonts->GetFontGroupName());
        if (device != nullptr)
            device->SetFontGroup(fonts->GetFontGroupName());
    }

    const bool landscape = page.IsLandscape();
    m_orientation.SetNumber(landscape ? 1 : 0);
    // 1/1000 inch to 1/1440 inch; the field holds no more than 16 bits.
    const int border = std::min(MulDiv(page.GetBorder(), 1440, 1000), 0xFFFF);
    m_border.SetValue(border);
    if (device != nullptr) {
        // A print device names its rotation in degrees, the others 0 or 1.
        if (device->GetType() == 0)
            device->SetRotationText(landscape ? QStringLiteral("90") : QStringLiteral("0"));
        else
            device->SetRotationText(landscape ? QStringLiteral("1") : QStringLiteral("0"));
        if (border <= kMaxDeviceBorder)
            device->SetNoPrintBorder(QString::number(border));
        device->SetCPI(page.GetCharsPerInch());
        device->SetLPI(page.GetLinesPerInch());
    }
    if (m_pOutputDevices != nullptr) {
        const int size[2] = {MulDiv(page.GetWidth(), 1440, 100), MulDiv(page.GetHeight(), 1440, 100)};
        m_pOutputDevices->SetExportPageSize(size);
    }
}

void CDesignerDoc::WriteJvxContents(CJVXArchive& ar, const QString& memberName)
{
    // The header line, as every record, reaches the file in one write.
    ar.BeginLine();
    SerializeJVXHeader(ar);
    const int version = ar.GetVersion();
    if (version >= kFirstHostVersion) {
        CFixedLenNum ccsid(5);
        ccsid.SetValue(GetCodePageId());
        ccsid.ExchangeJVX(ar);
    }
    m_docTypeDigit.SetNumber(m_docType);
    JvxHeaderLine header(*this);
    // A WVD file may keep these two fields narrower than the host's; the
    // names themselves go out whole.
    header.wvdName.SetValue(memberName);
    if (m_pOutputPage != nullptr && m_pOutputPage->GetFontManager() != nullptr)
        header.fontGroup.SetValue(m_pOutputPage->GetFontManager()->GetFontGroupName());
    header.Exchange(ar, version);
    if (version >= kLastVersion) {
        CFixedLenNum buildId(6);
        buildId.SetValue(static_cast<int>(m_buildId));
        buildId.ExchangeJVX(ar);
        m_uploadPath = GetPathName();
        m_uploadTime.SetToCurrentTime();
        m_uploadTime.ExchangeJVX(ar);
        CFixedLenString uploadPath(320);
        uploadPath.SetValue(m_uploadPath);
        uploadPath.ExchangeJVX(ar);
        // The upload is no edit: no transaction, no Build ID, no snapshot.
        CDocument::SetModifiedFlag(TRUE);
        UpdateTitleMark(TRUE, TRUE);
    }
    ar.WriteLineEnd();

    if (m_pOutputPage != nullptr && m_pOutputPage->GetFontManager() != nullptr)
        m_pOutputPage->GetFontManager()->ExchangeJVX(ar);
    if (m_pOutputDevices != nullptr)
        m_pOutputDevices->ExchangeJVX(ar);
    if (m_pBarcodes != nullptr)
        m_pBarcodes->ExchangeJVX(ar);
    if (m_pResources != nullptr)
        m_pResources->ExchangeJVX(ar);

    std::vector<CFormElement*> topLevel;
    topLevel.reserve(static_cast<size_t>(m_elements.GetCount()));
    // The class table answers in a few steps where a dynamic_cast compares
    // type names.
    for (CObject* object : m_elements)
        if (object != nullptr && object->IsKindOf(KWVD_RUNTIME_CLASS(CFormElement))
            && !static_cast<CFormElement*>(object)->HasParent())
            topLevel.push_back(static_cast<CFormElement*>(object));
    m_jvxRecordCounter = 1;
    m_currentSourceLine = 0;
    m_currentDestLine = 0;
    for (CFormElement* element : topLevel)
        element->ExportJVX(ar);
    m_jvxRecordCounter = 0;
    m_currentSourceLine = 0;
    m_currentDestLine = 0;

    if (m_pImages != nullptr)
        m_pImages->ExportJVX(ar);
}

BOOL CDesignerDoc::ExportJVXFile(const QString& path, QString& memberName, int version)
{
    CWaitCursor wait;
    if (version <= 0 || version > kLastVersion)
        version = kLastVersion;

    memberName = memberName.toUpper();
    CFixedLenUserString newName(m_wvdName.GetWidth());
    newName.SetValue(memberName);
    if (!m_wvdName.IsEqual(newName.GetValue())) {
        CDocChangeGuard change(this);
        m_wvdName.SetValue(memberName);
        SetModifiedFlag(TRUE);
    }
    PrepareJvxExport(memberName);

    // The file is written under a temporary name and put in place only when
    // it is whole, so a failed export never leaves a part of a file where the
    // host would take it for a definition. A target that may not be replaced
    // is refused here, before any image file is written beside it.
    const QString target = QFileInfo(path).absoluteFilePath();
    std::optional<kwvd::ReplacingFile> out;
    try {
        out.emplace(target);
    } catch (const CFileException& error) {
        ReportError(error);
        return FALSE;
    }

    const CTimeStamp uploadTimeBefore = m_uploadTime;
    const QString uploadPathBefore = m_uploadPath;
    const BOOL modifiedBefore = IsModified();
    QList<CJVXArchive::WrittenFile> writtenFiles;
    std::exception_ptr writeError;
    // Thousands of short fields: they are gathered in memory and reach the
    // file in one write. Failures name the user's file. The file holds about
    // a line for each element, so the block is that large from the start
    // rather than copied as it grows.
    const qsizetype lines = m_elements.GetCount() + 64;
    const qsizetype lineBytes = 2 * (CAPRTPDMRec::LineLength(version) + 2);
    CMemFile buffer(static_cast<UINT>(std::clamp<qsizetype>(lines * lineBytes, 64 * 1024, 64 * 1024 * 1024)));
    buffer.SetFilePath(target);
    {
        CJVXArchive ar(version, CJVXArchive::store, this, &buffer);
        ExchangeTranslators translators(ar);
        if (version >= kFirstHostVersion) {
            translators.MakeSystem(TranslatorMode::PcToHost);
            translators.MakeUser(TranslatorMode::PcToHost, GetCodePageId());
        }
        try {
            WriteJvxContents(ar, memberName);
        } catch (...) {
            writeError = std::current_exception();
        }
        writtenFiles = ar.WrittenFiles();
    }

    if (!writeError) {
        try {
            if (buffer.GetLength() > 0)
                out->File().Write(buffer.GetContents(), static_cast<UINT>(buffer.GetLength()));
            out->Commit();
            for (const CJVXArchive::WrittenFile& written : writtenFiles)
                RemoveQuietly(written.backup);
            return TRUE;
        } catch (...) {
            writeError = std::current_exception();
        }
    }

    out.reset();
    // The image files go too; those that replaced older ones give them back,
    // so the folder is as it was.
    for (const CJVXArchive::WrittenFile& written : writtenFiles) {
        if (!PutBack(written.backup, written.path))
            RemoveQuietly(written.path);
    }
    m_jvxRecordCounter = 0;
    m_currentSourceLine = 0;
    m_currentDestLine = 0;
    // Nothing reached the host, so the document keeps its last upload.
    m_uploadTime = uploadTimeBefore;
    m_uploadPath = uploadPathBefore;
    PutModifiedFlag(modifiedBefore);

    ReportDebug(writeError);
    QString message = FormatMessageText(QStringLiteral("WVD %1 not Exported. Errors were encountered."), memberName);
    const QString cause = ExportFailureCause(writeError);
    if (!cause.isEmpty())
        message += QLatin1Char('\n') + cause;
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

void CDesignerDoc::PutModifiedFlag(BOOL modified)
{
    if (IsModified() == modified)
        return;
    CDocument::SetModifiedFlag(modified);
    UpdateTitleMark(modified, TRUE);
}

// ---------------------------------------------------------------- import

BOOL CDesignerDoc::ImportJVXFile(const QString& path)
{
    CWaitCursor wait;
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareExclusive)) {
        AfxMessageBox(ErrorReadingFileMessage(path), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    CurrentFolderScope folder(file.GetFilePath());

    // The whole file is read at once; the fields are then read from memory.
    std::vector<BYTE> bytes;
    CMemFile contents;
    try {
        const ULONGLONG length = file.GetLength();
        if (length > 0xFFFFFFFFull)
            AfxThrowFileException(CFileException::invalidFile, EFBIG, file.GetFilePath());
        bytes.resize(static_cast<size_t>(length));
        if (!bytes.empty())
            bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    } catch (...) {
        ReportDebug(std::current_exception());
        AfxMessageBox(ErrorReadingFileMessage(path), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    contents.Attach(bytes.data(), static_cast<UINT>(bytes.size()));
    contents.SetFilePath(file.GetFilePath());

    CJVXArchive ar(0, CJVXArchive::load, this, &contents);
    ExchangeTranslators translators(ar);
    int version = 0;
    try {
        version = SerializeJVXHeader(ar);
    } catch (...) {
        ReportDebug(std::current_exception());
        AfxMessageBox(ErrorReadingFileMessage(path), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (version == 0)
        return FALSE;

    // A file refused part way leaves the document as it was: the state before
    // is read back on failure, as an undo would.
    const BOOL modifiedBefore = IsModified();
    const BOOL dirtyBefore = m_dirty;
    std::unique_ptr<CCompressedMemFile> before;
    try {
        before.reset(CreateSnapshot());
    } catch (...) {
        ReportDebug(std::current_exception());
        AfxMessageBox(FormatMessageText(QStringLiteral("The JVX file %1 was not imported: the document could not "
                                                       "be kept aside first.\n%2"),
                                        path, ErrorText(std::current_exception())),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    // What the file adds to the master lists goes again if it is refused.
    MasterListChanges masterChanges;

    try {
        const LONG textStart = ar.Seek(0, CFile::current);
        CFontManager* outputFonts = m_pOutputPage != nullptr ? m_pOutputPage->GetFontManager() : nullptr;
        if (version >= kFirstHostVersion) {
            translators.MakeSystem(TranslatorMode::HostToPc);
            CFixedLenNum ccsid(5);
            ccsid.ExchangeJVX(ar);
            // The font section reads its names in the file's code page.
            if (outputFonts != nullptr && outputFonts->GetCodePageId() != static_cast<int>(ccsid.GetUShort()))
                outputFonts->SetCodePageId(ccsid.GetUShort());
            translators.MakeUser(TranslatorMode::HostToPc, GetCodePageId());
        }

        JvxHeaderLine header;
        header.Exchange(ar, version);
        CFixedLenNum buildId(6);
        CTimeStamp uploadTime;
        CFixedLenString uploadPath(320);
        if (version >= kLastVersion) {
            buildId.ExchangeJVX(ar);
            uploadTime.ExchangeJVX(ar);
            uploadPath.ExchangeJVX(ar);
        }
        ar.ReadLineEnd();

        if (outputFonts != nullptr) {
            outputFonts->ExchangeJVX(ar);
            if (m_pSourcePage != nullptr && m_pSourcePage->GetFontManager() != nullptr)
                m_pSourcePage->GetFontManager()->CopyLanguageSettings(outputFonts);
        }
        if (m_pOutputDevices != nullptr)
            m_pOutputDevices->ExchangeJVX(ar);
        if (m_pBarcodes != nullptr)
            m_pBarcodes->ExchangeJVX(ar);
        if (m_pResources != nullptr)
            m_pResources->ExchangeJVX(ar);

        header.ApplyTo(*this, version);
        if (version >= 2 && m_pOutputPage != nullptr) {
            const int orientation = m_orientation.IsEqual(QStringLiteral("1")) ? 1 : 0;
            if (m_pOutputPage->GetOrientation() != orientation) {
                m_pOutputPage->SetOrientation(orientation);
                m_pOutputPage->RecalcGrid();
            }
            m_pOutputPage->SetBorder(static_cast<WORD>(MulDiv(header.border.GetUShort(), 1000, 1440)));
        }
        if (version >= 10) {
            const QString type = header.docTypeDigit.GetValue().trimmed();
            SetDocTypeNumber(type.isEmpty() ? 0 : COutputDevice::LeadingInteger(type));
        }
        if (version >= kLastVersion) {
            SetBuildId(buildId.GetUInt());
            m_uploadTime = uploadTime;
            m_uploadPath = uploadPath.GetValue();
        }

        ReadJvxElements(ar, textStart);

        if (version >= 18 && m_pOutputDevices != nullptr) {
            const COutputDevice* device = m_pOutputDevices->GetExportDevice();
            if (m_pOutputPage != nullptr)
                m_pOutputPage->SetSizeTwips(device->GetPageWidthTwips(), device->GetPageHeightTwips());
        }
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        m_currentSourceLine = 0;
        m_currentDestLine = 0;
        // The state before is read as an undo reads it: in the user's folder,
        // without the file's translators.
        folder.Leave();
        SetUserDataTranslator(nullptr);
        try {
            const MasterListsHeld held;
            masterChanges.Undo();
            RollBackTo(*before, dirtyBefore);
        } catch (...) {
            // Nothing trustworthy is left in memory. A new document has no
            // path, so it cannot be saved over the user's file by mistake.
            const QString reason = ErrorText(std::current_exception());
            OnNewDocument();
            AfxMessageBox(FormatMessageText(QStringLiteral("The JVX file %1 could not be read, and the document could "
                                                           "not be put back as it was:\n%2\nA new document was "
                                                           "started; no file on disk was changed."),
                                            path, reason),
                          MB_OK | MB_ICONSTOP);
            return FALSE;
        }
        PutModifiedFlag(modifiedBefore);
        ReportDebug(error);
        AfxMessageBox(ErrorReadingFileMessage(path), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    masterChanges.Keep();
    return TRUE;
}

void CDesignerDoc::ReadJvxElements(CJVXArchive& ar, LONG textStart)
{
    m_currentSourceLine = 0;
    m_currentDestLine = 0;
    CAPRTPDMRec record(this);
    // Where the reading stopped short of the end, and what stood there.
    std::optional<LONG> stoppedAt;
    QString stoppedRecord;
    std::exception_ptr stopError;
    for (;;) {
        const LONG start = ar.Seek(0, CFile::current);
        CFormElement* element = nullptr;
        try {
            record.Reset();
            record.ExchangeJVX(ar);
            if (record.IsEndOfData())
                break;
            if (!record.IsValid()) {
                stoppedAt = start;
                stoppedRecord = record.m_opcode.GetValue();
                break;
            }
            element = record.CreateElement(ar);
        } catch (...) {
            stopError = std::current_exception();
            stoppedAt = start;
            break;
        }
        if (element != nullptr)
            AddElement(element, FALSE, nullptr);
        // A container that met a record it could not read kept the error and
        // stopped there.
        if (std::exception_ptr childError = ar.TakeReadError()) {
            stopError = childError;
            stoppedAt = ar.Seek(0, CFile::current);
            break;
        }
    }
    m_currentSourceLine = 0;
    m_currentDestLine = 0;
    if (!stoppedAt)
        return;

    // What was read stays and the import counts as done: a failure would have
    // the command read the file again over the elements already added.
    ReportDebug(stopError);
    if (stopError)
        stoppedRecord = ErrorText(stopError);
    else if (stoppedRecord.isEmpty())
        stoppedRecord = QStringLiteral("blank");
    int line = 0;
    try {
        line = LineAt(ar, textStart, *stoppedAt);
    } catch (...) {
    }
    AfxMessageBox(FormatMessageText(QStringLiteral("The JVX file %1 was read up to line %2. The record there (%3) "
                                                   "could not be read, and the rest of the file was not imported."),
                                    ar.GetFilePath(), line, stoppedRecord),
                  MB_OK | MB_ICONEXCLAMATION);
}
