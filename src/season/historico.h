#pragma once
// The long-term record of a game: the manager's career line, every league
// club's all-time totals and its line for each finished season. Only
// appended to (or, for the all-time totals, added to).

namespace gv {

// Appends the manager's line for his club as the table stands now: the
// season's record so far, his place, the cup when his club won it and the
// season's money in and out. silencioso: no status text (the in-season job
// review, when he leaves a club).
void Actualizar_Historico_Treinador(bool silencioso);

// For every league club, in standings order division by division: adds
// the season to its all-time row (created at its first season end; the
// overall rank 1..54 added to pontos_total, lower being better) and
// appends its season line.
void Actualizar_Historico_Clubes();

} // namespace gv
