#pragma once
// New players' attributes and the price of a deal, and the veterans of the
// manager's club who stop playing at the end of a season.
//
// Every draw comes from the game's one random source; the rules that turn
// a draw into a value are exposed on their own so that a chosen draw can
// be checked against each threshold.

#include <optional>
#include <string>

namespace gv {

// ---------------------------------------------------------------- new players

// A name from the pool jogadores_all, every row equally likely.
// db::Erro_BD when the pool is empty.
std::string Nome_Aleatorio();
// Strength by division: 1 gives 50-89, 2 gives 25-64, 3 gives 10-49;
// nothing (and no draw) for any other division.
std::optional<int> Forca_Aleatoria(int div);
// 20 to 31, each age equally likely.
int Idade_Aleatoria();
// "gk", "df", "md" or "av" (about 10 %, 33 %, 32 % and 25 %).
std::string Posicao_Aleatoria();
std::string Posicao_Do_Sorteio(double r);

// ---------------------------------------------------------------- price of a deal

// The band price (Faixas_Preco); one deal in five, when the draw r is below
// 0.2, is lowered to price * (r + 0.5), rounded half to even.
long Preco_Jogador(int forca, int idade);
long Preco_Com_Sorteio(int forca, int idade, double r);

// ---------------------------------------------------------------- veterans

// Whether a player of that age (after the season's birthday) stops when
// the draw is r: 34 on r > 0.75, 35 on r > 0.6, 36 on r > 0.5, 37 on
// r > 0.3, 38 to 55 always, otherwise never.
bool Reforma_Com_Sorteio(int idade, double r);

// Closes a player's all-time scorer row, found by name, club, position and
// age, with the season just ended (Epoca_Actual - 1, the season having been
// advanced already). Rows already closed keep their year.
void Fechar_Marcador_Sempre(const std::string& nome, const std::string& equipa, const std::string& pos, int idade);

// The manager's players aged 34 or more, in row order, each draw once; a
// retiring player is announced, his all-time scorer row closed and his row
// removed. Called by the season change after the ages went up.
void Reformar_Jogadores();

} // namespace gv
