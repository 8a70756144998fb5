#include "platform/ui/DialogModel.h"

#include "platform/ui/DialogTextId.h"
#include "platform/ui/ReentryGuard.h"
#include "tests/support/ScopedPrompts.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

namespace {

class DialogModelTest : public ::testing::Test
{
protected:
    QString LastMessage() const
    {
        return m_prompts->Recorded().empty() ? QString() : m_prompts->Recorded().back().text;
    }

    ScopedPromptAnswers m_prompts;
};

enum class Field {
    Int,
    UInt,
    IntRange,
    UIntRange,
    Double,
    DoubleRange,
    Text30
};

struct ExchangeCase
{
    const char* name;
    Field field;
    const char* typed;
    const char* message; // null: taken
    double taken;
};

void PrintTo(const ExchangeCase& c, std::ostream* os)
{
    *os << c.name;
}

class ExchangeChecks : public DialogModelTest, public ::testing::WithParamInterface<ExchangeCase>
{};

const ExchangeCase kExchangeCases[] = {
    {"IntTrailingLetter", Field::Int, "12x", "Enter an integer.", 0},
    {"IntEmpty", Field::Int, "", "Enter an integer.", 0},
    {"IntBlanksAround", Field::Int, " 7 ", nullptr, 7},
    {"IntTooBig", Field::Int, "99999999999", "Enter an integer.", 0},
    {"IntNegative", Field::Int, "-1", nullptr, -1},
    {"IntBlankInside", Field::Int, "1 2", "Enter an integer.", 0},
    {"UIntTrailingLetter", Field::UInt, "12x", "Enter a positive integer.", 0},
    {"UIntEmpty", Field::UInt, "", "Enter a positive integer.", 0},
    {"UIntBlanksAround", Field::UInt, " 7 ", nullptr, 7},
    {"UIntTooBig", Field::UInt, "99999999999", "Enter a positive integer.", 0},
    {"UIntNegative", Field::UInt, "-1", "Enter a positive integer.", 0},
    {"UIntLargest", Field::UInt, "4294967295", nullptr, 4294967295.0},
    {"RangeBelow", Field::IntRange, "-1", "Enter an integer between 1 and 20.", 0},
    {"RangeAbove", Field::IntRange, "21", "Enter an integer between 1 and 20.", 0},
    {"RangeEnds", Field::IntRange, "20", nullptr, 20},
    {"RangeNotANumber", Field::IntRange, "12x", "Enter an integer.", 0},
    {"RangeTooBig", Field::IntRange, "99999999999", "Enter an integer.", 0},
    {"UIntRangeAbove", Field::UIntRange, "45", "Enter an integer between 1 and 20.", 0},
    {"DoubleDot", Field::Double, "8.5", nullptr, 8.5},
    {"DoubleComma", Field::Double, "8,5", "Enter a number.", 0},
    {"DoubleEmpty", Field::Double, "", "Enter a number.", 0},
    {"DoubleBlanksAround", Field::Double, " 7 ", nullptr, 7},
    {"DoubleRangeAbove", Field::DoubleRange, "8.5", "Enter a number between 0.5 and 8.25.", 0},
    {"DoubleRangeInside", Field::DoubleRange, "0.5", nullptr, 0.5},
    {"TextAtLimit", Field::Text30, "123456789012345678901234567890", nullptr, 0},
    {"TextOverLimit", Field::Text30, "1234567890123456789012345678901", "Enter no more than 30 characters.", 0},
};

TEST_P(ExchangeChecks, MessageAndValue)
{
    const ExchangeCase& c = GetParam();
    CDialogModel model;
    int i = -99;
    UINT u = 99;
    double d = -99;
    QString text = QStringLiteral("before");
    switch (c.field) {
    case Field::Int:
        model.BindInt(10, &i);
        break;
    case Field::UInt:
        model.BindUInt(10, &u);
        break;
    case Field::IntRange:
        model.BindInt(10, &i, 1, 20);
        break;
    case Field::UIntRange:
        model.BindUInt(10, &u, 1, 20);
        break;
    case Field::Double:
        model.BindDouble(10, &d);
        break;
    case Field::DoubleRange:
        model.BindDouble(10, &d, 0.5, 8.25);
        break;
    case Field::Text30:
        model.BindText(10, &text, 30);
        break;
    }
    model.Control(10).text = QString::fromUtf8(c.typed);

    const bool taken = model.Pull();

    if (c.message) {
        EXPECT_FALSE(taken) << c.name;
        EXPECT_EQ(model.FailedControl(), 10) << c.name;
        EXPECT_EQ(LastMessage(), QString::fromUtf8(c.message)) << c.name;
        ASSERT_EQ(m_prompts->Recorded().size(), 1u) << c.name;
        EXPECT_EQ(m_prompts->Recorded()[0].Icon(), MB_ICONEXCLAMATION) << c.name;
        EXPECT_EQ(i, -99) << c.name;
        EXPECT_EQ(u, 99u) << c.name;
        EXPECT_EQ(text, QStringLiteral("before")) << c.name;
        return;
    }
    EXPECT_TRUE(taken) << c.name;
    EXPECT_EQ(model.FailedControl(), 0) << c.name;
    EXPECT_TRUE(m_prompts->Recorded().empty()) << c.name;
    switch (c.field) {
    case Field::Int:
    case Field::IntRange:
        EXPECT_EQ(i, static_cast<int>(c.taken)) << c.name;
        break;
    case Field::UInt:
    case Field::UIntRange:
        EXPECT_EQ(u, static_cast<UINT>(c.taken)) << c.name;
        break;
    case Field::Double:
    case Field::DoubleRange:
        EXPECT_DOUBLE_EQ(d, c.taken) << c.name;
        break;
    case Field::Text30:
        EXPECT_EQ(text, QString::fromUtf8(c.typed)) << c.name;
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ExchangeChecks, ::testing::ValuesIn(kExchangeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogModelTest, DecimalCommaLocaleStillReadsOnlyTheDot)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(ParseDialogDouble(QStringLiteral("8,5")), std::nullopt);
    EXPECT_EQ(ParseDialogDouble(QStringLiteral("8.5")), 8.5);
    EXPECT_EQ(FormatDialogDouble(8.5), QStringLiteral("8.5"));
    QLocale::setDefault(previous);
}

TEST_F(DialogModelTest, PullStopsAtTheFirstFailureKeepingWhatWasReadBefore)
{
    CDialogModel model;
    QString name = QStringLiteral("old");
    int copies = 1;
    int check = 0;
    model.BindText(1, &name, 10);
    model.BindInt(2, &copies, 1, 99);
    model.BindCheck(3, &check);
    model.Control(1).text = QStringLiteral("new");
    model.Control(2).text = QStringLiteral("100");
    model.Control(3).check = 1;

    EXPECT_FALSE(model.Pull());

    EXPECT_EQ(name, QStringLiteral("new"));
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(check, 0);
    EXPECT_EQ(model.FailedControl(), 2);
    EXPECT_EQ(LastMessage(), QStringLiteral("Enter an integer between 1 and 99."));

    model.Control(2).text = QStringLiteral("99");
    EXPECT_TRUE(model.Pull());
    EXPECT_EQ(copies, 99);
    EXPECT_EQ(check, 1);
    EXPECT_EQ(model.FailedControl(), 0);
}

TEST_F(DialogModelTest, PushWritesEveryMemberInItsControlsForm)
{
    CDialogModel model;
    QString name = QStringLiteral("PRT01");
    int copies = -3;
    UINT big = 4000000000u;
    double size = 8.25;
    int check = 1;
    int selection = 2;
    model.BindText(1, &name);
    model.BindInt(2, &copies);
    model.BindUInt(3, &big);
    model.BindDouble(4, &size);
    model.BindCheck(5, &check);
    model.BindSelection(6, &selection);

    model.Push();

    EXPECT_EQ(model.Control(1).text, QStringLiteral("PRT01"));
    EXPECT_EQ(model.Control(2).text, QStringLiteral("-3"));
    EXPECT_EQ(model.Control(3).text, QStringLiteral("4000000000"));
    EXPECT_EQ(model.Control(4).text, QStringLiteral("8.25"));
    EXPECT_EQ(model.Control(5).check, 1);
    EXPECT_EQ(model.Control(6).selection, 2);
}

TEST_F(DialogModelTest, DialogTextIdsStayApartFromEachOtherAndFromTheShellsRanges)
{
    EXPECT_EQ(DialogTextId(112, 0), DIALOG_TEXT_FIRST + 112u * 0x10000u);
    EXPECT_NE(DialogTextId(112, 0xFFFF), DialogTextId(113, 0));
    EXPECT_LT(DialogTextId(112, 0xFFFF), DialogTextId(113, 0));
    EXPECT_GT(DialogTextId(0, 0), 0x3FFFFu); // above the shell's menu and customize texts
    EXPECT_GT(DialogTextId(0, 0), DialogCheckMessageId(DialogCheckMessage::MaxChars));
}

} // namespace

namespace {

TEST(ReentryGuardTest, AHandlerCalledAgainWhileItRunsIsSkipped)
{
    ReentryGuard guard;
    int runs = 0;
    std::function<void()> handler;
    handler = [&] {
        if (auto scope = guard.TryEnter()) {
            ++runs;
            handler(); // the message box's focus change calling back in
        }
    };
    handler();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(guard.IsBusy());
    handler();
    EXPECT_EQ(runs, 2);
}

} // namespace
