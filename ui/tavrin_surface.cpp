#include "ui/tavrin_surface.h"

#include "ui/design_fonts.h"
#include "ui/platform/accessibility.h"
#include "ui/twips.h"

#include <QPainter>

namespace qorin::ui {

namespace {

using Kind = SurfaceItem::Kind;

const QColor kDarkOrange(192, 128, 0);
const QColor kYellow(255, 255, 0);
const QColor kBlack(0, 0, 0);
constexpr qreal kBadgeRadius = 5.0;

// The place of the input field's badge among the items below.
constexpr std::size_t kInputBadge = 3;

// The controls drawn on the surface, back to front, as the window's design gives them: one
// control to a line, in the columns of SurfaceItem (name, kind, place in twips, fill, border,
// border width, text, text colour).
std::vector<SurfaceItem> designItems()
{
    const QString nn = QStringLiteral("\u0143\u0143");
    const QString espanol = QStringLiteral("ESPA\u0143OL");
    // clang-format off
    return {
        {"Image1", Kind::Picture,          twipsRect( 120,    0, 6900, 4275), {},          {},     0, {},       {}     },
        {"Shape4", Kind::Rectangle,        twipsRect( 787, 1880, 5655, 1695), kDarkOrange, {},     0, {},       {}     },
        {"Shape3", Kind::Rectangle,        twipsRect( 787,  800, 5655,  375), kDarkOrange, {},     0, {},       {}     },
        {"Shape5", Kind::RoundedRectangle, twipsRect(4800, 1080, 1200,  270), kDarkOrange, kBlack, 1, {},       {}     }, // kInputBadge
        {"Label2", Kind::Label,            twipsRect(4900, 1095, 1005,  255), {},          {},     0, "POLSKI", kYellow},
        {"Shape6", Kind::RoundedRectangle, twipsRect(4815, 3480, 1200,  270), kDarkOrange, kBlack, 1, {},       {}     },
        {nn,       Kind::Label,            twipsRect(4830, 3487, 1215,  255), {},          {},     0, espanol,  kYellow},
        {"Shape1", Kind::Rectangle,        twipsRect( 105,   20, 6915, 4275), {},          kBlack, 2, {},       {}     },
    };
    // clang-format on
}

} // namespace

TavrinSurface::TavrinSurface(QWidget* parent)
    : QWidget(parent), m_items(designItems()), m_picture(QStringLiteral(":/assets/background.jpg")),
      m_labelFont(msSerif(9.75, true))
{
    setObjectName(QStringLiteral("TavrinSurface"));
    // The hidden button stays out of what a screen reader lists.
    presentToScreenReaders(*this, ScreenReaderRole::ShownChildrenOnly);
    setFixedSize(px(7110), px(4380));
}

const SurfaceItem& TavrinSurface::inputBadge() const
{
    return m_items.at(kInputBadge);
}

void TavrinSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (const SurfaceItem& item : m_items)
        paintItem(painter, item);
}

void TavrinSurface::paintItem(QPainter& painter, const SurfaceItem& item) const
{
    const QRectF area(item.geometry);
    switch (item.kind) {
    case Kind::Picture:
        painter.drawPixmap(item.geometry, m_picture.forRatio(painter.device()->devicePixelRatio()));
        return;
    case Kind::Label:
        painter.setFont(m_labelFont);
        painter.setPen(item.textColour);
        painter.drawText(item.geometry, Qt::AlignCenter, item.text);
        return;
    case Kind::Rectangle:
    case Kind::RoundedRectangle:
        break;
    }
    // A shape's border lies inside its rectangle.
    const qreal inset = item.borderWidth / 2.0;
    const QRectF outline = area.adjusted(inset, inset, -inset, -inset);
    painter.setPen(item.border.isValid() ? QPen(item.border, item.borderWidth) : Qt::NoPen);
    painter.setBrush(item.fill.isValid() ? QBrush(item.fill) : Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, item.kind == Kind::RoundedRectangle);
    if (item.kind == Kind::RoundedRectangle)
        painter.drawRoundedRect(outline, kBadgeRadius, kBadgeRadius);
    else
        painter.drawRect(outline);
}

} // namespace qorin::ui
