#include "platform/falhas.h"

#include <signal.h>
#include <unistd.h>

#include <map>

#include "platform/db/database.h"

namespace gv {

namespace {
struct Armada {
    int vezes;    // negative: a failure; positive: a death after that many passes
    int codigo;   // the engine's result code of a failure (0: an injected failure)
    std::function<void()> accao;   // run instead, when set
};
std::map<std::string, Armada>& armadas() {
    static std::map<std::string, Armada> s;
    return s;
}
} // namespace

void ponto_de_falha(const char* nome) {
    auto& a = armadas();
    if (a.empty()) return;
    auto it = a.find(nome);
    if (it == a.end()) return;
    if (it->second.accao) {
        const auto accao = std::move(it->second.accao);
        a.erase(it);
        accao();
        return;
    }
    if (it->second.vezes > 0) {
        if (--it->second.vezes > 0) return;
        ::kill(::getpid(), SIGKILL);
    }
    const int codigo = it->second.codigo;
    a.erase(it);
    const std::string texto = std::string("falha injectada em ") + nome;
    if (codigo != 0) throw db::Erro_BD(codigo, texto, db::tipo_do_codigo(codigo));
    throw Falha_Injectada(texto);
}

void armar_falha(const std::string& nome) { armadas()[nome] = {-1, 0, nullptr}; }
void armar_falha(const std::string& nome, int codigo_motor) { armadas()[nome] = {-1, codigo_motor, nullptr}; }
void armar_morte(const std::string& nome, int vez) { armadas()[nome] = {vez < 1 ? 1 : vez, 0, nullptr}; }
void armar_accao(const std::string& nome, std::function<void()> accao) { armadas()[nome] = {0, 0, std::move(accao)}; }
void desarmar_falhas() { armadas().clear(); }

} // namespace gv
