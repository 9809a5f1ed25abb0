#pragma once
// Screen services that need no window: the arithmetic of centring a screen
// and of tiling a bitmap, and the busy pointer (through the UI port).

#include <vector>

namespace gv {

struct Ponto_Ecra {
    int x = 0;
    int y = 0;
    bool operator==(const Ponto_Ecra&) const = default;
};

// Top-left corner that centres a form on the display: each difference
// halved with the remainder dropped (toward zero). Negative when the form
// is larger than the display, so it hangs off both sides equally.
Ponto_Ecra posicao_centrada(int largura_ecra, int altura_ecra, int largura_form, int altura_form);

// Where the tiles go, row by row: from (0, 0) in steps of the tile's size
// while the position is not past the target's size (both bounds inclusive,
// so a row or column starting exactly on the far edge is painted too).
// Throws std::invalid_argument when the tile has no size.
std::vector<Ponto_Ecra> posicoes_mosaico(int largura_alvo, int altura_alvo,
                                         int largura_tile, int altura_tile);

// Hourglass and arrow pointer for the whole program.
void Rato_Ocupado();
void Rato_Normal();

} // namespace gv
