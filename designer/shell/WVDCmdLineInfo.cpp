#include "designer/shell/WVDCmdLineInfo.h"

#include <array>

namespace {

constexpr std::array kSwitches = {
    "Tutorial",    "NoSplash",   "Embedding", "Automation", "RegServer", "Register",
    "UnregServer", "Unregister", "p",         "pt",         "dde",
};

bool Is(const QString& name, const char* expected)
{
    return name.compare(QLatin1String(expected), Qt::CaseInsensitive) == 0;
}

} // namespace

QString CWVDCmdLineInfo::SwitchName(const QString& argument)
{
    if (argument.size() < 2 || (argument[0] != u'/' && argument[0] != u'-'))
        return {};
    const QString name = argument.mid(1);
    for (const char* known : kSwitches) {
        if (Is(name, known))
            return name;
    }
    return {};
}

void CWVDCmdLineInfo::ParseCommandLine(const QStringList& arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString name = SwitchName(arguments[i]);
        const BOOL last = i + 1 == arguments.size() ? TRUE : FALSE;
        if (!name.isEmpty())
            ParseParam(name, TRUE, last);
        else
            ParseParam(arguments[i], FALSE, last);
    }
}

void CWVDCmdLineInfo::ParseParam(const QString& param, BOOL flag, BOOL last)
{
    if (flag) {
        if (Is(param, "Tutorial"))
            m_bTutorial = TRUE;
        else if (Is(param, "NoSplash"))
            m_bNoSplash = TRUE;
        else
            ParseFlag(param);
    } else {
        ParseNotFlag(param);
    }
    // A document named alone on the line is opened rather than a new one made.
    if (last && m_nShellCommand == FileNew && !m_strFileName.isEmpty())
        m_nShellCommand = FileOpen;
}

void CWVDCmdLineInfo::ParseFlag(const QString& name)
{
    if (Is(name, "pt")) {
        m_nShellCommand = FilePrintTo;
    } else if (Is(name, "p")) {
        m_nShellCommand = FilePrint;
    } else if (Is(name, "Unregister") || Is(name, "UnregServer")) {
        m_nShellCommand = AppUnregister;
    } else if (Is(name, "Register") || Is(name, "RegServer")) {
        m_nShellCommand = AppRegister;
    } else if (Is(name, "Embedding")) {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    } else if (Is(name, "Automation")) {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
    // "dde": shell open through DDE does not exist here.
}

void CWVDCmdLineInfo::ParseNotFlag(const QString& param)
{
    if (m_strFileName.isEmpty())
        m_strFileName = param;
    else if (m_nShellCommand == FilePrintTo && m_strPrinterName.isEmpty())
        m_strPrinterName = param;
    else if (m_nShellCommand == FilePrintTo && m_strDriverName.isEmpty())
        m_strDriverName = param;
    else if (m_nShellCommand == FilePrintTo && m_strPortName.isEmpty())
        m_strPortName = param;
}
