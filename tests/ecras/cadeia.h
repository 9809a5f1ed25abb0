#pragma once
// Drives the chain of screens in a test: a timer answers each screen as it
// is shown modally, step by step.

#include <QTimer>

#include <functional>

#include "platform/qt/navegacao.h"

namespace gv::teste {

template <class T>
bool no_ecra() {
    return carregado<T>() && instancia<T>().mostrado_modal();
}

// Runs the chain from T; `passo` gets the step number and answers true once
// it has acted on the screen of that step.
template <class T>
void correr_cadeia(const std::function<bool(int)>& passo) {
    int n = 0;
    QTimer guia;
    guia.setInterval(20);
    QObject::connect(&guia, &QTimer::timeout, [&] {
        if (passo(n)) ++n;
    });
    guia.start();
    Navegacao::executar<T>();
    guia.stop();
}

} // namespace gv::teste
