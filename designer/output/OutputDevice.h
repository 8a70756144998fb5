#pragma once
// One output device: where and how the host delivers a page definition's
// output. One record holds the settings of every device type side by side;
// the type decides which of them the pages show and the export uses.
// Devices are named and shared between documents; the Output elements bound
// to a device are its users, which the device never owns. An Output element
// may hold Address children that take a device value from a position on the
// spooled file; the address-bound getters and setters consult them.
//
// Setters return TRUE when the stored value changed. None of them marks a
// document modified or tells the users: the callers do.

#include "platform/framework/Object.h"
#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

#include <QPoint>
#include <QString>

#include <vector>

class CArchive;
class CFormOutputElement;
class CJVXArchive;

// The setting ids under which an Address child supplies a device value.
struct AddressFieldCode
{
    enum : int {
        Destination = 21479,
        From = 21480,
        To = 21481,
        Attention = 21482,
        Reference = 21483,
        FirstPage = 21487,
        FromEmail = 21491,
        Subject = 21492,
        Message = 21493,
        AttachmentName = 21498,
        FilePath = 21501,
        FileName = 21502,
        FileOwner = 21503,
        FileAuthorizationList = 21504,
        FilePublicAuthority = 21505,
        Parameter1 = 21506,
        Parameter19 = 21524,
        Parameter20 = 21525,
        PdfOwnerPassword = 21526,
        PdfUserPassword = 21527,
    };
};

class COutputDevice : public CObject
{
    KWVD_DECLARE_SERIAL(COutputDevice)

public:
    static constexpr int kNameWidth = 10;
    static constexpr int kDescriptionWidth = 35;
    static constexpr int kExitProgramWidth = 10;
    static constexpr int kMaxType = 7;
    static constexpr int kDocStoreType = 7;
    static constexpr int kFaxType = 3;
    static constexpr int kParameterCount = 20;

    // Defaults, type 0.
    COutputDevice();
    // Defaults, then the three values through their setters; the caller
    // passes a type 0..7.
    COutputDevice(int type, const QString& name, const QString& description);
    // Every field and the users of other.
    explicit COutputDevice(const COutputDevice* other);
    ~COutputDevice() override;

    // The users are shared with the elements, so a device is never copied
    // by accident.
    COutputDevice(const COutputDevice&) = delete;
    COutputDevice& operator=(const COutputDevice&) = delete;

    // Every field to its default; the type and the users stay.
    void SetDefaults();

    // Every field and the users list; type, font group and printer resource
    // through their setters. Both return this device.
    COutputDevice* Copy(const COutputDevice* other);
    COutputDevice* CopyFrom(const COutputDevice* other);

    // Loose: an empty text matches any text, and the users and the export
    // page size are not compared. So the relation is not transitive.
    BOOL IsEqual(const COutputDevice* other) const;

    // The description, else "NAME (type title)".
    void GetDisplayName(QString& out) const;

    // The code of the type's first row in OutputDeviceTypeTable; code keeps
    // what it held for a type not in the table.
    static void GetTypeCode(int type, QString& code);
    // The type of the first row with exactly that code (case counts), else -1.
    static void GetTypeFromCode(const QString& code, int& type);

    // Devices carry no searchable text.
    BOOL Find(const QString& text) const;
    BOOL Replace(const QString& find, const QString& replace);

    void Serialize(CArchive& ar) override;

    // One record of the JVX device section. xmlDocumentFlag is '1' or '0';
    // exportDevice resolves the document-level values when writing and is
    // null when reading.
    void ExchangeJVX(CJVXArchive& ar, wchar_t xmlDocumentFlag, const COutputDevice* exportDevice);

    // The Output elements bound to the device, in the order they joined.
    const std::vector<CFormOutputElement*>& GetUsers() const { return m_users; }
    BOOL IsInUse() const { return m_users.empty() ? FALSE : TRUE; }
    BOOL HasUser(const CFormOutputElement* element) const;
    // Appends the element unless it is there already; null is refused.
    void AddUser(CFormOutputElement* element);
    // FALSE when the element was not a user.
    BOOL RemoveUser(const CFormOutputElement* element);

    // Questions about the Address child of a setting id, put to every user.
    // For the placeholder and the cells, the last user that has one wins.
    BOOL HasAddress(int settingId) const;
    BOOL FormatAddressPlaceholder(int settingId, QString& out) const;
    BOOL GetAddressCells(int settingId, kwvd::Rect& cells) const;
    BOOL SetAddressFromPlaceholder(int settingId, const QString& text);
    BOOL SetAddressCells(int settingId, const kwvd::Rect& cells);

    // A working copy that records: its address-bound setters note what they
    // would do to the users' Address children instead of moving them, and
    // its address-bound getters show the noted state, so an edit that is
    // cancelled leaves the elements where they were. Copy carries neither
    // the mode nor the notes.
    void StartAddressRecording();
    bool IsRecordingAddresses() const { return m_recordingAddresses; }
    // Moves the Address children as noted, in the order noted, and stops.
    void ApplyRecordedAddresses();
    // Forgets the notes and stops.
    void DropRecordedAddresses();

    // Parameter n (1..20) is found under 21505 + n.
    static int ParameterSettingId(int index) { return AddressFieldCode::Parameter1 + index; }

    // --- Identity and plain texts (cut to width; host names upper-cased).
    const QString& GetName() const { return m_f.name; }
    int GetType() const { return m_f.type; }
    const QString& GetDescription() const { return m_f.description; }
    BOOL SetName(const QString& name);
    BOOL SetDescription(const QString& description);
    // Accepts 0..7 only. A document-store device gets the store's exit
    // program when it has none, since the host cannot file without one.
    BOOL SetType(int type);

    const QString& GetUserData() const { return m_f.userData; }
    const QString& GetFormType() const { return m_f.formType; }
    const QString& GetFontGroup() const { return m_f.fontGroup; }
    const QString& GetPrinterResource() const { return m_f.printerResource; }
    const QString& GetUserName() const { return m_f.userName; }
    const QString& GetUserId() const { return m_f.userId; }
    const QString& GetUserAddress() const { return m_f.userAddress; }
    const QString& GetCoverLogo() const { return m_f.coverLogo; }
    const QString& GetCoverSignature() const { return m_f.coverSignature; }
    const QString& GetDepartment() const { return m_f.department; }
    const QString& GetTransparencyOn() const { return m_f.transparencyOn; }
    const QString& GetTransparencyOff() const { return m_f.transparencyOff; }
    const QString& GetFirstPageText() const { return m_f.firstPageText; }
    const QString& GetDestinationScanText() const { return m_f.destinationScanText; }
    const QString& GetDestinationExitProgram() const { return m_f.destinationExitProgram; }
    const QString& GetDestinationExitLibrary() const { return m_f.destinationExitLibrary; }
    const QString& GetDisplayDocument() const { return m_f.displayDocument; }
    const QString& GetDisplayFolder() const { return m_f.displayFolder; }
    const QString& GetDisplayServerPath() const { return m_f.displayServerPath; }
    const QString& GetDisplayTargetAddress() const { return m_f.displayTargetAddress; }
    const QString& GetPostmasterEmail() const { return m_f.postmasterEmail; }
    const QString& GetAttachmentCcsid() const { return m_f.attachmentCcsid; }
    const QString& GetAttachmentExtension() const { return m_f.attachmentExtension; }
    const QString& GetDestinationText() const { return m_f.destinationText; }
    const QString& GetFileExtension() const { return m_f.fileExtension; }
    const QString& GetFileCcsid() const { return m_f.fileCcsid; }
    const QString& GetFileExitProgram() const { return m_f.fileExitProgram; }
    const QString& GetFileExitProgramLibrary() const { return m_f.fileExitProgramLibrary; }
    const QString& GetPdfDataStream() const { return m_f.pdfDataStream; }

    BOOL SetUserData(const QString& value);
    BOOL SetFormType(const QString& value);
    BOOL SetFontGroup(const QString& value);
    BOOL SetPrinterResource(const QString& value);
    BOOL SetUserName(const QString& value);
    BOOL SetUserId(const QString& value);
    BOOL SetUserAddress(const QString& value);
    BOOL SetCoverLogo(const QString& value);
    BOOL SetCoverSignature(const QString& value);
    BOOL SetDepartment(const QString& value);
    BOOL SetTransparencyOn(const QString& value);
    BOOL SetTransparencyOff(const QString& value);
    BOOL SetFirstPageText(const QString& value);
    BOOL SetDestinationScanText(const QString& value);
    BOOL SetDestinationExitProgram(const QString& value);
    BOOL SetDestinationExitLibrary(const QString& value);
    BOOL SetDisplayDocument(const QString& value);
    BOOL SetDisplayFolder(const QString& value);
    BOOL SetDisplayServerPath(const QString& value);
    BOOL SetDisplayTargetAddress(const QString& value);
    BOOL SetPostmasterEmail(const QString& value);
    BOOL SetAttachmentCcsid(const QString& value);
    BOOL SetAttachmentExtension(const QString& value);
    BOOL SetDestinationText(const QString& value);
    BOOL SetFileExtension(const QString& value);
    BOOL SetFileCcsid(const QString& value);
    BOOL SetFileExitProgram(const QString& value);
    BOOL SetFileExitProgramLibrary(const QString& value);
    BOOL SetPdfDataStream(const QString& value);

    // --- Value lists: anything outside the list is refused.
    const QString& GetSpooledFileStatus() const { return m_f.spooledFileStatus; }
    const QString& GetTransmissionMode() const { return m_f.transmissionMode; }
    const QString& GetFirstPageComparison() const { return m_f.firstPageComparison; }
    const QString& GetAttachmentFormat() const { return m_f.attachmentFormat; }
    const QString& GetFileFormat() const { return m_f.fileFormat; }
    const QString& GetDuplex() const { return m_f.duplex; }
    const QString& GetPdfEncryptionLevel() const { return m_f.pdfEncryptionLevel; }
    BOOL SetSpooledFileStatus(const QString& value);
    BOOL SetTransmissionMode(const QString& value);
    BOOL SetFirstPageComparison(const QString& value);
    BOOL SetFirstPageComparisonIndex(int index); // 0 "EQ", 1 "NE"
    BOOL SetAttachmentFormat(const QString& value);
    BOOL SetFileFormat(const QString& value);
    BOOL SetDuplex(const QString& value);
    BOOL SetPdfEncryptionLevel(const QString& value);

    // --- Address-bound texts: an Address child's placeholder when a user
    // has one for the field, else the stored text. A setter given a
    // placeholder that a user takes stores an empty text.
    void GetFrom(QString& out) const;
    void GetTo(QString& out) const;
    void GetAttention(QString& out) const;
    void GetReference(QString& out) const;
    void GetFromEmail(QString& out) const;
    void GetAttachmentName(QString& out) const;
    void GetSubject(QString& out) const;
    void GetMessage(QString& out) const;
    void GetFilePath(QString& out) const;
    void GetFileName(QString& out) const;
    void GetFileOwner(QString& out) const;
    void GetFileAuthorizationList(QString& out) const;
    void GetFilePublicAuthority(QString& out) const;
    void GetPdfOwnerPassword(QString& out) const;
    void GetPdfUserPassword(QString& out) const;
    BOOL SetFrom(const QString& value);
    BOOL SetTo(const QString& value);
    BOOL SetAttention(const QString& value);
    BOOL SetReference(const QString& value);
    BOOL SetFromEmail(const QString& value);
    BOOL SetAttachmentName(const QString& value);
    BOOL SetSubject(const QString& value);
    BOOL SetMessage(const QString& value);
    BOOL SetFilePath(const QString& value);
    BOOL SetFileName(const QString& value);
    BOOL SetFileOwner(const QString& value);
    // These four answer TRUE even for the stored value.
    BOOL SetFileAuthorizationList(const QString& value);
    BOOL SetFilePublicAuthority(const QString& value);
    BOOL SetPdfOwnerPassword(const QString& value);
    BOOL SetPdfUserPassword(const QString& value);

    // --- Address-bound positions. A getter that finds the Address child
    // answers from its cells and clears the stored value, so the record
    // never keeps a stale fixed position beside a bound one.
    int GetFirstPageLine();
    int GetFirstPageColumn();
    int GetFirstPageWidth();
    int GetDestinationLine();
    int GetDestinationColumn();
    int GetDestinationWidth();
    BOOL SetFirstPageLine(int value);
    BOOL SetFirstPageColumn(int value);
    BOOL SetFirstPageWidth(int value);
    BOOL SetDestinationLine(int value);
    BOOL SetDestinationColumn(int value);
    BOOL SetDestinationWidth(int value);

    // --- Output queue, its library and the printer device kept consistent.
    const QString& GetOutputQueue() const { return m_f.outputQueue; }
    const QString& GetOutputQueueLibrary() const { return m_f.outputQueueLibrary; }
    const QString& GetPrinterDevice() const { return m_f.printerDevice; }
    BOOL SetOutputQueue(const QString& value);
    BOOL SetOutputQueueLibrary(const QString& value);
    BOOL SetPrinterDevice(const QString& value);

    // --- Fax form, library and member: "*NONE" takes neither.
    const QString& GetFaxForm() const { return m_f.faxForm; }
    const QString& GetFaxFormLibrary() const { return m_f.faxFormLibrary; }
    const QString& GetFaxFormMember() const { return m_f.faxFormMember; }
    BOOL SetFaxForm(const QString& value);
    BOOL SetFaxFormLibrary(const QString& value);
    BOOL SetFaxFormMember(const QString& value);

    // --- Numbers, some given as the page's text.
    int GetLPI() const { return m_f.linesPerInch; }
    int GetCPI() const { return m_f.charsPerInch; }
    int GetPageHeight() const { return m_f.pageHeight; }
    int GetPageWidth() const { return m_f.pageWidth; }
    int GetStartLine() const { return m_f.startLine; }
    int GetNoPrintBorder() const { return m_f.noPrintBorder; }
    int GetRotation() const { return m_f.rotation; }
    int GetDestinationType() const { return m_f.destinationType; }
    // -1 is "*DOC"; other values snap to the ones the host knows. The
    // comparison with the stored value comes before the snap.
    BOOL SetLPI(int value);
    BOOL SetCPI(int value);
    BOOL SetLPIText(const QString& text);
    BOOL SetCPIText(const QString& text);
    // "13.3" for 13, "16.7" for 16; an unknown stored value becomes -1.
    void GetCPIText(QString& out);
    BOOL SetPageHeight(const QString& text);
    BOOL SetPageWidth(const QString& text);
    BOOL SetStartLine(const QString& text);
    BOOL SetNoPrintBorder(const QString& text);
    BOOL SetRotationText(const QString& text);
    // Sets rotation to 4 when it is not shown by a text of its own.
    void GetRotationText(int& rotation, QString& out) const;
    static void RotationFromText(int type, const QString& text, int& rotation);
    BOOL SetDestinationTypeText(const QString& text);
    // out is left unchanged for code 1 on types without a meaning for it.
    void GetDestinationTypeText(int code, QString& out) const;
    static void DestinationTypeFromText(const QString& text, int& code);
    // "*E1" gives 0; other texts their number, 1 when outside 1..255.
    static void ParseDrawer(const QString& text, int& drawer);
    // A placeholder "?line,column,length[,D]" as Address children take it:
    // FALSE when the text is none. cells are 1-based and valid only when
    // hasCells; deleting when the fourth part starts with "D".
    static BOOL ParseAddressPlaceholder(const QString& text, kwvd::Rect& cells, bool& hasCells, bool& deleting);
    // The C run-time reading of a number: blanks, sign, digits; 0 for none.
    static int LeadingInteger(const QString& text);

    // --- Values the pages edit directly, each held to its range.
    BOOL GetHold() const { return m_f.hold; }
    BOOL GetSave() const { return m_f.save; }
    int GetDrawer() const { return m_f.drawer; }
    int GetCopies() const { return m_f.copies; }
    int GetPriority() const { return m_f.priority; }
    int GetPublicAuthority() const { return m_f.publicAuthority; }
    int GetDisplayPort() const { return m_f.displayPort; }
    int GetConfirmationType() const { return m_f.confirmationType; }
    QPoint GetImageOffsetPortrait() const { return m_f.imageOffsetPortrait; }
    QPoint GetImageOffsetLandscape() const { return m_f.imageOffsetLandscape; }
    QPoint GetTextOffsetPortrait() const { return m_f.textOffsetPortrait; }
    QPoint GetTextOffsetLandscape() const { return m_f.textOffsetLandscape; }
    int GetPageWidthTwips() const { return m_f.pageWidthTwips; }
    int GetPageHeightTwips() const { return m_f.pageHeightTwips; }
    BOOL GetPdfSecurity() const { return m_f.pdfSecurity; }
    // index 1..8; FALSE outside.
    BOOL GetPdfFlag(int index) const;
    BOOL SetHold(BOOL hold);
    BOOL SetSave(BOOL save);
    BOOL SetDrawer(int drawer);             // 0..255
    BOOL SetCopies(int copies);             // 0..255
    BOOL SetPriority(int priority);         // 0..3
    BOOL SetPublicAuthority(int authority); // 1..3
    BOOL SetDisplayPort(int port);
    BOOL SetConfirmationType(int type);         // 0, 10, 20 or 30
    BOOL SetImageOffsetPortrait(QPoint offset); // each 0..99999
    BOOL SetImageOffsetLandscape(QPoint offset);
    BOOL SetTextOffsetPortrait(QPoint offset);
    BOOL SetTextOffsetLandscape(QPoint offset);
    BOOL SetPageWidthTwips(int twips); // -1 or 0..999999
    BOOL SetPageHeightTwips(int twips);
    BOOL SetPdfSecurity(BOOL on);
    BOOL SetPdfFlag(int index, BOOL on);

    // --- Exit program parameters 1..20; 1..10 hold 132 characters, 11..20
    // hold 64. Number 20 of a document-store device holds its selection.
    void GetParameter(int n, QString& out) const;
    BOOL SetParameter(int n, const QString& value);
    // The stored list, position 0 unused.
    const std::vector<QString>& GetParameterList() const { return m_f.parameters; }
    void GetDocStoreSelection(QString& store, QString& docType) const;
    BOOL SetDocStoreSelection(const QString& store, const QString& docType, int number);

private:
    // The JVX record's field table reads and writes the fields directly.
    friend struct OutputDeviceJvxRecord;

    // Every stored field, so that defaults and copies are one assignment.
    struct Fields
    {
        QString name;
        int type = 0;
        QString description;
        QString outputQueue = QStringLiteral("*DEV");
        QString outputQueueLibrary;
        QString printerDevice = QStringLiteral("*JOB");
        int hold = 0;
        int save = 0;
        QString userData = QStringLiteral("*SOURCE");
        QString formType = QStringLiteral("*STD");
        int startLine = 0;
        int linesPerInch = -1;
        int charsPerInch = -1;
        int drawer = 1;
        int pageHeight = 66;
        int pageWidth = 0;
        int rotation = 4;
        int copies = 1;
        QString fontGroup = QStringLiteral("*DOC");
        QString printerResource = QStringLiteral("*DOC");
        int noPrintBorder = -1;
        QString spooledFileStatus = QStringLiteral("*HLD");
        QString faxFormLibrary;
        QString faxForm = QStringLiteral("*NONE");
        QString faxFormMember;
        int priority = 2;
        int publicAuthority = 1;
        QString transmissionMode = QStringLiteral("*NORMAL");
        QString from;
        QString to;
        QString attention;
        QString reference;
        QString userName = QStringLiteral("*CURRENT");
        QString userId;
        QString userAddress;
        QString coverLogo;
        QString coverSignature;
        QString department;
        QString transparencyOn;
        QString transparencyOff;
        QString firstPageText;
        int firstPageLine = 0;
        int firstPageColumn = 0;
        int firstPageWidth = 0;
        QString firstPageComparison = QStringLiteral("NE");
        QString destinationScanText;
        int destinationLine = 0;
        int destinationColumn = 0;
        int destinationWidth = 0;
        int destinationType = 1;
        QString destinationExitProgram;
        QString destinationExitLibrary = QStringLiteral("*LIBL");
        QString displayDocument;
        QString displayFolder;
        QString displayServerPath;
        QString displayTargetAddress;
        int displayPort = 3771;
        QPoint imageOffsetPortrait{360, 240};
        QPoint imageOffsetLandscape{240, 360};
        QPoint textOffsetPortrait{360, 240};
        QPoint textOffsetLandscape{240, 360};
        QString fromEmail;
        QString postmasterEmail;
        QString attachmentFormat = QStringLiteral("TXT");
        QString duplex = QStringLiteral("*NO");
        QString attachmentName = QStringLiteral("ATTACH");
        QString attachmentExtension = QStringLiteral("TXT");
        QString attachmentCcsid;
        QString destinationText;
        QString subject;
        QString message;
        int confirmationType = 0;
        QString filePath;
        QString fileName = QStringLiteral("File");
        QString fileExtension = QStringLiteral("TXT");
        QString fileFormat = QStringLiteral("TXT");
        QString fileCcsid;
        QString fileExitProgram;
        QString fileExitProgramLibrary;
        std::vector<QString> parameters;
        QString pdfDataStream;
        int pageWidthTwips = -1;
        int pageHeightTwips = -1;
        QString fileOwner;
        QString fileAuthorizationList;
        QString filePublicAuthority = QStringLiteral("*RWX");
        int pdfSecurity = 1;
        QString pdfOwnerPassword;
        QString pdfUserPassword;
        int pdfFlags[8] = {1, 1, 1, 1, 1, 1, 1, 1};
        QString pdfEncryptionLevel = QStringLiteral("*V1");
    };

    void GetBoundText(int settingId, const QString& stored, QString& out) const;
    BOOL SetBoundText(int settingId, QString& stored, const QString& value, int width, bool upper, bool compare);
    int GetBoundPosition(int settingId, int& stored, int part);
    BOOL SetBoundPosition(int settingId, int& stored, int part, int value, int maximum);

    // A noted change of the Address children of one setting id: new cells,
    // or a placeholder text they take.
    struct AddressChange
    {
        int settingId;
        bool placeholder;
        kwvd::Rect cells;
        QString text;
    };
    // The cells and delete flag the children of the id would show after
    // the notes; FALSE when no change of the id was noted.
    BOOL GetRecordedAddress(int settingId, kwvd::Rect& cells, bool& deleting) const;

    std::vector<CFormOutputElement*> m_users;
    Fields m_f;
    bool m_recordingAddresses = false;
    std::vector<AddressChange> m_addressChanges;
};
