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

constexpr int kLastVersion = 28;

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

// A number written as the digits of a text field of that width.
QString NumberText(int number, int width)
{
    CFixedLenString text(width);
    text.SetNumber(number);
    return text.GetValue();
}

const QString kDoc = QStringLiteral("*DOC");

} // namespace

// The device record as one table: each field's number, the version that
// brought it, its form, and how its value leaves and reaches the device.
// Writing and reading both walk this table, so a field is described once.
struct OutputDeviceJvxRecord
{
    using Device = COutputDevice;
    using F = COutputDevice::Fields;

    enum class Kind {
        Number,
        Text,
        UserText
    };

    // How a field is laid out in the record.
    struct Form
    {
        Kind kind = Kind::Text;
        int width = 0;
    };

    // One field's value on its way between the record and the device.
    struct FieldValue
    {
        QString text;
        int number = 0;
        bool present = false;
    };

    // What a record exchange knows besides the device.
    struct Exchange
    {
        COutputDevice& device;
        int version;
        const COutputDevice* exportDevice; // null when reading
        wchar_t xmlDocumentFlag;
    };

    // Where a field's value comes from and goes to. Writing takes the first
    // of store, get, text, yesNo, number, point that is set; reading the
    // first of load, set, text, yesNo, number, point. A field with none is
    // reserved: written blank, read and dropped.
    struct Binding
    {
        void (*store)(Exchange&, FieldValue&) = nullptr;
        void (*load)(Exchange&, const FieldValue&) = nullptr;
        void (Device::*get)(QString&) const = nullptr;
        BOOL (Device::*set)(const QString&) = nullptr;
        QString F::*text = nullptr;
        int F::*yesNo = nullptr;    // "*YES" or "*NO"
        int F::*number = nullptr;   // a number field, or the digits of a text field
        QPoint F::*point = nullptr; // one coordinate of the point:
        int index = 0;              // 0 the x, 1 the y
    };

    struct Field
    {
        int no;
        int from; // the first version that carries the field
        Form form;
        Binding binding;
        int formerUntil = 0; // before this version the field had the former form
        Form former{};
        // A version written both with and without the field: it is there when
        // the line does not end where it would without.
        int unsureIn = 0;

        Form FormIn(int version) const { return version < formerUntil ? former : form; }
    };

    static F& Of(Exchange& x) { return x.device.m_f; }

    // The name the record carries: a device of the document's own takes the
    // export device's.
    static QString ExportName(const Exchange& x)
    {
        QString name = x.device.m_f.name;
        if (name.isEmpty() || name == kDoc)
            name = x.exportDevice != nullptr ? x.exportDevice->GetName() : QStringLiteral("Default");
        return name.toUpper();
    }

    static QString RotationText(const Exchange& x)
    {
        const F& f = x.device.m_f;
        int rotation = f.rotation == 4 ? (x.exportDevice != nullptr ? x.exportDevice->GetRotation() : 0) : f.rotation;
        QString text;
        x.device.GetRotationText(rotation, text);
        return text;
    }

    // A value left to the document ("-1") is the export device's, else the
    // host's default.
    static int DocumentValue(const Exchange& x, int value, int (Device::*get)() const, int fallback)
    {
        if (value != -1)
            return value;
        return x.exportDevice != nullptr ? (x.exportDevice->*get)() : fallback;
    }

    // The file exit program and its library as the host must get them: a
    // document-store device files through the store's own program.
    static void ExitProgram(const Exchange& x, QString& program, QString& library)
    {
        const F& f = x.device.m_f;
        program = f.fileExitProgram.trimmed();
        library = f.fileExitProgramLibrary.trimmed();
        if (f.type == Device::kDocStoreType) {
            if (program.isEmpty())
                program = QStringLiteral("STOREDOC");
            if (library.isEmpty())
                library = kDoc;
        }
        if (library == kDoc)
            library = x.exportDevice != nullptr ? x.exportDevice->GetFileExitProgramLibrary() : QStringLiteral("*LIBL");
    }

    static constexpr Kind N = Kind::Number;
    static constexpr Kind T = Kind::Text;
    static constexpr Kind U = Kind::UserText;

    // The device type's code; a code no row knows would be written back as
    // blanks, so it reads as type 0.
    static void StoreType(Exchange& x, FieldValue& v) { Device::GetTypeCode(Of(x).type, v.text); }
    static void LoadType(Exchange& x, const FieldValue& v)
    {
        int type = -1;
        Device::GetTypeFromCode(v.text, type);
        Of(x).type = type < 0 ? 0 : type;
    }

    // Other devices give their rotation's first character here, a print
    // device the whole text in its own field.
    static void StoreRotation(Exchange& x, FieldValue& v)
    {
        if (Of(x).type != 0)
            v.text = RotationText(x).left(1);
    }
    static void LoadRotation(Exchange& x, const FieldValue& v)
    {
        if (Of(x).type != 0)
            x.device.SetRotationText(v.text);
    }
    static void StorePrintRotation(Exchange& x, FieldValue& v)
    {
        if (Of(x).type == 0)
            v.text = RotationText(x);
    }
    static void LoadPrintRotation(Exchange& x, const FieldValue& v)
    {
        if (Of(x).type == 0)
            x.device.SetRotationText(v.text);
    }

    // A position bound to an Address child is settled by asking for it.
    template <int (Device::*Get)()>
    static void StorePosition(Exchange& x, FieldValue& v)
    {
        v.number = (x.device.*Get)();
    }

    // The destination's position and exit program go out only when the
    // destination is scanned for; the position is asked for either way, as
    // asking settles a bound position.
    template <int (Device::*Get)()>
    static void StoreDestinationPosition(Exchange& x, FieldValue& v)
    {
        const int value = (x.device.*Get)();
        v.number = Of(x).destinationType != 0 ? value : 0;
    }
    template <QString F::*Member>
    static void StoreDestinationExit(Exchange& x, FieldValue& v)
    {
        if (Of(x).destinationType != 0)
            v.text = Of(x).*Member;
    }

    // Parameters 1..20, written whole and read from the version that
    // brought them.
    template <int Index>
    static void StoreParameter(Exchange& x, FieldValue& v)
    {
        x.device.GetParameter(Index, v.text);
    }
    template <int Index>
    static void LoadParameter(Exchange& x, const FieldValue& v)
    {
        if (x.version >= 16)
            x.device.SetParameter(Index, v.text);
    }

    template <int Index>
    static void StorePdfFlag(Exchange& x, FieldValue& v)
    {
        v.text = YesNo(Of(x).pdfFlags[Index]);
    }
    template <int Index>
    static void LoadPdfFlag(Exchange& x, const FieldValue& v)
    {
        Of(x).pdfFlags[Index] = IsYes(v.text) ? 1 : 0;
    }

    // The export page size in twips; a size left to the document is -1.
    template <int F::*Member, BOOL (Device::*Set)(int)>
    static void LoadTwips(Exchange& x, const FieldValue& v)
    {
        if (v.present)
            (x.device.*Set)(v.number);
        else
            Of(x).*Member = -1;
    }

    template <int F::*Member, int (Device::*Get)() const, int Fallback>
    static void StoreDocumentNumber(Exchange& x, FieldValue& v)
    {
        v.number = DocumentValue(x, Of(x).*Member, Get, Fallback);
    }

    // Field/kind shorthands keep each row on one line.
    static constexpr Binding Text(QString F::*member) { return {.text = member}; }
    static constexpr Binding Flag(int F::*member) { return {.yesNo = member}; }
    static constexpr Binding Number(int F::*member) { return {.number = member}; }
    static constexpr Binding Coordinate(QPoint F::*member, int index) { return {.point = member, .index = index}; }
    static constexpr Binding Bound(void (Device::*get)(QString&) const, BOOL (Device::*set)(const QString&))
    {
        return {.get = get, .set = set};
    }
    static constexpr Binding Checked(QString F::*member, BOOL (Device::*set)(const QString&))
    {
        return {.set = set, .text = member};
    }
    static constexpr Binding Special(void (*store)(Exchange&, FieldValue&), void (*load)(Exchange&, const FieldValue&))
    {
        return {.store = store, .load = load};
    }
    static constexpr Binding Reserved() { return {}; }

    static constexpr int kFieldCount = 136;
    static const Field kFields[kFieldCount];

    static void Store(Exchange& x, const Field& field, FieldValue& v)
    {
        const Binding& b = field.binding;
        F& f = Of(x);
        if (b.store != nullptr)
            b.store(x, v);
        else if (b.get != nullptr)
            (x.device.*b.get)(v.text);
        else if (b.text != nullptr)
            v.text = f.*b.text;
        else if (b.yesNo != nullptr)
            v.text = YesNo(f.*b.yesNo);
        else if (b.number != nullptr && field.form.kind == Kind::Number)
            v.number = f.*b.number;
        else if (b.number != nullptr)
            v.text = NumberText(f.*b.number, field.form.width);
        else if (b.point != nullptr)
            v.number = b.index == 0 ? (f.*b.point).x() : (f.*b.point).y();
    }

    static void Load(Exchange& x, const Field& field, const FieldValue& v)
    {
        const Binding& b = field.binding;
        F& f = Of(x);
        if (b.load != nullptr)
            b.load(x, v);
        else if (b.set != nullptr)
            (x.device.*b.set)(v.text);
        else if (b.text != nullptr)
            f.*b.text = v.text;
        else if (b.yesNo != nullptr)
            f.*b.yesNo = IsYes(v.text) ? 1 : 0;
        else if (b.number != nullptr && field.form.kind == Kind::Number)
            f.*b.number = v.number;
        else if (b.number != nullptr)
            f.*b.number = Device::LeadingInteger(v.text);
        else if (b.point != nullptr && b.index == 0)
            (f.*b.point).setX(v.number);
        else if (b.point != nullptr)
            (f.*b.point).setY(v.number);
    }

    // One field in either direction; a number read back is held to what
    // its digits can show.
    static void ExchangeField(CJVXArchive& ar, Form form, FieldValue& v)
    {
        const bool storing = ar.IsStoring();
        if (form.kind == Kind::Number) {
            CFixedLenNum field(form.width);
            if (storing)
                field.SetValue(v.number);
            field.ExchangeJVX(ar);
            if (!storing)
                v.number = HoldToWidth(field.GetValue(), form.width);
            return;
        }
        CFixedLenUserString userText(form.width);
        CFixedLenString systemText(form.width);
        CFixedLenString& field = form.kind == Kind::UserText ? userText : systemText;
        if (storing)
            field.SetValue(v.text);
        field.ExchangeJVX(ar);
        if (!storing)
            v.text = field.GetValue();
    }

    static bool LineEndsHere(CJVXArchive& ar)
    {
        const LONG position = ar.Seek(0, CFile::current);
        QString next;
        const int read = ar.ReadText(next, 2);
        ar.Seek(position, CFile::begin);
        return read == 2 && next == QLatin1StringView("\r\n");
    }
};

// Fields 1 to 136 in record order.
constexpr OutputDeviceJvxRecord::Field OutputDeviceJvxRecord::kFields[kFieldCount] = {
    {1, 1, {T, 4}, Special(StoreType, LoadType)},
    {2,
     1,
     {U, 10},
     Special([](Exchange& x, FieldValue& v) { v.text = ExportName(x); },
             [](Exchange& x, const FieldValue& v) { Of(x).name = v.text; })},
    {3, 5, {U, 10}, Text(&F::outputQueue)},
    {4, 5, {U, 10}, Text(&F::outputQueueLibrary)},
    {5, 5, {U, 10}, Text(&F::printerDevice)},
    {6, 5, {T, 4}, Flag(&F::hold)},
    {7, 5, {T, 4}, Flag(&F::save)},
    {8, 5, {U, 10}, Text(&F::userData)},
    {9, 5, {U, 10}, Text(&F::formType)},
    {10, 5, {T, 1}, Special(StoreRotation, LoadRotation)},
    {11,
     5,
     {N, 5},
     {.store = StoreDocumentNumber<&F::noPrintBorder, &Device::GetNoPrintBorder, 250>, .number = &F::noPrintBorder}},
    // The font group and printer resource are the export device's; a
    // device read back leaves them to the document.
    {12,
     5,
     {U, 8},
     Special([](Exchange& x, FieldValue& v) { v.text = x.exportDevice ? x.exportDevice->GetFontGroup() : QString(); },
             [](Exchange& x, const FieldValue&) { Of(x).fontGroup = kDoc; })},
    {13,
     5,
     {U, 8},
     Special(
         [](Exchange& x, FieldValue& v) { v.text = x.exportDevice ? x.exportDevice->GetPrinterResource() : QString(); },
         [](Exchange& x, const FieldValue&) { Of(x).printerResource = kDoc; })},
    {14, 5, {T, 7}, Reserved()},
    {15, 5, {U, 10}, Reserved()},
    {16, 5, {U, 10}, Reserved()},
    {17, 5, {U, 10}, Reserved()},
    {18, 5, {U, 10}, Reserved()},
    {19, 5, {U, 10}, Reserved()},
    {20, 5, {U, 10}, Reserved()},
    {21, 5, {U, 35}, Text(&F::description)},
    {22, 5, {U, 10}, Reserved()},
    {23, 5, {U, 10}, Reserved()},
    {24, 5, {T, 4}, Text(&F::spooledFileStatus)},
    {25, 5, {T, 4}, Reserved()},
    {26, 5, {T, 20}, Text(&F::transparencyOn)},
    {27, 5, {T, 20}, Text(&F::transparencyOff)},
    {28, 5, {T, 7}, Text(&F::transmissionMode)},
    {29, 5, {U, 10}, Text(&F::faxForm)},
    {30, 5, {U, 10}, Text(&F::faxFormLibrary)},
    {31, 5, {U, 10}, Text(&F::faxFormMember)},
    {32, 5, {T, 7}, Reserved()},
    {33, 5, {U, 30}, Text(&F::firstPageText)},
    {34, 5, {N, 3}, {.store = StorePosition<&Device::GetFirstPageLine>, .number = &F::firstPageLine}},
    {35, 5, {N, 3}, {.store = StorePosition<&Device::GetFirstPageColumn>, .number = &F::firstPageColumn}},
    {36, 5, {N, 3}, {.store = StorePosition<&Device::GetFirstPageWidth>, .number = &F::firstPageWidth}},
    {37, 5, {U, 2}, Text(&F::firstPageComparison)},
    {38, 5, {U, 25}, Text(&F::destinationScanText)},
    {39, 5, {N, 3}, {.store = StoreDestinationPosition<&Device::GetDestinationLine>, .number = &F::destinationLine}},
    {40,
     5,
     {N, 3},
     {.store = StoreDestinationPosition<&Device::GetDestinationColumn>, .number = &F::destinationColumn}},
    {41, 5, {N, 3}, {.store = StoreDestinationPosition<&Device::GetDestinationWidth>, .number = &F::destinationWidth}},
    {42,
     5,
     {T, 1},
     {.store =
          [](Exchange& x, FieldValue& v) {
              const int type = Of(x).destinationType;
              v.text = NumberText(type == 0 ? 1 : type, 1);
          },
      .number = &F::destinationType}},
    {43, 5, {U, 10}, {.store = StoreDestinationExit<&F::destinationExitProgram>, .text = &F::destinationExitProgram}},
    {44, 5, {U, 10}, {.store = StoreDestinationExit<&F::destinationExitLibrary>, .text = &F::destinationExitLibrary}},
    {45, 5, {T, 10}, Reserved()},
    {46, 5, {T, 8}, Reserved()},
    {47, 5, {U, 50}, {.get = &Device::GetFrom, .text = &F::from}, 14, {T, 30}},
    {48, 5, {U, 50}, {.get = &Device::GetTo, .text = &F::to}, 14, {T, 30}},
    // Up to version 12 these two carried the message and the subject.
    {49,
     5,
     {U, 50},
     Special(
         [](Exchange& x, FieldValue& v) {
             if (x.version <= 12)
                 x.device.GetMessage(v.text);
             else
                 x.device.GetAttention(v.text);
         },
         [](Exchange& x, const FieldValue& v) {
             Of(x).attention = v.text;
             if (x.version <= 12)
                 Of(x).message = v.text;
         }),
     14,
     {T, 30}},
    {50,
     5,
     {U, 50},
     Special(
         [](Exchange& x, FieldValue& v) {
             if (x.version <= 12)
                 x.device.GetSubject(v.text);
             else
                 x.device.GetReference(v.text);
         },
         [](Exchange& x, const FieldValue& v) {
             Of(x).reference = v.text;
             if (x.version <= 12)
                 Of(x).subject = v.text;
         }),
     14,
     {T, 30}},
    {51, 5, {U, 10}, Text(&F::userName)},
    {52, 5, {U, 10}, Text(&F::userId)},
    {53, 5, {U, 10}, Text(&F::userAddress)},
    {54, 5, {T, 1}, Number(&F::priority)},
    {55, 5, {T, 1}, Number(&F::publicAuthority)},
    {56, 5, {U, 10}, Text(&F::coverLogo)},
    {57, 5, {U, 10}, Text(&F::coverSignature)},
    {58, 5, {U, 10}, Text(&F::department)},
    {59, 5, {N, 3}, Number(&F::startLine)},
    {60, 5, {N, 2}, {.store = StoreDocumentNumber<&F::linesPerInch, &Device::GetLPI, 6>, .number = &F::linesPerInch}},
    {61, 5, {N, 2}, {.store = StoreDocumentNumber<&F::charsPerInch, &Device::GetCPI, 10>, .number = &F::charsPerInch}},
    {62,
     5,
     {T, 5},
     Special([](Exchange& x,
                FieldValue& v) { v.text = Of(x).drawer == 0 ? QStringLiteral("*E1") : QString::number(Of(x).drawer); },
             [](Exchange& x, const FieldValue& v) {
                 int drawer = 1;
                 Device::ParseDrawer(v.text, drawer);
                 Of(x).drawer = drawer;
             })},
    {63, 5, {N, 3}, Number(&F::pageHeight)},
    {64, 5, {T, 5}, Special(StorePrintRotation, LoadPrintRotation)},
    {65, 5, {N, 3}, Number(&F::copies)},
    // The document shown defaults to the device's name.
    {66,
     6,
     {U, 12},
     {.store =
          [](Exchange& x, FieldValue& v) {
              const F& f = Of(x);
              v.text = f.displayDocument;
              if (v.text.isEmpty()) {
                  v.text = f.name;
                  if (v.text.isEmpty() || v.text == kDoc)
                      v.text = ExportName(x);
              }
          },
      .text = &F::displayDocument}},
    {67, 6, {U, 63}, Text(&F::displayFolder)},
    {68, 6, {U, 64}, Text(&F::displayServerPath)},
    {69, 6, {U, 122}, Text(&F::displayTargetAddress)},
    {70, 6, {T, 4}, Number(&F::displayPort)},
    {71, 7, {N, 5}, Coordinate(&F::imageOffsetPortrait, 0)},
    {72, 7, {N, 5}, Coordinate(&F::imageOffsetPortrait, 1)},
    {73, 7, {N, 5}, Coordinate(&F::imageOffsetLandscape, 0)},
    {74, 7, {N, 5}, Coordinate(&F::imageOffsetLandscape, 1)},
    {75, 7, {N, 5}, Coordinate(&F::textOffsetPortrait, 0)},
    {76, 7, {N, 5}, Coordinate(&F::textOffsetPortrait, 1)},
    {77, 7, {N, 5}, Coordinate(&F::textOffsetLandscape, 0)},
    {78, 7, {N, 5}, Coordinate(&F::textOffsetLandscape, 1)},
    {79, 7, {U, 256}, {.get = &Device::GetFromEmail, .text = &F::fromEmail}},
    {80, 7, {U, 256}, Text(&F::postmasterEmail)},
    {81, 7, {T, 3}, Checked(&F::attachmentFormat, &Device::SetAttachmentFormat)},
    {82, 8, {T, 7}, Checked(&F::duplex, &Device::SetDuplex)},
    // Whether the document is an XML one; the device does not keep it.
    {83,
     8,
     {T, 1},
     {.store = [](Exchange& x, FieldValue& v) { v.text = QString(QChar(static_cast<char16_t>(x.xmlDocumentFlag))); }}},
    {84, 8, {U, 64}, Bound(&Device::GetAttachmentName, &Device::SetAttachmentName)},
    {85, 8, {U, 3}, Checked(&F::attachmentExtension, &Device::SetAttachmentExtension)},
    {86, 10, {U, 256}, Checked(&F::destinationText, &Device::SetDestinationText), 24, {T, 256}},
    // Up to version 12 subject and message came in fields 50 and 49.
    {87,
     13,
     {U, 256},
     {.load =
          [](Exchange& x, const FieldValue& v) {
              if (x.version > 12)
                  x.device.SetSubject(v.text);
          },
      .get = &Device::GetSubject}},
    {88,
     13,
     {U, 1024},
     {.load =
          [](Exchange& x, const FieldValue& v) {
              if (x.version > 12)
                  x.device.SetMessage(v.text);
          },
      .get = &Device::GetMessage},
     16,
     {T, 256}},
    {89,
     16,
     {N, 2},
     {.load =
          [](Exchange& x, const FieldValue& v) {
              if (v.present)
                  x.device.SetConfirmationType(v.number);
          },
      .number = &F::confirmationType},
     0,
     {},
     15},
    {90, 16, {U, 256}, Bound(&Device::GetFilePath, &Device::SetFilePath)},
    {91, 16, {U, 64}, Bound(&Device::GetFileName, &Device::SetFileName)},
    {92, 16, {U, 3}, Checked(&F::fileExtension, &Device::SetFileExtension)},
    {93, 16, {T, 3}, Checked(&F::fileFormat, &Device::SetFileFormat)},
    {94,
     16,
     {U, 10},
     {.store =
          [](Exchange& x, FieldValue& v) {
              QString library;
              ExitProgram(x, v.text, library);
          },
      .set = &Device::SetFileExitProgram}},
    {95,
     16,
     {U, 10},
     {.store =
          [](Exchange& x, FieldValue& v) {
              QString program;
              ExitProgram(x, program, v.text);
          },
      .set = &Device::SetFileExitProgramLibrary}},
    {96, 16, {U, 132}, Special(StoreParameter<1>, LoadParameter<1>)},
    {97, 16, {U, 132}, Special(StoreParameter<2>, LoadParameter<2>)},
    {98, 16, {U, 132}, Special(StoreParameter<3>, LoadParameter<3>)},
    {99, 16, {U, 132}, Special(StoreParameter<4>, LoadParameter<4>)},
    {100, 16, {U, 132}, Special(StoreParameter<5>, LoadParameter<5>)},
    {101, 16, {U, 132}, Special(StoreParameter<6>, LoadParameter<6>)},
    {102, 16, {U, 132}, Special(StoreParameter<7>, LoadParameter<7>)},
    {103, 16, {U, 132}, Special(StoreParameter<8>, LoadParameter<8>)},
    {104, 16, {U, 132}, Special(StoreParameter<9>, LoadParameter<9>)},
    {105, 16, {U, 132}, Special(StoreParameter<10>, LoadParameter<10>)},
    {106, 16, {U, 64}, Special(StoreParameter<11>, LoadParameter<11>)},
    {107, 16, {U, 64}, Special(StoreParameter<12>, LoadParameter<12>)},
    {108, 16, {U, 64}, Special(StoreParameter<13>, LoadParameter<13>)},
    {109, 16, {U, 64}, Special(StoreParameter<14>, LoadParameter<14>)},
    {110, 16, {U, 64}, Special(StoreParameter<15>, LoadParameter<15>)},
    {111, 16, {U, 64}, Special(StoreParameter<16>, LoadParameter<16>)},
    {112, 16, {U, 64}, Special(StoreParameter<17>, LoadParameter<17>)},
    {113, 16, {U, 64}, Special(StoreParameter<18>, LoadParameter<18>)},
    {114, 16, {U, 64}, Special(StoreParameter<19>, LoadParameter<19>)},
    {115, 16, {U, 64}, Special(StoreParameter<20>, LoadParameter<20>)},
    {116, 16, {T, 11}, Checked(&F::fileCcsid, &Device::SetFileCcsid)},
    {117, 18, {T, 1}, Checked(&F::pdfDataStream, &Device::SetPdfDataStream), 0, {}, 17},
    {118,
     18,
     {N, 6},
     Special(StoreDocumentNumber<&F::pageWidthTwips, &Device::GetPageWidthTwips, 11909>,
             LoadTwips<&F::pageWidthTwips, &Device::SetPageWidthTwips>)},
    {119,
     18,
     {N, 6},
     Special(StoreDocumentNumber<&F::pageHeightTwips, &Device::GetPageHeightTwips, 16848>,
             LoadTwips<&F::pageHeightTwips, &Device::SetPageHeightTwips>)},
    {120, 21, {T, 11}, Checked(&F::attachmentCcsid, &Device::SetAttachmentCcsid)},
    {121, 26, {N, 3}, Number(&F::pageWidth)},
    {122, 27, {U, 20}, Bound(&Device::GetFileOwner, &Device::SetFileOwner)},
    {123, 27, {U, 20}, Bound(&Device::GetFileAuthorizationList, &Device::SetFileAuthorizationList)},
    {124, 27, {U, 20}, Bound(&Device::GetFilePublicAuthority, &Device::SetFilePublicAuthority)},
    {125, 27, {T, 4}, Flag(&F::pdfSecurity)},
    {126, 27, {T, 32}, Bound(&Device::GetPdfOwnerPassword, &Device::SetPdfOwnerPassword)},
    {127, 27, {T, 32}, Bound(&Device::GetPdfUserPassword, &Device::SetPdfUserPassword)},
    {128, 27, {T, 4}, Special(StorePdfFlag<0>, LoadPdfFlag<0>)},
    {129, 27, {T, 4}, Special(StorePdfFlag<1>, LoadPdfFlag<1>)},
    {130, 27, {T, 4}, Special(StorePdfFlag<2>, LoadPdfFlag<2>)},
    {131, 27, {T, 4}, Special(StorePdfFlag<3>, LoadPdfFlag<3>)},
    {132, 27, {T, 6}, Checked(&F::pdfEncryptionLevel, &Device::SetPdfEncryptionLevel)},
    {133, 27, {T, 4}, Special(StorePdfFlag<4>, LoadPdfFlag<4>)},
    {134, 27, {T, 4}, Special(StorePdfFlag<5>, LoadPdfFlag<5>)},
    {135, 27, {T, 4}, Special(StorePdfFlag<6>, LoadPdfFlag<6>)},
    {136, 27, {T, 4}, Special(StorePdfFlag<7>, LoadPdfFlag<7>)},
};

namespace {

constexpr bool InRecordOrder()
{
    int expected = 1;
    for (const OutputDeviceJvxRecord::Field& field : OutputDeviceJvxRecord::kFields)
        if (field.no != expected++)
            return false;
    return true;
}
static_assert(InRecordOrder(), "the device record's fields run 1, 2, 3... without a gap");

} // namespace

// Every value is taken before the first field is written, and every field
// is read before the device changes, so a record that fails part way leaves
// the device as it was.
void COutputDevice::ExchangeJVX(CJVXArchive& ar, wchar_t xmlDocumentFlag, const COutputDevice* exportDevice)
{
    using Record = OutputDeviceJvxRecord;
    int version = ar.GetVersion();
    if (version < 1 || version > kLastVersion)
        version = kLastVersion;
    Record::Exchange x{*this, version, exportDevice, xmlDocumentFlag};
    std::array<Record::FieldValue, Record::kFieldCount> values;

    if (ar.IsStoring()) {
        for (int i = 0; i < Record::kFieldCount; ++i)
            Record::Store(x, Record::kFields[i], values[i]);
        // The fields of the line reach the file in one write.
        ar.BeginLine();
        for (int i = 0; i < Record::kFieldCount; ++i) {
            const Record::Field& field = Record::kFields[i];
            if (version >= field.from)
                Record::ExchangeField(ar, field.FormIn(version), values[i]);
        }
        ar.WriteLineEnd();
        return;
    }

    for (int i = 0; i < Record::kFieldCount; ++i) {
        const Record::Field& field = Record::kFields[i];
        bool carried = version >= field.from;
        if (version == field.unsureIn)
            carried = !Record::LineEndsHere(ar);
        if (!carried)
            continue;
        values[i].present = true;
        Record::ExchangeField(ar, field.FormIn(version), values[i]);
    }
    ar.ReadLineEnd();

    SetDefaults();
    for (int i = 0; i < Record::kFieldCount; ++i)
        Record::Load(x, Record::kFields[i], values[i]);
}
