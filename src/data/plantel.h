#pragma once
// The squad as the desk's grid lists it: line-up, reserves, unavailable and
// lent-out players, each player of the club (and each one it lent out)
// exactly once, sections following one another with no gap.

#include <string>
#include <vector>

namespace gv {

enum class Seccao_Plantel { Equipa = 1, Reservas = 2, Indisponiveis = 3, Emprestados = 4 };

struct Linha_Plantel {
    long long rowid = 0;          // the player's identity
    Seccao_Plantel seccao = Seccao_Plantel::Equipa;
    int marca = 0;                // line-up mark: 1 starter, 2 substitute, 0 none
    std::string pos, nome;
    int idade = 0, forca = 0, contrato = 0, golos = 0;
    long ordenado = 0, preco = 0;
    bool emprestado = false;      // at the club on loan
    bool lesionado = false;
    int lesionado_jor = 0;
};

// The rows for a formation such as "4-4-2": the strongest available
// players of each line make the line-up, the strongest left of each line is
// the substitute. A formation asking for more players than a line has gives
// that line's players all to the line-up.
std::vector<Linha_Plantel> Linhas_Plantel(const std::string& formacao);

} // namespace gv
