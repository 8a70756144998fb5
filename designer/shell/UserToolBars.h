#pragma once
// The toolbar pictures, drawn here, and the user's own toolbars: up to ten
// bars (ids 59432 to 59441) of commands the user picked in the Customize
// dialog, optionally with pictures cut from "UserImages.bmp".

#include "platform/framework/Types.h"

#include <QIcon>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QMainWindow;
class QToolBar;
namespace kwvd {
class RegistryKey;
}

// The picture of a command; the high-colour set is shaded, the other flat.
// A null icon for a command that has no picture.
QIcon CommandIcon(UINT command, BOOL highColour);

struct UserToolBarButton
{
    UINT id = 0;
    int image = -1; // index into the user images, -1: the command's own
};

class CUserToolBars
{
public:
    // actionFor gives the frame's action of a command, so that a user button
    // is enabled and checked like every other item of the command; bind
    // routes a button with a picture of its own (an action of the bar's).
    CUserToolBars(QMainWindow& frame, std::function<QAction*(UINT)> actionFor,
                  std::function<void(QAction*, UINT)> bind);
    ~CUserToolBars();

    static constexpr int MaxBars = 10;

    // A new empty bar with the next free id; nothing when all ten exist.
    std::optional<UINT> Create(const QString& name);
    BOOL Remove(UINT barId);
    BOOL Rename(UINT barId, const QString& name);
    BOOL AddButton(UINT barId, UserToolBarButton button);
    BOOL RemoveButton(UINT barId, int index);
    std::vector<UINT> BarIds() const;
    QToolBar* ToolBarOf(UINT barId) const;
    QString Name(UINT barId) const;
    std::vector<UserToolBarButton> Buttons(UINT barId) const;

    // "UserImages.bmp": a strip of 16 by 16 pictures. FALSE when missing or
    // unreadable, and the bars keep the commands' own pictures.
    BOOL LoadUserImages(const QString& path);
    BOOL HasUserImages() const { return !m_images.isNull(); }
    int UserImageCount() const;
    QIcon UserImage(int index) const;

    // The bars and their buttons, below key (subkey "UserToolbars").
    void Save(const kwvd::RegistryKey& key) const;
    // Replaces the bars with the stored ones; bad entries are skipped.
    void Load(const kwvd::RegistryKey& key);

    // Called for every bar made, by the user or from storage.
    void SetBarCreatedHook(std::function<void(QToolBar*)> hook) { m_created = std::move(hook); }

private:
    struct Entry
    {
        UINT id;
        QToolBar* bar;
        std::vector<UserToolBarButton> buttons;
    };
    Entry* Find(UINT barId);
    const Entry* Find(UINT barId) const;
    QToolBar* MakeBar(UINT barId, const QString& name);
    void Rebuild(Entry& bar);

    QMainWindow& m_frame;
    std::function<QAction*(UINT)> m_actionFor;
    std::function<void(QAction*, UINT)> m_bind;
    std::function<void(QToolBar*)> m_created;
    std::vector<Entry> m_bars;
    QImage m_images;
};
