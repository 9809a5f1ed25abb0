// The game's user-interface port at half time: the league or cup screen,
// shown modally with the competition and the score, and the match going
// on once it closes.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

#include "apoio_ecras_intervalo.h"
#include "matchday/partida.h"
#include "startup/arranque.h"

namespace gv {
namespace {

using teste::ADVERSARIO;

class Interface_Jogo_Intervalo : public teste::Ecras_Intervalo {
protected:
    // Runs `accao` once on screen T as soon as it is shown modally, while
    // `corpo` runs; a screen that never comes is unloaded after five seconds.
    template <class T>
    bool com_ecra(const std::function<void(T&)>& accao, const std::function<void()>& corpo) {
        bool feito = false;
        QTimer guia;
        guia.setInterval(10);
        QObject::connect(&guia, &QTimer::timeout, [&] {
            if (!feito && carregado<T>() && instancia<T>().mostrado_modal()) {
                feito = true;
                accao(instancia<T>());
            }
        });
        guia.start();
        // Lives only as long as this call, so it never reaches a later test.
        QTimer reserva;
        reserva.setSingleShot(true);
        QObject::connect(&reserva, &QTimer::timeout, [] {
            descarregar<FrmSubstituicoes>();
            descarregar<FrmSubstituicoes_Taca>();
        });
        reserva.start(5000);
        corpo();
        guia.stop();
        return feito;
    }

    Interface_Jogo porta_jogo;
};

TEST_F(Interface_Jogo_Intervalo, LeagueHalfTimeShowsTheLeagueScreenModallyAndReturnsAfterOk) {
    Ui_Instalada instalada(porta_jogo);
    QString titulo, linha;
    Qt::CursorShape cursor = Qt::BlankCursor;
    QApplication::setOverrideCursor(Qt::WaitCursor);   // the round runs under the hourglass
    const bool visto = com_ecra<FrmSubstituicoes>(
        [&](FrmSubstituicoes& e) {
            titulo = e.windowTitle();
            linha = controlo<QLabel>(e, "Label1")->text();
            cursor = QApplication::overrideCursor()->shape();
            EXPECT_FALSE(carregado<FrmSubstituicoes_Taca>());
            trocar(e, "Avançado Um", "Avançado Banco");
            controlo<QPushButton>(e, "Command2")->click();
        },
        [&] { ui().intervalo(false, Clube_Treinador, ADVERSARIO, 1, 2); });
    const Qt::CursorShape depois = QApplication::overrideCursor()->shape();
    QApplication::restoreOverrideCursor();

    ASSERT_TRUE(visto);
    EXPECT_EQ(titulo, QString::fromUtf8("1ª Parte (Intrevalo) - Substituições - Campeonato"));
    EXPECT_EQ(linha, QString::fromUtf8("(1) TREINADOR FC - ADVERSÁRIO FC (2)"));
    EXPECT_EQ(cursor, Qt::ArrowCursor);
    EXPECT_EQ(depois, Qt::WaitCursor);
    EXPECT_FALSE(carregado<FrmSubstituicoes>());
    EXPECT_EQ(joga(id.at("Avançado Um")), 2);
    EXPECT_EQ(joga(id.at("Avançado Banco")), 1);
}

TEST_F(Interface_Jogo_Intervalo, CupHalfTimeShowsTheCupScreenAndClosingItWritesNothing) {
    Ui_Instalada instalada(porta_jogo);
    Lingua = "I";
    const auto antes = jogas();
    QString titulo, linha;
    const bool visto = com_ecra<FrmSubstituicoes_Taca>(
        [&](FrmSubstituicoes_Taca& e) {
            titulo = e.windowTitle();
            linha = controlo<QLabel>(e, "Label1")->text();
            EXPECT_FALSE(carregado<FrmSubstituicoes>());
            trocar(e, "Avançado Um", "Avançado Banco");
            e.close();
        },
        [&] { ui().intervalo(true, ADVERSARIO, Clube_Treinador, 0, 3); });
    ASSERT_TRUE(visto);
    EXPECT_EQ(titulo, QString::fromUtf8("1st Part - Substitutions - Taça"));
    EXPECT_EQ(linha, QString::fromUtf8("(0) ADVERSÁRIO FC - TREINADOR FC (3)"));
    EXPECT_FALSE(carregado<FrmSubstituicoes_Taca>());
    EXPECT_EQ(jogas(), antes);
}

TEST_F(Interface_Jogo_Intervalo, AStaleScreenIsLoadedAfreshForHalfTime) {
    Ui_Instalada instalada(porta_jogo);
    auto& velho = instancia<FrmSubstituicoes>();
    velho.Marcar_Intervalo("Velho", "Jogo", 5, 5);
    // The line-up changed since that screen read it.
    Base_Dados->Execute("UPDATE jogadores SET joga = 2 WHERE rowid = ?", {id.at("Defesa Um")});
    Base_Dados->Execute("UPDATE jogadores SET joga = 1 WHERE rowid = ?", {id.at("Defesa Banco")});
    QString titulo, linha;
    std::vector<long long> titulares;
    const bool visto = com_ecra<FrmSubstituicoes>(
        [&](FrmSubstituicoes& e) {
            titulo = e.windowTitle();
            linha = controlo<QLabel>(e, "Label1")->text();
            titulares = ids_da_lista(controlo<QListWidget>(e, "List1"));
            controlo<QPushButton>(e, "Command2")->click();
        },
        [&] { ui().intervalo(false, Clube_Treinador, ADVERSARIO, 0, 0); });
    ASSERT_TRUE(visto);
    EXPECT_EQ(titulo, QString::fromUtf8("1ª Parte (Intrevalo) - Substituições - Campeonato"));
    EXPECT_EQ(linha, QString::fromUtf8("(0) TREINADOR FC - ADVERSÁRIO FC (0)"));
    EXPECT_EQ(std::count(titulares.begin(), titulares.end(), id.at("Defesa Banco")), 1) << "the lists are read again";
    EXPECT_EQ(std::count(titulares.begin(), titulares.end(), id.at("Defesa Um")), 0);
}

TEST_F(Interface_Jogo_Intervalo, TheMatchStopsOnceAtHalfTimeAndPlaysOnWithTheNewLineUp) {
    plantel(ADVERSARIO, 2, 5, 4, 3);
    // Counts the engine's calls on the way to the screen.
    struct Porta_Contada : Interface_Jogo {
        int vezes = 0;
        void intervalo(bool taca, const std::string& casa, const std::string& fora, int gc, int gf) override {
            ++vezes;
            Interface_Jogo::intervalo(taca, casa, fora, gc, gf);
        }
    } porta_contada;
    Ui_Instalada instalada(porta_contada);
    int ataques_no_intervalo = -1;
    const bool visto = com_ecra<FrmSubstituicoes>(
        [&](FrmSubstituicoes& e) {
            ataques_no_intervalo = Ataques_Casa + Ataques_Fora;
            // The strongest forward off, the weakest on.
            trocar(e, "Avançado Um", "Avançado Banco");
            controlo<QPushButton>(e, "Command2")->click();
        },
        [&] { Simular_Jogo(Clube_Treinador, ADVERSARIO); });
    ASSERT_TRUE(visto);
    EXPECT_EQ(porta_contada.vezes, 1);
    EXPECT_EQ(ataques_no_intervalo, 44);
    EXPECT_EQ(Ataques_Casa + Ataques_Fora, 92);
    EXPECT_FALSE(carregado<FrmSubstituicoes>());
    // The second half's strengths come from what OK wrote: 71, 66 and 45.
    EXPECT_DOUBLE_EQ(Media_AV_Casa, (71.0 + 66.0 + 45.0) / 3.0);
    EXPECT_EQ(N_AV_Casa, 3);
}

} // namespace
} // namespace gv
