#pragma once
// One output device: where and how the host delivers a page definition's
// output. Devices are named and shared between documents; the Output
// elements bound to a device are its users, which the device never owns.
//
// The record holds the identity of the device and the fields its type rules
// touch; the per-type delivery settings join it with their settings pages.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

#include <vector>

class CFormOutputElement;

class COutputDevice : public CObject
{
    KWVD_DECLARE_SERIAL(COutputDevice)

public:
    static constexpr int kNameWidth = 10;
    static constexpr int kDescriptionWidth = 35;
    static constexpr int kExitProgramWidth = 10;
    static constexpr int kMaxType = 7;
    static constexpr int kDocStoreType = 7;

    // Defaults, type 0.
    COutputDevice();
    // Defaults, then the three values through their setters; the caller
    // passes a type 0..7.
    COutputDevice(int type, const QString& name, const QString& description);
    ~COutputDevice() override;

    // The users are shared with the elements, so a device is never copied
    // by accident.
    COutputDevice(const COutputDevice&) = delete;
    COutputDevice& operator=(const COutputDevice&) = delete;

    // Every field to its default; the type and the users stay.
    void SetDefaults();

    const QString& GetName() const { return m_name; }
    int GetType() const { return m_type; }
    const QString& GetDescription() const { return m_description; }
    const QString& GetFileExitProgram() const { return m_fileExitProgram; }
    const QString& GetFileExitProgramLibrary() const { return m_fileExitProgramLibrary; }

    // Each returns TRUE when the stored value changed.
    BOOL SetName(const QString& name);               // cut to 10
    BOOL SetDescription(const QString& description); // cut to 35
    // Accepts 0..7 only. A document-store device gets the store's exit
    // program when it has none, since the host cannot file without one.
    BOOL SetType(int type);
    BOOL SetFileExitProgram(const QString& program);        // cut to 10, upper case
    BOOL SetFileExitProgramLibrary(const QString& library); // cut to 10, upper case

    // The description, else "NAME (type title)".
    void GetDisplayName(QString& out) const;

    // The code of the type's first row in OutputDeviceTypeTable; code keeps
    // what it held for a type not in the table.
    static void GetTypeCode(int type, QString& code);
    // The type of the first row with exactly that code (case counts), else -1.
    static void GetTypeFromCode(const QString& code, int& type);

    // The Output elements bound to the device, in the order they joined.
    const std::vector<CFormOutputElement*>& GetUsers() const { return m_users; }
    BOOL IsInUse() const { return m_users.empty() ? FALSE : TRUE; }
    BOOL HasUser(const CFormOutputElement* element) const;
    // Appends the element unless it is there already; null is refused.
    void AddUser(CFormOutputElement* element);
    // FALSE when the element was not a user.
    BOOL RemoveUser(const CFormOutputElement* element);

private:
    std::vector<CFormOutputElement*> m_users;
    QString m_name;
    int m_type = 0;
    QString m_description;
    QString m_fileExitProgram;
    QString m_fileExitProgramLibrary;
};
