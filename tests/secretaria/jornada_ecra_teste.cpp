// A whole matchday through the real screens: desk, round screen, desk.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "ambiente_qt.h"
#include "cadeia.h"
#include "desk/frmdados.h"
#include "jogo_apoio.h"
#include "matchday/frmjogos.h"
#include "platform/qt/grelha.h"
#include "platform/qt/navegacao.h"
#include "season/frmtabelas.h"

namespace gv {
namespace {

class Jornada_No_Ecra : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
        // Any computer offer before the match is turned down.
        for (int i = 0; i < 4; ++i) porta.responder(Resposta::Nao);
    }
    void TearDown() override {
        descarregar<FrmDados>();
        descarregar<FrmJogos_Camp>();
        descarregar<FrmJogos_Taca>();
        descarregar<FrmTabelas>();
        teste::apagar_pendentes();
        Com_Mestra::TearDown();
    }
    template <class T>
    bool no_ecra() {
        return teste::no_ecra<T>();
    }
    // Runs the chain from the desk; `passo` answers each screen shown.
    void jogar(const std::function<bool(int)>& passo) { teste::correr_cadeia<FrmDados>(passo); }
};

TEST_F(Jornada_No_Ecra, NextMatchPlaysTheLeagueRoundAndReturnsToTheNextDesk) {
    int linhas = 0, com_resultado = 0;
    jogar([&](int passo) {
        if (passo == 0 && no_ecra<FrmDados>()) {
            instancia<FrmDados>().findChild<QPushButton*>("Command3")->click();
            return true;
        }
        if (passo == 1 && no_ecra<FrmJogos_Camp>() &&
            instancia<FrmJogos_Camp>().findChild<QPushButton*>("Command1")->isEnabled()) {
            auto& v1 = *instancia<FrmJogos_Camp>().findChild<Grelha*>("v1");
            linhas = v1.MaxRows();
            for (int r = 1; r <= linhas; ++r) com_resultado += !v1.Text(3, r).isEmpty() && !v1.Text(6, r).isEmpty();
            EXPECT_TRUE(instancia<FrmJogos_Camp>().windowTitle().startsWith("Jogos Campeonato - 1ª Jornada - 1999"));
            instancia<FrmJogos_Camp>().findChild<QPushButton*>("Command1")->click();
            return true;
        }
        if (passo == 2 && no_ecra<FrmTabelas>()) {
            instancia<FrmTabelas>().findChild<QPushButton*>("Command1")->click();
            return true;
        }
        if (passo == 3 && no_ecra<FrmDados>()) {
            instancia<FrmDados>().Unload();
            return true;
        }
        return false;
    });
    EXPECT_EQ(linhas, 27);
    EXPECT_EQ(com_resultado, 27);
    EXPECT_EQ(Jornada_Actual, 2);
    EXPECT_EQ(contar("SELECT Jornada FROM principal"), 2);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos WHERE jor = 1 AND result IS NOT NULL"), 27);
    EXPECT_EQ(Ecra::profundidade_modal(), 0);
}

TEST_F(Jornada_No_Ecra, AnInvalidLineUpKeepsTheDeskOpen) {
    bool ficou = false;
    jogar([&](int passo) {
        if (passo == 0 && no_ecra<FrmDados>()) {
            auto& d = instancia<FrmDados>();
            d.findChild<Grelha*>("s1")->set_Value(1, 1, 0);   // no goalkeeper
            d.findChild<QPushButton*>("Command3")->click();
            ficou = no_ecra<FrmDados>() && !carregado<FrmJogos_Camp>();
            d.Unload();
            return true;
        }
        return false;
    });
    EXPECT_TRUE(ficou);
    ASSERT_GE(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[0].texto, "Tem que existir um guarda redes.");
    EXPECT_EQ(Jornada_Actual, 1);
}

TEST_F(Jornada_No_Ecra, ACupDayOpensTheCupScreenAndDrawsTheNextRound) {
    Base_Dados->Execute("UPDATE principal SET Jornada = 5");
    Jornada_Actual = 5;
    int linhas = 0, decididas = 0;
    jogar([&](int passo) {
        if (passo == 0 && no_ecra<FrmDados>()) {
            instancia<FrmDados>().findChild<QPushButton*>("Command3")->click();
            return true;
        }
        if (passo == 1 && no_ecra<FrmJogos_Taca>() &&
            instancia<FrmJogos_Taca>().findChild<QPushButton*>("Command1")->isEnabled()) {
            EXPECT_EQ(instancia<FrmJogos_Taca>().windowTitle(), "Jogos Taça - 1ª eliminatória  - 1999");
            // Every tie has a winner, coloured: club cell light green and
            // goals green, the loser's light red and red.
            auto& v1 = *instancia<FrmJogos_Taca>().findChild<Grelha*>("v1");
            linhas = v1.MaxRows();
            for (int r = 1; r <= linhas; ++r) {
                const int casa = v1.Text(3, r).toInt(), fora = v1.Text(6, r).toInt();
                if (v1.Text(3, r).isEmpty() || casa == fora) continue;
                const bool ganha_casa = casa > fora;
                decididas += v1.BackColor(ganha_casa ? 4 : 5, r) == QColor(192, 255, 192) &&
                             v1.BackColor(ganha_casa ? 5 : 4, r) == QColor(255, 192, 192) &&
                             v1.ForeColor(ganha_casa ? 3 : 6, r) == QColor(0, 192, 0) &&
                             v1.ForeColor(ganha_casa ? 6 : 3, r) == QColor(255, 0, 0);
            }
            instancia<FrmJogos_Taca>().findChild<QPushButton*>("Command1")->click();
            return true;
        }
        if (passo == 2 && no_ecra<FrmDados>()) {
            instancia<FrmDados>().Unload();
            return true;
        }
        return false;
    });
    EXPECT_EQ(linhas, 32);
    EXPECT_EQ(decididas, 32);
    EXPECT_EQ(Eliminatoria_Taca, 2);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 16) << "the next round is drawn";
    EXPECT_EQ(Jornada_Actual, 5) << "the league round of matchday 5 is still to come";
}

// The window's close box while the round plays is refused and the round
// runs to its end; afterwards it goes on as OK does, so the chain always
// reaches the next desk.
TEST_F(Jornada_No_Ecra, ClosingARoundScreenWaitsForTheRoundThenGoesOnAsOK) {
    for (const bool taca : {false, true}) {
        SCOPED_TRACE(taca ? "cup" : "league");
        if (taca) {
            Base_Dados->Execute("UPDATE principal SET Jornada = 5");
            Jornada_Actual = 5;
        }
        const int jornada = Jornada_Actual;
        Ecra_Jogos* ecra = nullptr;
        int recusados = 0;
        // Inside the round's event pump, after its first match is shown.
        porta.ao_processar_eventos = [&] {
            if (!ecra || ecra->findChild<QPushButton*>("Command1")->isEnabled()) return;
            if (ecra->findChild<Grelha*>("v1")->Text(3, 1).isEmpty()) return;
            ecra->close();
            recusados += ecra->isVisible() && !ecra->a_descarregar();
        };
        bool na_secretaria = false;
        jogar([&](int passo) {
            if (passo == 0 && no_ecra<FrmDados>()) {
                instancia<FrmDados>().findChild<QPushButton*>("Command3")->click();
                return true;
            }
            if (passo == 1 && (taca ? no_ecra<FrmJogos_Taca>() : no_ecra<FrmJogos_Camp>())) {
                ecra = taca ? static_cast<Ecra_Jogos*>(&instancia<FrmJogos_Taca>()) : &instancia<FrmJogos_Camp>();
                return true;
            }
            if (passo == 2 && ecra->findChild<QPushButton*>("Command1")->isEnabled()) {
                porta.ao_processar_eventos = nullptr;
                ecra->close();
                return true;
            }
            if (no_ecra<FrmTabelas>()) {
                instancia<FrmTabelas>().close();
                return false;
            }
            if (passo == 3 && no_ecra<FrmDados>()) {
                na_secretaria = true;
                instancia<FrmDados>().Unload();
                return true;
            }
            return false;
        });
        EXPECT_GT(recusados, 0);
        EXPECT_TRUE(na_secretaria);
        EXPECT_EQ(Ecra::profundidade_modal(), 0);
        if (taca) {
            EXPECT_EQ(Eliminatoria_Taca, 2);
            EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca WHERE resul IS NULL"), 16);
        } else {
            EXPECT_EQ(Jornada_Actual, jornada + 1);
        }
        teste::apagar_pendentes();
    }
}

TEST(Jogos_Taca, CaptionsByNumberOfTies) {
    Epoca_Actual = 2001;
    Eliminatoria_Taca = 2;
    EXPECT_EQ(FrmJogos_Taca::titulo_eliminatoria(16), "Jogos Taça - 2ª eliminatória  - 2001");
    EXPECT_EQ(FrmJogos_Taca::titulo_eliminatoria(8), "Jogos Taça - Oitavos Final  - 2001");
    EXPECT_EQ(FrmJogos_Taca::titulo_eliminatoria(1), "Jogos Taça - Final  - 2001");
    EXPECT_EQ(FrmJogos_Taca::titulo_eliminatoria(3), "");
}

} // namespace
} // namespace gv
