#pragma once

#include <QCursor>

namespace qorin::ui {

// The icon pointer: a small square within a square, its hot spot in the middle.
QCursor iconPointer();

} // namespace qorin::ui
