#include "designer/controls/SelectiveEdit.h"
#include "designer/controls/SelectiveComboBox.h"

#include "designer/controls/tests/ControlsTestSupport.h"

#include <QTest>

#include <ostream>

namespace {

// The four ways the hosts set the fields up.
enum class Host {
    DeviceName,
    ExitProgram,
    VariableName,
    PageSetup
};

void Configure(CSelectiveEdit& edit, Host host)
{
    switch (host) {
    case Host::DeviceName:
        edit.SetRefusedChars(QStringLiteral(" \"'-"));
        edit.SetRefusedFirstChars(QStringLiteral("0123456789"));
        edit.m_caseMode = 1;
        edit.m_maxLength = 10;
        break;
    case Host::ExitProgram:
        edit.SetRefusedChars(QStringLiteral(" \"'-"));
        edit.SetRefusedFirstChars(QStringLiteral("0123456789"));
        edit.m_caseMode = 1;
        break;
    case Host::VariableName:
        edit.SetRefusedChars(QStringLiteral(" ?"));
        edit.m_maxLength = 10;
        break;
    case Host::PageSetup:
        edit.SetRefusedChars(QStringLiteral("\"'"));
        break;
    }
}

enum class Action {
    Type,
    Paste,
    SetByProgram
};

struct FilterCase
{
    const char* name;
    Host host;
    const char* before;
    Action action;
    const char* input;
    const char* after;
    int beeps;
};

void PrintTo(const FilterCase& c, std::ostream* os)
{
    *os << c.name;
}

class SelectiveFiltering : public ControlsTest, public ::testing::WithParamInterface<FilterCase>
{};

const FilterCase kFilterCases[] = {
    {"DeviceDigitFirstRefused", Host::DeviceName, "", Action::Type, "1", "", 1},
    {"DeviceLetterThenDigitKept", Host::DeviceName, "", Action::Type, "a1", "A1", 0},
    {"DeviceBlankTypedRefused", Host::DeviceName, "", Action::Type, "a b", "AB", 1},
    {"DeviceTypingPastTheMaximumBeeps", Host::DeviceName, "ABCDEFGHIJ", Action::Type, "k", "ABCDEFGHIJ", 1},
    {"DevicePasteBlankRemovedSilently", Host::DeviceName, "", Action::Paste, "ab cd", "ABCD", 0},
    {"DevicePasteTwelveLettersCut", Host::DeviceName, "", Action::Paste, "abcdefghijkl", "ABCDEFGHIJ", 1},
    {"DevicePasteLeadingDigitsAllDropped", Host::DeviceName, "", Action::Paste, "12AB", "AB", 1},
    {"DevicePasteBlankThenDigitDropped", Host::DeviceName, "", Action::Paste, " 1AB", "AB", 1},
    {"DeviceProgramApostropheRemoved", Host::DeviceName, "", Action::SetByProgram, "'PRT01", "PRT01", 0},
    {"DeviceProgramTooLongCut", Host::DeviceName, "", Action::SetByProgram, "PRINTER0001X", "PRINTER000", 1},
    {"ExitProgramLowerCaseUpperCased", Host::ExitProgram, "", Action::Type, "pgm", "PGM", 0},
    {"ExitProgramNoLimit", Host::ExitProgram, "", Action::Paste, "averylongprogramname", "AVERYLONGPROGRAMNAME", 0},
    {"ExitProgramDashRefused", Host::ExitProgram, "", Action::Type, "a-b", "AB", 1},
    {"VariableQuestionMarkRefused", Host::VariableName, "", Action::Type, "v?1", "v1", 1},
    {"VariableDigitFirstAllowed", Host::VariableName, "", Action::Type, "1x", "1x", 0},
    {"VariableCaseKept", Host::VariableName, "", Action::Paste, "MixedCase", "MixedCase", 0},
    {"VariablePasteLongCut", Host::VariableName, "", Action::Paste, "abcdefghijk", "abcdefghij", 1},
    {"PageSetupQuotesRemoved", Host::PageSetup, "", Action::Paste, "say \"hi\" 'x'", "say hi x", 0},
    {"PageSetupProgramQuoteRemoved", Host::PageSetup, "", Action::SetByProgram, "'quoted'", "quoted", 0},
};

TEST_P(SelectiveFiltering, TextAndBeeps)
{
    const FilterCase& c = GetParam();
    CSelectiveEdit edit;
    Configure(edit, c.host);
    edit.setText(QString::fromUtf8(c.before));
    m_prompts->ClearRecorded();
    const std::size_t beepsBefore = m_prompts->Beeps().size();
    const QString input = QString::fromUtf8(c.input);
    switch (c.action) {
    case Action::Type:
        QTest::keyClicks(&edit, input);
        break;
    case Action::Paste:
        edit.insert(input);
        break;
    case Action::SetByProgram:
        edit.setText(input);
        break;
    }
    EXPECT_EQ(edit.text(), QString::fromUtf8(c.after)) << c.name;
    EXPECT_EQ(static_cast<int>(m_prompts->Beeps().size() - beepsBefore), c.beeps) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, SelectiveFiltering, ::testing::ValuesIn(kFilterCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlsTest, CleaningKeepsTheSelection)
{
    CSelectiveEdit edit;
    Configure(edit, Host::PageSetup);
    edit.setText(QStringLiteral("abcdef"));
    edit.setCursorPosition(2);
    edit.insert(QStringLiteral("'"));
    EXPECT_EQ(edit.text(), QStringLiteral("abcdef"));
    EXPECT_EQ(edit.cursorPosition(), 3);

    edit.setSelection(1, 3);
    edit.setText(QStringLiteral("ab'cdef"));
    EXPECT_EQ(edit.text(), QStringLiteral("abcdef"));
}

TEST_F(ControlsTest, ComboBoxFiltersTypingAndPickedItems)
{
    CSelectiveComboBox combo;
    combo.SetRefusedChars(QStringLiteral(" \"'-"));
    combo.SetRefusedFirstChars(QStringLiteral("0123456789"));
    combo.Edit().m_caseMode = 1;
    combo.Edit().m_maxLength = 10;
    combo.addItems({QStringLiteral("printer-one"), QStringLiteral("9fax")});
    combo.setCurrentIndex(-1);
    combo.setEditText(QString());
    QTest::keyClicks(&combo, QStringLiteral("1pr t"));
    EXPECT_EQ(combo.currentText(), QStringLiteral("PRT"));
    combo.setCurrentIndex(0);
    EXPECT_EQ(combo.lineEdit()->text(), QStringLiteral("PRINTERONE"));
    combo.setCurrentIndex(1);
    EXPECT_EQ(combo.lineEdit()->text(), QStringLiteral("FAX"));
}

} // namespace
