// One output device as a record of the JVX device section: fixed-width
// fields in a fixed order, each present from the JVX version that brought
// it, then CR LF.

#include "designer/document/jvx/FixedLenNum.h"
#include "designer/document/jvx/FixedLenString.h"
#include "designer/document/jvx/FixedLenUserString.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/output/OutputDevice.h"
#include "platform/framework/File.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

enum class Kind { Number, Text, UserText };

struct FieldLayout
{
    int from;  // first version that carries the field; 0: reserved number slot
    Kind kind;
    int width;
};

constexpr int kFieldCount = 136;
constexpr int kLastVersion = 28;

// Fields 1 to 136 as the latest versions write them; Layout() adjusts the
// few whose form changed over the versions.
constexpr FieldLayout kFields[kFieldCount + 1] = {
    {0, Kind::Text, 0},
    {1, Kind::Text, 4},       {1, Kind::UserText, 10},  {5, Kind::UserText, 10},  {5, Kind::UserText, 10}, // 1-4
    {5, Kind::UserText, 10},  {5, Kind::Text, 4},       {5, Kind::Text, 4},       {5, Kind::UserText, 10}, // 5-8
    {5, Kind::UserText, 10},  {5, Kind::Text, 1},       {5, Kind::Number, 5},     {5, Kind::UserText, 8},  // 9-12
    {5, Kind::UserText, 8},   {5, Kind::Text, 7},       {5, Kind::UserText, 10},  {5, Kind::UserText, 10}, // 13-16
    {5, Kind::UserText, 10},  {5, Kind::UserText, 10},  {5, Kind::UserText, 10},  {5, Kind::UserText, 10}, // 17-20
    {5, Kind::UserText, 35},  {5, Kind::UserText, 10},  {5, Kind::UserText, 10},  {5, Kind::Text, 4},      // 21-24
    {5, Kind::Text, 4},       {5, Kind::Text, 20},      {5, Kind::Text, 20},      {5, Kind::Text, 7},      // 25-28
    {5, Kind::UserText, 10},  {5, Kind::UserText, 10},  {5, Kind::UserText, 10},  {5, Kind::Text, 7},      // 29-32
    {5, Kind::UserText, 30},  {5, Kind::Number, 3},     {5, Kind::Number, 3},     {5, Kind::Number, 3},    // 33-36
    {5, Kind::UserText, 2},   {5, Kind::UserText, 25},  {5, Kind::Number, 3},     {5, Kind::Number, 3},    // 37-40
    {5, Kind::Number, 3},     {5, Kind::Text, 1},       {5, Kind::UserText, 10},  {5, Kind::UserText, 10}, // 41-44
    {5, Kind::Text, 10},      {5, Kind::Text, 8},       {5, Kind::UserText, 50},  {5, Kind::UserText, 50}, // 45-48
    {5, Kind::UserText, 50},  {5, Kind::UserText, 50},  {5, Kind::UserText, 10},  {5, Kind::UserText, 10}, // 49-52
    {5, Kind::UserText, 10},  {5, Kind::Text, 1},       {5, Kind::Text, 1},       {5, Kind::UserText, 10}, // 53-56
    {5, Kind::UserText, 10},  {5, Kind::UserText, 10},  {5, Kind::Number, 3},     {5, Kind::Number, 2},    // 57-60
    {5, Kind::Number, 2},     {5, Kind::Text, 5},       {5, Kind::Number, 3},     {5, Kind::Text, 5},      // 61-64
    {5, Kind::Number, 3},     {6, Kind::UserText, 12},  {6, Kind::UserText, 63},  {6, Kind::UserText, 64}, // 65-68
    {6, Kind::UserText, 122}, {6, Kind::Text, 4},       {7, Kind::Number, 5},     {7, Kind::Number, 5},    // 69-72
    {7, Kind::Number, 5},     {7, Kind::Number, 5},     {7, Kind::Number, 5},     {7, Kind::Number, 5},    // 73-76
    {7, Kind::Number, 5},     {7, Kind::Number, 5},     {7, Kind::UserText, 256}, {7, Kind::UserText, 256}, // 77-80
    {7, Kind::Text, 3},       {8, Kind::Text, 7},       {8, Kind::Text, 1},       {8, Kind::UserText, 64}, // 81-84
    {8, Kind::UserText, 3},   {10, Kind::UserText, 256}, {13, Kind::UserText, 256}, {13, Kind::UserText, 1024}, // 85-88
    {16, Kind::Number, 2},    {16, Kind::UserText, 256}, {16, Kind::UserText, 64}, {16, Kind::UserText, 3}, // 89-92
    {16, Kind::Text, 3},      {16, Kind::UserText, 10}, {16, Kind::UserText, 10}, // 93-95
    {16, Kind::UserText, 132}, {16, Kind::UserText, 132}, {16, Kind::UserText, 132}, {16, Kind::UserText, 132}, // 96-99
    {16, Kind::UserText, 132}, {16, Kind::UserText, 132}, {16, Kind::UserText, 132}, {16, Kind::UserText, 132}, // 100-103
    {16, Kind::UserText, 132}, {16, Kind::UserText, 132}, // 104-105
    {16, Kind::UserText, 64}, {16, Kind::UserText, 64}, {16, Kind::UserText, 64}, {16, Kind::UserText, 64}, // 106-109
    {16, Kind::UserText, 64}, {16, Kind::UserText, 64}, {16, Kind::UserText, 64}, {16, Kind::UserText, 64}, // 110-113
    {16, Kind::UserText, 64}, {16, Kind::UserText, 64}, {16, Kind::Text, 11}, {18, Kind::Text, 1}, // 114-117
    {18, Kind::Number, 6},    {18, Kind::Number, 6},    {21, Kind::Text, 11},     {26, Kind::Number, 3},   // 118-121
    {27, Kind::UserText, 20}, {27, Kind::UserText, 20}, {27, Kind::UserText, 20}, {27, Kind::Text, 4},     // 122-125
    {27, Kind::Text, 32},     {27, Kind::Text, 32},     {27, Kind::Text, 4},      {27, Kind::Text, 4},     // 126-129
    {27, Kind::Text, 4},      {27, Kind::Text, 4},      {27, Kind::Text, 6},      {27, Kind::Text, 4},     // 130-133
    {27, Kind::Text, 4},      {27, Kind::Text, 4},      {27, Kind::Text, 4},                               // 134-136
};

bool IsReserved(int no)
{
    return no == 14 || (no >= 15 && no <= 20) || no == 22 || no == 23 || no == 25 || no == 32 || no == 45
        || no == 46;
}

FieldLayout Layout(int no, int version)
{
    FieldLayout layout = kFields[no];
    if (no >= 47 && no <= 50 && version < 14)
        layout = {layout.from, Kind::Text, 30};
    else if (no == 86 && version < 24)
        layout.kind = Kind::Text;
    else if (no == 88 && version < 16)
        layout = {layout.from, Kind::Text, 256};
    return layout;
}

// The field's own range: a number is bounded only by its digits, and the
// sign takes the first place.
int HoldToWidth(double value, int width)
{
    if (std::isnan(value))
        return 0;
    double maximum = 1;
    for (int i = 0; i < width; ++i)
        maximum *= 10;
    maximum -= 1;
    const double minimum = -(std::floor(maximum / 10));
    return static_cast<int>(std::trunc(std::clamp(value, minimum, maximum)));
}

QString YesNo(int flag)
{
    return flag == 1 ? QStringLiteral("*YES") : QStringLiteral("*NO");
}

bool IsYes(const QString& text)
{
    return text == QLatin1StringView("*YES");
}

struct RecordValues
{
    std::array<QString, kFieldCount + 1> text;
    std::array<int, kFieldCount + 1> number{};
    std::array<bool, kFieldCount + 1> present{};
};

} // namespace

void COutputDevice::ExchangeJVX(CJVXArchive& ar, wchar_t xmlDocumentFlag, const COutputDevice* exportDevice)
{
    int version = ar.GetVersion();
    if (version < 1 || version > kLastVersion)
        version = kLastVersion;
    const QString doc = QStringLiteral("*DOC");
    RecordValues r;

    if (ar.IsStoring()) {
        Fields& f = m_f;
        auto& t = r.text;
        auto& n = r.number;

        GetTypeCode(f.type, t[1]);
        QString name = f.name;
        if (name.isEmpty() || name == doc)
            name = exportDevice != nullptr ? exportDevice->GetName() : QStringLiteral("Default");
        t[2] = name.toUpper();
        t[3] = f.outputQueue;
        t[4] = f.outputQueueLibrary;
        t[5] = f.printerDevice;
        t[6] = YesNo(f.hold);
        t[7] = YesNo(f.save);
        t[8] = f.userData;
        t[9] = f.formType;

        int rotation = f.rotation == 4 ? (exportDevice != nullptr ? exportDevice->GetRotation() : 0) : f.rotation;
        QString rotationText;
        GetRotationText(rotation, rotationText);
        if (f.type != 0)
            t[10] = rotationText.left(1);
        else
            t[64] = rotationText;

        n[11] = f.noPrintBorder == -1 ? (exportDevice != nullptr ? exportDevice->GetNoPrintBorder() : 250)
                                      : f.noPrintBorder;
        if (exportDevice != nullptr) {
            t[12] = exportDevice->GetFontGroup();
            t[13] = exportDevice->GetPrinterResource();
        }
        t[21] = f.description;
        t[24] = f.spooledFileStatus;
        t[26] = f.transparencyOn;
        t[27] = f.transparencyOff;
        t[28] = f.transmissionMode;
        t[29] = f.faxForm;
        t[30] = f.faxFormLibrary;
        t[31] = f.faxFormMember;
        t[33] = f.firstPageText;
        n[34] = GetFirstPageLine();
        n[35] = GetFirstPageColumn();
        n[36] = GetFirstPageWidth();
        t[37] = f.firstPageComparison;
        t[38] = f.destinationScanText;
        const int destinationLine = GetDestinationLine();
        const int destinationColumn = GetDestinationColumn();
        const int destinationWidth = GetDestinationWidth();
        if (f.destinationType != 0) {
            n[39] = destinationLine;
            n[40] = destinationColumn;
            n[41] = destinationWidth;
            t[43] = f.destinationExitProgram;
            t[44] = f.destinationExitLibrary;
        }
        CFixedLenString numberText(1);
        numberText.SetNumber(f.destinationType == 0 ? 1 : f.destinationType);
        t[42] = numberText.GetValue();
        GetFrom(t[47]);
        GetTo(t[48]);
        if (version <= 12) {
            GetMessage(t[49]);
            GetSubject(t[50]);
        } else {
            GetAttention(t[49]);
            GetReference(t[50]);
        }
        t[51] = f.userName;
        t[52] = f.userId;
        t[53] = f.userAddress;
        numberText.SetNumber(f.priority);
        t[54] = numberText.GetValue();
        numberText.SetNumber(f.publicAuthority);
        t[55] = numberText.GetValue();
        t[56] = f.coverLogo;
        t[57] = f.coverSignature;
        t[58] = f.department;
        n[59] = f.startLine;
        n[60] = f.linesPerInch == -1 ? (exportDevice != nullptr ? exportDevice->GetLPI() : 6) : f.linesPerInch;
        n[61] = f.charsPerInch == -1 ? (exportDevice != nullptr ? exportDevice->GetCPI() : 10) : f.charsPerInch;
        t[62] = f.drawer == 0 ? QStringLiteral("*E1") : QString::number(f.drawer);
        n[63] = f.pageHeight;
        n[65] = f.copies;

        QString document = f.displayDocument;
        if (document.isEmpty()) {
            document = f.name;
            if (document.isEmpty() || document == doc)
                document = t[2];
        }
        t[66] = document;
        t[67] = f.displayFolder;
        t[68] = f.displayServerPath;
        t[69] = f.displayTargetAddress;
        CFixedLenString portText(4);
        portText.SetNumber(f.displayPort);
        t[70] = portText.GetValue();
        const QPoint offsets[] = {f.imageOffsetPortrait, f.imageOffsetLandscape, f.textOffsetPortrait,
                                  f.textOffsetLandscape};
        for (int i = 0; i < 4; ++i) {
            n[71 + 2 * i] = offsets[i].x();
            n[72 + 2 * i] = offsets[i].y();
        }
        GetFromEmail(t[79]);
        t[80] = f.postmasterEmail;
        t[81] = f.attachmentFormat;
        t[82] = f.duplex;
        t[83] = QString(QChar(static_cast<char16_t>(xmlDocumentFlag)));
        GetAttachmentName(t[84]);
        t[85] = f.attachmentExtension;
        t[86] = f.destinationText;
        GetSubject(t[87]);
        GetMessage(t[88]);
        n[89] = f.confirmationType;
        GetFilePath(t[90]);
        GetFileName(t[91]);
        t[92] = f.fileExtension;
        t[93] = f.fileFormat;
        QString program = f.fileExitProgram.trimmed();
        QString library = f.fileExitProgramLibrary.trimmed();
        if (f.type == kDocStoreType) {
            if (program.isEmpty())
                program = QStringLiteral("STOREDOC");
            if (library.isEmpty())
                library = doc;
        }
        if (library == doc)
            library = exportDevice != nullptr ? exportDevice->GetFileExitProgramLibrary() : QStringLiteral("*LIBL");
        t[94] = program;
        t[95] = library;
        for (int i = 1; i <= kParameterCount; ++i)
            GetParameter(i, t[95 + i]);
        t[116] = f.fileCcsid;
        t[117] = f.pdfDataStream;
        n[118] = f.pageWidthTwips == -1 ? (exportDevice != nullptr ? exportDevice->GetPageWidthTwips() : 11909)
                                        : f.pageWidthTwips;
        n[119] = f.pageHeightTwips == -1 ? (exportDevice != nullptr ? exportDevice->GetPageHeightTwips() : 16848)
                                         : f.pageHeightTwips;
        t[120] = f.attachmentCcsid;
        n[121] = f.pageWidth;
        GetFileOwner(t[122]);
        GetFileAuthorizationList(t[123]);
        GetFilePublicAuthority(t[124]);
        t[125] = YesNo(f.pdfSecurity);
        GetPdfOwnerPassword(t[126]);
        GetPdfUserPassword(t[127]);
        for (int i = 0; i < 4; ++i) {
            t[128 + i] = YesNo(f.pdfFlags[i]);
            t[133 + i] = YesNo(f.pdfFlags[4 + i]);
        }
        t[132] = f.pdfEncryptionLevel;

        for (int no = 1; no <= kFieldCount; ++no) {
            const FieldLayout layout = Layout(no, version);
            if (version < layout.from)
                continue;
            if (layout.kind == Kind::Number) {
                CFixedLenNum field(layout.width);
                field.SetValue(n[no]);
                field.ExchangeJVX(ar);
            } else if (layout.kind == Kind::UserText) {
                CFixedLenUserString field(layout.width);
                field.SetValue(IsReserved(no) ? QString() : t[no]);
                field.ExchangeJVX(ar);
            } else {
                CFixedLenString field(layout.width);
                field.SetValue(IsReserved(no) ? QString() : t[no]);
                field.ExchangeJVX(ar);
            }
        }
        ar.WriteLineEnd();
        return;
    }

    // Versions 15 and 17 were written both with and without their last
    // field: it is there when the line does not end where it would without.
    auto lineEndsHere = [&ar]() {
        const LONG position = ar.Seek(0, CFile::current);
        QString next;
        const int read = ar.ReadText(next, 2);
        ar.Seek(position, CFile::begin);
        return read == 2 && next == QLatin1StringView("\r\n");
    };

    for (int no = 1; no <= kFieldCount; ++no) {
        const FieldLayout layout = Layout(no, version);
        bool carried = version >= layout.from;
        if ((no == 89 && version == 15) || (no == 117 && version == 17))
            carried = !lineEndsHere();
        if (!carried)
            continue;
        r.present[no] = true;
        if (layout.kind == Kind::Number) {
            CFixedLenNum field(layout.width);
            field.ExchangeJVX(ar);
            r.number[no] = HoldToWidth(field.GetValue(), layout.width);
        } else if (layout.kind == Kind::UserText) {
            CFixedLenUserString field(layout.width);
            field.ExchangeJVX(ar);
            r.text[no] = field.GetValue();
        } else {
            CFixedLenString field(layout.width);
            field.ExchangeJVX(ar);
            r.text[no] = field.GetValue();
        }
    }
    ar.ReadLineEnd();

    SetDefaults();
    Fields& f = m_f;
    const auto& t = r.text;
    const auto& n = r.number;

    int type = -1;
    GetTypeFromCode(t[1], type);
    // A code no row knows would be written back as blanks.
    f.type = type < 0 ? 0 : type;
    f.name = t[2];
    f.outputQueue = t[3];
    f.outputQueueLibrary = t[4];
    f.printerDevice = t[5];
    f.hold = IsYes(t[6]) ? 1 : 0;
    f.save = IsYes(t[7]) ? 1 : 0;
    f.userData = t[8];
    f.formType = t[9];
    f.noPrintBorder = n[11];
    f.fontGroup = doc;
    f.printerResource = doc;
    f.description = t[21];
    f.spooledFileStatus = t[24];
    f.transparencyOn = t[26];
    f.transparencyOff = t[27];
    f.transmissionMode = t[28];
    f.faxForm = t[29];
    f.faxFormLibrary = t[30];
    f.faxFormMember = t[31];
    f.firstPageText = t[33];
    f.firstPageLine = n[34];
    f.firstPageColumn = n[35];
    f.firstPageWidth = n[36];
    f.firstPageComparison = t[37];
    f.destinationScanText = t[38];
    f.destinationLine = n[39];
    f.destinationColumn = n[40];
    f.destinationWidth = n[41];
    f.destinationType = LeadingInteger(t[42]);
    f.destinationExitProgram = t[43];
    f.destinationExitLibrary = t[44];
    f.from = t[47];
    f.to = t[48];
    f.attention = t[49];
    f.reference = t[50];
    if (version <= 12) {
        f.message = t[49];
        f.subject = t[50];
    }
    f.userName = t[51];
    f.userId = t[52];
    f.userAddress = t[53];
    f.priority = LeadingInteger(t[54]);
    f.publicAuthority = LeadingInteger(t[55]);
    f.coverLogo = t[56];
    f.coverSignature = t[57];
    f.department = t[58];
    f.startLine = n[59];
    f.linesPerInch = n[60];
    f.charsPerInch = n[61];
    int drawer = 1;
    ParseDrawer(t[62], drawer);
    f.drawer = drawer;
    f.pageHeight = n[63];
    SetRotationText(f.type == 0 ? t[64] : t[10]);
    f.copies = n[65];
    f.displayDocument = t[66];
    f.displayFolder = t[67];
    f.displayServerPath = t[68];
    f.displayTargetAddress = t[69];
    f.displayPort = LeadingInteger(t[70]);
    f.imageOffsetPortrait = QPoint(n[71], n[72]);
    f.imageOffsetLandscape = QPoint(n[73], n[74]);
    f.textOffsetPortrait = QPoint(n[75], n[76]);
    f.textOffsetLandscape = QPoint(n[77], n[78]);
    f.fromEmail = t[79];
    f.postmasterEmail = t[80];
    SetAttachmentFormat(t[81]);
    SetDuplex(t[82]);
    SetAttachmentName(t[84]);
    SetAttachmentExtension(t[85]);
    SetDestinationText(t[86]);
    // Up to version 12 subject and message came in fields 50 and 49.
    if (version > 12) {
        SetSubject(t[87]);
        SetMessage(t[88]);
    }
    if (r.present[89])
        SetConfirmationType(n[89]);
    SetFilePath(t[90]);
    SetFileName(t[91]);
    SetFileExtension(t[92]);
    SetFileFormat(t[93]);
    SetFileExitProgram(t[94]);
    SetFileExitProgramLibrary(t[95]);
    if (version >= 16) {
        for (int i = 1; i <= kParameterCount; ++i)
            SetParameter(i, t[95 + i]);
    }
    SetFileCcsid(t[116]);
    SetPdfDataStream(t[117]);
    if (r.present[118]) {
        SetPageWidthTwips(n[118]);
        SetPageHeightTwips(n[119]);
    } else {
        f.pageWidthTwips = -1;
        f.pageHeightTwips = -1;
    }
    SetAttachmentCcsid(t[120]);
    f.pageWidth = n[121];
    SetFileOwner(t[122]);
    SetFileAuthorizationList(t[123]);
    SetFilePublicAuthority(t[124]);
    f.pdfSecurity = IsYes(t[125]) ? 1 : 0;
    SetPdfOwnerPassword(t[126]);
    SetPdfUserPassword(t[127]);
    for (int i = 0; i < 4; ++i) {
        f.pdfFlags[i] = IsYes(t[128 + i]) ? 1 : 0;
        f.pdfFlags[4 + i] = IsYes(t[133 + i]) ? 1 : 0;
    }
    SetPdfEncryptionLevel(t[132]);
}
