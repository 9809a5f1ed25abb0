#pragma once
// Small questions about the league: a club's place, division and stadium,
// and the random choice of another club for offers, purchases and jobs.

#include <string>

namespace gv {

std::string Lugar_Clube(const std::string& clube);   // "3º Lugar" / "3º Place"; empty if not a league club
int Divisao_Clube(const std::string& clube);         // 1 to 3; 0 outside the league
int Capacidade_Estadio(const std::string& clube);    // seats; 0 outside the league

// Each returns a club other than the manager's, or an empty name when no
// club qualifies (the caller then makes no offer).
std::string Clube_Aleatorio_Topo(int div);           // places 1-5 of the others
std::string Clube_Aleatorio_Meio(int div);           // places 5-12
std::string Clube_Aleatorio_Fundo(int div);          // places 13-17
std::string Clube_Fraco_Posicao(int div, const std::string& pos);
std::string Clube_Forte_Posicao(int div, const std::string& pos);
std::string Clube_Falta_Posicao(int div, const std::string& pos);

} // namespace gv
