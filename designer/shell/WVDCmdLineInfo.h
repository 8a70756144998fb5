#pragma once
// The designer's command line. Only the switch names below count as
// switches (after "/" or "-", without regard to case); every other argument,
// an absolute path beginning with "/" included, names a document to open.
//
//   /Tutorial /NoSplash          the designer's own two
//   /Embedding /Automation       started by an automation client
//   /RegServer /Register         write the program's registration
//   /UnregServer /Unregister     remove it
//   /p file                      print the file
//   /pt file printer driver port print the file on that printer
//   /dde                         accepted and ignored

#include "platform/framework/Types.h"

#include <QString>
#include <QStringList>

class CWVDCmdLineInfo
{
public:
    enum ShellCommand {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        AppRegister,
        AppUnregister,
    };

    // One argument; flag TRUE when it was written as a switch. Used by
    // ParseCommandLine, which decides what counts as a switch.
    void ParseParam(const QString& param, BOOL flag, BOOL last);

    // The arguments after the program's own name.
    void ParseCommandLine(const QStringList& arguments);

    // The switch name of an argument ("/nosplash" gives "nosplash") when it
    // is one of the known switches, else empty.
    static QString SwitchName(const QString& argument);

    BOOL m_bTutorial = FALSE;
    BOOL m_bNoSplash = FALSE;

    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    ShellCommand m_nShellCommand = FileNew;
    QString m_strFileName;
    QString m_strPrinterName;
    QString m_strDriverName;
    QString m_strPortName;

private:
    void ParseFlag(const QString& name);
    void ParseNotFlag(const QString& param);
};
