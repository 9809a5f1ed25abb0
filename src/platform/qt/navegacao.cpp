#include "platform/qt/navegacao.h"

#include <QTimer>

#include <utility>

namespace gv {

namespace {
bool correr = false;
bool parado = false;
Navegacao::Fabrica seguinte;
} // namespace

void Navegacao::executar(Fabrica primeiro) {
    if (correr) {
        passar_para(std::move(primeiro));
        return;
    }
    struct Fim {
        ~Fim() {
            correr = false;
            seguinte = nullptr;
        }
    } fim;
    correr = true;
    parado = false;
    seguinte = std::move(primeiro);
    while (seguinte && !parado) {
        Fabrica actual = std::exchange(seguinte, nullptr);
        QPointer<Ecra> ecra(&actual());
        // A load handler may already have handed over and unloaded itself.
        if (ecra && !ecra->a_descarregar()) ecra->Show_Modal();
    }
}

void Navegacao::passar_para(Fabrica f) {
    if (correr) {
        if (!parado) seguinte = std::move(f);
        return;
    }
    QTimer::singleShot(0, [f = std::move(f)]() mutable { executar(std::move(f)); });
}

bool Navegacao::a_correr() { return correr; }
bool Navegacao::seguinte_pedido() { return static_cast<bool>(seguinte); }

void Navegacao::parar() {
    parado = true;
    seguinte = nullptr;
}

} // namespace gv
