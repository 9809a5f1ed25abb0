#include "startup/frmtiler.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>

#include "platform/interface_utilizador.h"
#include "platform/qt/caixa_imagem.h"
#include "startup/servicos_ecra.h"

namespace gv {

namespace {

// A fixed per-pixel hash for the grass speckles: the same bitmap on every
// run, and the game's random source is left alone.
std::uint32_t misturar(std::uint32_t x, std::uint32_t y) {
    std::uint32_t h = x * 374761393u + y * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

// Mown-stripe grass: two bands of green across the tile, each pixel
// lightened or darkened a little; the tile repeats without a seam.
QImage relva(int lado, QColor clara, QColor escura, int variacao) {
    QImage img(lado, lado, QImage::Format_RGB32);
    for (int y = 0; y < lado; ++y) {
        for (int x = 0; x < lado; ++x) {
            const QColor base = x < lado / 2 ? clara : escura;
            const int d = static_cast<int>(misturar(static_cast<std::uint32_t>(x),
                                                    static_cast<std::uint32_t>(y)) % (2u * variacao + 1u)) - variacao;
            img.setPixel(x, y, qRgb(std::clamp(base.red() + d / 2, 0, 255),
                                    std::clamp(base.green() + d, 0, 255),
                                    std::clamp(base.blue() + d / 2, 0, 255)));
        }
    }
    return img;
}

int numero_do_erro(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return 7;
    if (dynamic_cast<const std::invalid_argument*>(&e)) return 5;
    return 51;
}

} // namespace

QImage tile_relvado() { return relva(64, QColor(104, 168, 84), QColor(92, 154, 74), 6); }

QImage tile_relvado_escuro() {
    QImage img = relva(64, QColor(30, 84, 44), QColor(24, 72, 38), 4);
    // A faint chalk line across the bottom of every tile.
    QPainter p(&img);
    p.setPen(QColor(46, 104, 60));
    p.drawLine(0, 63, 63, 63);
    return img;
}

Tiler_Base::Tiler_Base(const QString& nome, const QImage& tile)
    : Ecra(nome), picHidden_(new CaixaImagem(this, QStringLiteral("picHidden"))) {
    picHidden_->hide();
    picHidden_->set_Picture(tile);
}

bool Tiler_Base::TileForm(Alvo_Pintura& frm) { return mosaico(frm, ocupado_form_); }
bool Tiler_Base::TilePicture(Alvo_Pintura& pic) { return mosaico(pic, ocupado_picture_); }

bool Tiler_Base::mosaico(Alvo_Pintura& alvo, bool& ocupado) {
    // A repaint raised while tiling is ignored.
    if (ocupado) return false;
    ocupado = true;
    try {
        picHidden_->set_AutoSize(true);
        const QImage tile = picHidden_->Picture();
        if (tile.isNull()) throw std::invalid_argument("there is no tile picture");
        for (const Ponto_Ecra& p : posicoes_mosaico(alvo.ScaleWidth(), alvo.ScaleHeight(),
                                                    picHidden_->width(), picHidden_->height()))
            alvo.PaintPicture(tile, p.x, p.y);
        ocupado = false;
        return true;
    } catch (const std::exception& e) {
        // The flag stays set while the box is up, so the repaints it causes
        // do not raise the same error again.
        ui().mensagem(Mensagem{"Error " + std::to_string(numero_do_erro(e)) + " tiling the picture " +
                                   " to the form " + alvo.Name().toStdString() + ": " + e.what() + ".",
                               Icone::Exclamacao, Botoes::Ok, {}, 0});
        ocupado = false;
        return false;
    }
}

frmTiler::frmTiler() : Tiler_Base(QStringLiteral("frmTiler"), tile_relvado()) {}
frmTiler0::frmTiler0() : Tiler_Base(QStringLiteral("frmTiler0"), tile_relvado_escuro()) {}

} // namespace gv
