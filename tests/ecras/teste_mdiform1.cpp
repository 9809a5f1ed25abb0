#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

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

#include <QPushButton>

namespace gv {
namespace {

struct Principal : ::testing::Test {
    void TearDown() override {
        descarregar<MDIForm1>();
        descarregar<FrmSplash>();
        descarregar<Frmentrada>();
        teste::apagar_pendentes();
        Base_Dados.reset();
    }
    Interface_Guionizada porta;
    Ui_Instalada instalada{porta};
};

TEST_F(Principal, TituloControlosEFundoEmMosaico) {
    MDIForm1& m = instancia<MDIForm1>();
    EXPECT_EQ(m.windowTitle(), "Golvantario 99");
    EXPECT_TRUE(m.isVisible());

    auto* pic = m.findChild<CaixaImagem*>(QStringLiteral("Picture1"));
    ASSERT_NE(pic, nullptr);
    auto* timer = m.findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->parent(), pic);
    auto* label4 = m.findChild<QLabel*>(QStringLiteral("Label4"));
    auto* label3 = m.findChild<QLabel*>(QStringLiteral("Label3"));
    ASSERT_NE(label4, nullptr);
    ASSERT_NE(label3, nullptr);
    EXPECT_EQ(label4->text(), "WEB SITE:");
    EXPECT_TRUE(label3->text().contains("example."));

    // Picture1 fills the window after a resize and is tiled with frmTiler0's bitmap.
    m.resize(700, 450);
    EXPECT_EQ(pic->geometry(), QRect(0, 0, 700, 450));
    const QImage tile = instancia<frmTiler0>().picHidden().Picture();
    const QImage& img = pic->imagem();
    ASSERT_EQ(img.size(), QSize(700, 450));
    for (int y = 0; y < 300; y += 7)
        for (int x = 0; x < 700; x += 5)
            ASSERT_EQ(img.pixel(x, y), tile.pixel(x % tile.width(), y % tile.height())) << x << "," << y;
    // The contact line stays inside the window, at its bottom.
    EXPECT_TRUE(pic->rect().contains(label3->geometry()));
    EXPECT_GT(label3->y(), 450 / 2);
}

// The contact line is never left half visible under a screen: it hides
// while a screen covers any of it and comes back when the screen goes.
TEST_F(Principal, TheContactLineHidesUnderAScreenOverIt) {
    MDIForm1& m = instancia<MDIForm1>();
    auto* label3 = m.findChild<QLabel*>(QStringLiteral("Label3"));
    auto* label4 = m.findChild<QLabel*>(QStringLiteral("Label4"));
    ASSERT_TRUE(label3->isVisible());
    const QPoint canto = label4->mapToGlobal(QPoint(label4->width() / 2, label4->height() / 2));
    Ecra ecra(QStringLiteral("Por_Cima"));
    ecra.setGeometry(canto.x() - 200, canto.y() - 300, 400, 300 + label4->height() / 2);
    ecra.show();
    EXPECT_FALSE(label3->isVisible());
    EXPECT_FALSE(label4->isVisible());
    ecra.hide();
    EXPECT_TRUE(label3->isVisible());
    EXPECT_TRUE(label4->isVisible());
}

TEST_F(Principal, DescarregarFechaABaseDeDados) {
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    Base_Dados = db::Database::criar(pasta.filePath("jogo.gv").toStdString(), LIGACAO_JOGO);
    ASSERT_TRUE(Base_Dados && Base_Dados->aberta());
    instancia<MDIForm1>().Unload();
    EXPECT_EQ(Base_Dados, nullptr);
    EXPECT_FALSE(carregado<MDIForm1>());

    // With no database open the unload goes through all the same.
    instancia<MDIForm1>().Unload();
    EXPECT_EQ(Base_Dados, nullptr);
}

TEST_F(Principal, SplashDepoisEntradaPrimeiroEcraDaCadeia) {
    porta.ocupado = true;   // Timer1 brings the arrow back while screens are up
    QElapsedTimer t;
    t.start();
    QPointer<MDIForm1> m(&instancia<MDIForm1>());

    bool splash_modal = false;
    qint64 entrada_ms = -1;
    int profundidade = 0;
    bool splash_ainda = true, principal_visivel = false, em_cadeia = false, seta = false;
    QString titulo_entrada;
    bool tem_sair = false;
    QTimer sonda;
    sonda.setInterval(20);
    QObject::connect(&sonda, &QTimer::timeout, [&] {
        if (carregado<FrmSplash>() && instancia<FrmSplash>().mostrado_modal()) splash_modal = true;
        if (entrada_ms < 0 && carregado<Frmentrada>() && instancia<Frmentrada>().mostrado_modal()) {
            Frmentrada& e = instancia<Frmentrada>();
            entrada_ms = t.elapsed();
            profundidade = Ecra::profundidade_modal();
            splash_ainda = carregado<FrmSplash>();
            principal_visivel = m && m->isVisible();
            em_cadeia = Navegacao::a_correr();
            seta = !porta.ocupado;
            titulo_entrada = e.windowTitle();
            auto* sair = e.findChild<QPushButton*>(QStringLiteral("Command3"));
            tem_sair = sair && sair->text() == "Sair/Exit";
            e.close();   // closed with the window's close box
        }
    });
    sonda.start();
    ASSERT_TRUE(teste::esperar_ate([&] { return entrada_ms >= 0 && !Navegacao::a_correr(); }, 12000));

    EXPECT_TRUE(splash_modal);
    EXPECT_GE(entrada_ms, 2500);
    EXPECT_LE(entrada_ms, 7000);
    EXPECT_EQ(profundidade, 1);   // the entry screen is the chain's first, not nested
    EXPECT_FALSE(splash_ainda);
    EXPECT_TRUE(principal_visivel);
    EXPECT_TRUE(em_cadeia);
    EXPECT_TRUE(seta);
    EXPECT_EQ(titulo_entrada, "Golvantario");
    EXPECT_TRUE(tem_sair);
    // Closing the first screen ends the program as its exit button does:
    // no empty main window is left. The application's own loop takes the
    // request to end, so later tests can run loops again.
    EXPECT_FALSE(carregado<Frmentrada>());
    EXPECT_EQ(Ecra::profundidade_modal(), 0);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

TEST_F(Principal, SairDaEntradaTerminaOProgramaEFechaABase) {
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    Base_Dados = db::Database::criar(pasta.filePath("jogo.gv").toStdString(), LIGACAO_JOGO);
    Frmentrada& e = instancia<Frmentrada>();
    QTimer::singleShot(0, &e, [&e] {
        Navegacao::passar_para<FrmSplash>();   // forgotten: the program ends
        e.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    });
    Navegacao::executar<Frmentrada>();
    EXPECT_FALSE(Navegacao::a_correr());
    EXPECT_FALSE(carregado<FrmSplash>());
    EXPECT_EQ(Base_Dados, nullptr);
    EXPECT_EQ(Ecra::profundidade_modal(), 0);
    // Ending asked every event loop to return; let the application's own
    // loop take that request, so later tests can run loops again.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    QEventLoop ciclo;
    bool correu = false;
    QTimer::singleShot(0, &ciclo, [&] {
        correu = true;
        ciclo.quit();
    });
    ciclo.exec();
    EXPECT_TRUE(correu);
}

TEST_F(Principal, MainPreparaOEstadoEMostraAJanelaPrincipal) {
    Ligacao_BD.clear();
    Pasta_Programa = "/nenhures";
    Jogo_Real = 1;
    Main();
    EXPECT_EQ(Ligacao_BD, ";pwd=7241BDC");
    EXPECT_EQ(Pasta_Programa, QCoreApplication::applicationDirPath().toStdString());
    EXPECT_EQ(Jogo_Real, 0);
    EXPECT_NE(dynamic_cast<Interface_Qt*>(&ui()), nullptr);
    ASSERT_TRUE(carregado<MDIForm1>());
    EXPECT_TRUE(instancia<MDIForm1>().isVisible());
    EXPECT_EQ(instancia<MDIForm1>().windowTitle(), "Golvantario 99");
    // Unloaded before its start-up runs from the event loop.
    instancia<MDIForm1>().Unload();
    instalar_ui(&porta);
    teste::apagar_pendentes();
    QCoreApplication::processEvents();
    EXPECT_FALSE(carregado<FrmSplash>());
}

} // namespace
} // namespace gv
