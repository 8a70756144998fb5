#pragma once
// Shown when a WVD document was written by a newer version of the designer,
// with a link to the newest setup program.

#include <QDialog>
#include <QString>

class CHyperStatic;
class QLabel;

class CIncorrectVersionDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CIncorrectVersionDlg(QWidget* parent = nullptr);

    // The message names the document.
    void SetFileName(const QString& path);
    const QString& GetMessageText() const { return m_message; }
    CHyperStatic* GetLink() const { return m_link; }

private:
    QString m_message;
    QLabel* m_messageLabel = nullptr;
    CHyperStatic* m_link = nullptr;
};

// Puts the dialog behind the document reader's report of a newer document.
void InstallIncorrectVersionDialog();
