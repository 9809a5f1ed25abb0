#pragma once
// Small builders for the controls every screen places by hand.

#include <QLabel>
#include <QRect>
#include <QString>

namespace gv {

// A label named as its control, with its caption, at a fixed place.
inline QLabel* rotulo(QWidget* pai, const char* nome, const char* texto, QRect onde) {
    auto* l = new QLabel(QString::fromUtf8(texto), pai);
    l->setObjectName(QString::fromLatin1(nome));
    l->setGeometry(onde);
    return l;
}

} // namespace gv
