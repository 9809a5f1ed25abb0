#pragma once
// The league tables and the summary of a finished season: who went up and
// down, the champions, the cup winner and the best scorers of each
// division; the winners' history rows and the manager's prizes taken from it.

#include <array>
#include <string>
#include <vector>

namespace gv {

// One club's line in its division's table.
struct Linha_Classificacao {
    long long id = 0;             // the club's row identity
    int lugar = 0;                // 1-based place in the division
    std::string clube;
    int jogos = 0, v = 0, e = 0, d = 0, g_mar = 0, g_suf = 0, pontos = 0;
    std::string golos() const { return std::to_string(g_mar) + "-" + std::to_string(g_suf); }
};

// The division's clubs in standings order: points, goal difference, name.
std::vector<Linha_Classificacao> Ler_Classificacao(int div);

struct Marcador_Epoca {
    long long id = 0;             // the player's row identity
    std::string nome, equipa;
    int golos = 0;
};

struct Resumo_Epoca {
    // Index 0..2 for divisions 1..3.
    std::array<std::vector<Linha_Classificacao>, 3> primeiros;   // places 1-3, in order
    std::array<std::vector<Linha_Classificacao>, 3> ultimos;     // the last three, best first (16, 17, 18)
    std::array<std::vector<Marcador_Epoca>, 3> marcadores;       // up to six with goals, most first, then by name
    std::string campeao;          // first of division 1
    std::string vencedor_taca;    // empty while the cup is not decided
};

// Read from the tables as they stand (the season just played).
Resumo_Epoca Ler_Resumo_Epoca();

// The season's winners into ultimos_venc: each division's champion ("D1",
// "D2", "D3", points), the cup winner ("T", 0) and each division's top
// scorer ("M1", "M2", "M3", goals); nothing for an undecided cup or a
// division without goals.
void Registar_Vencedores(const Resumo_Epoca& r);

// The manager's prizes, each posted as money in and announced: the cup,
// the top scorer of a division, first to third place of a division.
void Premios(const Resumo_Epoca& r);

} // namespace gv
