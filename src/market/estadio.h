#pragma once
// Enlarging the manager's stadium: 150 a seat, at least 1,000 seats a
// time, never above 100,000 seats.

#include <string>

#include "desk/negocios.h"

namespace gv {

inline constexpr long Preco_Lugar = 150;
inline constexpr long Lugares_Minimos = 1000;
inline constexpr long Capacidade_Maxima = 100000;
inline constexpr long Manutencao_Lugar = 7;   // a season, paid at its end

// The gauge: the share of the largest stadium, and its text
// ("50,000 Lugares" / "50,000 Seats").
float Fraccao_Estadio(long capacidade);
std::string Texto_Estadio(long capacidade);

// Buys `lugares` seats. Refuses (message, nothing written) when the club
// is already past the spending floor, below 1,000 seats, above the
// largest stadium, or when paying would pass the floor; otherwise adds the
// seats and pays for them in one transaction.
Resultado_Negocio Ampliar_Estadio(long lugares);

} // namespace gv
