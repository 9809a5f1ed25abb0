#include "season/convites.h"

#include <algorithm>

#include "data/clubes.h"
#include "data/estado.h"
#include "matchday/classificacao.h"
#include "platform/aleatorio.h"
#include "platform/texto.h"

namespace gv {

namespace {

constexpr int Largura_Clube = 25;
constexpr long Dinheiro_Clube_Novo = 2'000'000;

enum class Banda { Topo, Meio, Fundo };

std::string sortear(Banda b, int div) {
    switch (b) {
    case Banda::Topo: return Clube_Aleatorio_Topo(div);
    case Banda::Meio: return Clube_Aleatorio_Meio(div);
    case Banda::Fundo: return Clube_Aleatorio_Fundo(div);
    }
    return {};
}

struct Oferta {
    Banda banda;
    int div;
};

} // namespace

std::string Linha_Convite(const std::string& clube, int epocas) {
    std::string l = "(" + std::to_string(epocas) + (ingles() ? " Years)  " : " Épocas) ");
    l += clube + std::string(static_cast<std::size_t>(std::max(0, Largura_Clube - n_caracteres(clube))), ' ');
    l += std::to_string(Divisao_Clube(clube)) + (ingles() ? "ª Division - " : "ª Divisão - ");
    l += std::to_string(Posicao_Clube(clube)) + (ingles() ? "º Place" : "º Lugar");
    return l;
}

void Inserir(std::vector<Convite>& lista, const std::string& clube) {
    if (aparar(clube).empty()) return;
    Randomize();
    const int epocas = Int(Rnd() * 3) + 1;
    lista.push_back({clube, epocas, Linha_Convite(clube, epocas)});
}

std::vector<Convite> Equipas_Convite() {
    const int lugar = Posicao_Clube(Clube_Treinador);
    const int div = Divisao_Clube(Clube_Treinador);
    const int banda = lugar < 5 ? 0 : lugar < 15 ? 1 : 2;
    // By division (rows) and band of places 1-4, 5-14, 15-18 (columns).
    static const std::vector<Oferta> tabela[3][3] = {
        {{{Banda::Topo, 1}, {Banda::Meio, 1}, {Banda::Topo, 2}, {Banda::Topo, 3}},
         {{Banda::Meio, 1}, {Banda::Topo, 2}, {Banda::Topo, 3}},
         {{Banda::Topo, 2}, {Banda::Meio, 2}, {Banda::Topo, 3}}},
        {{{Banda::Fundo, 1}, {Banda::Meio, 2}, {Banda::Topo, 3}},
         {{Banda::Meio, 2}, {Banda::Fundo, 2}, {Banda::Topo, 3}},
         {{Banda::Meio, 3}, {Banda::Fundo, 3}}},
        {{{Banda::Fundo, 2}, {Banda::Meio, 3}}, {{Banda::Meio, 3}, {Banda::Fundo, 3}}, {{Banda::Fundo, 3}}},
    };
    std::vector<Convite> lista;
    if (div < 1 || div > 3) return lista;
    // A club in the bottom places is renewed only in the friendly game.
    if (banda < 2 || Jogo_Real == 0) Inserir(lista, Clube_Treinador);
    for (const Oferta& o : tabela[div - 1][banda]) Inserir(lista, sortear(o.banda, o.div));
    if (lista.empty()) Inserir(lista, Clube_Treinador);
    return lista;
}

void Actualizar_Equipa_Treinador(const Convite& escolhido) {
    auto& d = base_aberta();
    const std::string& clube = escolhido.clube;
    if (clube == Clube_Treinador) {
        d.Execute("UPDATE principal SET equipa = ?, T_contrato = ?, sit = 20", {clube, escolhido.epocas});
    } else {
        d.Execute("UPDATE jogadores SET idade = 33 WHERE idade > 33 AND equipa = ?", {clube});
        d.Execute("UPDATE Melhores_Marcadores_Sempre SET idade = 33 WHERE idade > 33 AND equipa = ? AND sit = 1", {clube});
        d.Execute("UPDATE jogadores SET contrato = contrato + 1 WHERE equipa = ?", {clube});
        d.Execute("DELETE FROM transferencias");
        d.Execute("UPDATE principal SET equipa = ?, T_contrato = ?, sit = 20, d_total = ?, d_in = 0, d_out = 0, "
                  "d_emp_out = 0, d_emp_in = 0, d_venda_out = 0, d_venda_in = 0, d_Ord = 0, d_estadio = 0",
                  {clube, escolhido.epocas, Dinheiro_Clube_Novo});
    }
    Clube_Treinador = clube;
}

} // namespace gv
