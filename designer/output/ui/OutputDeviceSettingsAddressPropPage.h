#pragma once
// The "Address" page of the fax and e-mail settings sheets: the addressing
// texts that go with each fax or e-mail. A value the Output element can take
// from the spooled file shows, and is edited as, the position text of the
// Address child that supplies it when an Output element using the device
// has one; otherwise it is the device's own text. One model serves both
// pages; each names its rows, in tab order, and the order it loads and
// stores them in.

#include "designer/output/ui/OutputDevicePropPage.h"

#include <vector>

class COutputDeviceSettingsAddressPropPage : public COutputDevicePropPage
{
public:
    enum ControlId : int {
        IDC_ATTENTION = 1213, // e-mail: message
        IDC_DEPARTMENT = 1226,
        IDC_ENVELOPE = 1235,
        IDC_FROM_EMAIL = 1267,
        IDC_FROM = 1268,
        IDC_POSTMASTER = 1295,
        IDC_REFERENCE = 1304, // e-mail: subject
        IDC_TO = 1313,
        IDC_TRANSPARENCY_OFF = 1314,
        IDC_TRANSPARENCY_ON = 1315,
        IDC_USER_NAME = 1317,
        IDC_USER_ADDRESS = 1318,
        IDC_USER_ID = 1319,
        IDC_MESSAGE = IDC_ATTENTION,
        IDC_SUBJECT = IDC_REFERENCE,
    };

    // One edit: its member, the number of characters it takes, and how the
    // device's value is read and stored.
    struct Row
    {
        int id;
        QString COutputDeviceSettingsAddressPropPage::*member;
        int limit;
        void (*load)(const COutputDevice& device, QString& out);
        BOOL (*store)(COutputDevice& device, const QString& value);
    };

    // In tab order.
    const std::vector<Row>& Rows() const { return m_rows; }
    bool HasEnvelope() const { return m_hasEnvelope; }

    void EnableControls() override;

    QString from;
    QString to;
    QString attention;
    QString reference;
    QString subject;
    QString message;
    QString userName;
    QString userId;
    QString userAddress;
    QString department;
    QString transparencyOn;
    QString transparencyOff;
    QString fromEmail;
    QString postmasterEmail;
    // Bound to the envelope-type list, which nothing fills, reads or stores.
    int envelopeIndex = -1;

protected:
    COutputDeviceSettingsAddressPropPage(UINT dialogId, int acceptedType, std::vector<Row> rows,
                                         std::vector<int> storeOrder, bool hasEnvelope);

    void ReadDevice(COutputDevice& source) override;
    BOOL WriteDevice(COutputDevice& target) override;

    // The rows both pages share, by control id.
    static Row SharedRow(int id);

private:
    const Row& RowOf(int id) const;

    std::vector<Row> m_rows;
    std::vector<int> m_storeOrder;
    bool m_hasEnvelope;
};

class COutputDeviceSettingsFaxAddrPropPage : public COutputDeviceSettingsAddressPropPage
{
public:
    enum {
        IDD = 142
    };
    COutputDeviceSettingsFaxAddrPropPage();
};

class COutputDeviceSettingsEmailAddrPropPage : public COutputDeviceSettingsAddressPropPage
{
public:
    enum {
        IDD = 138
    };
    COutputDeviceSettingsEmailAddrPropPage();
};
