#pragma once
// A server library that holds master fonts, and whether its fonts are
// installed: only fonts of installed libraries are offered as substitutes
// and as the default font that follows the page's grid.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

class CAS400FontLib : public CObject
{
    KWVD_DECLARE_SERIAL(CAS400FontLib)

public:
    // Empty name, not installed (the form the archive makes).
    CAS400FontLib() = default;
    // Installed.
    explicit CAS400FontLib(const QString& name) : m_strName(name), m_bInstalled(TRUE) {}

    void Serialize(CArchive& ar) override;

    const QString& GetName() const { return m_strName; }
    BOOL IsInstalled() const { return m_bInstalled; }
    void SetInstalled(BOOL installed) { m_bInstalled = installed ? TRUE : FALSE; }

private:
    QString m_strName;
    BOOL m_bInstalled = FALSE;
};
