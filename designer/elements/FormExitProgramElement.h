#pragma once
// A call of a host exit program, with the libraries in which the host looks
// for it. The Exit Parameter elements before it in document order supply the
// values it is called with. It has no rectangles.

#include "designer/elements/FormElement.h"

#include <QString>

#include <vector>

class CFormExitParamElement;

// The values the exit program's property page shows and edits.
struct ExitProgramPageData
{
    QString programName;
    CStringArray libraries;
    // Set once when the page is made: FillExitParameters.
    std::vector<CFormExitParamElement*> parameters;
};

// Bits of the what argument of ApplyPageData.
struct ExitProgramPageBits
{
    enum : DWORD {
        ProgramName = 0x4000,
        Libraries = 0x8000,
    };
};

class CFormExitProgramElement : public CFormElement
{
    KWVD_DECLARE_SERIAL(CFormExitProgramElement)

public:
    static constexpr int kMaxLibraries = 5;
    // Characters of the program name and of each library in the record.
    static constexpr int kNameLength = 10;

    CFormExitProgramElement();
    explicit CFormExitProgramElement(CDesignerDoc* doc);
    // From a "CALL" record: the program name and exactly five library
    // entries, empty where the data ends. Any other record is refused with
    // an archive exception.
    explicit CFormExitProgramElement(CAPRTPDMRec& record);
    ~CFormExitProgramElement() override;

    // Registers the class, its record factory and its strings.
    static void Register();

    const QString& GetProgramName() const { return m_programName; }
    // TRUE when it changed; marks the document modified.
    BOOL SetProgramName(const QString& name);

    // Keeps the non-empty entries, at most five; each further one is
    // refused with message 274.
    void SetLibraries(const CStringArray& libraries);
    void GetLibraries(CStringArray& libraries) const;
    const CStringArray& Libraries() const { return m_libraries; }
    static BOOL LibrariesEqual(const CStringArray& a, const CStringArray& b);

    // The Exit Parameter elements before this one in document order, each
    // at the index of its parameter number (null where none); a later one
    // of the same number wins.
    void FillExitParameters(std::vector<CFormExitParamElement*>& parameters) const;

    // The General page's disable mask: nothing of it applies.
    static int GetGeneralPageDisableMask() { return 15; }
    void PreparePage(ExitProgramPageData& page) const;
    BOOL UpdatePageData(ExitProgramPageData& page) const;
    BOOL ApplyPageData(const ExitProgramPageData& page, DWORD what);

    // ---- CFormElement
    void Copy(const CFormElement& other) override;
    int GetType() const override;
    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;
    BOOL Select(BOOL select) override;
    BOOL Find(const QString& text) const override;
    BOOL Replace(const QString& find, const QString& replace) override;

private:
    // Reads and deletes the element list that files before schema 8 carry.
    void DropOldElementList(CArchive& ar);

    QString m_programName;
    CStringArray m_libraries;
};
