// The league tables and the end-of-season screen on the offscreen
// platform, and the whole road from the last league round to the desk of
// the next season through the real screens.

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "ambiente_qt.h"
#include "apoio_epoca.h"
#include "cadeia.h"
#include "desk/frmdados.h"
#include "jogo_apoio.h"
#include "matchday/frmjogos.h"
#include "platform/qt/grelha.h"
#include "season/frmfinal_camp.h"
#include "season/frmtabelas.h"

namespace gv {
namespace {

using teste::no_ecra;
template <class T>
void clicar(const char* botao) { teste::controlo<QPushButton>(instancia<T>(), botao)->click(); }
const auto descarregar_tudo = teste::descarregar_ecras<FrmDados, FrmJogos_Camp, FrmTabelas, FrmFinal_Camp>;

class Tabelas_Ecra : public teste::Base_Epoca {
protected:
    void TearDown() override {
        descarregar_tudo();
        Base_Epoca::TearDown();
    }
};

TEST_F(Tabelas_Ecra, ZonesColoursTiesAndTheManagersClub) {
    const QColor Amarelo{255, 255, 192}, Verde{192, 255, 192}, Vermelho_Claro{255, 192, 192}, Cinzento{224, 224, 224}, Azul{192, 192, 255};
    liga(18, 2, 5);
    Base_Dados->Execute("UPDATE clubes SET pontos = 99, clube = 'D1 B02' WHERE clube = 'D1 C02'");
    auto& t = instancia<FrmTabelas>();
    EXPECT_EQ(t.windowTitle(), "Tabelas Classificativas");
    Grelha &d1 = t.v1(1), &d2 = t.v1(2), &d3 = t.v1(3);
    EXPECT_EQ(d1.texto(2, 1) + "," + d1.texto(2, 2), "D1 B02,D1 C01") << "level with the leader, first by name";
    EXPECT_EQ(d1.identidade(1), valor("SELECT rowid FROM clubes WHERE clube = 'D1 B02'").inteiro());
    const std::tuple<Grelha*, int, QColor> zonas[] = {{&d1, 1, Verde}, {&d1, 2, Amarelo},  {&d1, 15, Amarelo},         {&d1, 16, Vermelho_Claro},
                                                      {&d2, 3, Verde}, {&d2, 4, Cinzento}, {&d2, 18, Vermelho_Claro}, {&d3, 3, Verde},
                                                      {&d3, 18, Azul}};
    for (auto [g, r, cor] : zonas) EXPECT_EQ(g->BackColor(3, r), cor) << g->objectName().toStdString() << " " << r;
    std::string linha;
    for (int c = 1; c <= 8; ++c) {
        linha += d2.texto(c, 5) + "|";
        EXPECT_EQ(d2.ForeColor(c, 5), QColor(255, 0, 0)) << c;
    }
    EXPECT_EQ(linha, "5|Treinador FC|0|0|0|0|0-0|95|");
    EXPECT_NE(d2.ForeColor(2, 4), QColor(255, 0, 0));
}

class Epoca_Ecras : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
        for (int i = 0; i < 4; ++i) porta.responder(Resposta::Nao);
    }
    void TearDown() override {
        descarregar_tudo();
        Com_Mestra::TearDown();
    }
};

// The winners are recorded with the season change, after the summary.
TEST_F(Epoca_Ecras, FromTheLastRoundThroughTablesAndSummaryToTheNextSeasonsDesk) {
    Base_Dados->Execute("UPDATE principal SET Jornada = 34");
    Jornada_Actual = 34;
    bool tabelas_da_jornada = false, final_sem_convites = false;
    int vencedores_antes = -1;
    teste::correr_cadeia<FrmDados>([&](int passo) {
        if (passo == 0 && no_ecra<FrmDados>()) {
            clicar<FrmDados>("Command3");
        } else if (passo == 1 && no_ecra<FrmJogos_Camp>() && instancia<FrmJogos_Camp>().findChild<QPushButton*>("Command1")->isEnabled()) {
            clicar<FrmJogos_Camp>("Command1");
        } else if (passo == 2 && no_ecra<FrmTabelas>()) {
            tabelas_da_jornada = Tabelas_Modo_Consulta == 0 && Jornada_Actual == 35 && instancia<FrmTabelas>().v1(1).texto(3, 1) == "1";
            Lista_Venda_Carregada = 1;
            clicar<FrmTabelas>("Command1");
        } else if (passo == 3 && no_ecra<FrmFinal_Camp>()) {
            auto& f = instancia<FrmFinal_Camp>();
            final_sem_convites = f.findChild<QListWidget*>("List1")->count() == 0 && !f.findChild<QLabel*>("Label1")->text().isEmpty() &&
                                 f.findChild<Grelha*>("v1_2")->texto(1, 6) == "18" &&
                                 f.windowTitle() == QString::fromUtf8("Resumo - Final da Época 1999");
            vencedores_antes = contar("SELECT count(*) FROM ultimos_venc");
            clicar<FrmFinal_Camp>("Command1");
        } else if (passo == 4 && no_ecra<FrmDados>()) {
            instancia<FrmDados>().Unload();
        } else {
            return false;
        }
        return true;
    });
    EXPECT_TRUE(tabelas_da_jornada);
    EXPECT_EQ(Lista_Venda_Carregada, 0) << "a new transfer list for the next matchday";
    EXPECT_TRUE(final_sem_convites);
    EXPECT_EQ(vencedores_antes, 0) << "the winners are recorded with the season change";
    EXPECT_EQ(std::tuple(Epoca_Actual, Jornada_Actual, contar("SELECT Epoca FROM principal"), Ecra::profundidade_modal()), std::tuple(2000, 1, 2000, 0));
}

// The first of division 1 by name: a renewal and four clubs.
TEST_F(Epoca_Ecras, AnEndedContractWaitsForAnOfferToBeChosen) {
    Base_Dados->Execute("UPDATE principal SET T_contrato = 1, Jornada = 35");
    Jornada_Actual = 35;
    int linhas = 0, epocas = 0;
    bool recusou = false;
    teste::correr_cadeia<FrmFinal_Camp>([&](int passo) {
        if (passo == 0 && no_ecra<FrmFinal_Camp>()) {
            auto* lista = instancia<FrmFinal_Camp>().findChild<QListWidget*>("List1");
            linhas = lista->count();
            clicar<FrmFinal_Camp>("Command1");
            recusou = no_ecra<FrmFinal_Camp>() && !porta.mensagens.empty() &&
                      porta.mensagens.back().texto == "Tem que escolher uma Equipa para Continuar a Jogar.";
            lista->setCurrentRow(0);
            epocas = instancia<FrmFinal_Camp>().convites().at(0).epocas;
            clicar<FrmFinal_Camp>("Command1");
        } else if (passo == 1 && no_ecra<FrmDados>()) {
            instancia<FrmDados>().Unload();
        } else {
            return false;
        }
        return true;
    });
    EXPECT_TRUE(linhas >= 4 && recusou);
    EXPECT_EQ(std::tuple(contar("SELECT T_contrato FROM principal"), contar("SELECT count(*) FROM ultimos_venc WHERE Tipo LIKE 'D%'"), Epoca_Actual),
              std::tuple(epocas, 3, 2000));
}

TEST_F(Epoca_Ecras, TheDesksMenuShowsTheSameTablesUntilTheNextRound) {
    std::string antes, depois;
    teste::correr_cadeia<FrmDados>([&](int passo) {
        if (passo != 0 || !no_ecra<FrmDados>()) return false;
        QAction* ccamp = instancia<FrmDados>().item_menu("CCamp");
        EXPECT_TRUE(ccamp->isEnabled());
        for (std::string* visto : {&antes, &depois}) {
            QTimer::singleShot(50, [visto] {
                *visto = instancia<FrmTabelas>().v1(1).texto(2, 1);
                clicar<FrmTabelas>("Command1");
            });
            ccamp->trigger();
            Base_Dados->Execute("UPDATE clubes SET pontos = 50 WHERE clube = (SELECT max(clube) FROM clubes WHERE div = 1)");
        }
        instancia<FrmDados>().Unload();
        return true;
    });
    EXPECT_FALSE(antes.empty());
    EXPECT_EQ(depois, antes) << "shown again, not rebuilt";
    EXPECT_TRUE(Tabelas_Modo_Consulta == 1 && carregado<FrmTabelas>());
}

} // namespace
} // namespace gv
