// The statistics screens and the desk's menu items that open them, on the
// offscreen platform, controls found by name.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

#include "ambiente_qt.h"
#include "desk/frmdados.h"
#include "data/clubes.h"
#include "jogo_apoio.h"
#include "matchday/ronda.h"
#include "platform/qt/grelha.h"
#include "stats/ecras_estatisticas.h"
#include "stats/estatisticas.h"
#include "stats/menu_estatisticas.h"

namespace gv {
namespace {

using namespace Cores_Consulta;

template <class T, class W>
W* controlo(const char* nome) {
    auto* w = instancia<T>().template findChild<W*>(QString::fromLatin1(nome));
    EXPECT_NE(w, nullptr) << nome;
    return w;
}

class Ecras : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
    }
    void TearDown() override {
        descarregar_todos();
        descarregar<FrmDados>();
        teste::apagar_pendentes();
        Abrir_Plantel_Clube() = nullptr;
        Com_Mestra::TearDown();
    }
    static void descarregar_todos() {
        descarregar<FrmCalendario>();
        descarregar<FrmCalendario_Taca>();
        descarregar<FrmAssistencias>();
        descarregar<FrmMedia_Jog>();
        descarregar<FrmGolos>();
        descarregar<FrmGolos_Sempre>();
        descarregar<FrmTranfere>();
        descarregar<FrmTransferencias_totais>();
        descarregar<FrmHist_Treinador>();
        descarregar<FrmVencedores>();
        descarregar<FrmHist_Clubes>();
        descarregar<FrmHist_Clubes_Epoca>();
    }
    // The club the squad screen was asked for.
    std::string pedido_;
    void instalar_plantel() {
        Abrir_Plantel_Clube() = [this](const std::string& c) { pedido_ = c; };
    }
    // Runs `accao`, which shows screen T modally; inside, `ver` looks at it
    // and then it is closed.
    template <class T>
    bool abre(const std::function<void()>& accao, const std::function<void(T&)>& ver = {}) {
        bool aberto = false;
        QTimer::singleShot(0, [&] {
            if (!carregado<T>()) return;
            aberto = instancia<T>().mostrado_modal();
            if (ver) ver(instancia<T>());
            descarregar<T>();
        });
        accao();
        return aberto;
    }
};

TEST_F(Ecras, LeagueCalendarOpensOnTheManagersClubAndColoursAPlayedMatch) {
    ASSERT_EQ(Jogar_Ronda_Campeonato(), Resultado_Ronda::Jogada);
    auto* combo = controlo<FrmCalendario, QComboBox>("Combo1");
    auto& v1 = *controlo<FrmCalendario, Grelha>("v1");
    EXPECT_EQ(combo->currentText().toStdString(), "(" + std::to_string(Divisao_Clube(Clube_Treinador)) + ") " + Clube_Treinador);
    EXPECT_EQ((controlo<FrmCalendario, QPushButton>("Command2")->text().toStdString()), "Jogadores: " + Clube_Treinador);
    ASSERT_EQ(v1.MaxRows(), 34);
    EXPECT_EQ(v1.texto(7, 0), "Casa");
    const auto j = Calendario_Clube(Clube_Treinador)[0];
    EXPECT_EQ(v1.texto(6, 1), std::to_string(*j.golos_casa));
    EXPECT_EQ(v1.texto(5, 1), j.letra_resultado());
    EXPECT_EQ(v1.texto(2, 1), std::to_string(*j.lugar));
    const QColor verde_casa = j.desfecho == Desfecho::Vitoria_Casa ? Verde_Claro : Vermelho_Claro;
    if (j.desfecho == Desfecho::Empate) {
        EXPECT_EQ(v1.ForeColor(6, 1), Azul);
        EXPECT_EQ(v1.BackColor(7, 1), Amarelo);
    } else {
        EXPECT_EQ(v1.BackColor(7, 1), verde_casa);
        EXPECT_EQ(v1.ForeColor(6, 1), j.desfecho == Desfecho::Vitoria_Casa ? Verde : Vermelho);
    }
    // Matchday 2 is not played: no score, plain row.
    EXPECT_EQ(v1.texto(6, 2), "");
    EXPECT_EQ(v1.texto(5, 2), "");
    EXPECT_EQ(v1.BackColor(1, 2), Amarelo);
    EXPECT_EQ(v1.ForeColor(8, 2), Azul);
}

TEST_F(Ecras, ChoosingAClubRefillsTheCalendarTypingChangesNothing) {
    auto* combo = controlo<FrmCalendario, QComboBox>("Combo1");
    auto& v1 = *controlo<FrmCalendario, Grelha>("v1");
    const int antes = combo->currentIndex();
    QTest::keyClick(combo, Qt::Key_Z);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentIndex(), antes);
    EXPECT_EQ(instancia<FrmCalendario>().clube(), Clube_Treinador);

    const int outro = antes == 0 ? 1 : 0;
    const std::string clube = combo->itemData(outro).toString().toStdString();
    combo->setCurrentIndex(outro);
    emit combo->activated(outro);
    EXPECT_EQ(instancia<FrmCalendario>().clube(), clube);
    EXPECT_EQ(v1.MaxRows(), 34);
    const auto j = Calendario_Clube(clube)[0];
    EXPECT_EQ(v1.texto(7, 1), j.texto_casa());
    EXPECT_EQ(v1.texto(8, 1), j.texto_fora());

    // Without the squads screen the button is inert; with it, it asks for the club shown.
    auto* b = controlo<FrmCalendario, QPushButton>("Command2");
    EXPECT_FALSE(b->isEnabled());
    descarregar<FrmCalendario>();
    teste::apagar_pendentes();
    instalar_plantel();
    combo = controlo<FrmCalendario, QComboBox>("Combo1");
    combo->setCurrentIndex(outro);
    emit combo->activated(outro);
    QTest::mouseClick(controlo<FrmCalendario, QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_EQ(pedido_, clube);
    EXPECT_EQ(Clube_Consulta, clube);
}

TEST_F(Ecras, CupCalendarNamesTheRoundAndMarksTheManagersTie) {
    auto& v1 = *controlo<FrmCalendario_Taca, Grelha>("v1");
    EXPECT_EQ(instancia<FrmCalendario_Taca>().windowTitle().toStdString(), "Jogos Taça - 1ª eliminatória  - 1999");
    ASSERT_EQ(v1.MaxRows(), 32);
    int laranjas = 0;
    for (int r = 1; r <= 32; ++r) {
        const bool nossa = v1.texto(1, r).find(Clube_Treinador) != std::string::npos ||
                           v1.texto(2, r).find(Clube_Treinador) != std::string::npos;
        EXPECT_EQ(v1.BackColor(1, r), nossa ? Laranja : Amarelo) << r;
        laranjas += nossa;
    }
    EXPECT_EQ(laranjas, contar("SELECT count(*) FROM jogos_taca WHERE casa = ? OR fora = ?", {Clube_Treinador, Clube_Treinador}));
}

TEST_F(Ecras, AllTimeScorersFilterByClubAndOpenTheSquadOfTheLinesClub) {
    instalar_plantel();
    const std::string longo = "Clube Com Um Nome Bem Maior Que O Campo";
    Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, idade, golos, sit) VALUES "
                        "('Primeiro', ?, 30, 50, 1), ('Segundo', ?, 30, 40, 1)",
                        {longo, Clube_Treinador});
    auto* lista = controlo<FrmGolos_Sempre, QListWidget>("List1_0");
    ASSERT_EQ(lista->count(), 2);
    EXPECT_EQ((controlo<FrmGolos_Sempre, QListWidget>("List1_1")->count()), 0);
    EXPECT_EQ((controlo<FrmGolos_Sempre, QListWidget>("List1_2")->count()), 2);
    // The club comes from the line's data, even when its field cut the name.
    emit lista->itemDoubleClicked(lista->item(0));
    EXPECT_EQ(pedido_, longo);

    auto* combo = controlo<FrmGolos_Sempre, QComboBox>("Combo1");
    EXPECT_EQ(combo->currentText(), "Todos os Clubes");
    const int i = combo->findData(QString::fromStdString(Clube_Treinador));
    combo->setCurrentIndex(i);
    emit combo->activated(i);
    ASSERT_EQ(lista->count(), 1);
    EXPECT_EQ(lista->item(0)->text().left(4), "2   ");   // the rank of the whole list
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(lista->count(), 2);
}

TEST_F(Ecras, AllTransfersKeepTheClubWhenTheOrderChanges) {
    Base_Dados->Execute("INSERT INTO transferencias_clubes (jornada, pos, nome, forca, tipo, valor, idade) VALUES "
                        "(3, 'gk', 'Um', 50, ?, 900, 24), (7, 'df', 'Dois', 50, ?, 100, 25), (8, 'md', 'Tres', 50, '(1) X -> Y (1)', 5, 20)",
                        {"(1) " + Clube_Treinador + " -> Y (1)", "(1) Y -> " + Clube_Treinador + " (1)"});
    auto& v2 = *controlo<FrmTransferencias_totais, Grelha>("v2_0");
    EXPECT_EQ(v2.MaxRows(), 3);
    EXPECT_EQ(v2.texto(2, 1), "MD - Tres (20)");
    auto* combo = controlo<FrmTransferencias_totais, QComboBox>("Combo1");
    const int i = combo->findData(QString::fromStdString(Clube_Treinador));
    combo->setCurrentIndex(i);
    emit combo->activated(i);
    ASSERT_EQ(v2.MaxRows(), 2);
    EXPECT_EQ(v2.texto(1, 1), "7");
    QTest::mouseClick(controlo<FrmTransferencias_totais, QRadioButton>("Option2"), Qt::LeftButton);
    ASSERT_EQ(v2.MaxRows(), 2);
    EXPECT_EQ(v2.texto(4, 1), "900");
    EXPECT_EQ(v2.BackColor(2, 2), Amarelo);
}

TEST_F(Ecras, HistoriesMarkTheManagersClubAndTheTotalLine) {
    Base_Dados->Execute("INSERT INTO historico_clube (clube, pontos_total) VALUES ('Outro', 1), (?, 2)", {Clube_Treinador});
    Base_Dados->Execute("INSERT INTO historico_treinador (ano, clube, v) VALUES (1999, ?, 3)", {Clube_Treinador});
    auto& clubes = *controlo<FrmHist_Clubes, Grelha>("v1_1");
    ASSERT_EQ(clubes.MaxRows(), 2);
    EXPECT_EQ(clubes.BackColor(2, 1), Amarelo);
    EXPECT_EQ(clubes.BackColor(2, 2), Laranja);
    auto& treinador = *controlo<FrmHist_Treinador, Grelha>("v1_1");
    ASSERT_EQ(treinador.MaxRows(), 2);
    EXPECT_EQ(treinador.texto(2, 2), "TOTAL");
    EXPECT_EQ(treinador.BackColor(1, 2), Laranja);
    EXPECT_EQ(treinador.texto(6, 2), "3");
    auto* combo = controlo<FrmHist_Clubes_Epoca, QComboBox>("Combo1");
    EXPECT_EQ(combo->currentText().toStdString() + combo->placeholderText().toStdString(), Clube_Treinador);
}

TEST_F(Ecras, EnglishTextsAndTheTypeColumnStaysPortuguese) {
    Lingua = "I";
    Base_Dados->Execute("INSERT INTO transferencias (Epoca, Jornada, pos, nome, forca, Tipo, valor) VALUES (1999, 1, 'gk', 'A (20)', 50, 'E+', 1234567)");
    auto& v2 = *controlo<FrmTranfere, Grelha>("v2_0");
    EXPECT_EQ(instancia<FrmTranfere>().windowTitle(), "Transfers Done");
    EXPECT_EQ(v2.texto(1, 0), "Year");
    EXPECT_EQ(v2.texto(1, 1), "1999(1)");
    EXPECT_EQ(v2.texto(5, 1), "1,234,567");
    EXPECT_EQ(v2.texto(6, 1), "Empréstimo");
    EXPECT_EQ((controlo<FrmTranfere, QLabel>("Label5")->text()), "1,234,567");
    EXPECT_EQ((controlo<FrmTranfere, QLabel>("Label8")->text()), "0");
    EXPECT_EQ(instancia<FrmGolos_Sempre>().windowTitle(), "Best Scorers (All Championships)");
    EXPECT_EQ((controlo<FrmGolos_Sempre, QComboBox>("Combo1")->itemText(0)), "All Teams");
    EXPECT_EQ((controlo<FrmAssistencias, Grelha>("v1_1")->texto(3, 0)), "Competion");
}

TEST_F(Ecras, EveryScreenOnlyReads) {
    ASSERT_EQ(Jogar_Ronda_Campeonato(), Resultado_Ronda::Jogada);
    const int antes = sqlite3_total_changes(Base_Dados->handle());
    instancia<FrmCalendario>();
    instancia<FrmCalendario_Taca>();
    instancia<FrmAssistencias>();
    instancia<FrmMedia_Jog>();
    instancia<FrmGolos>();
    instancia<FrmGolos_Sempre>();
    instancia<FrmTranfere>();
    instancia<FrmTransferencias_totais>();
    instancia<FrmHist_Treinador>();
    instancia<FrmVencedores>();
    instancia<FrmHist_Clubes>();
    instancia<FrmHist_Clubes_Epoca>();
    EXPECT_GT((controlo<FrmMedia_Jog, QListWidget>("List1")->count()), 0);
    EXPECT_GT((controlo<FrmGolos, QListWidget>("List1_0")->count()), 0);
    descarregar_todos();
    EXPECT_EQ(sqlite3_total_changes(Base_Dados->handle()), antes);
}

TEST_F(Ecras, DeskMenuOpensTheScreensModallyWithTheHourglassWhereDue) {
    auto& desk = instancia<FrmDados>();
    for (const char* n : {"CC", "CT", "MM", "MMS", "VMJ", "TE", "TEE", "ARJ", "clubes_H", "EE", "HT", "uv"})
        EXPECT_TRUE(desk.item_menu(n)->isEnabled()) << n;
    int ocupado = porta.vezes_ocupado;
    EXPECT_TRUE(abre<FrmCalendario>([&] { desk.item_menu("CC")->trigger(); }));
    EXPECT_EQ(porta.vezes_ocupado, ocupado + 1);
    EXPECT_FALSE(porta.ocupado);
    ocupado = porta.vezes_ocupado;
    EXPECT_TRUE(abre<FrmHist_Treinador>([&] { desk.item_menu("HT")->trigger(); }));
    EXPECT_EQ(porta.vezes_ocupado, ocupado);
    EXPECT_TRUE(abre<FrmTransferencias_totais>([&] { desk.item_menu("TEE")->trigger(); }));
    EXPECT_EQ(porta.vezes_ocupado, ocupado + 1);
    EXPECT_TRUE(abre<FrmCalendario_Taca>([&] { desk.item_menu("CT")->trigger(); }));
    // The club-name label opens the calendar too.
    auto* label3 = desk.findChild<QLabel*>(QStringLiteral("Label3"));
    ASSERT_NE(label3, nullptr);
    EXPECT_TRUE(abre<FrmCalendario>([&] { QTest::mouseClick(label3, Qt::LeftButton); }));
}

TEST_F(Ecras, ScorersAndCupItemsAnswerWithAMessageWhenThereIsNothingToList) {
    Menu_Melhores_Marcadores();
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Não foram marcados nenhuns golos.");
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
    EXPECT_FALSE(carregado<FrmGolos>());

    Base_Dados->Execute("DELETE FROM clubes_taca_qualif");
    Base_Dados->Execute("INSERT INTO clubes_taca_qualif (clube) VALUES ('Académica')");
    Lingua = "I";
    Menu_Calendario_Taca();
    ASSERT_EQ(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[1].texto, "CUP Winner: ACADÉMICA");
    EXPECT_EQ(porta.mensagens[1].icone, Icone::Informacao);
    EXPECT_FALSE(carregado<FrmCalendario_Taca>());

    Base_Dados->Execute("UPDATE jogadores SET golos = 1 WHERE rowid = (SELECT min(rowid) FROM jogadores)");
    EXPECT_TRUE(abre<FrmGolos>([] { Menu_Melhores_Marcadores(); }));
    EXPECT_EQ(porta.mensagens.size(), 2u);
}

} // namespace
} // namespace gv
