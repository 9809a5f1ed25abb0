#pragma once
// The next-match button's work that needs no window: checking the line-up
// picked in the squad grid, writing it to the players, and choosing the
// match screen.

#include <string>
#include <vector>

#include "market/listas.h"
#include "matchday/ronda.h"

namespace gv {

// One row of the desk's squad grid as the line-up check reads it.
struct Linha_Escolha {
    long long rowid = 0;        // the player (0: none)
    int marca = 0;              // 1 starter, 2 substitute, 0 neither
    std::string pos, nome;
    bool impedido = false;      // lent out, injured or sold since the desk loaded (columns 11-13)
    bool cinzento = false;      // row of a player no longer with the club
    bool vermelho = false;      // row of an injured player
};

struct Verificacao {
    bool falhou = false;
    bool combo_vermelho = false;             // a count error: the formation box turns light red
    bool parou_na_linha = false;             // a player who can't play stopped it before the counts
    std::vector<std::string> mensagens;      // each shown with the critical icon, in order
};
// The line-up check: a player who can't play stops it at once; otherwise
// exactly one goalkeeper, eleven starters and at most five substitutes.
Verificacao Verificacao_N_Jogadores(const std::vector<Linha_Escolha>& linhas);

// Writes the line-up to jogadores by player identity, all or nothing: the
// club's players start at 0, each row's mark goes to its player, injured
// players keep their code, grey rows are skipped.
void Actualizar_Dados_Jogadores_Equipa(const std::vector<Linha_Escolha>& linhas);

enum class Ecra_Jogo { Campeonato, Taca, Fim_De_Epoca };
// The screen the button opens: the cup on matchdays 5, 10, ..., 30 while
// that matchday's cup round is due, the league otherwise; after the last
// matchday there is no match to play.
Ecra_Jogo Ecra_Da_Jornada();

// The button's last steps once the line-up passed its second check: the
// match takes the ticket price, and the computer clubs' purchases from the
// transfer list rows the manager left, the bank instalment and the scorers'
// tidy-up are left to the round, which makes them first in its own
// transaction.
void Entregar_A_Ronda(const std::vector<Jogador_Listado>& por_negociar, int preco_bilhete);

// One press of the button and the round it opens, without a window, as
// tests and benchmarks play a game: a fresh desk (no offer or instalment
// taken yet), the line-up standing in jogadores, the offer, a fresh
// transfer list, the next-match panel's ticket price, then the cup or
// league round. Ignorada after the last matchday.
Resultado_Ronda Jogar_Proximo_Jogo();

} // namespace gv
