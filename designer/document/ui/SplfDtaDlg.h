#pragma once
// "Spooled File Data": the host attributes of the loaded spooled file, read
// only. The form type is not shown.

#include "designer/document/SpooledFileIdentity.h"

#include <QDialog>

#include <array>

class QLineEdit;

class CSplfDtaDlg : public QDialog
{
    Q_OBJECT

public:
    enum {
        IDD = 168
    };

    // The fields, in the order they stand in the dialog.
    enum Field {
        OutputQueue,
        Library,
        FileName,
        User,
        UserData,
        Date,
        Time,
        TotalPages,
        DbcsData,
        DbcsExtensions,
        CharacterSet,
        FieldCount,
    };

    explicit CSplfDtaDlg(const SpooledFileIdentity* identity, QWidget* parent = nullptr);

    QLineEdit* FieldEdit(Field field) const { return m_edits.at(static_cast<size_t>(field)); }

private:
    std::array<QLineEdit*, FieldCount> m_edits{};
};

// Makes CSpooledFile::ShowFileData run the dialog modally. Called once at
// start-up.
void InstallSpooledFileDataViewer();
