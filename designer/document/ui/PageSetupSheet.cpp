#include "designer/document/ui/PageSetupSheet.h"

#include "designer/controls/CCSIDComboBox.h"
#include "designer/controls/SelectiveEdit.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/DialogBinder.h"
#include "platform/ui/qt/UpDownControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr char kRefusedQuotes[] = "\"'";

// A number edit and its up-down as one field.
QHBoxLayout* Field(QLineEdit* edit, CUpDownControl* upDown, int width = 60)
{
    edit->setFixedWidth(width);
    auto* field = new QHBoxLayout;
    field->setSpacing(0);
    field->addWidget(edit);
    field->addWidget(upDown);
    field->addStretch(1);
    return field;
}

QHBoxLayout* WithUnit(QWidget* control, const QString& unit)
{
    auto* field = new QHBoxLayout;
    field->addWidget(control);
    field->addWidget(new QLabel(unit));
    field->addStretch(1);
    return field;
}

// An edit whose text is kept in upper case.
CSelectiveEdit* UpperEdit(QWidget* view, int id, int maxChars)
{
    auto* edit = NameDialogControl(new CSelectiveEdit(view), id);
    edit->m_caseMode = 1;
    edit->m_maxLength = maxChars;
    return edit;
}

CSelectiveEdit* DescriptionEdit(QWidget* view, int id, int maxChars)
{
    auto* edit = NameDialogControl(new CSelectiveEdit(view), id);
    edit->SetRefusedChars(QString::fromLatin1(kRefusedQuotes));
    edit->m_maxLength = maxChars;
    return edit;
}

PageSetupSheetRunner& SheetRunner()
{
    static PageSetupSheetRunner runner;
    return runner;
}

using Size = CPageSizePropPage;
using Output = CPageOutputPropPage;
using PagePage = CPagePagePropPage;
using Cond = CPageCondPropPage;
using Language = CPageLanguagePropPage;
using Info = CPageInfoPropPage;

constexpr StringTable::Entry kTexts[] = {
    {CPageSetupSheet::IDS_CAPTION, "Page Setup"},

    {DialogTextId(Size::IDD, 0), "Size"},
    {DialogTextId(Size::IDD, Size::IDC_WIDTH), "Width:"},
    {DialogTextId(Size::IDD, Size::IDC_WIDTH_UNIT), "Inches"},
    {DialogTextId(Size::IDD, Size::IDC_HEIGHT), "Height:"},
    {DialogTextId(Size::IDD, Size::IDC_HEIGHT_UNIT), "Inches"},
    {DialogTextId(Size::IDD, Size::IDC_BORDER), "No Print Border:"},
    {DialogTextId(Size::IDD, Size::IDC_BORDER_UNIT), "1440ths Inch"},
    {DialogTextId(Size::IDD, Size::IDC_CPI), "Characters per Inch:"},
    {DialogTextId(Size::IDD, Size::IDC_LPI), "Lines per Inch:"},
    {DialogTextId(Size::IDD, Size::IDC_ORIENTATION_GROUP), "Orientation"},
    {DialogTextId(Size::IDD, Size::IDC_PORTRAIT), "&Portrait"},
    {DialogTextId(Size::IDD, Size::IDC_LANDSCAPE), "&Landscape"},

    {DialogTextId(Output::IDD, 0), "Output"},
    {DialogTextId(Output::IDD, Output::IDC_DEVICE_GROUP), "Default Output Device"},
    {DialogTextId(Output::IDD, Output::IDC_NAME), "Name:"},
    {DialogTextId(Output::IDD, Output::IDC_TYPE), "Type:"},

    {DialogTextId(PagePage::IDD, 0), "Page"},
    {DialogTextId(PagePage::IDD, PagePage::IDC_DESCRIPTION), "Description:"},
    {DialogTextId(PagePage::IDD, PagePage::IDC_PRINTER_RESOURCE), "Printer resource:"},
    {DialogTextId(PagePage::IDD, PagePage::IDC_PAGES_GROUP), "Select Pages:"},
    {DialogTextId(PagePage::IDD, PagePage::IDC_FROM), "From:"},
    {DialogTextId(PagePage::IDD, PagePage::IDC_TO), "To:"},
    {DialogTextId(PagePage::IDD, PagePage::IDC_IGNORE_FIRST), "&Ignore first page"},

    {DialogTextId(Cond::IDD, 0), "Conditional"},
    {DialogTextId(Cond::IDD, Cond::IDC_FIRST_PAGE_GROUP), "First page of new document"},
    {DialogTextId(Cond::IDD, Cond::IDC_COMPARE_TYPE), "Comparison Type:"},
    {DialogTextId(Cond::IDD, Cond::IDC_MODE_TEXT), "Compare data text"},
    {DialogTextId(Cond::IDD, Cond::IDC_AND_POSITION), "And position"},
    {DialogTextId(Cond::IDD, Cond::IDC_MODE_POSITION), "Compare data position"},
    {DialogTextId(Cond::IDD, Cond::IDC_COLUMN), "Column:"},
    {DialogTextId(Cond::IDD, Cond::IDC_WIDTH), "Width:"},
    {DialogTextId(Cond::IDD, Cond::IDC_LINE), "Line:"},

    {DialogTextId(Language::IDD, 0), "Language"},
    {DialogTextId(Language::IDD, Language::IDC_FONT_GROUP), "Font Group"},
    {DialogTextId(Language::IDD, Language::IDC_GROUP_NAME), "Name:"},
    {DialogTextId(Language::IDD, Language::IDC_GROUP_DESCRIPTION), "Description:"},
    {DialogTextId(Language::IDD, Language::IDC_DEFAULT_FONT_GROUP), "Default Font"},
    {DialogTextId(Language::IDD, Language::IDC_DEFAULT_FONT), "Name:"},
    {DialogTextId(Language::IDD, Language::IDC_CHOOSE_FONT), "..."},
    {DialogTextId(Language::IDD, Language::IDC_PRINTER_RESIDENT), "&Use Printer resident font information"},
    {DialogTextId(Language::IDD, Language::IDC_DEFAULTS_GROUP), "Document Language Defaults"},
    {DialogTextId(Language::IDD, Language::IDC_SERVER_CODE_PAGE), "Server Font Codepage Name:"},
    {DialogTextId(Language::IDD, Language::IDC_CODE_PAGE), "Codepage:"},
    {DialogTextId(Language::IDD, Language::IDC_CHAR_SET), "Display Font Character Set:"},

    {DialogTextId(Info::IDD, 0), "Information"},
    {DialogTextId(Info::IDD, Info::IDC_BUILD_ID), "Build ID:"},
    {DialogTextId(Info::IDD, Info::IDC_UPLOAD_TIME), "Last Upload Timestamp:"},
    {DialogTextId(Info::IDD, Info::IDC_UPLOAD_PATH), "WVD Path when Last Uploaded:"},
};

} // namespace

void RegisterPageSetupTexts()
{
    StringTable::Add(kTexts);
}

// ---- the page base

CPageSetupPage::CPageSetupPage(UINT dialogId) : m_dialogId(dialogId)
{
    RegisterPageSetupTexts();
}

CPageSetupPage::~CPageSetupPage() = default;

QString CPageSetupPage::Title() const
{
    return Text(0);
}

QString CPageSetupPage::Text(UINT control) const
{
    return LoadResString(DialogTextId(m_dialogId, control));
}

QWidget* CPageSetupPage::CreateView(QWidget* parent)
{
    m_view = new QWidget(parent);
    QObject::connect(m_view, &QObject::destroyed, [this] { m_view = nullptr; });
    Build(m_view);
    Show();
    return m_view;
}

bool CPageSetupPage::Read()
{
    if (m_view == nullptr)
        return true;
    ReadDialogModel(m_model, m_view);
    if (!m_model.Pull()) {
        FocusFailedControl(m_model, m_view);
        return false;
    }
    AfterPull();
    return true;
}

void CPageSetupPage::Show()
{
    BeforePush();
    m_model.Push();
    EnableControls();
    if (m_view != nullptr)
        ShowDialogModel(m_model, m_view);
}

QLineEdit* CPageSetupPage::Edit(QWidget* view, int id, int maxChars)
{
    auto* edit = NameDialogControl(new QLineEdit(view), id);
    LimitTypedLength(edit, maxChars);
    return edit;
}

QLineEdit* CPageSetupPage::NumberEdit(QWidget* view, int id)
{
    QLineEdit* edit = Edit(view, id, 0);
    SetDigitsOnly(edit);
    return edit;
}

CUpDownControl* CPageSetupPage::UpDown(QWidget* view, int id, QLineEdit* buddy, int minimum, int maximum)
{
    auto* upDown = NameDialogControl(new CUpDownControl(view), id);
    upDown->SetBuddy(buddy);
    upDown->SetRange(minimum, maximum);
    upDown->SetWrap(true);
    return upDown;
}

// ---- Size

CPageSizePropPage::CPageSizePropPage(PageSizeValues& values) : CPageSetupPage(IDD), m_values(values)
{
    m_model.BindDouble(IDC_WIDTH, &m_values.width, PageSizeValues::kMinInches, PageSizeValues::kMaxInches);
    m_model.BindDouble(IDC_HEIGHT, &m_values.height, PageSizeValues::kMinInches, PageSizeValues::kMaxInches);
    m_model.BindCheck(IDC_PORTRAIT, &m_portrait);
    m_model.BindCheck(IDC_LANDSCAPE, &m_landscape);
    m_model.BindInt(IDC_BORDER, &m_values.border, 0, PageSizeValues::kMaxBorderTwips);
    m_model.BindInt(IDC_CPI, &m_values.charsPerInch, 1, PageSizeValues::kMaxDensity);
    m_model.BindInt(IDC_LPI, &m_values.linesPerInch, 1, PageSizeValues::kMaxDensity);
}

void CPageSizePropPage::Build(QWidget* view)
{
    auto* width = Edit(view, IDC_WIDTH, 0);
    auto* height = Edit(view, IDC_HEIGHT, 0);
    auto* portrait = NameDialogControl(new QRadioButton(Text(IDC_PORTRAIT), view), IDC_PORTRAIT);
    auto* landscape = NameDialogControl(new QRadioButton(Text(IDC_LANDSCAPE), view), IDC_LANDSCAPE);
    QLineEdit* border = NumberEdit(view, IDC_BORDER);
    QLineEdit* cpi = NumberEdit(view, IDC_CPI);
    QLineEdit* lpi = NumberEdit(view, IDC_LPI);

    auto* orientation = new QGroupBox(Text(IDC_ORIENTATION_GROUP), view);
    auto* radios = new QVBoxLayout(orientation);
    radios->addWidget(portrait);
    radios->addWidget(landscape);

    auto* form = new QFormLayout;
    form->addRow(Text(IDC_WIDTH), WithUnit(width, Text(IDC_WIDTH_UNIT)));
    form->addRow(Text(IDC_HEIGHT), WithUnit(height, Text(IDC_HEIGHT_UNIT)));
    auto* borderField = Field(border, UpDown(view, IDC_BORDER_SPIN, border, 0, PageSizeValues::kMaxBorderTwips));
    borderField->insertWidget(2, new QLabel(Text(IDC_BORDER_UNIT)));
    form->addRow(Text(IDC_BORDER), borderField);
    form->addRow(Text(IDC_CPI), Field(cpi, UpDown(view, IDC_CPI_SPIN, cpi, 1, 20)));
    form->addRow(Text(IDC_LPI), Field(lpi, UpDown(view, IDC_LPI_SPIN, lpi, 1, 15)));

    auto* layout = new QVBoxLayout(view);
    layout->addLayout(form);
    layout->addWidget(orientation);
    layout->addStretch(1);

    QObject::connect(portrait, &QRadioButton::clicked, view, [this] { OnOrientationClicked(); });
    QObject::connect(landscape, &QRadioButton::clicked, view, [this] { OnOrientationClicked(); });
}

void CPageSizePropPage::BeforePush()
{
    m_portrait = m_values.orientation == 0 ? 1 : 0;
    m_landscape = 1 - m_portrait;
}

void CPageSizePropPage::AfterPull()
{
    // The orientation is only ever taken through its click, which swaps the
    // size with it.
}

void CPageSizePropPage::OnOrientationClicked()
{
    const int orientation = m_values.orientation;
    if (!Read()) {
        // What the radio shows must stay what the size is oriented for.
        m_values.orientation = orientation;
        Show();
        return;
    }
    m_values.orientation = orientation;
    m_values.ChangeOrientation(m_landscape ? 1 : 0);
    Show();
}

// ---- Output

CPageOutputPropPage::CPageOutputPropPage(PageOutputValues& values) : CPageSetupPage(IDD), m_values(values)
{
    m_model.BindText(IDC_NAME, &m_values.name, PageOutputValues::kNameLimit);
    m_model.BindSelection(IDC_TYPE, &m_position);
    for (int position = 0; position < PageOutputValues::kTypeCount; ++position)
        m_model.Control(IDC_TYPE).items << PageOutputValues::TypeEntry(position);
}

void CPageOutputPropPage::Build(QWidget* view)
{
    QLineEdit* name = UpperEdit(view, IDC_NAME, PageOutputValues::kNameLimit);
    auto* type = NameDialogControl(new QComboBox(view), IDC_TYPE);

    auto* group = new QGroupBox(Text(IDC_DEVICE_GROUP), view);
    auto* form = new QFormLayout(group);
    form->addRow(Text(IDC_NAME), name);
    form->addRow(Text(IDC_TYPE), type);
    auto* layout = new QVBoxLayout(view);
    layout->addWidget(group);
    layout->addStretch(1);
}

void CPageOutputPropPage::BeforePush()
{
    m_position = PageOutputValues::PositionOfType(m_values.type);
}

void CPageOutputPropPage::AfterPull()
{
    const int type = PageOutputValues::TypeOfPosition(m_position);
    if (type >= 0)
        m_values.type = type;
}

// ---- Page

CPagePagePropPage::CPagePagePropPage(PageHeaderValues& values) : CPageSetupPage(IDD), m_values(values)
{
    m_model.BindText(IDC_DESCRIPTION, &m_values.description, PageHeaderValues::kDescriptionLimit);
    m_model.BindInt(IDC_FROM, &m_values.pagesFrom);
    m_model.BindInt(IDC_TO, &m_values.pagesTo);
    m_model.BindCheck(IDC_IGNORE_FIRST, &m_values.ignoreFirstPage);
    m_model.Control(IDC_PRINTER_RESOURCE).text = m_values.printerResource;
}

void CPagePagePropPage::Build(QWidget* view)
{
    CSelectiveEdit* description = DescriptionEdit(view, IDC_DESCRIPTION, PageHeaderValues::kDescriptionLimit);
    QLineEdit* resource = UpperEdit(view, IDC_PRINTER_RESOURCE, PageHeaderValues::kPrinterResourceLimit);
    resource->setReadOnly(true);
    QLineEdit* from = NumberEdit(view, IDC_FROM);
    QLineEdit* to = NumberEdit(view, IDC_TO);
    auto* ignore = NameDialogControl(new QCheckBox(Text(IDC_IGNORE_FIRST), view), IDC_IGNORE_FIRST);

    auto* form = new QFormLayout;
    form->addRow(Text(IDC_DESCRIPTION), description);
    form->addRow(Text(IDC_PRINTER_RESOURCE), resource);

    auto* pages = new QGroupBox(Text(IDC_PAGES_GROUP), view);
    auto* range = new QFormLayout(pages);
    range->addRow(Text(IDC_FROM), Field(from, UpDown(view, IDC_FROM_SPIN, from, 0, 999)));
    range->addRow(Text(IDC_TO), Field(to, UpDown(view, IDC_TO_SPIN, to, 0, 999)));
    range->addRow(ignore);

    auto* layout = new QVBoxLayout(view);
    layout->addLayout(form);
    layout->addWidget(pages);
    layout->addStretch(1);
}

// ---- Conditional

CPageCondPropPage::CPageCondPropPage(PageHeaderValues& values) : CPageSetupPage(IDD), m_values(values)
{
    m_model.Control(IDC_COMPARE_TYPE).items = {QObject::tr("Equal To"), QObject::tr("Not Equal To")};
    m_model.BindSelection(IDC_COMPARE_TYPE, &m_values.compareType);
    m_model.BindCheck(IDC_MODE_TEXT, &m_textChecked);
    m_model.BindCheck(IDC_MODE_POSITION, &m_positionChecked);
    m_model.BindText(IDC_TEXT, &m_values.compareText, PageHeaderValues::kCompareTextLimit);
    m_model.BindCheck(IDC_AND_POSITION, &m_values.andPosition);
    m_model.BindInt(IDC_COLUMN, &m_values.column, 0, PageHeaderValues::kMaxColumn);
    m_model.BindInt(IDC_WIDTH, &m_values.width, 0, PageHeaderValues::kMaxLineOrWidth);
    m_model.BindInt(IDC_LINE, &m_values.line, 0, PageHeaderValues::kMaxLineOrWidth);
}

void CPageCondPropPage::Build(QWidget* view)
{
    auto* compare = NameDialogControl(new QComboBox(view), IDC_COMPARE_TYPE);
    auto* modeText = NameDialogControl(new QRadioButton(Text(IDC_MODE_TEXT), view), IDC_MODE_TEXT);
    auto* modePosition = NameDialogControl(new QRadioButton(Text(IDC_MODE_POSITION), view), IDC_MODE_POSITION);
    QLineEdit* text = Edit(view, IDC_TEXT, PageHeaderValues::kCompareTextLimit);
    auto* andPosition = NameDialogControl(new QCheckBox(Text(IDC_AND_POSITION), view), IDC_AND_POSITION);
    QLineEdit* column = NumberEdit(view, IDC_COLUMN);
    QLineEdit* width = NumberEdit(view, IDC_WIDTH);
    QLineEdit* line = NumberEdit(view, IDC_LINE);

    auto* group = new QGroupBox(Text(IDC_FIRST_PAGE_GROUP), view);
    auto* form = new QFormLayout(group);
    form->addRow(Text(IDC_COMPARE_TYPE), compare);
    form->addRow(modeText);
    form->addRow(text);
    form->addRow(andPosition);
    form->addRow(modePosition);
    form->addRow(Text(IDC_COLUMN), Field(column, UpDown(view, IDC_COLUMN_SPIN, column, 0, 999)));
    form->addRow(Text(IDC_WIDTH), Field(width, UpDown(view, IDC_WIDTH_SPIN, width, 0, 999)));
    form->addRow(Text(IDC_LINE), Field(line, UpDown(view, IDC_LINE_SPIN, line, 0, 999)));
    auto* layout = new QVBoxLayout(view);
    layout->addWidget(group);
    layout->addStretch(1);

    for (QAbstractButton* button :
         {static_cast<QAbstractButton*>(modeText), static_cast<QAbstractButton*>(modePosition),
          static_cast<QAbstractButton*>(andPosition)})
        QObject::connect(button, &QAbstractButton::clicked, view, [this] { OnModeClicked(); });
}

void CPageCondPropPage::BeforePush()
{
    m_textChecked = m_values.compareMode == PageHeaderValues::CompareText ? 1 : 0;
    m_positionChecked = 1 - m_textChecked;
}

void CPageCondPropPage::AfterPull()
{
    m_values.compareMode = m_textChecked ? PageHeaderValues::CompareText : PageHeaderValues::ComparePosition;
}

void CPageCondPropPage::OnModeClicked()
{
    if (!Read()) {
        Show();
        return;
    }
    m_values.ApplyCompareRules();
    Show();
}

void CPageCondPropPage::EnableControls()
{
    const bool text = m_values.compareMode == PageHeaderValues::CompareText;
    const bool column = !text || m_values.andPosition;
    m_model.Control(IDC_TEXT).enabled = text;
    m_model.Control(IDC_AND_POSITION).enabled = text;
    m_model.Control(IDC_COMPARE_TYPE).enabled = !text;
    for (int id : {IDC_COLUMN, IDC_COLUMN_SPIN})
        m_model.Control(id).enabled = column;
    for (int id : {IDC_WIDTH, IDC_WIDTH_SPIN, IDC_LINE, IDC_LINE_SPIN})
        m_model.Control(id).enabled = !text;
}

// ---- Language

CPageLanguagePropPage::CPageLanguagePropPage(PageLanguageValues& values, CFontManager* fonts)
    : CPageSetupPage(IDD), m_values(values), m_fonts(fonts)
{
    m_model.BindText(IDC_GROUP_NAME, &m_values.groupName, PageLanguageValues::kGroupNameLimit);
    m_model.BindText(IDC_GROUP_DESCRIPTION, &m_values.groupDescription, CFontManager::kFontGroupDescriptionLength);
    m_model.BindCheck(IDC_PRINTER_RESIDENT, &m_values.usePrinterResident);
    m_model.BindText(IDC_SERVER_CODE_PAGE, &m_values.serverCodePage, PageLanguageValues::kServerCodePageLimit);
    for (const WindowsCharSet& row : WindowsCharSetTable())
        m_model.Control(IDC_CHAR_SET).items << QString::fromLatin1(row.name);
    m_model.BindSelection(IDC_CHAR_SET, &m_charSetIndex);
    m_model.Control(IDC_CHOOSE_FONT).enabled = fonts != nullptr;
}

void CPageLanguagePropPage::Build(QWidget* view)
{
    QLineEdit* name = UpperEdit(view, IDC_GROUP_NAME, PageLanguageValues::kGroupNameLimit);
    name->setReadOnly(true);
    CSelectiveEdit* description =
        DescriptionEdit(view, IDC_GROUP_DESCRIPTION, CFontManager::kFontGroupDescriptionLength);
    auto* font = NameDialogControl(new QLabel(view), IDC_DEFAULT_FONT);
    auto* choose = NameDialogControl(new QPushButton(Text(IDC_CHOOSE_FONT), view), IDC_CHOOSE_FONT);
    choose->setFixedWidth(30);
    auto* resident = NameDialogControl(new QCheckBox(Text(IDC_PRINTER_RESIDENT), view), IDC_PRINTER_RESIDENT);
    QLineEdit* serverCodePage = Edit(view, IDC_SERVER_CODE_PAGE, PageLanguageValues::kServerCodePageLimit);
    auto* codePage = NameDialogControl(new CCSIDComboBox(view), IDC_CODE_PAGE);
    codePage->FillCCSIDs();
    auto* charSet = NameDialogControl(new QComboBox(view), IDC_CHAR_SET);

    auto* group = new QGroupBox(Text(IDC_FONT_GROUP), view);
    auto* groupForm = new QFormLayout(group);
    groupForm->addRow(Text(IDC_GROUP_NAME), name);
    groupForm->addRow(Text(IDC_GROUP_DESCRIPTION), description);

    auto* defaultFont = new QGroupBox(Text(IDC_DEFAULT_FONT_GROUP), view);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(font, 1);
    fontRow->addWidget(choose);
    auto* fontForm = new QFormLayout(defaultFont);
    fontForm->addRow(Text(IDC_DEFAULT_FONT), fontRow);
    fontForm->addRow(resident);

    auto* defaults = new QGroupBox(Text(IDC_DEFAULTS_GROUP), view);
    auto* defaultsForm = new QFormLayout(defaults);
    defaultsForm->addRow(Text(IDC_SERVER_CODE_PAGE), serverCodePage);
    defaultsForm->addRow(Text(IDC_CODE_PAGE), codePage);
    defaultsForm->addRow(Text(IDC_CHAR_SET), charSet);

    auto* layout = new QVBoxLayout(view);
    layout->addWidget(group);
    layout->addWidget(defaultFont);
    layout->addWidget(defaults);
    layout->addStretch(1);

    QObject::connect(choose, &QPushButton::clicked, view, [this] { OnChooseFont(); });
}

void CPageLanguagePropPage::BeforePush()
{
    m_charSetIndex = static_cast<int>(m_model.Control(IDC_CHAR_SET).items.indexOf(m_values.charSetName));
    m_model.Control(IDC_DEFAULT_FONT).text = m_values.defaultFontDescription;
    if (QWidget* view = View()) {
        if (auto* codePage = dynamic_cast<CCSIDComboBox*>(FindDialogControl(view, IDC_CODE_PAGE)))
            codePage->SelectCCSID(m_values.codePageId);
    }
}

void CPageLanguagePropPage::AfterPull()
{
    if (m_charSetIndex >= 0)
        m_values.charSetName = m_model.Control(IDC_CHAR_SET).items.value(m_charSetIndex);
    if (QWidget* view = View()) {
        if (auto* codePage = dynamic_cast<CCSIDComboBox*>(FindDialogControl(view, IDC_CODE_PAGE))) {
            // An entry without a CCSID leaves the code page as it was.
            if (const int ccsid = codePage->SelectedCCSID(); ccsid != 0)
                m_values.codePageId = ccsid;
        }
    }
}

void CPageLanguagePropPage::OnChooseFont()
{
    if (m_fonts == nullptr || !Read())
        return;
    FontDialogRun run;
    if (m_fonts->RunDefaultFontDialog(run) && run.primary != nullptr) {
        m_values.defaultFontChosen = true;
        m_values.primaryFont = run.primary;
        m_values.secondaryFont = run.secondary;
        m_values.defaultFontDescription = run.primary->GetDescription();
    }
    Show();
}

// ---- Information

CPageInfoPropPage::CPageInfoPropPage(const PageInfoValues& values) : CPageSetupPage(IDD), m_values(values)
{
    m_model.Control(IDC_BUILD_ID).text = QString::number(m_values.buildId);
    m_model.Control(IDC_UPLOAD_TIME).text = m_values.uploadTime;
    m_model.Control(IDC_UPLOAD_PATH).text = m_values.uploadPath;
}

void CPageInfoPropPage::Build(QWidget* view)
{
    auto* form = new QFormLayout;
    for (int id : {IDC_BUILD_ID, IDC_UPLOAD_TIME, IDC_UPLOAD_PATH}) {
        QLineEdit* edit = Edit(view, id, 0);
        edit->setReadOnly(true);
        form->addRow(Text(UINT(id)), edit);
    }
    auto* layout = new QVBoxLayout(view);
    layout->addLayout(form);
    layout->addStretch(1);
}

// ---- the sheet

CPageSetupSheet::CPageSetupSheet(PageSetupValues& values, CFontManager* fonts, QWidget* parent)
    : CNavigationSheet((RegisterPageSetupTexts(), LoadResString(IDS_CAPTION)), parent)
{
    SetNavigationWidth(kDefaultNavigationWidth);
    AddPage(std::make_unique<CPageSizePropPage>(values.size));
    AddPage(std::make_unique<CPageOutputPropPage>(values.output));
    AddPage(std::make_unique<CPagePagePropPage>(values.header));
    AddPage(std::make_unique<CPageCondPropPage>(values.header));
    AddPage(std::make_unique<CPageLanguagePropPage>(values.language, fonts));
    AddPage(std::make_unique<CPageInfoPropPage>(values.info));
}

bool RunPageSetupSheet(PageSetupValues& values, CFontManager* fonts)
{
    if (SheetRunner())
        return SheetRunner()(values, fonts);
    CPageSetupSheet sheet(values, fonts);
    return sheet.exec() == QDialog::Accepted;
}

PageSetupSheetRunner SetPageSetupSheetRunner(PageSetupSheetRunner runner)
{
    return std::exchange(SheetRunner(), std::move(runner));
}
