#include "startup/servicos_ecra_qt.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

#include "platform/qt/caixa_imagem.h"
#include "startup/servicos_ecra.h"

namespace gv {

namespace {

// Nearest whole number, halves to the even neighbour.
int arredondar(double v) { return static_cast<int>(std::nearbyint(v)); }

} // namespace

void Centrar_Form(QWidget& frm) {
    if (frm.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    QScreen* ecra = frm.screen() ? frm.screen() : QGuiApplication::primaryScreen();
    if (!ecra) return;
    const QRect display = ecra->geometry();
    // Until the window manager has framed the window its frame is unknown:
    // then the window itself is centred, as the main window is, and its
    // frame added around it, so a screen smaller than the main window stays
    // inside it.
    const bool moldura_conhecida = frm.frameGeometry().size() != frm.size();
    const QSize tamanho = moldura_conhecida ? frm.frameGeometry().size() : frm.size();
    const Ponto_Ecra p =
        posicao_centrada(display.width(), display.height(), tamanho.width(), tamanho.height());
    const QPoint onde(display.x() + p.x, display.y() + p.y);
    if (moldura_conhecida)
        frm.move(onde);
    else
        frm.setGeometry(QRect(onde, frm.size()));
}

void Barra_Percentagem(CaixaImagem& pic, float fraccao, const QString& texto) {
    pic.set_ForeColor(QColor(0, 0, 128));
    pic.set_BackColor(QColor(255, 255, 255));
    const int w = pic.TextWidth(texto);
    const int h = pic.TextHeight(texto);
    const int x = arredondar(pic.width() / 2.0 - w / 2.0);
    const int y = arredondar(pic.height() / 2.0 - h / 2.0);

    pic.set_DrawMode(CaixaImagem::Caneta::Copiar);
    pic.Line_BF(x, y, x + w, y + h, pic.BackColor());   // wipes the previous text
    pic.set_CurrentX(x);
    pic.set_CurrentY(y);
    pic.Print(texto);

    pic.set_DrawMode(CaixaImagem::Caneta::Nao_Xor);
    if (fraccao > 0) {
        // Beyond the box's width the bar is clipped anyway.
        const double largura = std::min(static_cast<double>(pic.width()) * fraccao, pic.width() + 1.0);
        pic.Line_BF(0, 0, arredondar(largura), pic.height(), pic.ForeColor());
    } else {
        // The back colour under the not-xor pen changes nothing.
        pic.Line_BF(0, 0, pic.width(), pic.height(), pic.BackColor());
    }
    pic.Refresh();
}

void Barra_Percentagem(CaixaImagem& pic, float fraccao, const std::string& texto) {
    Barra_Percentagem(pic, fraccao, QString::fromStdString(texto));
}

} // namespace gv
