#pragma once

#include <QFont>

namespace qorin::ui {

// The faces the windows ask for. Where a face is missing, the font system picks a serif of
// the same size and weight that can show the Polish letters (Liberation Serif on Debian,
// which has Times New Roman's metrics).
QFont timesNewRoman(qreal points, bool bold = false);
QFont msSerif(qreal points, bool bold = false);

} // namespace qorin::ui
