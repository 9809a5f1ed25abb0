#pragma once
// Small builders for the controls every screen places by hand.

#include <QGroupBox>
#include <QLabel>
#include <QRect>
#include <QString>

namespace gv {

// Names a control as its name in the screen's design.
template <class W>
W* com_nome(W* w, const char* nome) {
    w->setObjectName(QString::fromLatin1(nome));
    return w;
}

// A label named as its control, with its caption, at a fixed place.
inline QLabel* rotulo(QWidget* pai, const char* nome, const char* texto, QRect onde) {
    auto* l = com_nome(new QLabel(QString::fromUtf8(texto), pai), nome);
    l->setGeometry(onde);
    return l;
}

// A captioned frame, white over the tiled background.
inline QGroupBox* moldura(QWidget* pai, const char* nome, const char* titulo, QRect onde) {
    auto* g = com_nome(new QGroupBox(QString::fromUtf8(titulo), pai), nome);
    g->setGeometry(onde);
    g->setStyleSheet(QStringLiteral(
        "QGroupBox { background: rgba(255, 255, 255, 225); border: 1px solid rgb(40, 90, 40);"
        " border-radius: 4px; margin-top: 8px; font-weight: bold; color: rgb(0, 0, 96); }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }"));
    return g;
}

} // namespace gv
