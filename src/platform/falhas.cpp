#include "platform/falhas.h"

#include <signal.h>
#include <unistd.h>

#include <map>

namespace gv {

namespace {
// Point -> passes left before it acts; negative: a failure, positive: a death.
std::map<std::string, int>& armadas() {
    static std::map<std::string, int> s;
    return s;
}
} // namespace

void ponto_de_falha(const char* nome) {
    auto& a = armadas();
    if (a.empty()) return;
    auto it = a.find(nome);
    if (it == a.end()) return;
    if (it->second > 0) {
        if (--it->second > 0) return;
        ::kill(::getpid(), SIGKILL);
    }
    a.erase(it);
    throw Falha_Injectada(std::string("falha injectada em ") + nome);
}

void armar_falha(const std::string& nome) { armadas()[nome] = -1; }
void armar_morte(const std::string& nome, int vez) { armadas()[nome] = vez < 1 ? 1 : vez; }
void desarmar_falhas() { armadas().clear(); }

} // namespace gv
