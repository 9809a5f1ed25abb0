#pragma once
// Injuries of the manager's players after each of his matches.

namespace gv {

// With chance 11% one of the manager's outfield starters still fit is
// injured for 2 to 18 matchdays: he is told, taken out of the line-up
// (joga 3) and his countdown set. Nothing happens without a candidate.
void Verificar_Lesao();

// The draw that decides an injury, compared in single precision.
inline bool Lesao_Sorteada(float r) { return r >= 0.89f; }

} // namespace gv
