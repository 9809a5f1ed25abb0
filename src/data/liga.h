#pragma once
// Season reset, the league calendar and the cup draw.

#include <string>

namespace gv {

// Clears every club's standings and removes the season's fixtures.
void Reiniciar_Epoca();
// Builds division div's 34 matchdays from the template jor_aux: slot k is
// the division's k-th club in name order.
void Gerar_Calendario(int div);
// Draws the next cup round from clubes_taca_qualif into jogos_taca, or,
// with one club left, announces the cup winner and remembers it.
void Sortear_Jogos_Taca();

} // namespace gv
