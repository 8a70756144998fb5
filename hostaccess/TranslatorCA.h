#pragma once
// The translator the library hands out: JVX text fields between the
// designer's UTF-16 and a host CCSID, over the Client Access converters.
// One field keeps its width both ways: zero bytes fill it towards the host,
// blanks towards the PC.

#include "hostaccess/AS400.h"
#include "hostaccess/api/Translator.h"

#include <QString>

class CTranslatorCA : public ITranslator
{
public:
    CTranslatorCA();
    ~CTranslatorCA() override;

    // Keeps the system and takes its CCSID as the host CCSID (0 when it
    // cannot be had). Always TRUE.
    BOOL Init(const QString* system);

    int SetMode(int mode) override;
    // 0 stands for the system's own CCSID.
    int SetHostCCSID(int ccsid) override;
    void Write(const void* data, unsigned int length, CFile* file) override;
    unsigned int Read(void* buffer, unsigned int length, CFile* file) override;
    int SetStripShift(int strip) override;

    int GetMode() const { return m_mode; }
    int GetHostCCSID() const { return m_hostCcsid; }

private:
    // Replaces the converter with one for the mode; FALSE when the mode
    // converts nothing or the converter cannot be made.
    BOOL MakeConverter();
    // The host CCSID the converters use.
    unsigned long EffectiveHostCcsid() const;
    // The host's messages of a failed conversion, at most once per
    // translator, then the archive exception for the file.
    [[noreturn]] void ConversionFailed(CFile* file);

    CAS400 m_host;
    unsigned long m_pcCodePage = CAS400::kPcCodePage;
    unsigned long m_systemCcsid = 0;
    int m_hostCcsid = 0;
    int m_mode = TranslatorMode::None;
    int m_strip = 0;
    bool m_failureShown = false;
};
