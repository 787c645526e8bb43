#include "ui/menu_keys.h"

#include "ui/key_character.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace qorin::ui {

MenuKeys::MenuKeys(QMenuBar* bar, const QList<QWidget*>& fields) : QObject(bar), m_bar(bar)
{
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar->window());
    f10->setContext(Qt::WindowShortcut);
    connect(f10, &QShortcut::activated, this, &MenuKeys::openFirstMenu);
    for (QAction* action : bar->actions()) {
        if (QMenu* menu = action->menu())
            menu->installEventFilter(this);
    }
    for (QWidget* field : fields)
        field->installEventFilter(this);
}

void MenuKeys::openFirstMenu()
{
    const QList<QAction*> entries = m_bar->actions();
    if (!entries.isEmpty())
        m_bar->setActiveAction(entries.first());
}

bool MenuKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (auto* menu = qobject_cast<QMenu*>(watched))
        return menuKeyPressed(*menu, key->key());
    // A field: Alt with a key that would type something types nothing.
    return isMenuKeyChord(*key) && !key->text().isEmpty();
}

// Whether the key leaves the menu bar altogether: F10 or Escape, unless the menu bar was
// selected with Alt (then it holds the keyboard focus, and Qt takes Escape back to it).
bool MenuKeys::menuKeyPressed(QMenu& menu, int key)
{
    const bool leaves = (key == Qt::Key_F10 || key == Qt::Key_Escape) && !m_bar->hasFocus();
    if (leaves)
        menu.hide();
    return leaves;
}

} // namespace qorin::ui
