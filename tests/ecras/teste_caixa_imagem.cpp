#include <gtest/gtest.h>

#include <QSignalSpy>

#include "ambiente_qt.h"
#include "platform/qt/caixa_imagem.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {
namespace {

const QRgb BRANCO = qRgb(255, 255, 255);
const QRgb AZUL_ESCURO = qRgb(0, 0, 128);

QRgb px(const CaixaImagem& c, int x, int y) { return c.imagem().pixel(x, y) | 0xff000000u; }

// The smallest rectangle holding every pixel of colour `cor`.
QRect caixa_da_cor(const CaixaImagem& c, QRgb cor) {
    QRect r;
    for (int y = 0; y < c.imagem().height(); ++y)
        for (int x = 0; x < c.imagem().width(); ++x)
            if (px(c, x, y) == cor) r = r.united(QRect(x, y, 1, 1));
    return r;
}

CaixaImagem* nova_caixa(int w, int h) {
    auto* c = new CaixaImagem(nullptr, QStringLiteral("pic"));
    c->resize(w, h);
    return c;
}

TEST(CaixaImagem, CorDeFundoApagaODesenho) {
    std::unique_ptr<CaixaImagem> c(nova_caixa(50, 20));
    c->Line_BF(0, 0, 50, 20, Qt::red);
    c->set_BackColor(QColor(10, 20, 30));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 50; ++x) ASSERT_EQ(px(*c, x, y), qRgb(10, 20, 30));
    EXPECT_EQ(c->imagem().format(), QImage::Format_RGB32);
}

TEST(CaixaImagem, CaixaCheiaCobreDoCantoProximoAteAoAfastado) {
    std::unique_ptr<CaixaImagem> c(nova_caixa(40, 30));
    c->set_BackColor(Qt::white);
    c->Line_BF(30, 20, 10, 5, QColor(0, 128, 0));   // corners in either order
    EXPECT_EQ(caixa_da_cor(*c, qRgb(0, 128, 0)), QRect(10, 5, 20, 15));
}

TEST(CaixaImagem, CanetaNaoXorInverteEDuasVezesRepoe) {
    std::unique_ptr<CaixaImagem> c(nova_caixa(20, 10));
    c->set_BackColor(Qt::white);
    c->Line_BF(0, 0, 10, 10, QColor(0, 0, 128));   // copy pen: dark blue left half
    const QImage antes = c->imagem();

    c->set_DrawMode(CaixaImagem::Caneta::Nao_Xor);
    c->Line_BF(5, 0, 15, 10, QColor(0, 0, 128));
    EXPECT_EQ(px(*c, 2, 5), AZUL_ESCURO);   // outside the box: unchanged
    EXPECT_EQ(px(*c, 7, 5), BRANCO);        // dark blue under the pen turns white
    EXPECT_EQ(px(*c, 12, 5), AZUL_ESCURO);  // white turns dark blue
    EXPECT_EQ(px(*c, 17, 5), BRANCO);

    c->Line_BF(5, 0, 15, 10, QColor(0, 0, 128));
    EXPECT_EQ(c->imagem(), antes);

    // White under not-xor changes nothing.
    c->Line_BF(0, 0, 20, 10, Qt::white);
    EXPECT_EQ(c->imagem(), antes);
}

TEST(CaixaImagem, TextoImpressoNaPosicaoDentroDaSuaMedida) {
    std::unique_ptr<CaixaImagem> c(nova_caixa(200, 60));
    c->set_BackColor(Qt::white);
    c->set_ForeColor(QColor(0, 0, 128));
    const QString t = QStringLiteral("Lugares 12,500");
    const int w = c->TextWidth(t), h = c->TextHeight(t);
    ASSERT_GT(w, 20);
    ASSERT_GT(h, 5);
    EXPECT_EQ(c->TextHeight(QStringLiteral("a\nb")), 2 * h);

    c->set_CurrentX(30);
    c->set_CurrentY(15);
    c->Print(t);
    const QRect texto = caixa_da_cor(*c, AZUL_ESCURO);
    ASSERT_FALSE(texto.isNull());
    EXPECT_TRUE(QRect(30, 15, w, h).contains(texto)) << texto.x() << "," << texto.y();
    // No anti-aliasing: only the two colours.
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const QRgb p = px(*c, x, y);
            ASSERT_TRUE(p == BRANCO || p == AZUL_ESCURO);
        }
    EXPECT_EQ(c->CurrentX(), 0);
    EXPECT_EQ(c->CurrentY(), 15 + h);
}

TEST(CaixaImagem, PaintPictureEAutoSize) {
    QImage tile(8, 6, QImage::Format_RGB32);
    tile.fill(qRgb(1, 2, 3));
    tile.setPixel(0, 0, qRgb(200, 0, 0));

    std::unique_ptr<CaixaImagem> c(nova_caixa(30, 30));
    c->set_BackColor(Qt::white);
    c->PaintPicture(tile, 10, 20);
    EXPECT_EQ(px(*c, 10, 20), qRgb(200, 0, 0));
    EXPECT_EQ(px(*c, 17, 25), qRgb(1, 2, 3));
    EXPECT_EQ(px(*c, 18, 25), BRANCO);
    EXPECT_EQ(px(*c, 9, 20), BRANCO);

    c->set_Picture(tile);
    EXPECT_EQ(c->width(), 30);   // without auto-size the box keeps its size
    c->set_AutoSize(true);
    EXPECT_EQ(c->width(), 8);
    EXPECT_EQ(c->height(), 6);
    EXPECT_EQ(c->ScaleWidth(), 8);
    EXPECT_EQ(c->ScaleHeight(), 6);
    EXPECT_EQ(px(*c, 0, 0), qRgb(200, 0, 0));   // the picture lies under the drawing
}

TEST(CaixaImagem, RedimensionarPedePinturaEGuardaODesenho) {
    std::unique_ptr<CaixaImagem> c(nova_caixa(20, 20));
    EXPECT_EQ(c->imagem().size(), QSize(20, 20));   // follows the size even unshown
    c->show();
    c->set_BackColor(Qt::white);
    c->Line_BF(0, 0, 5, 5, Qt::black);
    QSignalSpy pinturas(c.get(), &CaixaImagem::Paint);
    c->resize(60, 40);
    EXPECT_GE(pinturas.count(), 1);
    EXPECT_EQ(c->imagem().size(), QSize(60, 40));
    EXPECT_EQ(px(*c, 2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(px(*c, 50, 30), BRANCO);
}

// The gauge's text pixels, found by drawing it with no bar.
QImage texto_do_indicador(int w, int h, const QString& t) {
    std::unique_ptr<CaixaImagem> c(nova_caixa(w, h));
    Barra_Percentagem(*c, 0.0f, t);
    return c->imagem();
}

TEST(Barra_Percentagem, FraccaoZeroDeixaSoOTextoCentradoEmBranco) {
    const QString t = QStringLiteral("12,500 Lugares");
    std::unique_ptr<CaixaImagem> c(nova_caixa(240, 40));
    c->set_BackColor(Qt::red);   // anything drawn before is wiped
    Barra_Percentagem(*c, 0.0f, t);

    const int w = c->TextWidth(t), h = c->TextHeight(t);
    const QRect area((240 - w) / 2, (40 - h) / 2, w, h);
    int azuis = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 240; ++x) {
            const QRgb p = px(*c, x, y);
            if (!area.adjusted(-2, -2, 2, 2).contains(x, y)) {
                ASSERT_EQ(p, BRANCO) << x << "," << y;
            }
            if (p == AZUL_ESCURO) ++azuis;
            ASSERT_TRUE(p == BRANCO || p == AZUL_ESCURO);
        }
    EXPECT_GT(azuis, 20);
    // Centred: the ink is about as far from the left edge as from the right.
    const QRect tinta = caixa_da_cor(*c, AZUL_ESCURO);
    EXPECT_LE(std::abs(tinta.left() - (239 - tinta.right())), w / 4 + 2);
    EXPECT_EQ(c->ForeColor(), QColor(0, 0, 128));
    EXPECT_EQ(c->BackColor(), QColor(255, 255, 255));
}

TEST(Barra_Percentagem, MeiaBarraInverteAMetadeEsquerdaETextoNelaFicaBranco) {
    const QString t = QStringLiteral("Rendimento 50%");
    const QImage so_texto = texto_do_indicador(240, 40, t);
    std::unique_ptr<CaixaImagem> c(nova_caixa(240, 40));
    Barra_Percentagem(*c, 0.5f, t);

    int texto_esquerda = 0, texto_direita = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 240; ++x) {
            const bool texto = (so_texto.pixel(x, y) | 0xff000000u) == AZUL_ESCURO;
            const bool esquerda = x < 120;
            const QRgb esperado = esquerda != texto ? AZUL_ESCURO : BRANCO;
            ASSERT_EQ(px(*c, x, y), esperado) << x << "," << y;
            if (texto) ++(esquerda ? texto_esquerda : texto_direita);
        }
    // The text straddles the middle, so both effects were seen.
    EXPECT_GT(texto_esquerda, 5);
    EXPECT_GT(texto_direita, 5);
}

TEST(Barra_Percentagem, NovoDesenhoApagaABarraAnteriorEAcimaDeUmCobreTudo) {
    const QString t = QStringLiteral("1,000 Seats");
    std::unique_ptr<CaixaImagem> a(nova_caixa(160, 30)), b(nova_caixa(160, 30));
    Barra_Percentagem(*a, 0.8f, t);
    Barra_Percentagem(*a, 0.25f, t);
    Barra_Percentagem(*b, 0.25f, t);
    EXPECT_EQ(a->imagem(), b->imagem());

    const QImage so_texto = texto_do_indicador(160, 30, t);
    Barra_Percentagem(*a, 1.7f, t);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 160; ++x) {
            const bool texto = (so_texto.pixel(x, y) | 0xff000000u) == AZUL_ESCURO;
            ASSERT_EQ(px(*a, x, y), texto ? BRANCO : AZUL_ESCURO);
        }
    Barra_Percentagem(*a, -0.3f, t);
    EXPECT_EQ(a->imagem(), so_texto);
}

} // namespace
} // namespace gv
