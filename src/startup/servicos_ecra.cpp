#include "startup/servicos_ecra.h"

#include <stdexcept>

#include "platform/interface_utilizador.h"

namespace gv {

Ponto_Ecra posicao_centrada(int largura_ecra, int altura_ecra, int largura_form, int altura_form) {
    // C++ division truncates toward zero, as the old integer division did.
    return {(largura_ecra - largura_form) / 2, (altura_ecra - altura_form) / 2};
}

std::vector<Ponto_Ecra> posicoes_mosaico(int largura_alvo, int altura_alvo,
                                         int largura_tile, int altura_tile) {
    if (largura_tile <= 0 || altura_tile <= 0)
        throw std::invalid_argument("the tile picture has no size");
    std::vector<Ponto_Ecra> pontos;
    for (int y = 0; y <= altura_alvo; y += altura_tile)
        for (int x = 0; x <= largura_alvo; x += largura_tile) pontos.push_back({x, y});
    return pontos;
}

void Rato_Ocupado() { ui().rato_ocupado(); }
void Rato_Normal() { ui().rato_normal(); }

} // namespace gv
