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

    // The label of field f is static text kFirstLabel + f; its text, as the
    // caption's, is the string DialogTextId(IDD, control).
    static constexpr UINT kFirstLabel = 0xFF01;

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

// Adds the dialog's UK English texts to the string table; harmless again.
void RegisterSplfDtaDlgStrings();

// Makes CSpooledFile::ShowFileData run the dialog modally. Called once at
// start-up.
void InstallSpooledFileDataViewer();
