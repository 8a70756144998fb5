#pragma once
// The Loop's own page: where the loop starts on the input page, how many
// lines one pass covers, whether it runs to the end of the page or of the
// document instead (two boxes that act as exclusive options and may both be
// clear, shown from and written to the loop's mode) and whether the
// destination counter advances only on success (never in an XML document).

#include "designer/elements/ElementPagesText.h"
#include "designer/views/pages/ElementPropPage.h"

#include <utility>

class CLoopPropPage : public CElementPropPage
{
public:
    enum : int {
        IDD = 130,
        IDC_START_LINE = 1201,
        IDC_START_LINE_SPIN = 1202,
        IDC_HEIGHT = 1199,
        IDC_HEIGHT_SPIN = 1200,
        IDC_END_OF_PAGE = 1204,
        IDC_END_OF_DOCUMENT = 1203,
        IDC_INCREMENT_ON_SUCCESS = 1192,
        IDC_POSITION_GROUP = 0xFFFD, // titles only
        IDC_SIZE_GROUP = 0xFFFE,
    };

    // Which way SyncMode copies.
    enum class Sync {
        FromBoxes,
        ToBoxes,
    };

    explicit CLoopPropPage(std::unique_ptr<CElementPageRecord> record);

    const LoopPageData& Data() const { return m_data; }
    std::pair<int, int> Range(int editId) const;

    // The mode from the boxes (after pulling them) or the boxes from the
    // mode (pushed); either way the height is off while a box is set.
    void SyncMode(Sync direction);

    void RefreshPage() override;

protected:
    void UpdateControls() override;
    std::optional<int> UpperLimit(int id) const override;
    void RunHandler(const PageControl& control) override;

private:
    bool InXmlDocument() const;

    LoopPageData& m_data;
};
