#include "season/andamento.h"

#include "data/estado.h"

namespace gv {

namespace {
std::function<void(const std::string&)>& destino() {
    static std::function<void(const std::string&)> f;
    return f;
}
} // namespace

void registar_andamento(std::function<void(const std::string&)> mostrar) { destino() = std::move(mostrar); }

void Mostrar_Actualizar(const std::string& assunto_pt, const std::string& assunto_en) {
    if (!destino()) return;
    destino()(ingles() ? "Updating: " + assunto_en : "Actualizar: " + assunto_pt);
}

} // namespace gv
