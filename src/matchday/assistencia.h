#pragma once
// Attendance of every match and the manager's gate money.

#include <string>

namespace gv {

// League attendance: a share of the home stadium by the two clubs' places
// plus a random crowd, never above the capacity.
int Calcular_Assistencia(const std::string& casa, const std::string& fora);
// Cup attendance: 10000 at a club outside the league, a third of the house
// against a visitor from outside, else a full house.
int Assistencia_Taca(const std::string& casa, const std::string& fora);
// One row of assistencias for the matchday being played.
void Registar_Assistencia(const std::string& jogo, const std::string& tipo, int assistencia, long long receita);

// Receipts in 64 bits: the whole gate of a home league match, and half the
// gate of a cup tie, rounded to the nearest unit with halves to even.
long long Receita_Campeonato(int preco_bilhete, int assistencia);
long long Receita_Taca(int preco_bilhete, int assistencia);

} // namespace gv
