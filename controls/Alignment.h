#pragma once

#include <QtGlobal>

// Horizontal text alignment of captions and cells; ordinals are those of the
// controls' design data.
enum class TAlignment : quint8 { taLeftJustify, taRightJustify, taCenter };
