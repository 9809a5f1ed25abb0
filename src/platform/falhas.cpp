#include "platform/falhas.h"

#include <set>

namespace gv {

namespace {
std::set<std::string>& armadas() {
    static std::set<std::string> s;
    return s;
}
} // namespace

void ponto_de_falha(const char* nome) {
    auto& a = armadas();
    if (a.empty()) return;
    auto it = a.find(nome);
    if (it == a.end()) return;
    a.erase(it);
    throw Falha_Injectada(std::string("falha injectada em ") + nome);
}

void armar_falha(const std::string& nome) { armadas().insert(nome); }
void desarmar_falhas() { armadas().clear(); }

} // namespace gv
