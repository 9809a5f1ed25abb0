#include "platform/interface_utilizador.h"

namespace gv {

namespace {
Interface_Guionizada& silenciosa() {
    static Interface_Guionizada porta;
    return porta;
}
Interface_Utilizador* instalada = nullptr;

Resposta resposta_defeito(const Mensagem& m) {
    switch (m.botoes) {
    case Botoes::Ok: return Resposta::Ok;
    case Botoes::OkCancelar: return m.botao_defeito == 1 ? Resposta::Cancelar : Resposta::Ok;
    case Botoes::SimNao: return m.botao_defeito == 1 ? Resposta::Nao : Resposta::Sim;
    case Botoes::SimNaoCancelar:
        return m.botao_defeito == 2 ? Resposta::Cancelar
             : m.botao_defeito == 1 ? Resposta::Nao : Resposta::Sim;
    }
    return Resposta::Ok;
}
} // namespace

void Interface_Utilizador::aviso(const std::string& texto, Icone icone) {
    mensagem(Mensagem{texto, icone, Botoes::Ok, {}, 0});
}

bool Interface_Utilizador::pergunta(const std::string& texto, int botao_defeito) {
    return mensagem(Mensagem{texto, Icone::Pergunta, Botoes::SimNao, {}, botao_defeito}) == Resposta::Sim;
}

Interface_Utilizador& ui() { return instalada ? *instalada : silenciosa(); }
void instalar_ui(Interface_Utilizador* port) { instalada = port; }

Resposta Interface_Guionizada::mensagem(const Mensagem& m) {
    mensagens.push_back(m);
    if (respostas.empty()) return resposta_defeito(m);
    Resposta r = respostas.front();
    respostas.pop_front();
    return r;
}

std::optional<Ficheiro_Escolhido> Interface_Guionizada::escolher_ficheiro(const Pedido_Ficheiro& p) {
    pedidos_ficheiro.push_back(p);
    if (ficheiros.empty()) return std::nullopt;
    auto f = std::move(ficheiros.front());
    ficheiros.pop_front();
    return f;
}

void Interface_Guionizada::intervalo(bool taca, const std::string& casa, const std::string& fora, int golos_casa,
                                     int golos_fora) {
    intervalos.push_back({taca, casa, fora, golos_casa, golos_fora});
}

Ui_Instalada::Ui_Instalada(Interface_Utilizador& p) : anterior_(instalada) { instalar_ui(&p); }
Ui_Instalada::~Ui_Instalada() { instalar_ui(anterior_); }

} // namespace gv
