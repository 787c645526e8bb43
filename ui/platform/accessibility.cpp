#include "ui/platform/accessibility.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QVariant>
#include <QWidget>

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

// A note that tells the user that something they did was refused: an alert, which a screen
// reader speaks as it appears, named by its text.
class NoteAlert : public QAccessibleWidget
{
public:
    explicit NoteAlert(QLabel* note) : QAccessibleWidget(note, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
};

// Where the role of a widget is kept: a dynamic property of its own.
constexpr char kRoleProperty[] = "qorinScreenReaderRole";

QAccessibleInterface* interfaceFor(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    const QVariant role = object->property(kRoleProperty);
    if (!role.isValid())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    switch (static_cast<ScreenReaderRole>(role.toInt())) {
    case ScreenReaderRole::Dialog:
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    case ScreenReaderRole::Window:
        return new QAccessibleWidget(widget, QAccessible::Window);
    case ScreenReaderRole::Alert:
        if (auto* label = qobject_cast<QLabel*>(widget))
            return new NoteAlert(label);
        return nullptr;
    case ScreenReaderRole::ShownChildrenOnly:
        return new ShownChildren(widget);
    }
    return nullptr;
}

} // namespace

void presentToScreenReaders(QWidget& widget, ScreenReaderRole role)
{
    widget.setProperty(kRoleProperty, static_cast<int>(role));
}

void installAccessibility()
{
    QAccessible::installFactory(&interfaceFor);
}

} // namespace qorin::ui
