// The application shell: tile positions and the tilers, centring, the
// gauge, the splash, the main window and the start-up.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

#include "ambiente_qt.h"
#include "data/estado.h"
#include "platform/interface_utilizador.h"
#include "platform/qt/caixa_imagem.h"
#include "platform/qt/interface_qt.h"
#include "platform/qt/navegacao.h"
#include "startup/arranque.h"
#include "startup/frmentrada.h"
#include "startup/frmsplash.h"
#include "startup/frmtiler.h"
#include "startup/mdiform1.h"
#include "startup/servicos_ecra.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {
namespace {

using Pontos = std::vector<Ponto_Ecra>;

TEST(PosicoesMosaico, TilesStartRowByRowUpToAndIncludingTheFarEdges) {
    EXPECT_EQ(posicoes_mosaico(10, 7, 32, 32), (Pontos{{0, 0}}));   // smaller than a tile
    EXPECT_EQ(posicoes_mosaico(0, 0, 32, 32), (Pontos{{0, 0}}));
    // Exactly two tiles wide: the third column starts on the right edge.
    EXPECT_EQ(posicoes_mosaico(64, 10, 32, 32), (Pontos{{0, 0}, {32, 0}, {64, 0}}));
    EXPECT_EQ(posicoes_mosaico(63, 10, 32, 32), (Pontos{{0, 0}, {32, 0}}));
    // Rows the same way; tiles need not be square.
    EXPECT_EQ(posicoes_mosaico(30, 40, 25, 20), (Pontos{{0, 0}, {25, 0}, {0, 20}, {25, 20}, {0, 40}, {25, 40}}));
    EXPECT_THROW(posicoes_mosaico(100, 100, 0, 32), std::invalid_argument);
    EXPECT_THROW(posicoes_mosaico(100, 100, 32, -1), std::invalid_argument);
}

// A target that records what is painted on it and may act while painting.
struct Alvo_Teste : Alvo_Pintura {
    int w = 100, h = 50;
    Pontos pintados;
    std::function<void()> ao_pintar;
    int ScaleWidth() const override { return w; }
    int ScaleHeight() const override { return h; }
    void PaintPicture(const QImage&, int x, int y) override {
        pintados.push_back({x, y});
        if (auto f = std::exchange(ao_pintar, nullptr)) f();
    }
    QString Name() const override { return QStringLiteral("Picture9"); }
};

// Answers the message box and, while it is up, may try to tile again.
struct Porta_Que_Repinta : Interface_Guionizada {
    std::function<void()> durante;
    Resposta mensagem(const Mensagem& m) override {
        if (durante) durante();
        return Interface_Guionizada::mensagem(m);
    }
};

struct Tilers : ::testing::Test {
    void TearDown() override {
        teste::descarregar_ecras<frmTiler, frmTiler0>();
    }
    Porta_Que_Repinta porta;
    Ui_Instalada instalada{porta};
};

TEST_F(Tilers, TheTileTakesItsBitmapsSizeAndACallDuringTheSameProcedureIsIgnored) {
    frmTiler& t = instancia<frmTiler>();
    QImage tile(30, 20, QImage::Format_RGB32);
    tile.fill(Qt::darkGreen);
    t.picHidden().set_AutoSize(false);
    t.picHidden().resize(5, 5);
    t.picHidden().set_Picture(tile);

    Alvo_Teste alvo;
    bool interior = true, outro_procedimento = false;
    alvo.ao_pintar = [&] {
        interior = t.TileForm(alvo);
        Alvo_Teste outro;   // the other procedure has its own flag
        outro_procedimento = t.TilePicture(outro);
    };
    ASSERT_TRUE(t.TileForm(alvo));
    EXPECT_EQ(std::tuple(interior, outro_procedimento, t.picHidden().size()), std::tuple(false, true, QSize(30, 20)));
    ASSERT_EQ(alvo.pintados.size(), 12u);   // 0..90 by 30, 0..40 by 20, once
    EXPECT_EQ(alvo.pintados.back(), (Ponto_Ecra{90, 40}));
    alvo.pintados.clear();   // once finished, the procedure runs again
    EXPECT_TRUE(t.TileForm(alvo));
    EXPECT_EQ(alvo.pintados.size(), 12u);
    EXPECT_TRUE(porta.mensagens.empty());
}

TEST_F(Tilers, AFailureIsReportedOnceWithItsNumberAndThenTheProcedureRunsAgain) {
    frmTiler& t = instancia<frmTiler>();
    Alvo_Teste alvo;
    alvo.ao_pintar = [] { throw std::runtime_error("disco cheio"); };
    bool durante_a_mensagem = true;
    porta.durante = [&] {
        Alvo_Teste outro;
        durante_a_mensagem = t.TileForm(outro);
    };
    EXPECT_FALSE(t.TileForm(alvo));
    ASSERT_EQ(porta.mensagens.size(), 1u);
    const Mensagem& m = porta.mensagens[0];
    EXPECT_EQ(std::tuple(m.texto, m.icone, m.botoes),
              std::tuple("Error 51 tiling the picture  to the form Picture9: disco cheio.", Icone::Exclamacao, Botoes::Ok));
    EXPECT_FALSE(durante_a_mensagem);   // a repaint raised by the box itself is ignored, not a second error
    porta.durante = nullptr;
    EXPECT_TRUE(t.TileForm(alvo));

    // Without a bitmap: error 5, nothing painted; a new tiler has its bitmap back.
    const QImage original = t.picHidden().Picture();
    t.picHidden().set_Picture(QImage());
    alvo.pintados.clear();
    EXPECT_FALSE(t.TilePicture(alvo));
    ASSERT_EQ(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[1].texto.rfind("Error 5 tiling the picture  to the form Picture9: ", 0), 0u)
        << porta.mensagens[1].texto;
    EXPECT_TRUE(alvo.pintados.empty());
    t.Unload();
    EXPECT_FALSE(carregado<frmTiler>());
    EXPECT_EQ(instancia<frmTiler>().picHidden().Picture(), original);
    EXPECT_TRUE(instancia<frmTiler>().TilePicture(alvo));
    EXPECT_FALSE(alvo.pintados.empty());
}

// ---- Centring ----

TEST(PosicaoCentrada, HalfTheDifferenceTruncatedTowardZero) {
    EXPECT_EQ(posicao_centrada(1024, 768, 400, 300), (Ponto_Ecra{312, 234}));
    EXPECT_EQ(posicao_centrada(1024, 768, 401, 301), (Ponto_Ecra{311, 233}));
    // Wider than the display: negative, -201 / 2 taken as -100, not -101.
    EXPECT_EQ(posicao_centrada(800, 600, 1001, 600), (Ponto_Ecra{-100, 0}));
    EXPECT_EQ(posicao_centrada(800, 600, 1000, 801), (Ponto_Ecra{-100, -100}));
}

TEST(Centrar_Form, AMaximisedWindowStaysWhereItIs) {
    QWidget maximo;
    maximo.setGeometry(7, 9, 300, 200);
    maximo.setWindowState(Qt::WindowMaximized);
    const QPoint antes = maximo.pos();
    Centrar_Form(maximo);
    EXPECT_EQ(maximo.pos(), antes);
}

// A window not yet framed is centred itself, its frame added around it, as
// the main window is: a smaller screen then stays inside the main window.
TEST(Centrar_Form, AWindowNotYetShownIsCentredAndItsFrameAddedAround) {
    QWidget janela(nullptr, Qt::Window);
    janela.resize(400, 300);
    Centrar_Form(janela);
    janela.show();
    QApplication::processEvents();
    const QRect ecra = janela.screen()->geometry();
    EXPECT_EQ(janela.geometry().topLeft(), ecra.topLeft() + QPoint((ecra.width() - 400) / 2, (ecra.height() - 300) / 2));
    ASSERT_NE(janela.frameGeometry(), janela.geometry()) << "the platform gives windows no frame";
}

// ---- The gauge ----

const QRgb BRANCO = qRgb(255, 255, 255);
const QRgb AZUL_ESCURO = qRgb(0, 0, 128);

QRgb px(const QImage& i, int x, int y) { return i.pixel(x, y) | 0xff000000u; }

// The gauge: the text centred in dark blue on white, the bar's share from
// the left inverted by the not-xor pen (so text on the bar is white), each
// drawing wiping the one before, the share clipped to 0..1.
TEST(Barra_Percentagem, TheBarInvertsItsShareAndTheCentredTextStaysReadable) {
    const QString t = QStringLiteral("Rendimento 50%");
    auto desenho = [&](float fraccao, std::initializer_list<float> antes = {}) {
        auto c = std::make_unique<CaixaImagem>(nullptr, QStringLiteral("pic"));
        c->resize(240, 40);
        c->set_BackColor(Qt::red);
        for (float f : antes) Barra_Percentagem(*c, f, t);
        Barra_Percentagem(*c, fraccao, t);
        EXPECT_EQ(c->ForeColor(), QColor(0, 0, 128));
        return c->imagem();
    };
    const QImage so_texto = desenho(0.0f), meia = desenho(0.5f, {0.8f}), cheia = desenho(1.7f);
    QRect tinta;   // the smallest rectangle holding the text
    int texto_esquerda = 0, texto_direita = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 240; ++x) {
            const bool texto = px(so_texto, x, y) == AZUL_ESCURO, esquerda = x < 120;
            ASSERT_TRUE(texto || px(so_texto, x, y) == BRANCO) << x << "," << y;
            ASSERT_EQ(px(meia, x, y), esquerda != texto ? AZUL_ESCURO : BRANCO) << x << "," << y;
            ASSERT_EQ(px(cheia, x, y), texto ? BRANCO : AZUL_ESCURO) << x << "," << y;
            if (texto) {
                ++(esquerda ? texto_esquerda : texto_direita);
                tinta |= QRect(x, y, 1, 1);
            }
        }
    ASSERT_GT(tinta.width(), 40);
    EXPECT_LE(std::abs(tinta.left() - (239 - tinta.right())), 3);
    EXPECT_LE(std::abs(tinta.top() - (39 - tinta.bottom())), 6);
    EXPECT_GT(texto_esquerda, 5);   // the text straddles the middle: both effects seen
    EXPECT_GT(texto_direita, 5);
    EXPECT_EQ(desenho(-0.3f, {0.4f}), so_texto);
}

// ---- The main window, the splash and the start-up ----

using teste::controlo;

struct Principal : ::testing::Test {
    void SetUp() override {
        // The splash's stay of three seconds, shortened.
        EXPECT_EQ(FrmSplash::duracao_ms(), 3000);
        FrmSplash::duracao_ms() = 150;
    }
    void TearDown() override {
        FrmSplash::duracao_ms() = 3000;
        teste::descarregar_ecras<MDIForm1, FrmSplash, Frmentrada>();
        Base_Dados.reset();
    }
    // Ending the program asked every event loop to return: the
    // application's own loop takes that request, so later tests can run
    // loops again.
    static void tomar_o_fim() {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
    }
    Interface_Guionizada porta;
    Ui_Instalada instalada{porta};
};

// The main window and the entry screen are tiled seamlessly, each with its
// own grass; the contact line sits at the main window's bottom.
TEST_F(Principal, TheBackgroundsAreTiledWithTheirOwnGrassAndTheContactLineSitsAtTheBottom) {
    MDIForm1& m = instancia<MDIForm1>();
    EXPECT_EQ(m.windowTitle(), "Golvantario 99");
    auto* pic = controlo<CaixaImagem>(m, "Picture1");
    auto* label3 = controlo<QLabel>(m, "Label3");
    EXPECT_EQ(controlo<QLabel>(m, "Label4")->text(), "WEB SITE:");
    EXPECT_TRUE(label3->text().contains("example."));

    m.resize(700, 450);
    EXPECT_EQ(pic->geometry(), QRect(0, 0, 700, 450));
    const QImage escuro = instancia<frmTiler0>().picHidden().Picture();
    const QImage claro = instancia<frmTiler>().picHidden().Picture();
    ASSERT_FALSE(escuro.isNull() || claro.isNull());
    EXPECT_NE(claro, escuro);
    const QImage& img = pic->imagem();
    ASSERT_EQ(img.size(), QSize(700, 450));
    for (int y = 0; y < 450; ++y)
        for (int x = 0; x < 700; ++x)
            ASSERT_EQ(img.pixel(x, y), escuro.pixel(x % escuro.width(), y % escuro.height())) << x << "," << y;
    EXPECT_TRUE(pic->rect().contains(label3->geometry()));
    EXPECT_GT(label3->y(), 450 / 2);

    // The entry screen's top-left corner is bare background, left of every control.
    const QImage entrada = instancia<Frmentrada>().grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 15; ++x)
            ASSERT_EQ(entrada.pixel(x, y), claro.pixel(x % claro.width(), y % claro.height())) << x << "," << y;
}

// The contact line is never left half visible under a screen: it hides
// while a screen covers any of it and comes back when the screen goes.
TEST_F(Principal, TheContactLineHidesUnderAScreenOverIt) {
    MDIForm1& m = instancia<MDIForm1>();
    auto* label3 = controlo<QLabel>(m, "Label3");
    auto* label4 = controlo<QLabel>(m, "Label4");
    ASSERT_TRUE(label3->isVisible());
    const QPoint canto = label4->mapToGlobal(QPoint(label4->width() / 2, label4->height() / 2));
    Ecra ecra(QStringLiteral("Por_Cima"));
    ecra.setGeometry(canto.x() - 200, canto.y() - 300, 400, 300 + label4->height() / 2);
    ecra.show();
    EXPECT_FALSE(label3->isVisible() || label4->isVisible());
    ecra.hide();
    EXPECT_TRUE(label3->isVisible() && label4->isVisible());
}

// From the event loop the main window shows the splash (its version and
// pictures, centred) for its stay, then runs the chain from the entry
// screen; closing the entry screen ends the program.
TEST_F(Principal, TheSplashThenTheEntryScreenFirstOfTheChainWhoseClosingEndsTheProgram) {
    porta.ocupado = true;
    QElapsedTimer t;
    t.start();
    QPointer<MDIForm1> m(&instancia<MDIForm1>());
    controlo<QTimer>(*m, "Timer1")->start(50);   // it brings the arrow back while screens are up; sooner here
    QPointer<FrmSplash> splash;
    qint64 entrada_ms = -1;
    QString splash_visto, visto;
    QTimer sonda;
    QObject::connect(&sonda, &QTimer::timeout, [&] {
        if (!splash && carregado<FrmSplash>() && instancia<FrmSplash>().mostrado_modal()) {
            FrmSplash& s = instancia<FrmSplash>();
            splash = &s;
            int imagens = 0;
            for (const char* nome : {"Image1", "Image2", "Image3", "Image4"})
                imagens += !controlo<QLabel>(s, nome)->pixmap().isNull();
            // Version, title, pictures, centred.
            splash_visto = QStringLiteral("%1 %2 %3 %4")
                               .arg(controlo<QLabel>(s, "Label2")->text(),
                                    controlo<QLabel>(s, "Label1")->text().section('\n', 0, 0))
                               .arg(imagens)
                               .arg((s.frameGeometry().center() - s.screen()->geometry().center())
                                        .manhattanLength() <= 2);
        }
        if (entrada_ms >= 0 || !carregado<Frmentrada>() || !instancia<Frmentrada>().mostrado_modal()) return;
        Frmentrada& e = instancia<Frmentrada>();
        entrada_ms = t.elapsed();
        // Depth, splash still loaded, main window shown, chain running, arrow back, caption, exit button.
        visto = QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                    .arg(Ecra::profundidade_modal())
                    .arg(carregado<FrmSplash>())
                    .arg(m && m->isVisible())
                    .arg(Navegacao::a_correr())
                    .arg(!porta.ocupado)
                    .arg(e.windowTitle(), controlo<QPushButton>(e, "Command3")->text());
        e.close();   // the window's close box
    });
    sonda.start(20);
    ASSERT_TRUE(teste::esperar_ate([&] { return entrada_ms >= 0 && !Navegacao::a_correr(); }, 5000));
    EXPECT_EQ(splash_visto.toStdString(), "99.6 Golvantario 99 4 1");
    EXPECT_TRUE(entrada_ms >= 140 && entrada_ms <= 2000) << entrada_ms << " ms: after the splash's stay";
    // The entry screen is the chain's first, not nested; the splash is gone.
    EXPECT_EQ(visto.toStdString(), "1 0 1 1 1 Golvantario Sair/Exit");
    teste::apagar_pendentes();
    EXPECT_TRUE(splash.isNull());
    // No empty main window is left waiting.
    EXPECT_FALSE(carregado<Frmentrada>());
    EXPECT_EQ(Ecra::profundidade_modal(), 0);
    tomar_o_fim();
}

// The exit button ends the program as the close box does: the chain stops,
// a screen named next is forgotten, the game is closed; the event loops
// still run afterwards.
TEST_F(Principal, TheExitButtonEndsTheProgramForgettingTheNextScreenAndClosesTheDatabase) {
    QTemporaryDir pasta;
    Base_Dados = db::Database::criar(pasta.filePath("jogo.gv").toStdString(), LIGACAO_JOGO);
    Frmentrada& e = instancia<Frmentrada>();
    QTimer::singleShot(0, &e, [&e] {
        Navegacao::passar_para<FrmSplash>();
        e.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    });
    Navegacao::executar<Frmentrada>();
    EXPECT_FALSE(Navegacao::a_correr() || carregado<FrmSplash>());
    EXPECT_EQ(Base_Dados, nullptr);
    EXPECT_EQ(Ecra::profundidade_modal(), 0);
    tomar_o_fim();
    QEventLoop ciclo;
    bool correu = false;
    QTimer::singleShot(0, &ciclo, [&] { correu = true, ciclo.quit(); });
    ciclo.exec();
    EXPECT_TRUE(correu);
}

TEST_F(Principal, MainPreparesTheStateAndTheMainWindowWhoseUnloadClosesTheGame) {
    Ligacao_BD.clear();
    Pasta_Programa = "/nenhures";
    Jogo_Real = 1;
    // A load killed while it looked left its private copy behind.
    QTemporaryDir temporaria;
    const QByteArray antes = qgetenv("TMPDIR");
    qputenv("TMPDIR", temporaria.path().toUtf8());
    const std::filesystem::path orfa = temporaria.filePath("gv-copia-morta").toStdString();
    std::filesystem::create_directories(orfa / "par");
    std::ofstream(orfa / ".dono") << "";
    std::ofstream(orfa / "par" / "jogo.gv") << "copia";
    Main();
    EXPECT_FALSE(std::filesystem::exists(orfa)) << "it goes as the program starts";
    if (antes.isNull()) qunsetenv("TMPDIR");
    else qputenv("TMPDIR", antes);
    EXPECT_EQ(Ligacao_BD, ";pwd=7241BDC");
    EXPECT_EQ(Pasta_Programa, QCoreApplication::applicationDirPath().toStdString());
    EXPECT_EQ(Jogo_Real, 0);
    EXPECT_NE(dynamic_cast<Interface_Qt*>(&ui()), nullptr);
    ASSERT_TRUE(carregado<MDIForm1>());
    EXPECT_TRUE(instancia<MDIForm1>().isVisible());
    // Unloaded before its start-up runs from the event loop, it closes the open game.
    QTemporaryDir pasta;
    Base_Dados = db::Database::criar(pasta.filePath("jogo.gv").toStdString(), LIGACAO_JOGO);
    instancia<MDIForm1>().Unload();
    EXPECT_EQ(Base_Dados, nullptr);
    instalar_ui(&porta);
    teste::apagar_pendentes();
    QCoreApplication::processEvents();
    EXPECT_FALSE(carregado<FrmSplash>() || carregado<MDIForm1>());
    instancia<MDIForm1>().Unload();   // with no game open the unload goes through all the same
    EXPECT_FALSE(carregado<MDIForm1>());
}

} // namespace
} // namespace gv
