#include "accessibility.h"

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

QAccessibleInterface* interfaceFor(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (auto* surface = dynamic_cast<TavrinSurface*>(object))
        return new ShownChildren(surface);
    if (auto* about = dynamic_cast<frmSplash*>(object))
        return new QAccessibleWidget(about, QAccessible::Dialog);
    if (auto* splash = dynamic_cast<Logo*>(object))
        return new QAccessibleWidget(splash, QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(&interfaceFor);
}

} // namespace qorin::ui
