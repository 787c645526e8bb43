#pragma once

#include <QList>
#include <QObject>

class QMenu;
class QMenuBar;
class QWidget;

namespace qorin::ui {

// The keyboard's ways into a window's menu bar, beside Qt's own (Alt pressed and let go
// selects the menu bar; then arrows, Enter and Escape):
// - F10 opens the first menu, as on GNOME and KDE desktops.
// - F10 or Escape in a menu opened by F10 or by the mouse leaves the menu bar at once, and the
//   keys go back to the field that had them. (In a menu opened from a menu bar selected with
//   Alt, Escape goes back to the menu bar, as Qt does.)
// - Alt with a letter is a menu key, never a letter: it types nothing into the fields. The
//   menus have no access keys, so it does nothing else either. AltGr, which types the
//   Polish letters, is another key and types as ever.
class MenuKeys : public QObject
{
    Q_OBJECT

public:
    MenuKeys(QMenuBar* bar, const QList<QWidget*>& fields);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openFirstMenu();
    bool menuKeyPressed(QMenu& menu, int key);

    QMenuBar* m_bar;
};

} // namespace qorin::ui
