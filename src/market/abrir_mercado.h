#pragma once
// The desk's ways into the market: its menu items, the click on the next
// match, the computer clubs' purchases of the next-match button, and the
// refresh of the desk after a deal.

#include <functional>
#include <vector>

#include "market/listas.h"

class QWidget;

namespace gv {

void Abrir_Banco();                 // EB
void Abrir_Lista_Venda();           // LT: the matchday's list, built at its first opening
void Abrir_Lista_Jogadores();       // LJT
void Abrir_Estadio();               // estadio
void Abrir_Estagio();               // estagio: matchdays 1, 10, 20, 30, once per desk visit
void Abrir_Equipa_Adversario();     // EA and the next-match line: the next opponent's squad

// The next-match button's transfer-list step: the rows of this matchday's
// list the manager did not take (the list drawn now, unseen, when he never
// opened it); the list is discarded.
std::vector<Jogador_Listado> Lista_Venda_Por_Negociar();

// After a deal: the desk's squad grid, formation and finance panel.
void Refrescar_Secretaria();

// Runs `accao` when the widget is clicked with the left button.
void Ao_Clicar(QWidget& w, std::function<void()> accao);

} // namespace gv
