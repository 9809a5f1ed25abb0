#include "desk/proximo_jogo.h"

#include "data/esquema.h"
#include "data/estado.h"
#include "desk/propostas.h"
#include "desk/secretaria.h"
#include "platform/falhas.h"

namespace gv {

Verificacao Verificacao_N_Jogadores(const std::vector<Linha_Escolha>& linhas) {
    Verificacao v;
    int titulares = 0, suplentes = 0, guarda_redes = 0;
    for (const auto& l : linhas) {
        if (l.marca == JOGA_TITULAR) {
            ++titulares;
            if (l.pos == "gk") ++guarda_redes;
        } else if (l.marca == JOGA_SUPLENTE) {
            ++suplentes;
        }
        if ((l.marca == JOGA_TITULAR || l.marca == JOGA_SUPLENTE) && l.impedido) {
            v.falhou = v.parou_na_linha = true;
            v.mensagens.push_back(ingles() ? "The Player " + l.nome + " can't play."
                                           : "O Jogador " + l.nome + " não pode jogar.");
            return v;
        }
    }
    if (guarda_redes != 1) {
        v.falhou = true;
        v.mensagens.emplace_back(txt("Tem que existir um guarda redes.", "It must exist at least one GK."));
    }
    if (titulares != 11) {
        v.falhou = v.combo_vermelho = true;
        v.mensagens.emplace_back(txt("Nº de Jogadores Titulares Inválido. (11 Jog.)", "You must choose 11 players."));
    }
    if (suplentes >= 6) {
        v.falhou = v.combo_vermelho = true;
        v.mensagens.emplace_back(
            txt("Nº de Jogadores Suplentes Inválido. (max. 5)", "You only can have a max. of 5 spare players"));
    }
    return v;
}

void Actualizar_Dados_Jogadores_Equipa(const std::vector<Linha_Escolha>& linhas) {
    if (!Base_Dados) throw db::Erro_BD(db::ERRO_SEM_BASE, "Não há base de dados aberta");
    auto& d = *Base_Dados;
    db::Transaccao t(d);
    d.Execute("UPDATE jogadores SET joga = 0 WHERE equipa = ?", {Clube_Treinador});
    for (const auto& l : linhas) {
        if (l.cinzento || l.rowid == 0) continue;
        int joga = l.marca == JOGA_TITULAR    ? JOGA_TITULAR
                   : l.marca == JOGA_SUPLENTE ? JOGA_SUPLENTE
                   : l.vermelho               ? JOGA_LESIONADO
                                              : JOGA_NAO;
        // Only the club's own players: a row can never move someone else's.
        d.Execute("UPDATE jogadores SET joga = ? WHERE rowid = ? AND equipa = ?", {joga, l.rowid, Clube_Treinador});
    }
    t.commit();
}

void Entregar_A_Ronda(const std::vector<Jogador_Listado>& por_negociar, int preco_bilhete) {
    Compras_Da_Ronda = [por_negociar] { Transferir_Jogadores(por_negociar); };
    ponto_de_falha("proximo.compras");
    Preco_Bilhete = preco_bilhete;
    Ronda_Com_Preparacao = 1;
}

Resultado_Ronda Jogar_Proximo_Jogo() {
    const Ecra_Jogo ecra = Ecra_Da_Jornada();
    if (ecra == Ecra_Jogo::Fim_De_Epoca) return Resultado_Ronda::Ignorada;
    Proposta_Feita = 0;
    Prestacao_Paga = 0;
    const int preco = Actualizar_Equipas_Jogo().preco_bilhete;
    Propostas();
    ponto_de_falha("proximo.proposta");
    std::vector<Jogador_Listado> lista;
    try {
        lista = Jogadores_Venda();
    } catch (const db::Erro_BD&) {
        // As on the desk: a list that cannot be drawn is an empty list.
    }
    Entregar_A_Ronda(lista, preco);
    return ecra == Ecra_Jogo::Taca ? Jogar_Ronda_Taca() : Jogar_Ronda_Campeonato();
}

Ecra_Jogo Ecra_Da_Jornada() {
    if (Jornada_Actual > 34) return Ecra_Jogo::Fim_De_Epoca;
    return Dia_De_Taca() ? Ecra_Jogo::Taca : Ecra_Jogo::Campeonato;
}

} // namespace gv
