#include "season/situacao.h"

#include <string>

#include "data/carreira.h"
#include "data/clubes.h"
#include "data/erros.h"
#include "data/estado.h"
#include "data/tacticas.h"
#include "matchday/classificacao.h"
#include "platform/falhas.h"
#include "platform/interface_utilizador.h"
#include "season/historico.h"

namespace gv {

namespace {

constexpr int Primeira_Jornada_Revista = 5;

struct Destino {
    std::string clube;
    long dinheiro = 0;
    int contrato = 0;
};

// The new club by verdict and the manager's current division.
Destino escolher_destino(Veredicto v, int div) {
    Destino r;
    if (v == Veredicto::Despedido) {
        switch (div) {
        case 1: r = {Clube_Aleatorio_Meio(2), 2'000'000, 2}; break;
        case 2: r = {Clube_Aleatorio_Topo(3), 1'000'000, 2}; break;
        case 3: r = {Clube_Aleatorio_Fundo(3), 1'000'000, 2}; break;
        default: break;
        }
    } else if (v == Veredicto::Convidado) {
        switch (div) {
        case 1: r = {Clube_Aleatorio_Topo(1), 4'000'000, 3}; break;
        case 2: r = {Clube_Aleatorio_Fundo(1), 3'000'000, 3}; break;
        case 3: r = {Clube_Aleatorio_Fundo(2), 2'000'000, 3}; break;
        default: break;
        }
    }
    return r;
}

// Leaves the club for `destino`, all or nothing.
bool mudar_de_clube(const Destino& destino) {
    auto& d = base_aberta();
    const std::string antigo = Clube_Treinador;
    try {
        db::Transaccao t(d);
        Actualizar_Historico_Treinador(true);
        d.Execute("UPDATE principal SET sit = 20, d_total = ?, d_in = 0, d_out = 0, d_emp_out = 0, d_emp_in = 0, "
                  "d_venda_out = 0, d_venda_in = 0, d_Ord = 0, d_estadio = 0, equipa = ?, T_contrato = ?, "
                  "d_b_divida = 0, d_b_mensal = 0",
                  {destino.dinheiro, destino.clube, destino.contrato});
        Clube_Treinador = destino.clube;
        d.Execute("DELETE FROM transferencias");
        d.Execute("DELETE FROM assistencias");
        Zerar_V_E_D_GC_PC();
        Escolher_Melhor_Equipa();
        ponto_de_falha("situacao.mudar");
        t.commit();
        return true;
    } catch (const std::exception& e) {
        Clube_Treinador = antigo;
        ui().aviso(std::string(txt("Não foi possível mudar de clube. Nada foi alterado.",
                                   "The move to the new club could not be made. Nothing was changed.")) +
                       Linha_Causa(e),
                   Icone::Critico);
        return false;
    }
}

} // namespace

Veredicto Veredicto_Situacao(int jornada, int lugar, int v, int d, int gc, int pc) {
    Veredicto r = Veredicto::Nada;
    if (jornada < Primeira_Jornada_Revista) return r;
    if (lugar >= 16 && pc >= 12) r = Veredicto::Despedido;
    if (jornada >= 25 && jornada <= 30 && lugar >= 16 && pc >= 3) r = Veredicto::Despedido;
    if (d >= 6) r = Veredicto::Despedido;
    if (lugar >= 1 && lugar <= 5 && gc >= 15) r = Veredicto::Convidado;
    if (v >= 6) r = Veredicto::Convidado;
    return r;
}

void Ver_Situacao() {
    if (Jornada_Actual < Primeira_Jornada_Revista) return;
    Destino destino;
    std::string texto;
    Veredicto veredicto = Veredicto::Nada;
    try {
        veredicto = Veredicto_Situacao(Jornada_Actual, Posicao_Clube(Clube_Treinador), Ler_V_E_D("v"), Ler_V_E_D("d"),
                                       Ler_GC_PC("gc"), Ler_GC_PC("pc"));
        if (veredicto == Veredicto::Nada) return;
        destino = escolher_destino(veredicto, Divisao_Clube(Clube_Treinador));
        // No club to go to: the manager stays where he is.
        if (destino.clube.empty()) return;
        const std::string div = std::to_string(Divisao_Clube(destino.clube));
        const std::string lugar = std::to_string(Posicao_Clube(destino.clube));
        if (veredicto == Veredicto::Despedido)
            texto = ingles() ? "You have been fired from the team " + Clube_Treinador + ". Your new club is " +
                                   destino.clube + " (" + div + "ª Div. - " + lugar + "º Pos.) for 2 years."
                             : "Foi Despedido da Equipa " + Clube_Treinador + ". Foi contratado pela equipa " +
                                   destino.clube + " (" + div + "ª Div. - " + lugar + "º Lugar) por 2 Épocas.";
        else
            texto = ingles() ? "You have been invited to coach the team " + destino.clube + " (" + div + "ª Div. - " +
                                   lugar + "º Pos.) for 3 years. Do you agree?"
                             : "Foi convidado para treinar a equipa " + destino.clube + " (" + div + "ª Div. - " +
                                   lugar + "º Lugar) por 3 Épocas. Aceita?";
    } catch (const db::Erro_BD& e) {
        ui().aviso(std::string(txt("Não foi possível rever a situação do treinador.",
                                   "The manager's situation could not be reviewed.")) +
                       Linha_Causa(e),
                   Icone::Critico);
        return;
    }

    if (veredicto == Veredicto::Despedido) {
        ui().aviso(texto, Icone::Informacao);
        mudar_de_clube(destino);
        return;
    }
    Mensagem pergunta;
    pergunta.texto = texto;
    pergunta.icone = Icone::Informacao;
    pergunta.botoes = Botoes::SimNao;
    pergunta.botao_defeito = 1;
    if (ui().mensagem(pergunta) == Resposta::Sim) {
        mudar_de_clube(destino);
        return;
    }
    try {
        base_aberta().Execute("UPDATE principal SET sit = 20");
    } catch (const db::Erro_BD& e) {
        ui().aviso(std::string(txt("Não foi possível gravar a recusa do convite.",
                                   "The refusal could not be saved.")) +
                       Linha_Causa(e),
                   Icone::Critico);
    }
}

} // namespace gv
