#pragma once
// The players' week after a round: computer line-ups cleared, players
// without a club removed, injuries counted down, the manager's players'
// form and strength moved, computer players grown on fixed matchdays,
// prices and wages following the strengths. Set-based statements only.

namespace gv {

// After a league round (Jornada_Actual still the matchday just played).
void Actualizar_Jogadores_Jornada();
// After a cup round.
void Actualizar_Jogadores_Taca();

// Matchdays after which every player outside the manager's club grows.
bool Jornada_De_Crescimento(int jornada);

} // namespace gv
