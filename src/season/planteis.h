#pragma once
// Every computer club back to a squad of 2 goalkeepers, 6 defenders,
// 6 midfielders and 5 forwards at the season change.

#include <array>
#include <string>

namespace gv {

struct Alvo_Plantel {
    const char* pos;
    int n;
};
inline constexpr std::array<Alvo_Plantel, 4> Alvos_Plantel{{{"gk", 2}, {"df", 6}, {"md", 6}, {"av", 5}}};

// Each club other than the manager's: missing players of a position are
// made for the club's (new) division, surplus ones released, weakest first.
void Actualizar_Plantel_Clubes();
// n new players of that position: random name, age 20-31, a strength of
// the division's range, a contract of 1 to 5 seasons.
void Criar_Jogadores(const std::string& clube, int n, const std::string& pos, int div);
// The n weakest players of the position leave the game (ties by row
// order); their all-time scorer rows are closed with the season just ended.
void Dispensar_Jogadores(const std::string& clube, const std::string& pos, int n);

} // namespace gv
