#pragma once
// Computer clubs' offers for the manager's players, and the draw of the
// club interested in any deal made from the desk.

#include <string>

namespace gv {

// Division a player's strength points to: up to 40 the third, up to 65
// the second, above that the first.
int Divisao_Do_Jogador(int forca);

// A computer club for a deal over a player of position `pos`: by table
// band, by strength in the position or by shortage in it. Empty only when
// no club of the division qualifies.
std::string Escolher_Clube_Interessado(int div, const std::string& pos);

enum class Resultado_Proposta { Nenhuma, Recusada, Emprestimo, Venda };

// Maybe an offer for one of the manager's fit, own outfield players; Yes
// moves him and books the money in one transaction. Proposta_Feita
// becomes 1 after an accepted offer. The caller refills the squad grid
// and the finance panel.
Resultado_Proposta Propostas();

} // namespace gv
