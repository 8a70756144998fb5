#pragma once
// Shared by the task dialog tests: a measurer with fixed metrics, so
// rectangles can be worked out by hand.

#include "designer/controls/TaskDialogLayout.h"

#include <QStringList>

#include <algorithm>

// Every character 7 pixels wide, every line 13 high; word-wrapped text
// breaks at blanks, and a word wider than the line stands alone.
class FixedMeasurer : public TaskDialogTextMeasurer
{
public:
    QSize Measure(TaskDialogFont, const QString& text, int width, unsigned flags) const override
    {
        if (text.isEmpty())
            return {0, 0};
        QString shown = text;
        if (!(flags & MeasureNoPrefix))
            shown = StripPrefix(shown);
        QStringList lines;
        if (flags & MeasureSingleLine)
            lines = {QString(shown).remove(u'\n')};
        else
            lines = shown.split(u'\n');
        if (flags & MeasureWordBreak)
            lines = Wrap(lines, std::max(1, width / kChar));
        qsizetype widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, line.size());
        return {static_cast<int>(widest) * kChar, static_cast<int>(lines.size()) * kLine};
    }

    int AverageCharWidth() const override { return kChar; }

    static constexpr int kChar = 7;
    static constexpr int kLine = 13;

private:
    static QString StripPrefix(const QString& text)
    {
        QString out;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'&' && i + 1 < text.size())
                ++i;
            out += text[i];
        }
        return out;
    }

    static QStringList Wrap(const QStringList& lines, int fit)
    {
        QStringList out;
        for (const QString& line : lines) {
            QString current;
            for (const QString& word : line.split(u' ')) {
                if (current.isEmpty())
                    current = word;
                else if (current.size() + 1 + word.size() <= fit)
                    current += u' ' + word;
                else {
                    out << current;
                    current = word;
                }
            }
            out << current;
        }
        return out;
    }
};

#include "designer/controls/XTaskDialog.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Runs action on the task dialog once it is up, inside its modal loop. A
// dialog the action leaves open is ended with -99, so a test fails instead
// of hanging.
inline void WhenTaskDialogUp(std::function<void(CXTaskDialog*)> action, int tries = 200)
{
    QTimer::singleShot(0, qApp, [action, tries] {
        auto* dialog = qobject_cast<CXTaskDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (tries > 0)
                WhenTaskDialogUp(action, tries - 1);
            else
                ADD_FAILURE() << "no task dialog came up";
            return;
        }
        action(dialog);
        QPointer<CXTaskDialog> open(dialog);
        QTimer::singleShot(0, qApp, [open] {
            if (open && open->isVisible())
                open->done(-99);
        });
    });
}

// Manual timers for the scope of a test.
struct ManualTimers
{
    ManualTimers() { CXTaskDialog::SetManualTimers(true); }
    ~ManualTimers() { CXTaskDialog::SetManualTimers(false); }
};
