#include "accessibility.h"

#include "field_note.h"
#include "frm_splash.h"
#include "logo.h"
#include "tavrin_surface.h"

#include <QAccessibleWidget>

namespace qorin::ui {

namespace {

// A plain container whose accessible children are the child widgets that are not hidden.
class ShownChildren : public QAccessibleWidget
{
public:
    explicit ShownChildren(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Client) {}

    int childCount() const override { return static_cast<int>(shownChildren().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const QWidgetList children = shownChildren();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child || !child->object() || !child->object()->isWidgetType())
            return -1;
        return static_cast<int>(shownChildren().indexOf(static_cast<QWidget*>(child->object())));
    }

private:
    QWidgetList shownChildren() const
    {
        QWidgetList shown;
        for (QObject* object : widget()->children()) {
            if (!object->isWidgetType())
                continue;
            auto* child = static_cast<QWidget*>(object);
            if (!child->isWindow() && !child->isHidden())
                shown.append(child);
        }
        return shown;
    }
};

// A note that pops up below a field to say that something the user did was refused: an alert,
// which a screen reader speaks as it appears, named by its text.
class NoteAlert : public QAccessibleWidget
{
public:
    explicit NoteAlert(FieldNote* note) : QAccessibleWidget(note, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return static_cast<const FieldNote*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* interfaceFor(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (auto* surface = qobject_cast<TavrinSurface*>(object))
        return new ShownChildren(surface);
    if (auto* about = qobject_cast<frmSplash*>(object))
        return new QAccessibleWidget(about, QAccessible::Dialog);
    if (auto* splash = qobject_cast<Logo*>(object))
        return new QAccessibleWidget(splash, QAccessible::Window);
    if (auto* note = qobject_cast<FieldNote*>(object))
        return new NoteAlert(note);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(&interfaceFor);
}

} // namespace qorin::ui
