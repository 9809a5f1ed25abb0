#pragma once
// Small flags drawn in code for the entry screen's options.

#include <QPixmap>

namespace gv {

// "pt", "br", "en", "es", "it", "wd" (a globe), and "uk" for English.
QPixmap bandeira(const char* codigo, int largura = 36, int altura = 24);

} // namespace gv
