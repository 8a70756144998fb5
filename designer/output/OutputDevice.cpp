#include "designer/output/OutputDevice.h"

#include "designer/elements/FormOutputElement.h"
#include "designer/output/OutputDeviceTypeTable.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Collections.h"

#include <QStringList>

#include <algorithm>
#include <climits>
#include <initializer_list>

KWVD_IMPLEMENT_SERIAL(COutputDevice, CObject, VERSIONABLE_SCHEMA | 20)

namespace {

const QString kDoc = QStringLiteral("*DOC");
// The host's default document-store program and its library keyword.
const QString kDocStoreExitProgram = QStringLiteral("STOREDOC");
const QString kDocStoreExitLibrary = QStringLiteral("*DOC");

constexpr int kParameterWideWidth = 132;
constexpr int kParameterNarrowWidth = 64;

BOOL StoreText(QString& field, const QString& value)
{
    if (field == value)
        return FALSE;
    field = value;
    return TRUE;
}

BOOL StorePlain(QString& field, const QString& value, int width, bool upper)
{
    QString cut = value.left(width);
    if (upper)
        cut = cut.toUpper();
    return StoreText(field, cut);
}

BOOL StoreListed(QString& field, const QString& value, std::initializer_list<const char*> accepted)
{
    for (const char* text : accepted) {
        if (value == QLatin1StringView(text))
            return StoreText(field, value);
    }
    return FALSE;
}

BOOL StoreInt(int& field, int value, int minimum, int maximum)
{
    if (value == field || value < minimum || value > maximum)
        return FALSE;
    field = value;
    return TRUE;
}

BOOL StoreOffset(QPoint& field, QPoint value)
{
    if (value == field || value.x() < 0 || value.x() > 99999 || value.y() < 0 || value.y() > 99999)
        return FALSE;
    field = value;
    return TRUE;
}

bool TextsMatch(const QString& a, const QString& b)
{
    return a.isEmpty() || b.isEmpty() || a == b;
}

int ParameterWidth(int n)
{
    return n <= 10 ? kParameterWideWidth : kParameterNarrowWidth;
}

// Which value of an Address child's cells a position stands for.
enum PositionPart {
    Line,
    Column,
    Width
};

} // namespace

COutputDevice::COutputDevice()
{
    SetDefaults();
    m_f.type = 0;
}

COutputDevice::COutputDevice(int type, const QString& name, const QString& description)
{
    SetDefaults();
    SetType(type);
    SetName(name);
    SetDescription(description);
}

COutputDevice::COutputDevice(const COutputDevice* other)
{
    m_f.parameters.clear();
    Copy(other);
}

COutputDevice::~COutputDevice() = default;

void COutputDevice::SetDefaults()
{
    const int type = m_f.type;
    m_f = Fields{};
    m_f.type = type;
}

COutputDevice* COutputDevice::Copy(const COutputDevice* other)
{
    if (other == nullptr || other == this)
        return this;
    m_users = other->m_users;
    const int type = m_f.type;
    m_f = other->m_f;
    // The type goes through its setter, so it may add the store's program.
    m_f.type = type;
    SetType(other->m_f.type);
    m_f.fontGroup.clear();
    m_f.printerResource.clear();
    SetFontGroup(other->m_f.fontGroup);
    SetPrinterResource(other->m_f.printerResource);
    return this;
}

COutputDevice* COutputDevice::CopyFrom(const COutputDevice* other)
{
    if (other != nullptr)
        Copy(other);
    return this;
}

BOOL COutputDevice::IsEqual(const COutputDevice* other) const
{
    if (other == this)
        return TRUE;
    if (other == nullptr)
        return FALSE;
    const Fields& a = m_f;
    const Fields& b = other->m_f;

    static constexpr int Fields::*numbers[] = {
        &Fields::type,
        &Fields::hold,
        &Fields::save,
        &Fields::drawer,
        &Fields::copies,
        &Fields::linesPerInch,
        &Fields::charsPerInch,
        &Fields::pageHeight,
        &Fields::pageWidth,
        &Fields::rotation,
        &Fields::startLine,
        &Fields::noPrintBorder,
        &Fields::priority,
        &Fields::publicAuthority,
        &Fields::firstPageLine,
        &Fields::firstPageColumn,
        &Fields::firstPageWidth,
        &Fields::destinationLine,
        &Fields::destinationColumn,
        &Fields::destinationWidth,
        &Fields::destinationType,
        &Fields::displayPort,
        &Fields::confirmationType,
        &Fields::pdfSecurity,
    };
    for (int Fields::*field : numbers) {
        if (a.*field != b.*field)
            return FALSE;
    }
    if (a.imageOffsetPortrait != b.imageOffsetPortrait || a.imageOffsetLandscape != b.imageOffsetLandscape
        || a.textOffsetPortrait != b.textOffsetPortrait || a.textOffsetLandscape != b.textOffsetLandscape)
        return FALSE;
    if (!std::equal(std::begin(a.pdfFlags), std::end(a.pdfFlags), std::begin(b.pdfFlags)))
        return FALSE;

    static const QString Fields::*texts[] = {
        &Fields::name,
        &Fields::description,
        &Fields::outputQueue,
        &Fields::outputQueueLibrary,
        &Fields::printerDevice,
        &Fields::userData,
        &Fields::formType,
        &Fields::fontGroup,
        &Fields::printerResource,
        &Fields::spooledFileStatus,
        &Fields::faxFormLibrary,
        &Fields::faxForm,
        &Fields::faxFormMember,
        &Fields::transmissionMode,
        &Fields::from,
        &Fields::to,
        &Fields::attention,
        &Fields::reference,
        &Fields::userName,
        &Fields::userId,
        &Fields::userAddress,
        &Fields::coverLogo,
        &Fields::coverSignature,
        &Fields::department,
        &Fields::transparencyOn,
        &Fields::transparencyOff,
        &Fields::firstPageText,
        &Fields::firstPageComparison,
        &Fields::destinationScanText,
        &Fields::destinationExitProgram,
        &Fields::destinationExitLibrary,
        &Fields::displayDocument,
        &Fields::displayFolder,
        &Fields::displayServerPath,
        &Fields::displayTargetAddress,
        &Fields::fromEmail,
        &Fields::postmasterEmail,
        &Fields::attachmentFormat,
        &Fields::duplex,
        &Fields::attachmentName,
        &Fields::attachmentExtension,
        &Fields::attachmentCcsid,
        &Fields::destinationText,
        &Fields::subject,
        &Fields::message,
        &Fields::filePath,
        &Fields::fileName,
        &Fields::fileExtension,
        &Fields::fileFormat,
        &Fields::fileCcsid,
        &Fields::fileExitProgram,
        &Fields::fileExitProgramLibrary,
        &Fields::pdfDataStream,
        &Fields::fileOwner,
        &Fields::fileAuthorizationList,
        &Fields::filePublicAuthority,
        &Fields::pdfOwnerPassword,
        &Fields::pdfUserPassword,
        &Fields::pdfEncryptionLevel,
    };
    for (const QString Fields::*field : texts) {
        if (!TextsMatch(a.*field, b.*field))
            return FALSE;
    }
    if (a.parameters.size() != b.parameters.size())
        return FALSE;
    for (size_t i = 0; i < a.parameters.size(); ++i) {
        if (!TextsMatch(a.parameters[i], b.parameters[i]))
            return FALSE;
    }
    return TRUE;
}

void COutputDevice::GetDisplayName(QString& out) const
{
    if (!m_f.description.isEmpty()) {
        out = m_f.description;
        return;
    }
    out = m_f.name + QStringLiteral(" (") + OutputDeviceTypeTitle(m_f.type) + QStringLiteral(")");
}

void COutputDevice::GetTypeCode(int type, QString& code)
{
    if (const OutputDeviceTypeRow* row = FindOutputDeviceType(type))
        code = QString::fromUtf8(row->code);
}

void COutputDevice::GetTypeFromCode(const QString& code, int& type)
{
    type = -1;
    for (const OutputDeviceTypeRow* row = OutputDeviceTypeTable; row->type >= 0; ++row) {
        if (code == QLatin1StringView(row->code)) {
            type = row->type;
            return;
        }
    }
}

BOOL COutputDevice::Find(const QString&) const
{
    return FALSE;
}

BOOL COutputDevice::Replace(const QString&, const QString&)
{
    return FALSE;
}

// ---------------------------------------------------------------- WVD form

void COutputDevice::Serialize(CArchive& ar)
{
    Fields& f = m_f;
    auto writeWord = [&ar](int value) { ar << static_cast<WORD>(value & 0xFFFF); };
    auto writeLong = [&ar](int value) { ar << static_cast<LONG>(value); };
    auto writePair = [&ar](QPoint p) { ar << static_cast<LONG>(p.x()) << static_cast<LONG>(p.y()); };

    if (ar.IsStoring()) {
        ar << f.name;
        writeLong(f.type);
        ar << f.description;
        // 2
        ar << f.outputQueue << f.outputQueueLibrary << f.printerDevice << f.userData << f.formType;
        writeWord(f.hold);
        writeWord(f.save);
        for (int value : {f.drawer, f.copies, f.linesPerInch, f.charsPerInch, f.pageHeight, f.rotation, f.startLine})
            writeLong(value);
        ar << f.fontGroup << f.printerResource;
        writeLong(f.noPrintBorder);
        // 3
        ar << f.spooledFileStatus << f.faxForm << f.faxFormLibrary << f.faxFormMember;
        writeLong(f.priority);
        writeLong(f.publicAuthority);
        ar << f.transmissionMode << f.from << f.to << f.attention << f.reference << f.userName << f.userId
           << f.userAddress << f.coverLogo << f.coverSignature << f.department << f.transparencyOn << f.transparencyOff
           << f.firstPageText;
        writeLong(f.firstPageLine);
        writeLong(f.firstPageColumn);
        writeLong(f.firstPageWidth);
        ar << f.firstPageComparison << f.destinationScanText;
        for (int value : {f.destinationLine, f.destinationColumn, f.destinationWidth, f.destinationType})
            writeLong(value);
        ar << f.destinationExitProgram << f.destinationExitLibrary;
        // 4
        ar << f.displayDocument << f.displayFolder << f.displayServerPath << f.displayTargetAddress;
        writeLong(f.displayPort);
        // 5
        writePair(f.imageOffsetPortrait);
        writePair(f.imageOffsetLandscape);
        writePair(f.textOffsetPortrait);
        writePair(f.textOffsetLandscape);
        // 6 to 11
        ar << f.fromEmail << f.postmasterEmail << f.attachmentFormat;
        ar << f.duplex;
        writeLong(1);
        ar << f.attachmentName << f.attachmentExtension;
        ar << f.destinationText;
        ar << f.subject << f.message;
        writeLong(f.confirmationType);
        // 12 and 13
        ar << f.filePath << f.fileName << f.fileExtension << f.fileFormat << f.fileCcsid << f.fileExitProgram
           << f.fileExitProgramLibrary;
        ar.WriteCount(static_cast<DWORD>(f.parameters.size()));
        for (const QString& text : f.parameters)
            ar << text;
        // 14 to 19
        ar << f.pdfDataStream;
        writeLong(f.pageWidthTwips);
        writeLong(f.pageHeightTwips);
        ar << f.attachmentCcsid;
        writeLong(f.pageWidth);
        ar << f.fileOwner << f.fileAuthorizationList;
        ar << f.filePublicAuthority;
        // 20
        writeWord(f.pdfSecurity);
        ar << f.pdfOwnerPassword << f.pdfUserPassword;
        for (int i = 0; i < 4; ++i)
            writeWord(f.pdfFlags[i]);
        ar << f.pdfEncryptionLevel;
        for (int i = 4; i < 8; ++i)
            writeWord(f.pdfFlags[i]);
        return;
    }

    const UINT stored = ar.GetObjectSchema();
    const UINT schema = stored == CArchive::kNoObjectSchema ? 20 : stored;
    auto readWord = [&ar](int& value) {
        WORD word = 0;
        ar >> word;
        value = word;
    };
    auto readLong = [&ar](int& value) {
        LONG number = 0;
        ar >> number;
        value = static_cast<int>(number);
    };
    auto readPair = [&ar](QPoint& p) {
        LONG x = 0;
        LONG y = 0;
        ar >> x >> y;
        p = QPoint(static_cast<int>(x), static_cast<int>(y));
    };

    ar >> f.name;
    readLong(f.type);
    // A type no row knows would be written as a blank code to the host.
    if (f.type < 0 || f.type > kMaxType)
        f.type = 0;
    ar >> f.description;
    if (schema >= 2) {
        ar >> f.outputQueue >> f.outputQueueLibrary >> f.printerDevice >> f.userData >> f.formType;
        readWord(f.hold);
        readWord(f.save);
        for (int* value :
             {&f.drawer, &f.copies, &f.linesPerInch, &f.charsPerInch, &f.pageHeight, &f.rotation, &f.startLine})
            readLong(*value);
        QString dropped;
        ar >> dropped >> dropped;
        f.fontGroup.clear();
        f.printerResource.clear();
        SetFontGroup(kDoc);
        SetPrinterResource(kDoc);
        readLong(f.noPrintBorder);
    }
    if (schema >= 3) {
        ar >> f.spooledFileStatus >> f.faxForm >> f.faxFormLibrary >> f.faxFormMember;
        readLong(f.priority);
        readLong(f.publicAuthority);
        ar >> f.transmissionMode >> f.from >> f.to >> f.attention >> f.reference >> f.userName >> f.userId
            >> f.userAddress >> f.coverLogo >> f.coverSignature >> f.department >> f.transparencyOn >> f.transparencyOff
            >> f.firstPageText;
        readLong(f.firstPageLine);
        readLong(f.firstPageColumn);
        readLong(f.firstPageWidth);
        ar >> f.firstPageComparison >> f.destinationScanText;
        for (int* value : {&f.destinationLine, &f.destinationColumn, &f.destinationWidth, &f.destinationType})
            readLong(*value);
        ar >> f.destinationExitProgram >> f.destinationExitLibrary;
    }
    if (schema >= 4) {
        ar >> f.displayDocument >> f.displayFolder >> f.displayServerPath >> f.displayTargetAddress;
        readLong(f.displayPort);
    }
    if (schema >= 5) {
        readPair(f.imageOffsetPortrait);
        readPair(f.imageOffsetLandscape);
        readPair(f.textOffsetPortrait);
        readPair(f.textOffsetLandscape);
    }
    if (schema >= 6)
        ar >> f.fromEmail >> f.postmasterEmail >> f.attachmentFormat;
    if (schema >= 7)
        ar >> f.duplex;
    if (schema >= 8) {
        int dummy = 0;
        readLong(dummy);
        ar >> f.attachmentName >> f.attachmentExtension;
    }
    if (schema >= 9)
        ar >> f.destinationText;
    if (schema >= 10)
        ar >> f.subject >> f.message;
    if (schema >= 11)
        readLong(f.confirmationType);
    if (schema >= 12) {
        ar >> f.filePath >> f.fileName >> f.fileExtension >> f.fileFormat;
        if (schema >= 13)
            ar >> f.fileCcsid;
        ar >> f.fileExitProgram >> f.fileExitProgramLibrary;
        CStringArray list;
        list.Serialize(ar);
        f.parameters.assign(list.begin(), list.end());
    }
    if (schema >= 14)
        ar >> f.pdfDataStream;
    if (schema >= 15) {
        readLong(f.pageWidthTwips);
        readLong(f.pageHeightTwips);
    }
    if (schema >= 16)
        ar >> f.attachmentCcsid;
    if (schema >= 17)
        readLong(f.pageWidth);
    if (schema >= 18)
        ar >> f.fileOwner >> f.fileAuthorizationList;
    if (schema >= 19)
        ar >> f.filePublicAuthority;
    if (schema >= 20) {
        readWord(f.pdfSecurity);
        ar >> f.pdfOwnerPassword >> f.pdfUserPassword;
        for (int i = 0; i < 4; ++i)
            readWord(f.pdfFlags[i]);
        ar >> f.pdfEncryptionLevel;
        for (int i = 4; i < 8; ++i)
            readWord(f.pdfFlags[i]);
    }
}

// ---------------------------------------------------------------- users

BOOL COutputDevice::HasUser(const CFormOutputElement* element) const
{
    return std::find(m_users.begin(), m_users.end(), element) != m_users.end() ? TRUE : FALSE;
}

void COutputDevice::AddUser(CFormOutputElement* element)
{
    if (element != nullptr && !HasUser(element))
        m_users.push_back(element);
}

BOOL COutputDevice::RemoveUser(const CFormOutputElement* element)
{
    const auto it = std::find(m_users.begin(), m_users.end(), element);
    if (it == m_users.end())
        return FALSE;
    m_users.erase(it);
    return TRUE;
}

BOOL COutputDevice::HasAddress(int settingId) const
{
    for (const CFormOutputElement* user : m_users) {
        if (user != nullptr && user->HasAddress(settingId))
            return TRUE;
    }
    return FALSE;
}

BOOL COutputDevice::FormatAddressPlaceholder(int settingId, QString& out) const
{
    kwvd::Rect cells;
    bool deleting = false;
    if (GetRecordedAddress(settingId, cells, deleting)) {
        out = QString::asprintf("?%03d,%03d,%03d", cells.top, cells.left, cells.Width());
        if (deleting)
            out += QStringLiteral(",D");
        return TRUE;
    }
    BOOL found = FALSE;
    for (const CFormOutputElement* user : m_users) {
        if (user != nullptr && user->FormatAddressPlaceholder(settingId, out))
            found = TRUE;
    }
    return found;
}

BOOL COutputDevice::GetAddressCells(int settingId, kwvd::Rect& cells) const
{
    bool deleting = false;
    if (GetRecordedAddress(settingId, cells, deleting))
        return TRUE;
    BOOL found = FALSE;
    for (const CFormOutputElement* user : m_users) {
        if (user != nullptr && user->GetAddressCells(settingId, cells))
            found = TRUE;
    }
    return found;
}

BOOL COutputDevice::SetAddressFromPlaceholder(int settingId, const QString& text)
{
    if (m_recordingAddresses) {
        kwvd::Rect cells;
        bool hasCells = false;
        bool deleting = false;
        if (!HasAddress(settingId) || !ParseAddressPlaceholder(text, cells, hasCells, deleting))
            return FALSE;
        m_addressChanges.push_back({settingId, true, {}, text});
        return TRUE;
    }
    BOOL taken = FALSE;
    for (CFormOutputElement* user : m_users) {
        if (user != nullptr && user->SetAddressFromPlaceholder(settingId, text))
            taken = TRUE;
    }
    return taken;
}

BOOL COutputDevice::SetAddressCells(int settingId, const kwvd::Rect& cells)
{
    if (m_recordingAddresses) {
        if (!HasAddress(settingId))
            return FALSE;
        m_addressChanges.push_back({settingId, false, cells, {}});
        return TRUE;
    }
    BOOL taken = FALSE;
    for (CFormOutputElement* user : m_users) {
        if (user != nullptr && user->SetAddressCells(settingId, cells))
            taken = TRUE;
    }
    return taken;
}

void COutputDevice::StartAddressRecording()
{
    m_addressChanges.clear();
    m_recordingAddresses = true;
}

void COutputDevice::ApplyRecordedAddresses()
{
    m_recordingAddresses = false;
    const std::vector<AddressChange> changes = std::move(m_addressChanges);
    m_addressChanges.clear();
    for (const AddressChange& change : changes) {
        if (change.placeholder)
            SetAddressFromPlaceholder(change.settingId, change.text);
        else
            SetAddressCells(change.settingId, change.cells);
    }
}

void COutputDevice::DropRecordedAddresses()
{
    m_recordingAddresses = false;
    m_addressChanges.clear();
}

BOOL COutputDevice::GetRecordedAddress(int settingId, kwvd::Rect& cells, bool& deleting) const
{
    const auto noted = [settingId](const AddressChange& change) { return change.settingId == settingId; };
    if (std::none_of(m_addressChanges.begin(), m_addressChanges.end(), noted))
        return FALSE;
    // Every change reaches every child of the id alike, so replaying the
    // notes over what the last child shows now gives what it would show.
    BOOL found = FALSE;
    QString shown;
    for (const CFormOutputElement* user : m_users) {
        if (user != nullptr && user->GetAddressCells(settingId, cells)) {
            user->FormatAddressPlaceholder(settingId, shown);
            found = TRUE;
        }
    }
    if (!found)
        return FALSE;
    deleting = shown.endsWith(QStringLiteral(",D"));
    for (const AddressChange& change : m_addressChanges) {
        if (change.settingId != settingId)
            continue;
        if (!change.placeholder) {
            cells = change.cells;
            continue;
        }
        kwvd::Rect taken;
        bool hasCells = false;
        ParseAddressPlaceholder(change.text, taken, hasCells, deleting);
        if (hasCells)
            cells = taken;
        // Positions of a page carry no delete flag.
        if (settingId == AddressFieldCode::Destination || settingId == AddressFieldCode::FirstPage)
            deleting = false;
    }
    return TRUE;
}

BOOL COutputDevice::ParseAddressPlaceholder(const QString& text, kwvd::Rect& cells, bool& hasCells, bool& deleting)
{
    hasCells = false;
    deleting = false;
    if (!text.startsWith(u'?') || text.count(u',') < 2)
        return FALSE;
    const QStringList parts = text.mid(1).split(u',');
    const long long line = LeadingInteger(parts.at(0));
    const long long column = LeadingInteger(parts.at(1));
    const long long length = LeadingInteger(parts.at(2));
    if (line > 0 && column > 0 && column + length > 0) {
        // Far beyond any spooled file, and safe to turn into twips.
        static constexpr long long kMaxCell = 100000;
        const auto clamp = [](long long value) { return static_cast<int>(std::clamp(value, -kMaxCell, kMaxCell)); };
        cells = kwvd::Rect(clamp(column), clamp(line), clamp(column + length), clamp(line + 1));
        hasCells = true;
    }
    deleting = parts.size() > 3 && parts.at(3).startsWith(u'D');
    return TRUE;
}

// ---------------------------------------------------------------- identity

BOOL COutputDevice::SetName(const QString& name)
{
    return StorePlain(m_f.name, name, kNameWidth, false);
}

BOOL COutputDevice::SetDescription(const QString& description)
{
    return StorePlain(m_f.description, description, kDescriptionWidth, false);
}

BOOL COutputDevice::SetType(int type)
{
    if (type == m_f.type || type < 0 || type > kMaxType)
        return FALSE;
    m_f.type = type;
    if (type == kDocStoreType && m_f.fileExitProgram.isEmpty()) {
        SetFileExitProgram(kDocStoreExitProgram);
        SetFileExitProgramLibrary(kDocStoreExitLibrary);
    }
    return TRUE;
}

// ---------------------------------------------------------------- plain texts

BOOL COutputDevice::SetUserData(const QString& v)
{
    return StorePlain(m_f.userData, v, 10, true);
}
BOOL COutputDevice::SetFormType(const QString& v)
{
    return StorePlain(m_f.formType, v, 10, false);
}
BOOL COutputDevice::SetFontGroup(const QString& v)
{
    return StorePlain(m_f.fontGroup, v, 8, true);
}
BOOL COutputDevice::SetPrinterResource(const QString& v)
{
    return StorePlain(m_f.printerResource, v, 8, true);
}
BOOL COutputDevice::SetUserName(const QString& v)
{
    return StorePlain(m_f.userName, v, 10, true);
}
BOOL COutputDevice::SetUserId(const QString& v)
{
    return StorePlain(m_f.userId, v, 10, true);
}
BOOL COutputDevice::SetUserAddress(const QString& v)
{
    return StorePlain(m_f.userAddress, v, 10, true);
}
BOOL COutputDevice::SetCoverLogo(const QString& v)
{
    return StorePlain(m_f.coverLogo, v, 10, true);
}
BOOL COutputDevice::SetCoverSignature(const QString& v)
{
    return StorePlain(m_f.coverSignature, v, 10, true);
}
BOOL COutputDevice::SetDepartment(const QString& v)
{
    return StorePlain(m_f.department, v, 10, true);
}
BOOL COutputDevice::SetTransparencyOn(const QString& v)
{
    return StorePlain(m_f.transparencyOn, v, 20, false);
}
BOOL COutputDevice::SetTransparencyOff(const QString& v)
{
    return StorePlain(m_f.transparencyOff, v, 20, false);
}
BOOL COutputDevice::SetFirstPageText(const QString& v)
{
    return StorePlain(m_f.firstPageText, v, 30, false);
}
BOOL COutputDevice::SetDestinationScanText(const QString& v)
{
    return StorePlain(m_f.destinationScanText, v, 25, false);
}
BOOL COutputDevice::SetDestinationExitProgram(const QString& v)
{
    return StorePlain(m_f.destinationExitProgram, v, 10, true);
}
BOOL COutputDevice::SetDestinationExitLibrary(const QString& v)
{
    return StorePlain(m_f.destinationExitLibrary, v, 10, true);
}
BOOL COutputDevice::SetDisplayDocument(const QString& v)
{
    return StorePlain(m_f.displayDocument, v, 10, true);
}
BOOL COutputDevice::SetDisplayFolder(const QString& v)
{
    return StorePlain(m_f.displayFolder, v, 63, true);
}
BOOL COutputDevice::SetDisplayServerPath(const QString& v)
{
    return StorePlain(m_f.displayServerPath, v, 64, true);
}
BOOL COutputDevice::SetDisplayTargetAddress(const QString& v)
{
    return StorePlain(m_f.displayTargetAddress, v, 122, true);
}
BOOL COutputDevice::SetPostmasterEmail(const QString& v)
{
    return StorePlain(m_f.postmasterEmail, v, 256, false);
}
BOOL COutputDevice::SetAttachmentCcsid(const QString& v)
{
    return StorePlain(m_f.attachmentCcsid, v, 11, true);
}
BOOL COutputDevice::SetAttachmentExtension(const QString& v)
{
    return StorePlain(m_f.attachmentExtension, v, 3, false);
}
BOOL COutputDevice::SetDestinationText(const QString& v)
{
    return StorePlain(m_f.destinationText, v, 256, false);
}
BOOL COutputDevice::SetFileExtension(const QString& v)
{
    return StorePlain(m_f.fileExtension, v, 3, false);
}
BOOL COutputDevice::SetFileCcsid(const QString& v)
{
    return StorePlain(m_f.fileCcsid, v, 11, true);
}
BOOL COutputDevice::SetFileExitProgram(const QString& v)
{
    return StorePlain(m_f.fileExitProgram, v, kExitProgramWidth, true);
}
BOOL COutputDevice::SetFileExitProgramLibrary(const QString& v)
{
    return StorePlain(m_f.fileExitProgramLibrary, v, kExitProgramWidth, true);
}
BOOL COutputDevice::SetPdfDataStream(const QString& v)
{
    return StorePlain(m_f.pdfDataStream, v, 1, true);
}

// ---------------------------------------------------------------- value lists

BOOL COutputDevice::SetSpooledFileStatus(const QString& v)
{
    return StoreListed(m_f.spooledFileStatus, v, {"*DLT", "*SAV", "*HLD"});
}

BOOL COutputDevice::SetTransmissionMode(const QString& v)
{
    return StoreListed(m_f.transmissionMode, v.left(7), {"*NORMAL", "*FINE"});
}

BOOL COutputDevice::SetFirstPageComparison(const QString& v)
{
    return StoreListed(m_f.firstPageComparison, v, {"EQ", "NE"});
}

BOOL COutputDevice::SetFirstPageComparisonIndex(int index)
{
    if (index == 0)
        return SetFirstPageComparison(QStringLiteral("EQ"));
    if (index == 1)
        return SetFirstPageComparison(QStringLiteral("NE"));
    return FALSE;
}

BOOL COutputDevice::SetAttachmentFormat(const QString& v)
{
    return StoreListed(m_f.attachmentFormat, v, {"PDF", "SCS", "TXT"});
}

BOOL COutputDevice::SetFileFormat(const QString& v)
{
    return StoreListed(m_f.fileFormat, v, {"PDF", "SCS", "TXT"});
}

BOOL COutputDevice::SetDuplex(const QString& v)
{
    return StoreListed(m_f.duplex, v, {"*YES", "*NO", "*TUMBLE", "*FORMDF"});
}

BOOL COutputDevice::SetPdfEncryptionLevel(const QString& v)
{
    return StoreListed(m_f.pdfEncryptionLevel, v.left(6).toUpper(), {"*V1", "*V2"});
}

// ---------------------------------------------------------------- address-bound texts

void COutputDevice::GetBoundText(int settingId, const QString& stored, QString& out) const
{
    if (HasAddress(settingId) && FormatAddressPlaceholder(settingId, out))
        return;
    out = stored;
}

BOOL COutputDevice::SetBoundText(int settingId, QString& stored, const QString& value, int width, bool upper,
                                 bool compare)
{
    QString cut = value.left(width);
    if (upper)
        cut = cut.toUpper();
    if (compare && cut == stored)
        return FALSE;
    if (SetAddressFromPlaceholder(settingId, cut))
        stored.clear();
    else
        stored = cut;
    return TRUE;
}

void COutputDevice::GetFrom(QString& out) const
{
    GetBoundText(AddressFieldCode::From, m_f.from, out);
}
void COutputDevice::GetTo(QString& out) const
{
    GetBoundText(AddressFieldCode::To, m_f.to, out);
}
void COutputDevice::GetAttention(QString& out) const
{
    GetBoundText(AddressFieldCode::Attention, m_f.attention, out);
}
void COutputDevice::GetReference(QString& out) const
{
    GetBoundText(AddressFieldCode::Reference, m_f.reference, out);
}
void COutputDevice::GetFromEmail(QString& out) const
{
    GetBoundText(AddressFieldCode::FromEmail, m_f.fromEmail, out);
}
void COutputDevice::GetAttachmentName(QString& out) const
{
    GetBoundText(AddressFieldCode::AttachmentName, m_f.attachmentName, out);
}
void COutputDevice::GetSubject(QString& out) const
{
    GetBoundText(AddressFieldCode::Subject, m_f.subject, out);
}
void COutputDevice::GetMessage(QString& out) const
{
    GetBoundText(AddressFieldCode::Message, m_f.message, out);
}
void COutputDevice::GetFilePath(QString& out) const
{
    GetBoundText(AddressFieldCode::FilePath, m_f.filePath, out);
}
void COutputDevice::GetFileName(QString& out) const
{
    GetBoundText(AddressFieldCode::FileName, m_f.fileName, out);
}
void COutputDevice::GetFileOwner(QString& out) const
{
    GetBoundText(AddressFieldCode::FileOwner, m_f.fileOwner, out);
}
void COutputDevice::GetFileAuthorizationList(QString& out) const
{
    GetBoundText(AddressFieldCode::FileAuthorizationList, m_f.fileAuthorizationList, out);
}
void COutputDevice::GetFilePublicAuthority(QString& out) const
{
    GetBoundText(AddressFieldCode::FilePublicAuthority, m_f.filePublicAuthority, out);
}
void COutputDevice::GetPdfOwnerPassword(QString& out) const
{
    GetBoundText(AddressFieldCode::PdfOwnerPassword, m_f.pdfOwnerPassword, out);
}
void COutputDevice::GetPdfUserPassword(QString& out) const
{
    GetBoundText(AddressFieldCode::PdfUserPassword, m_f.pdfUserPassword, out);
}

BOOL COutputDevice::SetFrom(const QString& v)
{
    return SetBoundText(AddressFieldCode::From, m_f.from, v, 50, false, true);
}
BOOL COutputDevice::SetTo(const QString& v)
{
    return SetBoundText(AddressFieldCode::To, m_f.to, v, 50, false, true);
}
BOOL COutputDevice::SetAttention(const QString& v)
{
    return SetBoundText(AddressFieldCode::Attention, m_f.attention, v, 50, false, true);
}
BOOL COutputDevice::SetReference(const QString& v)
{
    return SetBoundText(AddressFieldCode::Reference, m_f.reference, v, 50, false, true);
}
BOOL COutputDevice::SetFromEmail(const QString& v)
{
    return SetBoundText(AddressFieldCode::FromEmail, m_f.fromEmail, v, 256, false, true);
}
BOOL COutputDevice::SetAttachmentName(const QString& v)
{
    return SetBoundText(AddressFieldCode::AttachmentName, m_f.attachmentName, v, 64, false, true);
}
BOOL COutputDevice::SetSubject(const QString& v)
{
    return SetBoundText(AddressFieldCode::Subject, m_f.subject, v, 256, false, true);
}
BOOL COutputDevice::SetMessage(const QString& v)
{
    return SetBoundText(AddressFieldCode::Message, m_f.message, v, 1024, false, true);
}
BOOL COutputDevice::SetFilePath(const QString& v)
{
    return SetBoundText(AddressFieldCode::FilePath, m_f.filePath, v, 256, false, true);
}
BOOL COutputDevice::SetFileName(const QString& v)
{
    return SetBoundText(AddressFieldCode::FileName, m_f.fileName, v, 64, false, true);
}
BOOL COutputDevice::SetFileOwner(const QString& v)
{
    return SetBoundText(AddressFieldCode::FileOwner, m_f.fileOwner, v, 20, true, true);
}
BOOL COutputDevice::SetFileAuthorizationList(const QString& v)
{
    return SetBoundText(AddressFieldCode::FileAuthorizationList, m_f.fileAuthorizationList, v, 20, true, false);
}
BOOL COutputDevice::SetFilePublicAuthority(const QString& v)
{
    return SetBoundText(AddressFieldCode::FilePublicAuthority, m_f.filePublicAuthority, v, 20, true, false);
}
BOOL COutputDevice::SetPdfOwnerPassword(const QString& v)
{
    return SetBoundText(AddressFieldCode::PdfOwnerPassword, m_f.pdfOwnerPassword, v, 32, true, false);
}
BOOL COutputDevice::SetPdfUserPassword(const QString& v)
{
    return SetBoundText(AddressFieldCode::PdfUserPassword, m_f.pdfUserPassword, v, 32, true, false);
}

// ---------------------------------------------------------------- address-bound positions

int COutputDevice::GetBoundPosition(int settingId, int& stored, int part)
{
    kwvd::Rect cells;
    if (!GetAddressCells(settingId, cells))
        return stored;
    stored = 0;
    switch (part) {
    case Line:
        return cells.top;
    case Column:
        return cells.left;
    default:
        return cells.Width();
    }
}

BOOL COutputDevice::SetBoundPosition(int settingId, int& stored, int part, int value, int maximum)
{
    kwvd::Rect cells;
    if (GetAddressCells(settingId, cells)) {
        switch (part) {
        case Line:
            if (cells.top == value && cells.bottom == value + 1)
                return FALSE;
            cells.top = value;
            cells.bottom = value + 1;
            break;
        case Column:
            if (cells.left == value)
                return FALSE;
            cells.Offset(value - cells.left, 0);
            break;
        default:
            if (cells.Width() == value)
                return FALSE;
            cells.right = cells.left + value;
            break;
        }
        SetAddressCells(settingId, cells);
        stored = 0;
        return TRUE;
    }
    return StoreInt(stored, value, 0, maximum);
}

int COutputDevice::GetFirstPageLine()
{
    return GetBoundPosition(AddressFieldCode::FirstPage, m_f.firstPageLine, Line);
}
int COutputDevice::GetFirstPageColumn()
{
    return GetBoundPosition(AddressFieldCode::FirstPage, m_f.firstPageColumn, Column);
}
int COutputDevice::GetFirstPageWidth()
{
    return GetBoundPosition(AddressFieldCode::FirstPage, m_f.firstPageWidth, Width);
}
int COutputDevice::GetDestinationLine()
{
    return GetBoundPosition(AddressFieldCode::Destination, m_f.destinationLine, Line);
}
int COutputDevice::GetDestinationColumn()
{
    return GetBoundPosition(AddressFieldCode::Destination, m_f.destinationColumn, Column);
}
int COutputDevice::GetDestinationWidth()
{
    return GetBoundPosition(AddressFieldCode::Destination, m_f.destinationWidth, Width);
}
BOOL COutputDevice::SetFirstPageLine(int v)
{
    return SetBoundPosition(AddressFieldCode::FirstPage, m_f.firstPageLine, Line, v, 999);
}
BOOL COutputDevice::SetFirstPageColumn(int v)
{
    return SetBoundPosition(AddressFieldCode::FirstPage, m_f.firstPageColumn, Column, v, 999);
}
BOOL COutputDevice::SetFirstPageWidth(int v)
{
    return SetBoundPosition(AddressFieldCode::FirstPage, m_f.firstPageWidth, Width, v, 999);
}
BOOL COutputDevice::SetDestinationLine(int v)
{
    return SetBoundPosition(AddressFieldCode::Destination, m_f.destinationLine, Line, v, 999);
}
BOOL COutputDevice::SetDestinationColumn(int v)
{
    return SetBoundPosition(AddressFieldCode::Destination, m_f.destinationColumn, Column, v, 999);
}
BOOL COutputDevice::SetDestinationWidth(int v)
{
    return SetBoundPosition(AddressFieldCode::Destination, m_f.destinationWidth, Width, v, 256);
}

// ---------------------------------------------------------------- linked fields

namespace {

bool TakesNoLibrary(const QString& queue)
{
    return queue == QLatin1StringView("*DEV") || queue == QLatin1StringView("*JOB")
           || queue == QLatin1StringView("*USR");
}

bool TakesPrinterDevice(const QString& queue)
{
    return queue == QLatin1StringView("*DEV") || queue == QLatin1StringView("*USR");
}

QString HostName10(const QString& value)
{
    return value.left(10).toUpper();
}

} // namespace

BOOL COutputDevice::SetOutputQueue(const QString& value)
{
    const QString queue = HostName10(value);
    if (queue == m_f.outputQueue)
        return FALSE;
    m_f.outputQueue = queue;
    if (TakesNoLibrary(queue))
        SetOutputQueueLibrary(QString());
    if (!TakesPrinterDevice(queue))
        SetPrinterDevice(QString());
    return TRUE;
}

BOOL COutputDevice::SetOutputQueueLibrary(const QString& value)
{
    const QString library = HostName10(value);
    if (library == m_f.outputQueueLibrary)
        return FALSE;
    if (TakesNoLibrary(m_f.outputQueue)) {
        m_f.outputQueueLibrary.clear();
        return library.isEmpty() ? TRUE : FALSE;
    }
    m_f.outputQueueLibrary = library;
    return TRUE;
}

BOOL COutputDevice::SetPrinterDevice(const QString& value)
{
    const QString device = HostName10(value);
    if (device == m_f.printerDevice)
        return FALSE;
    if (!TakesPrinterDevice(m_f.outputQueue)) {
        m_f.printerDevice.clear();
        return device.isEmpty() ? TRUE : FALSE;
    }
    m_f.printerDevice = device;
    return TRUE;
}

BOOL COutputDevice::SetFaxForm(const QString& value)
{
    const QString form = HostName10(value);
    if (form == m_f.faxForm)
        return FALSE;
    m_f.faxForm = form;
    if (form == QLatin1StringView("*NONE")) {
        SetFaxFormLibrary(QString());
        SetFaxFormMember(QString());
    }
    return TRUE;
}

BOOL COutputDevice::SetFaxFormLibrary(const QString& value)
{
    const QString library = HostName10(value);
    if (library == m_f.faxFormLibrary)
        return FALSE;
    if (m_f.faxForm == QLatin1StringView("*NONE") && !library.isEmpty())
        return FALSE;
    m_f.faxFormLibrary = library;
    return TRUE;
}

BOOL COutputDevice::SetFaxFormMember(const QString& value)
{
    const QString member = HostName10(value);
    if (member == m_f.faxFormMember)
        return FALSE;
    if (m_f.faxForm == QLatin1StringView("*NONE") && !member.isEmpty())
        return FALSE;
    m_f.faxFormMember = member;
    return TRUE;
}

// ---------------------------------------------------------------- numbers

int COutputDevice::LeadingInteger(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n
           && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r' || text[i] == u'\v'
               || text[i] == u'\f'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        if (value <= INT_MAX)
            value = value * 10 + (text[i].unicode() - u'0');
        ++i;
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

BOOL COutputDevice::SetLPI(int value)
{
    if (value == m_f.linesPerInch || value < -1 || value > 15)
        return FALSE;
    int snapped = -1;
    if (value >= 0 && value <= 3)
        snapped = 3;
    else if (value <= 5 && value >= 4)
        snapped = 4;
    else if (value >= 6 && value <= 7)
        snapped = 6;
    else if (value == 8)
        snapped = 8;
    else if (value >= 9 && value <= 10)
        snapped = 9;
    else if (value >= 11)
        snapped = 12;
    m_f.linesPerInch = snapped;
    return TRUE;
}

BOOL COutputDevice::SetCPI(int value)
{
    if (value == m_f.charsPerInch || value < -1 || value > 20)
        return FALSE;
    int snapped = -1;
    if (value >= 0 && value <= 7)
        snapped = 5;
    else if (value >= 8 && value <= 11)
        snapped = 10;
    else if (value == 12)
        snapped = 12;
    else if (value >= 13 && value <= 14)
        snapped = 13;
    else if (value == 15)
        snapped = 15;
    else if (value >= 16 && value <= 17)
        snapped = 16;
    else if (value >= 18)
        snapped = 20;
    m_f.charsPerInch = snapped;
    return TRUE;
}

BOOL COutputDevice::SetLPIText(const QString& text)
{
    return SetLPI(text == kDoc ? -1 : LeadingInteger(text));
}

BOOL COutputDevice::SetCPIText(const QString& text)
{
    return SetCPI(text == kDoc ? -1 : LeadingInteger(text));
}

void COutputDevice::GetCPIText(QString& out)
{
    switch (m_f.charsPerInch) {
    case 5:
    case 10:
    case 12:
    case 15:
    case 18:
    case 20:
        out = QString::number(m_f.charsPerInch);
        return;
    case 13:
        out = QStringLiteral("13.3");
        return;
    case 16:
        out = QStringLiteral("16.7");
        return;
    default:
        m_f.charsPerInch = -1;
        out = kDoc;
        return;
    }
}

BOOL COutputDevice::SetPageHeight(const QString& text)
{
    return StoreInt(m_f.pageHeight, text.isEmpty() ? 0 : LeadingInteger(text), 0, 255);
}

BOOL COutputDevice::SetPageWidth(const QString& text)
{
    return StoreInt(m_f.pageWidth, text.isEmpty() ? 0 : LeadingInteger(text), 0, 374);
}

BOOL COutputDevice::SetStartLine(const QString& text)
{
    return StoreInt(m_f.startLine, text.isEmpty() ? 0 : LeadingInteger(text), 0, 999);
}

BOOL COutputDevice::SetNoPrintBorder(const QString& text)
{
    int value = 0;
    if (text == kDoc)
        value = -1;
    else if (!text.isEmpty())
        value = LeadingInteger(text);
    return StoreInt(m_f.noPrintBorder, value, -1, 2880);
}

void COutputDevice::RotationFromText(int type, const QString& text, int& rotation)
{
    rotation = 4;
    if (type == 0) {
        if (text == QLatin1StringView("*AUTO"))
            rotation = 2;
        else if (text == QLatin1StringView("*DEVD"))
            rotation = 3;
        else if (text == QLatin1StringView("0"))
            rotation = 0;
        else if (text == QLatin1StringView("90"))
            rotation = 1;
        return;
    }
    if (text == QLatin1StringView("0"))
        rotation = 0;
    else if (text == QLatin1StringView("1"))
        rotation = 1;
}

BOOL COutputDevice::SetRotationText(const QString& text)
{
    int rotation = 4;
    RotationFromText(m_f.type, text, rotation);
    if (rotation == m_f.rotation)
        return FALSE;
    if (m_f.type != 0 && rotation != 0 && rotation != 1 && rotation != 4)
        return FALSE;
    m_f.rotation = rotation;
    return TRUE;
}

void COutputDevice::GetRotationText(int& rotation, QString& out) const
{
    if (m_f.type == 0) {
        static const char* const texts[] = {"0", "90", "*AUTO", "*DEVD"};
        if (rotation >= 0 && rotation <= 3) {
            out = QLatin1StringView(texts[rotation]);
            return;
        }
    } else if (rotation == 0 || rotation == 1) {
        out = QString::number(rotation);
        return;
    }
    rotation = 4;
    out = kDoc;
}

void COutputDevice::GetDestinationTypeText(int code, QString& out) const
{
    const int type = m_f.type;
    switch (code) {
    case 1:
        if (type >= 0 && type <= 2)
            out = QStringLiteral("Output Queue");
        else if (type == 3)
            out = QStringLiteral("Fax Number");
        else if (type == 4)
            out = QStringLiteral("Email Address");
        return;
    case 2:
        out = QStringLiteral("Directory Entry");
        return;
    case 3:
        out = QStringLiteral("Fax Number (R Align)");
        return;
    case 4:
        out = QStringLiteral("Exit Program");
        return;
    case 5:
        if (type >= 0 && type <= 2)
            out = QStringLiteral("Output Queue (Delete)");
        else if (type == 4)
            out = QStringLiteral("Email Address (Delete)");
        else
            out = QStringLiteral("Fax Number (Delete)");
        return;
    case 6:
        out = QStringLiteral("Exit Program (Delete)");
        return;
    case 7:
        out = QStringLiteral("Directory Entry (Delete)");
        return;
    case 8:
        out = QStringLiteral("Fax Number (R Align Delete)");
        return;
    default:
        out = QStringLiteral("None");
        return;
    }
}

void COutputDevice::DestinationTypeFromText(const QString& text, int& code)
{
    struct Row
    {
        const char* text;
        int code;
    };
    static const Row rows[] = {
        {"Directory Entry", 2},
        {"Directory Entry (Delete)", 7},
        {"Fax Number (R Align)", 3},
        {"Fax Number (R Align Delete)", 8},
        {"Exit Program", 4},
        {"Exit Program (Delete)", 6},
        {"Fax Number (Delete)", 5},
        {"Email Address (Delete)", 5},
        {"Output Queue (Delete)", 5},
        {"Email Address", 1},
        {"Fax Number", 1},
        {"Output Queue", 1},
    };
    code = 0;
    for (const Row& row : rows) {
        if (text == QLatin1StringView(row.text)) {
            code = row.code;
            return;
        }
    }
}

BOOL COutputDevice::SetDestinationTypeText(const QString& text)
{
    int code = 0;
    DestinationTypeFromText(text, code);
    if (code == m_f.destinationType)
        return FALSE;
    m_f.destinationType = code;
    return TRUE;
}

void COutputDevice::ParseDrawer(const QString& text, int& drawer)
{
    if (text == QLatin1StringView("*E1")) {
        drawer = 0;
        return;
    }
    drawer = LeadingInteger(text);
    if (drawer <= 0 || drawer >= 256)
        drawer = 1;
}

// ---------------------------------------------------------------- direct values

BOOL COutputDevice::GetPdfFlag(int index) const
{
    if (index < 1 || index > 8)
        return FALSE;
    return m_f.pdfFlags[index - 1] ? TRUE : FALSE;
}

BOOL COutputDevice::SetHold(BOOL hold)
{
    return StoreInt(m_f.hold, hold ? 1 : 0, 0, 1);
}
BOOL COutputDevice::SetSave(BOOL save)
{
    return StoreInt(m_f.save, save ? 1 : 0, 0, 1);
}
BOOL COutputDevice::SetDrawer(int drawer)
{
    return StoreInt(m_f.drawer, drawer, 0, 255);
}
BOOL COutputDevice::SetCopies(int copies)
{
    return StoreInt(m_f.copies, copies, 0, 255);
}
BOOL COutputDevice::SetPriority(int priority)
{
    return StoreInt(m_f.priority, priority, 0, 3);
}
BOOL COutputDevice::SetPublicAuthority(int authority)
{
    return StoreInt(m_f.publicAuthority, authority, 1, 3);
}
BOOL COutputDevice::SetDisplayPort(int port)
{
    return StoreInt(m_f.displayPort, port, 0, 65535);
}
BOOL COutputDevice::SetConfirmationType(int type)
{
    if (type != 0 && type != 10 && type != 20 && type != 30)
        return FALSE;
    return StoreInt(m_f.confirmationType, type, 0, 30);
}
BOOL COutputDevice::SetImageOffsetPortrait(QPoint o)
{
    return StoreOffset(m_f.imageOffsetPortrait, o);
}
BOOL COutputDevice::SetImageOffsetLandscape(QPoint o)
{
    return StoreOffset(m_f.imageOffsetLandscape, o);
}
BOOL COutputDevice::SetTextOffsetPortrait(QPoint o)
{
    return StoreOffset(m_f.textOffsetPortrait, o);
}
BOOL COutputDevice::SetTextOffsetLandscape(QPoint o)
{
    return StoreOffset(m_f.textOffsetLandscape, o);
}
BOOL COutputDevice::SetPageWidthTwips(int twips)
{
    return StoreInt(m_f.pageWidthTwips, twips, -1, 999999);
}
BOOL COutputDevice::SetPageHeightTwips(int twips)
{
    return StoreInt(m_f.pageHeightTwips, twips, -1, 999999);
}
BOOL COutputDevice::SetPdfSecurity(BOOL on)
{
    return StoreInt(m_f.pdfSecurity, on ? 1 : 0, 0, 1);
}
BOOL COutputDevice::SetPdfFlag(int index, BOOL on)
{
    if (index < 1 || index > 8)
        return FALSE;
    return StoreInt(m_f.pdfFlags[index - 1], on ? 1 : 0, 0, 1);
}

// ---------------------------------------------------------------- parameters

void COutputDevice::GetParameter(int n, QString& out) const
{
    out.clear();
    if (n < 1 || n > kParameterCount)
        return;
    if (HasAddress(ParameterSettingId(n - 1))) {
        FormatAddressPlaceholder(ParameterSettingId(n - 1), out);
        return;
    }
    if (static_cast<size_t>(n) < m_f.parameters.size())
        out = m_f.parameters[static_cast<size_t>(n)];
}

BOOL COutputDevice::SetParameter(int n, const QString& value)
{
    // Position 0 is never used, and nothing below it exists.
    if (n < 1 || n > kParameterCount)
        return FALSE;
    const QString cut = value.left(ParameterWidth(n));
    QString current;
    GetParameter(n, current);
    if (cut == current)
        return FALSE;
    if (m_f.parameters.size() <= static_cast<size_t>(n))
        m_f.parameters.resize(static_cast<size_t>(n) + 1);
    if (SetAddressFromPlaceholder(ParameterSettingId(n - 1), cut))
        m_f.parameters[static_cast<size_t>(n)].clear();
    else
        m_f.parameters[static_cast<size_t>(n)] = cut;
    return TRUE;
}

void COutputDevice::GetDocStoreSelection(QString& store, QString& docType) const
{
    store.clear();
    docType.clear();
    QString selection;
    GetParameter(kParameterCount, selection);
    if (selection.isEmpty())
        return;
    const qsizetype first = selection.indexOf(u',');
    if (first < 0) {
        store = selection;
        return;
    }
    store = selection.left(first);
    const qsizetype second = selection.indexOf(u',', first + 1);
    docType = second < 0 ? selection.mid(first + 1) : selection.mid(first + 1, second - first - 1);
}

BOOL COutputDevice::SetDocStoreSelection(const QString& store, const QString& docType, int number)
{
    return SetParameter(kParameterCount, QStringLiteral("%1,%2,%3,KWVD").arg(store, docType, QString::number(number)));
}
