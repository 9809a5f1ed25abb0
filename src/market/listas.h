#pragma once
// The two player lists the manager buys and borrows from, worked out
// without a window: the matchday's transfer list (league players, free
// players and juniors drawn at random), the list of all other clubs'
// players by division, position and age band, a club's squad, and the
// computer clubs' purchases from the transfer list.

#include <array>
#include <string>
#include <vector>

namespace gv {

// One listed player. A free player or junior has no row yet (rowid 0) and
// the club "-".
struct Jogador_Listado {
    long long rowid = 0;
    std::string pos, nome, clube;
    int idade = 0, forca = 0;
    int golos = -1;         // -1: shown "-"
    int contrato = -1;      // -1: shown "-"
    long preco = 0;         // sale price
    long taxa = -1;         // loan fee; -1: shown "-" (cannot be borrowed)
    bool sem_clube() const { return clube == "-"; }
};

// Pieces of the transfer list.
inline constexpr int Min_Linhas_Liga = 5, Max_Linhas_Liga = 24;
inline constexpr int Min_Livres = 6, Max_Livres = 10;
inline constexpr int Min_Juniores = 2, Max_Juniores = 6;

// The matchday's transfer list: 5 to 24 rows of other clubs' players
// (older than 16, not on loan; one may come up twice), then 6 to 10 free
// players, then 2 to 6 juniors. Writes nothing.
std::vector<Jogador_Listado> Jogadores_Venda();

// Age bands of the list of all players, in the order of its filter.
struct Faixa_Idade {
    const char* texto;
    int minimo, maximo;     // idade > minimo AND idade <= maximo
};
inline constexpr std::array<Faixa_Idade, 4> Faixas_Idade{{{"<= 20", -1000, 20},
                                                          {"> 20 e <= 25", 20, 25},
                                                          {"> 25 e <= 30", 25, 30},
                                                          {"> 30", 30, 1000}}};

// The players of the other league clubs of a division, position and age
// band (index into Faixas_Idade), not on loan, by name. Sale price twice
// the value, loan fee 0 to three fifths of it, drawn for each row.
std::vector<Jogador_Listado> Jogadores_Lista(int div, const std::string& pos, int faixa);

// A league club's squad: goalkeepers, defenders, midfielders, forwards,
// each strongest first; pos, nome, idade, forca, golos filled.
std::vector<Jogador_Listado> Plantel_Clube(const std::string& clube);

// The league clubs by name, with their division.
struct Clube_Divisao {
    std::string clube;
    int div = 0;
};
std::vector<Clube_Divisao> Clubes_Por_Nome();

// Computer clubs buy from the transfer list rows given (the ones the
// manager did not take): each player of 17 or more with chance one in
// four, by a club of the division his strength points to. A league
// player no longer at the listed club (sold, lent or bought since) is left
// alone. Each purchase is whole or undone on its own, and the matchday's
// purchases are saved together; returns how many were made.
int Transferir_Jogadores(const std::vector<Jogador_Listado>& linhas);

} // namespace gv
