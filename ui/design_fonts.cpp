#include "ui/design_fonts.h"

#include <QStringList>

namespace qorin::ui {

namespace {

QFont serif(const QStringList& families, qreal points, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace

QFont timesNewRoman(qreal points, bool bold)
{
    return serif({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")}, points,
                 bold);
}

QFont msSerif(qreal points, bool bold)
{
    return serif({QStringLiteral("MS Serif"), QStringLiteral("Times New Roman"),
                  QStringLiteral("Liberation Serif")},
                 points, bold);
}

} // namespace qorin::ui
