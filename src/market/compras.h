#pragma once
// The manager buys or borrows a player of the transfer list or of the list
// of all players. Each deal is written at once, in one transaction, and is
// announced; a refusal writes nothing.

#include "desk/negocios.h"
#include "market/listas.h"

namespace gv {

// Which list the deal comes from: their rules and English texts differ.
enum class Lista_Origem { Venda, Todos };

// Buying. From the transfer list a contract of 0 counts as 1 and at most
// four players under 17 a season are bought (purchases from either list
// count). The contract is one season more than the listed one. A player
// without a club is created at the manager's club with a fresh value. A
// club's player is sold at once, or (one time in two, and always from
// matchday 26 on) the club offers to keep him until the season ends for
// 15 % less: Yes makes a deferred purchase, No buys him at once.
Resultado_Negocio Comprar_Jogador_Listado(const Jogador_Listado& j, Lista_Origem origem);

// Borrowing until the end of the season, for the listed fee: not a player
// above 30, not a player without a club.
Resultado_Negocio Pedir_Emprestado_Listado(const Jogador_Listado& j, Lista_Origem origem);

// The refusal of a row already taken by a deal on that list.
void Aviso_Ja_Transferido(Lista_Origem origem, bool emprestimo);

} // namespace gv
