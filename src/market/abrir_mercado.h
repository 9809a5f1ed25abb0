#pragma once
// The desk's ways into the market: its menu items, the click on the next
// match, the computer clubs' purchases of the next-match button, and the
// refresh of the desk after a deal.

#include <functional>

class QWidget;

namespace gv {

void Abrir_Banco();                 // EB
void Abrir_Lista_Venda();           // LT: the matchday's list, built at its first opening
void Abrir_Lista_Jogadores();       // LJT
void Abrir_Estadio();               // estadio
void Abrir_Estagio();               // estagio: matchdays 1, 10, 20, 30, once per desk visit
void Abrir_Equipa_Adversario();     // EA and the next-match line: the next opponent's squad

// The next-match button's transfer-list step: the computer clubs buy from
// this matchday's list (drawn now, unseen, when the manager never opened
// it), then the list is discarded.
void Transferir_Jogadores_Da_Lista();

// After a deal: the desk's squad grid, formation and finance panel.
void Refrescar_Secretaria();

// Runs `accao` when the widget is clicked with the left button.
void Ao_Clicar(QWidget& w, std::function<void()> accao);

} // namespace gv
