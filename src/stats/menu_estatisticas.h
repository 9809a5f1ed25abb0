#pragma once
// What the desk's menu items of the statistics screens do.

namespace gv {

// CC and the club-name label: the league calendar, with the hourglass.
void Menu_Calendario();
// CT: the cup winner's name once one club is left, else the cup calendar.
void Menu_Calendario_Taca();
// MM: a message while nobody has scored this season, else the scorers.
void Menu_Melhores_Marcadores();
// MMS: the all-time scorers, with the hourglass.
void Menu_Marcadores_Sempre();
// VMJ, TE, ARJ, clubes_H, EE, HT, uv: the screen, shown modally.
void Menu_Media_Jogadores();
void Menu_Transferencias_Clube();
void Menu_Assistencias();
void Menu_Historico_Clubes();
void Menu_Historico_Clube_Epocas();
void Menu_Historico_Treinador();
void Menu_Vencedores();
// TEE: every club's transfers, with the hourglass.
void Menu_Transferencias_Todas();

} // namespace gv
