#pragma once
// The training camp: every available player of the manager's club gains
// 7, 4 or 2 strength at once, for a price that grows with the wage bill,
// the stadium and the division. Offered on matchdays 1, 10, 20 and 30,
// once per desk visit.

#include <array>

#include "desk/negocios.h"

namespace gv {

struct Nivel_Estagio {
    int ganho;            // strength gained
    double multiplicador;
};
// Levels 1 to 3, in the order of the screen's options.
inline constexpr std::array<Nivel_Estagio, 3> Niveis_Estagio{{{7, 4}, {4, 2}, {2, 1.5}}};

// Whether the camp may be opened now; on refusal the reason is shown.
bool Estagio_Permitido();

// Int((wage bill + seats) * multiplier * division factor), the factor 3, 2.5
// and 2 for divisions 1 to 3. The wage bill counts the club's own players
// (lent out too) and those on loan to it. nivel is 1 to 3.
long Preco_Estagio(int nivel);

// Books the camp: from here on no second camp this desk visit, even when
// the money is short (refused with a message; another level may still be
// tried). Otherwise pays and raises every player at the club not injured,
// in one transaction.
Resultado_Negocio Marcar_Estagio(int nivel);

} // namespace gv
