#pragma once
// Screen services over Qt widgets: centring a screen and the gauge.

#include <QString>

#include <string>

class QWidget;

namespace gv {

class CaixaImagem;

// Centres a normal (not minimised, maximised or full-screen) window on its
// display; size unchanged.
void Centrar_Form(QWidget& frm);

// The gauge: `texto` centred in dark blue on white, and a bar over the
// fraction `fraccao` of the width drawn with the not-xor pen, so the
// covered white turns dark blue and the covered text white. A fraction of
// 0 or below leaves only the text; above 1 the bar is clipped by the box.
void Barra_Percentagem(CaixaImagem& pic, float fraccao, const QString& texto);
void Barra_Percentagem(CaixaImagem& pic, float fraccao, const std::string& texto);

} // namespace gv
