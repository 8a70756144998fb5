#pragma once
// Turns a line edit (kind 1) or an editable combo box (kind 2, whose line
// edit gives caret and selection) into an autocomplete field: while the user
// types, the drop-down list offers the remembered entries that begin with
// the text; the navigation keys move through them and write the chosen one
// into the field. Any other widget leaves the control inert (kind -1).
// The field's own signals and events still reach the dialog; keys the
// control handles are consumed. Notify(code, id) carries 0x400 after every
// change of the text and 0x100 after a completion was written, with the
// field's control id (its objectName in decimal).

#include "designer/controls/ACListWnd.h"

#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>

class QComboBox;
class QLineEdit;

class CACEdit : public QObject
{
    Q_OBJECT

public:
    static constexpr unsigned ACEDIT_LIST = 0x01;
    static constexpr unsigned ACEDIT_SEPARATOR = 0x02;
    static constexpr unsigned ACEDIT_FILESYSTEM = 0x04;
    static constexpr unsigned ACEDIT_FILELIST = 0x08;
    static constexpr unsigned ACEDIT_NAVIGATION_OPENS = 0x10;
    static constexpr unsigned ACEDIT_NO_FOLDERS = 0x10000;
    static constexpr unsigned ACEDIT_ONLY_FOLDERS = 0x20000;

    static constexpr int NOTIFY_TEXT_CHANGED = 0x400;
    static constexpr int NOTIFY_COMPLETED = 0x100;

    explicit CACEdit(QObject* parent = nullptr);
    ~CACEdit() override;

    // Attaches the control to field; called once, while the kind is -1.
    void Init(QWidget* field);

    // The list asks for the entry the user clicked to be written.
    void OnEntryChosen();

    // Token bounds of separator mode, for a caret index (public for the
    // hosts that set separators, and for tests).
    int FindSepLeftPos(int caret, bool countPrefix) const;
    int FindSepRightPos(int caret) const;
    bool HasPrefixBeforeCaret(int caret) const;

    QLineEdit* LineEdit() const { return m_edit; }

    CACListWnd m_Liste;
    QString m_EditText;
    QString m_SeparationStr;
    QString m_LastDirectory;
    QChar m_PrefixChar;
    unsigned m_iMode = ACEDIT_LIST | ACEDIT_NAVIGATION_OPENS;
    bool m_CursorMode = false; // busy: the control writes the text itself
    int m_iType = -1;

signals:
    void Notify(int code, int controlId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool HandleKey(int key);
    void OnTextChanged(bool byUser);
    void ReadDirectory(const QString& path);
    void WriteCompletion(bool moveSelection, int key);
    int ControlId() const;
    bool IsListStyle() const { return m_iMode & (ACEDIT_LIST | ACEDIT_FILESYSTEM | ACEDIT_FILELIST); }

    QPointer<QWidget> m_field;
    QPointer<QLineEdit> m_edit;
    QPointer<QComboBox> m_combo;
    bool m_userEdit = false;
};
