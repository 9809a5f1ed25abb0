#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "ambiente_qt.h"
#include "platform/interface_utilizador.h"
#include "platform/qt/caixa_imagem.h"
#include "startup/frmentrada.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra.h"

namespace gv {
namespace {

using Pontos = std::vector<Ponto_Ecra>;

TEST(PosicoesMosaico, AlvoMenorQueUmTileLevaUmSoEmZeroZero) {
    EXPECT_EQ(posicoes_mosaico(10, 7, 32, 32), (Pontos{{0, 0}}));
    EXPECT_EQ(posicoes_mosaico(0, 0, 32, 32), (Pontos{{0, 0}}));
}

TEST(PosicoesMosaico, LimitesInclusivos) {
    // Exactly two tiles wide: the third column starts on the right edge.
    EXPECT_EQ(posicoes_mosaico(64, 10, 32, 32), (Pontos{{0, 0}, {32, 0}, {64, 0}}));
    // One pixel short of that: two columns.
    EXPECT_EQ(posicoes_mosaico(63, 10, 32, 32), (Pontos{{0, 0}, {32, 0}}));
    // Rows the same way, row by row; tiles need not be square.
    EXPECT_EQ(posicoes_mosaico(20, 40, 25, 20),
              (Pontos{{0, 0}, {0, 20}, {0, 40}}));
    EXPECT_EQ(posicoes_mosaico(50, 19, 25, 20).size(), 3u);
}

TEST(PosicoesMosaico, TileSemTamanhoEErro) {
    EXPECT_THROW(posicoes_mosaico(100, 100, 0, 32), std::invalid_argument);
    EXPECT_THROW(posicoes_mosaico(100, 100, 32, -1), std::invalid_argument);
}

// A target that records what is painted on it and may act while painting.
struct Alvo_Teste : Alvo_Pintura {
    int w = 100, h = 50;
    std::vector<Ponto_Ecra> pintados;
    std::function<void()> ao_pintar;
    int ScaleWidth() const override { return w; }
    int ScaleHeight() const override { return h; }
    void PaintPicture(const QImage&, int x, int y) override {
        pintados.push_back({x, y});
        if (ao_pintar) {
            auto f = std::move(ao_pintar);
            ao_pintar = nullptr;
            f();
        }
    }
    QString Name() const override { return QStringLiteral("Picture9"); }
};

struct Tilers : ::testing::Test {
    void TearDown() override {
        descarregar<frmTiler>();
        descarregar<frmTiler0>();
        descarregar<Frmentrada>();
        teste::apagar_pendentes();
    }
    Interface_Guionizada porta;
    Ui_Instalada instalada{porta};
};

TEST_F(Tilers, CadaUmComOSeuTileQueCobreOAlvoSemCosturas) {
    const QImage claro = instancia<frmTiler>().picHidden().Picture();
    const QImage escuro = instancia<frmTiler0>().picHidden().Picture();
    ASSERT_FALSE(claro.isNull());
    ASSERT_FALSE(escuro.isNull());
    EXPECT_NE(claro, escuro);

    CaixaImagem caixa(nullptr, QStringLiteral("Picture1"));
    caixa.resize(150, 90);
    ASSERT_TRUE(instancia<frmTiler0>().TilePicture(caixa));
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 150; ++x)
            ASSERT_EQ(caixa.imagem().pixel(x, y), escuro.pixel(x % escuro.width(), y % escuro.height()))
                << x << "," << y;
    EXPECT_TRUE(porta.mensagens.empty());
}

TEST_F(Tilers, PintaNasPosicoesDoCalculoComOTamanhoDoPicHidden) {
    frmTiler& t = instancia<frmTiler>();
    QImage tile(30, 20, QImage::Format_RGB32);
    tile.fill(Qt::darkGreen);
    t.picHidden().set_AutoSize(false);
    t.picHidden().resize(5, 5);
    t.picHidden().set_Picture(tile);

    Alvo_Teste alvo;
    ASSERT_TRUE(t.TileForm(alvo));
    // The tiler sizes picHidden to its bitmap before stepping.
    EXPECT_EQ(t.picHidden().size(), QSize(30, 20));
    EXPECT_EQ(alvo.pintados, posicoes_mosaico(100, 50, 30, 20));
}

TEST_F(Tilers, SegundaChamadaDuranteAPrimeiraDevolveFalsoENaoPinta) {
    frmTiler0& t = instancia<frmTiler0>();
    Alvo_Teste alvo;
    bool interior = true;
    bool outro_procedimento = false;
    alvo.ao_pintar = [&] {
        interior = t.TilePicture(alvo);
        // The other procedure has its own flag.
        Alvo_Teste outro;
        outro_procedimento = t.TileForm(outro);
    };
    ASSERT_TRUE(t.TilePicture(alvo));
    EXPECT_FALSE(interior);
    EXPECT_TRUE(outro_procedimento);
    const auto uma_passagem = posicoes_mosaico(100, 50, t.picHidden().width(), t.picHidden().height());
    EXPECT_EQ(alvo.pintados, uma_passagem);

    // Once finished, the procedure runs again.
    alvo.pintados.clear();
    EXPECT_TRUE(t.TilePicture(alvo));
    EXPECT_EQ(alvo.pintados, uma_passagem);
}

// Answers the message box and, while it is up, tries to tile again.
struct Porta_Que_Repinta : Interface_Guionizada {
    std::function<void()> durante;
    Resposta mensagem(const Mensagem& m) override {
        if (durante) durante();
        return Interface_Guionizada::mensagem(m);
    }
};

TEST_F(Tilers, ErroDaMensagemEDepoisLibertaOProcedimento) {
    Porta_Que_Repinta repinta;
    Ui_Instalada com_repinta(repinta);
    frmTiler& t = instancia<frmTiler>();
    Alvo_Teste alvo;
    alvo.ao_pintar = [] { throw std::runtime_error("disco cheio"); };
    bool durante_a_mensagem = true;
    repinta.durante = [&] {
        Alvo_Teste outro;
        durante_a_mensagem = t.TileForm(outro);
    };

    EXPECT_FALSE(t.TileForm(alvo));
    ASSERT_EQ(repinta.mensagens.size(), 1u);
    EXPECT_EQ(repinta.mensagens[0].texto,
              "Error 51 tiling the picture  to the form Picture9: disco cheio.");
    EXPECT_EQ(repinta.mensagens[0].icone, Icone::Exclamacao);
    EXPECT_EQ(repinta.mensagens[0].botoes, Botoes::Ok);
    // A repaint raised by the box itself is ignored, not a second error.
    EXPECT_FALSE(durante_a_mensagem);
    EXPECT_EQ(repinta.mensagens.size(), 1u);

    repinta.durante = nullptr;
    alvo.pintados.clear();
    EXPECT_TRUE(t.TileForm(alvo));
    EXPECT_FALSE(alvo.pintados.empty());
}

TEST_F(Tilers, SemBitmapEErroCincoEUmNovoTilerTemOSeuDeVolta) {
    frmTiler& t = instancia<frmTiler>();
    const QImage original = t.picHidden().Picture();
    t.picHidden().set_Picture(QImage());
    Alvo_Teste alvo;
    alvo.w = 10;
    EXPECT_FALSE(t.TilePicture(alvo));
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto.rfind("Error 5 tiling the picture  to the form Picture9: ", 0), 0u)
        << porta.mensagens[0].texto;
    EXPECT_TRUE(alvo.pintados.empty());

    // Unloading releases the instance; the next reference is a fresh one.
    t.Unload();
    EXPECT_FALSE(carregado<frmTiler>());
    EXPECT_EQ(instancia<frmTiler>().picHidden().Picture(), original);
    EXPECT_TRUE(instancia<frmTiler>().TilePicture(alvo));
}

TEST_F(Tilers, EcraDeEntradaTemOFundoDoFrmTiler) {
    Frmentrada& e = instancia<Frmentrada>();
    const QImage tile = instancia<frmTiler>().picHidden().Picture();
    const QImage ecra = e.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(ecra.isNull());
    // The top-left corner is bare background, left of every control.
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 15; ++x)
            ASSERT_EQ(ecra.pixel(x, y), tile.pixel(x % tile.width(), y % tile.height())) << x << "," << y;
}

} // namespace
} // namespace gv
