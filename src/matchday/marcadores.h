#pragma once
// Who scored: a scorer for every goal of a side, his goal counted in
// jogadores and in the all-time scorers, and the side's entries for the
// match screen ("07'-Name", by minute then name).

#include <string>

namespace gv {

// Picks a scorer for each of the side's goals (mode 1; any other mode does
// nothing). Returns the side's entries joined by tabs and leaves the latest
// one in Texto_Marcadores (empty when the side scored none). A side with no
// outfield player to score gets no entry for its goals.
std::string Marcadores_Jogo(int golos, const std::string& clube, int modo);
// The same for a cup tie; a club from outside the league has no scorers.
std::string Marcadores_Jogo_Taca(int golos, const std::string& clube, int modo);
// A minute for period 1 (1-45), 2 (45-92) or 3 (1-93); empty for any other.
std::string Minuto_Golo(int periodo);
// Merges the all-time scorers' duplicate rows left by the goals of a
// matchday; run before each matchday.
void Limpar_Melhores_Marcadores();

// The draws of a goal: the scorer's line ("av" from 0.55, "md" from 0.25,
// else "df") and, among n candidates strongest first, the 0-based index.
const char* Posicao_Marcador(double r);
int Candidato_Marcador(int n, double r);

} // namespace gv
