#pragma once
// Every screen test runs with one QApplication (offscreen platform when
// nothing else is set) and ends with all screens released; helpers to reach
// a screen's controls and act on them as the person would.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>

#include "platform/qt/ecra.h"

namespace gv::teste {

// Processes events until `feito` holds or `ms` pass; returns whether it held.
bool esperar_ate(const std::function<bool()>& feito, int ms);

// Deletes the screens unloaded so far (deferred deletes).
void apagar_pendentes();

// Unloads each of the screens that is loaded, and deletes them.
template <class... T>
void descarregar_ecras() {
    (descarregar<T>(), ...);
    apagar_pendentes();
}

// The control `nome` inside `pai`; a missing one fails the test.
template <class W>
W* controlo(const QObject& pai, const char* nome) {
    auto* w = pai.findChild<W*>(QString::fromLatin1(nome));
    EXPECT_NE(w, nullptr) << nome;
    return w;
}

// Runs `accao` once on screen T as soon as it is shown modally, while
// `corpo` runs; a screen that never comes is unloaded after five seconds.
// Returns whether it came.
template <class T>
bool com_ecra(const std::function<void(T&)>& accao, const std::function<void()>& corpo) {
    bool feito = false;
    QTimer guia, reserva;   // living only as long as this call
    QObject::connect(&guia, &QTimer::timeout, [&] {
        if (feito || !carregado<T>() || !instancia<T>().mostrado_modal()) return;
        feito = true;
        accao(instancia<T>());
    });
    QObject::connect(&reserva, &QTimer::timeout, [] { descarregar<T>(); });
    guia.start(10);
    reserva.setSingleShot(true);
    reserva.start(5000);
    corpo();
    return feito;
}

// Chooses item i of a combo, as a click would.
inline void escolher(QComboBox* c, int i) {
    c->setCurrentIndex(i);
    emit c->activated(i);
}

} // namespace gv::teste
