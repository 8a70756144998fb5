#include "designer/controls/ACEdit.h"

#include "designer/controls/ConditionalWaitCursor.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>

CACEdit::CACEdit(QObject* parent) : QObject(parent) {}

CACEdit::~CACEdit() = default;

void CACEdit::Init(QWidget* field)
{
    if (m_iType != -1 || !field)
        return;
    if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit()) {
        m_iType = 2;
        m_combo = combo;
        m_edit = combo->lineEdit();
        // The combo's own drop-down closes ours.
        if (QWidget* popup = combo->view()->parentWidget())
            popup->installEventFilter(this);
        combo->installEventFilter(this);
    } else if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        m_iType = 1;
        m_edit = edit;
    } else {
        return;
    }
    m_field = field;
    m_edit->installEventFilter(this);
    // textEdited comes before textChanged, and only for the user's changes.
    connect(m_edit, &QLineEdit::textEdited, this, [this] { m_userEdit = true; });
    connect(m_edit, &QLineEdit::textChanged, this, [this] {
        const bool byUser = m_userEdit;
        m_userEdit = false;
        OnTextChanged(byUser);
    });
    m_Liste.Attach(this, field);
}

int CACEdit::ControlId() const
{
    return m_field ? m_field->objectName().toInt() : 0;
}

void CACEdit::OnTextChanged(bool byUser)
{
    if (m_iType == -1)
        return;
    m_EditText = m_edit->text();
    // A text the program set is reported but opens no list.
    if (byUser && !m_CursorMode) {
        const int caret = m_edit->cursorPosition();
        if (m_iMode & (ACEDIT_FILESYSTEM | ACEDIT_FILELIST)) {
            if (m_iMode & ACEDIT_FILELIST) {
                if (m_EditText.isEmpty())
                    m_Liste.HideList();
                else
                    m_Liste.FindString(-1, m_EditText);
            } else if (m_EditText.size() > 2 && caret == m_EditText.size()) {
                if (QFileInfo::exists(m_EditText))
                    ReadDirectory(m_EditText);
                m_Liste.FindString(-1, m_EditText);
            } else {
                m_Liste.HideList();
            }
        }
        if (m_iMode & ACEDIT_SEPARATOR) {
            const int left = FindSepLeftPos(caret, false);
            const int right = FindSepRightPos(caret);
            m_Liste.FindString(-1, m_EditText.mid(left, right - left));
        }
        if (m_iMode & ACEDIT_LIST)
            m_Liste.FindString(-1, m_EditText);
    }
    emit Notify(NOTIFY_TEXT_CHANGED, ControlId());
}

bool CACEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (m_iType == -1)
        return QObject::eventFilter(watched, event);
    if (m_combo && watched == m_combo->view()->parentWidget()) {
        if (event->type() == QEvent::Show)
            m_Liste.HideList();
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::FocusOut:
        m_Liste.HideList();
        break;
    case QEvent::ShortcutOverride: {
        // Escape and Return must stay with the field while the list is open.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (m_Liste.isVisible() && (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter)) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            // With the list closed the dialog gets them (and may close).
            if (!m_Liste.isVisible())
                return false;
            m_Liste.HideList();
            return true;
        }
        // A combo box takes the keys before its line edit and hands on what
        // it does not use without filters, so both are watched: Up and Down
        // then move in our list, not in the combo's items.
        if (HandleKey(key))
            return true;
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool CACEdit::HandleKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!m_Liste.isVisible() && (m_iMode & ACEDIT_NAVIGATION_OPENS) && m_edit->text().isEmpty()) {
            m_Liste.ShowAll();
            return true;
        }
        if (m_Liste.isVisible() && (IsListStyle() || (m_iMode & ACEDIT_SEPARATOR))) {
            WriteCompletion(true, key);
            return true;
        }
        return false;
    case Qt::Key_Delete:
        return m_Liste.isVisible() && m_Liste.RemoveSelected();
    default:
        return false;
    }
}

void CACEdit::OnEntryChosen()
{
    if (m_iType == -1)
        return;
    if (!m_Liste.isVisible()) {
        if ((m_iMode & ACEDIT_NAVIGATION_OPENS) && m_edit->text().isEmpty())
            m_Liste.ShowAll();
        return;
    }
    if (IsListStyle() || (m_iMode & ACEDIT_SEPARATOR))
        WriteCompletion(false, 0);
}

void CACEdit::WriteCompletion(bool moveSelection, int key)
{
    m_CursorMode = true;
    if (IsListStyle()) {
        QString entry = moveSelection ? m_Liste.SelectItem(key) : m_Liste.GetString();
        if ((m_iMode & ACEDIT_FILESYSTEM) && entry.endsWith(u'/'))
            entry.chop(1);
        m_edit->setText(entry);
        m_edit->setCursorPosition(static_cast<int>(entry.size()));
        m_edit->setModified(true);
        emit Notify(NOTIFY_COMPLETED, ControlId());
    } else {
        const int caret = m_edit->cursorPosition();
        const QString text = m_edit->text();
        const int left = FindSepLeftPos(caret, true);
        const int right = FindSepRightPos(caret);
        const bool prefixed = HasPrefixBeforeCaret(caret);
        const QString entry = moveSelection ? m_Liste.SelectItem(key) : m_Liste.GetString();
        m_edit->setText(text.left(left) + entry + text.mid(right));
        emit Notify(NOTIFY_COMPLETED, ControlId());
        const int from = prefixed ? left - 1 : left;
        m_edit->setSelection(std::max(0, from), static_cast<int>(left + entry.size()) - std::max(0, from));
        m_edit->setModified(true);
    }
    m_CursorMode = false;
}

int CACEdit::FindSepLeftPos(int caret, bool countPrefix) const
{
    const QString& text = m_EditText;
    int p = caret - 1;
    if (p >= text.size() && text.size() != 1)
        p = static_cast<int>(text.size()) - 1;
    for (; p >= 0 && p < text.size(); --p) {
        const QChar c = text[p];
        if (!m_PrefixChar.isNull() && c == m_PrefixChar)
            return countPrefix ? p + 1 : p;
        if (m_SeparationStr.contains(c))
            return p + 1;
    }
    return 0;
}

int CACEdit::FindSepRightPos(int caret) const
{
    for (int p = std::max(0, caret); p < m_EditText.size(); ++p) {
        if (m_SeparationStr.contains(m_EditText[p]))
            return p;
    }
    return static_cast<int>(m_EditText.size());
}

bool CACEdit::HasPrefixBeforeCaret(int caret) const
{
    const QString& text = m_EditText;
    if (text.size() == 1 || m_PrefixChar.isNull())
        return false;
    int p = caret - 1;
    if (p >= text.size())
        p = static_cast<int>(text.size()) - 1;
    for (; p >= 0; --p) {
        if (text[p] == m_PrefixChar)
            return true;
    }
    return false;
}

void CACEdit::ReadDirectory(const QString& path)
{
    CConditionalWaitCursor wait(TRUE);
    QString folder = path;
    if (!folder.endsWith(u'/')) {
        const qsizetype slash = folder.lastIndexOf(u'/');
        folder = slash >= 0 ? folder.left(slash + 1) : QString();
    }
    if (folder.isEmpty())
        return;
    if (folder == m_LastDirectory && !m_Liste.SearchStrings().isEmpty())
        return;
    m_LastDirectory = folder;
    // Hidden entries (names beginning with a dot) stay out.
    QDir::Filters filters = QDir::NoDotAndDotDot;
    if (!(m_iMode & ACEDIT_NO_FOLDERS))
        filters |= QDir::Dirs;
    if (!(m_iMode & ACEDIT_ONLY_FOLDERS))
        filters |= QDir::Files;
    const QFileInfoList entries = QDir(folder).entryInfoList(filters, QDir::Name);
    if (entries.isEmpty())
        return;
    m_Liste.ClearSearchStrings();
    for (const QFileInfo& entry : entries) {
        m_Liste.AddSearchString(folder + entry.fileName() + (entry.isDir() ? QStringLiteral("/") : QString()));
    }
}
