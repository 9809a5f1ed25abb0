#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ambiente_qt.h"
#include "startup/servicos_ecra.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {
namespace {

TEST(PosicaoCentrada, MetadeDaDiferencaTruncadaParaZero) {
    EXPECT_EQ(posicao_centrada(1024, 768, 400, 300), (Ponto_Ecra{312, 234}));
    EXPECT_EQ(posicao_centrada(1024, 768, 401, 301), (Ponto_Ecra{311, 233}));
    // Wider than the display: negative, the remainder dropped toward zero
    // (-201 / 2 is -100, not -101).
    EXPECT_EQ(posicao_centrada(800, 600, 1001, 600), (Ponto_Ecra{-100, 0}));
    EXPECT_EQ(posicao_centrada(800, 600, 1000, 801), (Ponto_Ecra{-100, -100}));
}

TEST(Centrar_Form, FormMaisLargoQueOEcraFicaPenduradoDosDoisLados) {
    QScreen* ecra = QGuiApplication::primaryScreen();
    ASSERT_NE(ecra, nullptr);
    const QRect d = ecra->geometry();
    QWidget frm;
    frm.resize(d.width() + 200, d.height() / 2);
    Centrar_Form(frm);
    EXPECT_EQ(frm.x(), d.x() - 100);
    const int fora_esquerda = d.x() - frm.x();
    const int fora_direita = frm.x() + frm.width() - (d.x() + d.width());
    EXPECT_EQ(fora_esquerda, fora_direita);
    EXPECT_EQ(frm.y(), d.y() + (d.height() - d.height() / 2) / 2);
    EXPECT_EQ(frm.size(), QSize(d.width() + 200, d.height() / 2));   // size unchanged
}

TEST(Centrar_Form, JanelaMaximizadaNaoSeMexe) {
    QWidget frm;
    frm.setGeometry(7, 9, 300, 200);
    frm.setWindowState(Qt::WindowMaximized);
    const QPoint antes = frm.pos();
    Centrar_Form(frm);
    EXPECT_EQ(frm.pos(), antes);
}

} // namespace
} // namespace gv
