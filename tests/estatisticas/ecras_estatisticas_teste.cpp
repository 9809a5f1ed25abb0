// The statistics screens and the desk's menu items that open them, on the
// offscreen platform, controls found by name.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <sqlite3.h>

#include "../mercado/apoio_mercado.h"
#include "ambiente_qt.h"
#include "desk/frmdados.h"
#include "data/clubes.h"
#include "matchday/ronda.h"
#include "platform/qt/grelha.h"
#include "stats/ecras_estatisticas.h"
#include "stats/estatisticas.h"
#include "stats/menu_estatisticas.h"

namespace gv {
namespace {

using namespace Cores_Consulta;

template <class T, class W>
W* controlo(const char* nome) { return teste::controlo<W>(instancia<T>(), nome); }
using teste::escolher;
int item_do_clube(QComboBox* c) { return c->findData(QString::fromStdString(Clube_Treinador)); }

template <class... T>
struct Lista_Ecras {
    static void carregar() { (void(instancia<T>()), ...); }
    static void descarregar() { teste::descarregar_ecras<T...>(); }
};
using Todos = Lista_Ecras<FrmCalendario, FrmCalendario_Taca, FrmAssistencias, FrmMedia_Jog, FrmGolos, FrmGolos_Sempre,
                          FrmTranfere, FrmTransferencias_totais, FrmHist_Treinador, FrmVencedores, FrmHist_Clubes,
                          FrmHist_Clubes_Epoca>;

class Ecras : public teste::Com_Jogo {
protected:
    void TearDown() override {
        Todos::descarregar();
        teste::descarregar_ecras<FrmDados>();
        Abrir_Plantel_Clube() = nullptr;
        Com_Jogo::TearDown();
    }
    // The club the squad screen was asked for.
    std::string pedido_;
    void instalar_plantel() {
        Abrir_Plantel_Clube() = [this](const std::string& c) { pedido_ = c; };
    }
    // Whether `accao` shows screen T modally (then closed).
    template <class T>
    static bool abre(const std::function<void()>& accao) {
        return teste::com_ecra<T>([](T&) { descarregar<T>(); }, accao);
    }
};

// After a matchday every screen fills without writing a thing. The league
// calendar opens on the manager's club: score, letter, place and points of
// each match played, the winner's side green and the loser's red, a draw
// in blue, and a plain row for a match to come.
TEST_F(Ecras, AfterAMatchdayNoScreenWritesAndTheCalendarShowsThePlayedMatches) {
    ASSERT_EQ(Jogar_Ronda_Campeonato(), Resultado_Ronda::Jogada);
    Base_Dados->executar_script("UPDATE jogos SET result = '3 - 1' WHERE jor = 1; UPDATE jogos SET result = '0 - 2' WHERE jor = 2; "
                                "UPDATE jogos SET result = '1 - 1' WHERE jor = 3; UPDATE Historico_Jornadas SET pos = 4, pontos = 3 "
                                "WHERE jor = 1 AND clube = '" + Clube_Treinador + "'");
    const int antes = sqlite3_total_changes(Base_Dados->handle());
    Todos::carregar();
    EXPECT_GT((controlo<FrmMedia_Jog, QListWidget>("List1")->count()), 0);
    EXPECT_GT((controlo<FrmGolos, QListWidget>("List1_0")->count()), 0);
    EXPECT_EQ((controlo<FrmCalendario, QComboBox>("Combo1")->currentText().toStdString()), "(1) " + Clube_Treinador);
    EXPECT_EQ((controlo<FrmCalendario, QPushButton>("Command2")->text().toStdString()), "Jogadores: " + Clube_Treinador);
    auto& v = *controlo<FrmCalendario, Grelha>("v1");
    ASSERT_EQ(v.MaxRows(), 34);
    auto linha = [&](int r, std::initializer_list<int> colunas = {1, 2, 3, 4, 5, 6, 9}) {
        std::string s;   // matchday, place, points, side, letter, home goals, away goals
        for (int c : colunas) s += v.texto(c, r) + "|";
        return s;
    };
    const bool casa1 = v.texto(7, 1) == Clube_Treinador, casa2 = v.texto(7, 2) == Clube_Treinador;
    EXPECT_EQ(v.texto(7, 0) + linha(0), "CasaJor.|Class.|Pts.|L|R| | |");
    EXPECT_EQ(linha(1), std::string("1|4|3|") + (casa1 ? "C|V" : "F|D") + "|3|1|");
    EXPECT_EQ(linha(2).substr(4), std::string(casa2 ? "C|D" : "F|V") + "|0|2|");
    EXPECT_EQ(linha(4, {1, 2, 3, 5, 6, 9}), "4||||||");
    const std::tuple<QColor, QColor, QColor, QColor> cores[] = {
        {Verde_Claro, Vermelho_Claro, Verde, Vermelho}, {Vermelho_Claro, Verde_Claro, Vermelho, Verde}, {Amarelo, Amarelo, Azul, Azul}};
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(std::tuple(v.BackColor(7, r), v.BackColor(8, r), v.ForeColor(6, r), v.ForeColor(9, r)), cores[r - 1]) << r;
    EXPECT_EQ(std::tuple(v.BackColor(1, 4), v.ForeColor(7, 4), v.ForeColor(8, 4)), std::tuple(Amarelo, Azul, Azul));
    Todos::descarregar();
    EXPECT_EQ(sqlite3_total_changes(Base_Dados->handle()), antes);
}

TEST_F(Ecras, ChoosingAClubRefillsTheCalendarTypingChangesNothing) {
    auto* combo = controlo<FrmCalendario, QComboBox>("Combo1");
    auto& v1 = *controlo<FrmCalendario, Grelha>("v1");
    const int antes = combo->currentIndex();
    QTest::keyClick(combo, Qt::Key_Z);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentIndex(), antes);
    const int outro = antes == 0 ? 1 : 0;
    const std::string clube = combo->itemData(outro).toString().toStdString();
    escolher(combo, outro);
    EXPECT_EQ(instancia<FrmCalendario>().clube(), clube);
    EXPECT_EQ(v1.MaxRows(), 34);
    EXPECT_TRUE(v1.texto(7, 1) == clube || v1.texto(8, 1) == clube) << v1.texto(7, 1) << " / " << v1.texto(8, 1);
    // Without the squads screen the button is inert; with it, it asks for the club shown.
    EXPECT_FALSE((controlo<FrmCalendario, QPushButton>("Command2")->isEnabled()));
    teste::descarregar_ecras<FrmCalendario>();
    instalar_plantel();
    escolher(controlo<FrmCalendario, QComboBox>("Combo1"), outro);
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
        const bool nossa = (v1.texto(1, r) + "|" + v1.texto(2, r)).find(Clube_Treinador) != std::string::npos;
        EXPECT_EQ(v1.BackColor(1, r), nossa ? Laranja : Amarelo) << r;
        laranjas += nossa;
    }
    EXPECT_EQ(laranjas, 1);
}

TEST_F(Ecras, AllTimeScorersFilterByClubAndOpenTheSquadOfTheLinesClub) {
    instalar_plantel();
    const std::string longo = "Clube Com Um Nome Bem Maior Que O Campo";
    Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, idade, golos, sit) VALUES "
                        "('Primeiro', ?, 30, 50, 1), ('Segundo', ?, 30, 40, 1)",
                        {longo, Clube_Treinador});
    auto* lista = controlo<FrmGolos_Sempre, QListWidget>("List1_0");
    ASSERT_EQ(lista->count(), 2);
    EXPECT_EQ((std::pair(controlo<FrmGolos_Sempre, QListWidget>("List1_1")->count(),
                         controlo<FrmGolos_Sempre, QListWidget>("List1_2")->count())),
              std::pair(0, 2));   // none retired, both in the global list
    // The club comes from the line's data, even when its field cut the name.
    emit lista->itemDoubleClicked(lista->item(0));
    EXPECT_EQ(pedido_, longo);

    auto* combo = controlo<FrmGolos_Sempre, QComboBox>("Combo1");
    EXPECT_EQ(combo->currentText(), "Todos os Clubes");
    escolher(combo, item_do_clube(combo));
    ASSERT_EQ(lista->count(), 1);
    EXPECT_EQ(lista->item(0)->text().left(4), "2   ");   // the rank of the whole list
    escolher(combo, 0);
    EXPECT_EQ(lista->count(), 2);
}

TEST_F(Ecras, AllTransfersKeepTheClubWhenTheOrderChanges) {
    Base_Dados->Execute("INSERT INTO transferencias_clubes (jornada, pos, nome, forca, tipo, valor, idade) VALUES "
                        "(3, 'gk', 'Um', 50, ?, 900, 24), (7, 'df', 'Dois', 50, ?, 100, 25), (8, 'md', 'Tres', 50, '(1) X -> Y (1)', 5, 20)",
                        {"(1) " + Clube_Treinador + " -> Y (1)", "(1) Y -> " + Clube_Treinador + " (1)"});
    auto& v2 = *controlo<FrmTransferencias_totais, Grelha>("v2_0");
    EXPECT_EQ(std::pair(v2.MaxRows(), v2.texto(2, 1)), std::pair(3, std::string("MD - Tres (20)")));
    auto* combo = controlo<FrmTransferencias_totais, QComboBox>("Combo1");
    escolher(combo, item_do_clube(combo));
    EXPECT_EQ(std::pair(v2.MaxRows(), v2.texto(1, 1)), std::pair(2, std::string("7")));
    QTest::mouseClick(controlo<FrmTransferencias_totais, QRadioButton>("Option2"), Qt::LeftButton);
    EXPECT_EQ(std::pair(v2.MaxRows(), v2.texto(4, 1)), std::pair(2, std::string("900")));
    EXPECT_EQ(v2.BackColor(2, 2), Amarelo);
}

TEST_F(Ecras, HistoriesMarkTheManagersClubAndTheTotalLine) {
    Base_Dados->Execute("INSERT INTO historico_clube (clube, pontos_total) VALUES ('Outro', 1), (?, 2)", {Clube_Treinador});
    Base_Dados->Execute("INSERT INTO historico_treinador (ano, clube, v) VALUES (1999, ?, 3)", {Clube_Treinador});
    auto& clubes = *controlo<FrmHist_Clubes, Grelha>("v1_1");
    ASSERT_EQ(clubes.MaxRows(), 2);
    EXPECT_EQ(std::pair(clubes.BackColor(2, 1), clubes.BackColor(2, 2)), std::pair(Amarelo, Laranja));
    auto& treinador = *controlo<FrmHist_Treinador, Grelha>("v1_1");
    ASSERT_EQ(treinador.MaxRows(), 2);
    EXPECT_EQ(treinador.texto(2, 2) + "|" + treinador.texto(6, 2), "TOTAL|3");
    EXPECT_EQ(treinador.BackColor(1, 2), Laranja);
    auto* combo = controlo<FrmHist_Clubes_Epoca, QComboBox>("Combo1");
    EXPECT_EQ(combo->currentText().toStdString() + combo->placeholderText().toStdString(), Clube_Treinador);
}

TEST_F(Ecras, EnglishTextsAndTheTypeColumnStaysPortuguese) {
    Lingua = "I";
    Base_Dados->Execute("INSERT INTO transferencias (Epoca, Jornada, pos, nome, forca, Tipo, valor) VALUES (1999, 1, 'gk', 'A (20)', 50, 'E+', 1234567)");
    auto& v2 = *controlo<FrmTranfere, Grelha>("v2_0");
    EXPECT_EQ(instancia<FrmTranfere>().windowTitle(), "Transfers Done");
    EXPECT_EQ(v2.texto(1, 0) + "|" + v2.texto(1, 1) + "|" + v2.texto(5, 1) + "|" + v2.texto(6, 1), "Year|1999(1)|1,234,567|Empréstimo");
    EXPECT_EQ((controlo<FrmTranfere, QLabel>("Label5")->text() + "|" + controlo<FrmTranfere, QLabel>("Label8")->text()), "1,234,567|0");
    EXPECT_EQ(instancia<FrmGolos_Sempre>().windowTitle(), "Best Scorers (All Championships)");
    EXPECT_EQ((controlo<FrmGolos_Sempre, QComboBox>("Combo1")->itemText(0)), "All Teams");
    EXPECT_EQ((controlo<FrmAssistencias, Grelha>("v1_1")->texto(3, 0)), "Competion");
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
    EXPECT_EQ(std::pair(porta.mensagens[0].texto, porta.mensagens[0].icone), std::pair(std::string("Não foram marcados nenhuns golos."), Icone::Critico));
    EXPECT_FALSE(carregado<FrmGolos>());

    Base_Dados->executar_script("DELETE FROM clubes_taca_qualif; INSERT INTO clubes_taca_qualif (clube) VALUES ('Académica')");
    Lingua = "I";
    Menu_Calendario_Taca();
    ASSERT_EQ(porta.mensagens.size(), 2u);
    EXPECT_EQ(std::pair(porta.mensagens[1].texto, porta.mensagens[1].icone), std::pair(std::string("CUP Winner: ACADÉMICA"), Icone::Informacao));
    EXPECT_FALSE(carregado<FrmCalendario_Taca>());

    Base_Dados->Execute("UPDATE jogadores SET golos = 1 WHERE rowid = (SELECT min(rowid) FROM jogadores)");
    EXPECT_TRUE(abre<FrmGolos>([] { Menu_Melhores_Marcadores(); }));
    EXPECT_EQ(porta.mensagens.size(), 2u);
}

} // namespace
} // namespace gv
