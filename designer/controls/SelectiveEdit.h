#pragma once
// A line edit that keeps its text within rules set by its host: characters
// refused anywhere, characters refused as the first character, upper-casing
// (case mode 1 or 2) and a maximum length (above 0). A refused typed
// character beeps and is dropped. Every other change, typed, pasted, dropped,
// deleted or set by the program, is cleaned: upper case; refused characters
// removed without a beep; leading refused first characters dropped until the
// first is allowed, with one beep; cut to the maximum with a beep. The
// selection is kept. Qt's own length limit is not used: it cuts silently.

#include <QLineEdit>
#include <QString>

class CSelectiveEdit : public QLineEdit
{
public:
    explicit CSelectiveEdit(QWidget* parent = nullptr);

    void SetRefusedChars(QString chars) { m_refused = std::move(chars); }
    void SetRefusedFirstChars(QString chars) { m_refusedFirst = std::move(chars); }

    bool IsCharAllowed(QChar c, bool first) const;
    // The text as the rules leave it; beeps as it goes when asked to.
    QString CleanText(const QString& text, bool beep) const;

    int m_caseMode = 0;
    int m_maxLength = -1;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Clean();

    QString m_refused;
    QString m_refusedFirst;
    bool m_cleaning = false;
};
