#pragma once
// The league table after a match, the cup winner's place in the next draw,
// and a club's place in its division.

#include <string>

namespace gv {

// Books the match just simulated (its goals from the match state) into
// both clubs' rows of clubes: played, points, won/drawn/lost, goals.
void Actualizar_Classificacao(const std::string& casa, const std::string& fora);
// Adds the winner of the cup match just simulated to clubes_taca_qualif.
void Qualificar_Vencedor_Taca(const std::string& casa, const std::string& fora);
// 1-based place in its division by points, goal difference, name; 0 for a
// club outside the league.
int Posicao_Clube(const std::string& clube);

} // namespace gv
