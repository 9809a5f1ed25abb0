#pragma once
// The manager's job review of the real-game option, after every league
// round from the fifth matchday on: a bad run gets him sacked and hired at
// once by a weaker club, a good run brings an invitation from a bigger one.

namespace gv {

enum class Veredicto { Nada = 0, Despedido = 1, Convidado = 2 };

// The verdict for the matchday to be played next, the club's place and the
// runs of principal: wins (v) and defeats (d) in a row, matches without
// defeat (gc) and without a win (pc). Later rules override earlier ones.
Veredicto Veredicto_Situacao(int jornada, int lugar, int v, int d, int gc, int pc);

// Reviews the manager's job (when Jornada_Actual is 5 or more) and makes
// the move it leads to: a sacking is announced, an invitation asked. The
// move itself is all or nothing; a failure is reported and he stays.
void Ver_Situacao();

} // namespace gv
