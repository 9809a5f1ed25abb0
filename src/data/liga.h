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
// The same draw without the announcement, for a caller that announces only
// once its transaction is saved: the winner's name when the cup is decided,
// else empty.
std::string Sortear_Jogos_Taca_Sem_Aviso();
// A cup round saved without the draw that follows it (an earlier version
// drew only when the round screen's OK was pressed) gets that draw now, in
// its own transaction; a game in order is left alone. Answers the winner
// when the draw decided the cup.
std::string Completar_Sorteio_Taca();
// "Clube vencedor da Taça: " and the name in capitals.
void Anunciar_Vencedor_Taca(const std::string& vencedor);

} // namespace gv
