// The desk screen on the offscreen platform, found control by control, and
// a whole matchday through the real screens: desk, round screen, desk.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <set>

#include "../mercado/apoio_mercado.h"
#include "ambiente_qt.h"
#include "cadeia.h"
#include "data/financas.h"
#include "data/tacticas.h"
#include "desk/frmdados.h"
#include "matchday/frmjogos.h"
#include "platform/qt/caixa_imagem.h"
#include "platform/qt/grelha.h"
#include "platform/qt/navegacao.h"
#include "season/frmtabelas.h"

namespace gv {
namespace {

using namespace Cores_Secretaria;

class Secretaria : public teste::Com_Jogo {
protected:
    void TearDown() override {
        teste::descarregar_ecras<FrmDados, FrmJogos_Camp, FrmJogos_Taca, FrmTabelas>();
        Com_Jogo::TearDown();
    }
    template <class W>
    static W* controlo(const char* nome) { return teste::controlo<W>(instancia<FrmDados>(), nome); }
    static QString rotulo(const char* nome) { return controlo<QLabel>(nome)->text(); }
};

TEST_F(Secretaria, GridShowsEachPlayerOnceInColouredSectionsWithCareerGoals) {
    auto& d = instancia<FrmDados>();
    auto& s1 = *controlo<Grelha>("s1");
    const int n = contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {Clube_Treinador});
    ASSERT_EQ(s1.MaxRows(), n);
    EXPECT_EQ(s1.Text(3, 0), "Nome");
    EXPECT_EQ(s1.texto(2, 1), "gk");
    std::set<long long> ids;
    int suplentes = 0;
    for (int r = 1; r <= n; ++r) {
        EXPECT_TRUE(ids.insert(s1.identidade(r)).second);
        EXPECT_EQ(s1.texto(3, r), coluna(s1.identidade(r), "nome")) << "the row is the player its identity names";
        EXPECT_EQ(s1.BackColor(3, r), r <= 11 ? Verde_Claro : Amarelo_Claro) << r;
        EXPECT_TRUE(r > 11 || (s1.Value(1, r) == 1 && !s1.Lock(1, r))) << r;
        suplentes += r > 11 && s1.Value(1, r) == 2;
    }
    EXPECT_EQ(suplentes, 4);
    // The goals column shows career goals.
    auto rs = Base_Dados->OpenRecordset("SELECT nome, pos, idade FROM jogadores WHERE rowid = ?", {s1.identidade(2)});
    for (int golos : {3, 7})
        sql("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) VALUES (?, ?, ?, ?, ?, 1)",
            {rs["nome"], Clube_Treinador, rs["pos"], rs["idade"], golos});
    emit s1.Click(9, 2);
    EXPECT_EQ(d.item_menu("Emp_equip")->text(), "Nº Total de Golos Marcados: 7");
    d.menu_informacao().hide();
    emit s1.Click(9, 3);
    EXPECT_EQ(d.item_menu("Emp_equip")->text(), "Nº Total de Golos Marcados: 0");
}

TEST_F(Secretaria, TheFormationBoxRefillsTheGridAndShowsAStoredLineUpOutsideItsList) {
    auto* combo = controlo<QComboBox>("Combo1");
    EXPECT_EQ(combo->currentText(), "4-3-3");
    ASSERT_GE(combo->findText("4-4-2"), 0);
    teste::escolher(combo, combo->findText("4-4-2"));
    auto& s1 = *controlo<Grelha>("s1");
    int medios = 0;
    for (int r = 1; r <= 11; ++r) medios += s1.texto(2, r) == "md";
    EXPECT_EQ(medios, 4);
    EXPECT_TRUE(combo->styleSheet().contains("192, 255, 192"));
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1 AND pos = 'md'", {Clube_Treinador}), 3)
        << "nothing is written until the next match";
    // Only three defenders fit: the stored line-up becomes 3-3-3, not in the list.
    descarregar<FrmDados>();
    sql("UPDATE jogadores SET joga = 3 WHERE equipa = ? AND pos = 'df' AND rowid NOT IN "
        "(SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'df' ORDER BY forca DESC LIMIT 3)",
        {Clube_Treinador, Clube_Treinador});
    Escolher_Melhor_Equipa();
    combo = controlo<QComboBox>("Combo1");
    EXPECT_EQ(combo->findText("3-3-3"), -1);
    EXPECT_EQ(combo->placeholderText(), "3-3-3");
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_TRUE(combo->styleSheet().contains("255, 192, 192"));
}

TEST_F(Secretaria, PlayerMenuOffersWhatFitsTheRowAndASaleGreysIt) {
    auto& d = instancia<FrmDados>();
    auto& s1 = *controlo<Grelha>("s1");
    // A fit player of the club (one contract season left: renewal too), one
    // on loan at the club (only buying him), one injured, lent out or just sold.
    struct Caso { int coluna, linha; const char* valor; std::set<std::string> itens; };
    for (const Caso& c : {Caso{6, 2, "2", {"vender", "emprestar"}}, Caso{6, 2, "1", {"vender", "emprestar", "RC"}},
                          Caso{10, 3, "X", {"CJE"}}, Caso{12, 4, "3", {}}}) {
        s1.set_Text(c.coluna, c.linha, c.valor);
        emit s1.DblClick(3, c.linha);
        std::set<std::string> visiveis;
        for (const char* n : {"vender", "emprestar", "RC", "CJE"})
            if (d.menu_jogador().isVisible() && d.item_menu(n)->isVisible()) visiveis.insert(n);
        EXPECT_EQ(visiveis, c.itens) << c.linha;
        d.menu_jogador().hide();
    }
    // Selling from the menu greys and marks the row.
    const long long id = s1.identidade(5);
    emit s1.DblClick(3, 5);
    d.menu_jogador().hide();
    porta.responder(Resposta::Sim);
    d.item_menu("vender")->trigger();
    EXPECT_EQ(s1.BackColor(3, 5), Cinzento);
    EXPECT_EQ(s1.Text(13, 5), "X");
    EXPECT_EQ(s1.Value(1, 5), 0);
    EXPECT_EQ(s1.identidade(5), id) << "the row stays until the grid is filled again";
    EXPECT_NE(rotulo("Label24"), "0") << "the sale shows in the finance panel";
    // Ticking the sold player warns that he is gone.
    emit s1.Click(1, 5);
    EXPECT_EQ(ultima(), "Este jogador não se encontra no clube.");
}

TEST_F(Secretaria, PanelsShowMoneyStatusAndGauge) {
    instancia<FrmDados>();
    EXPECT_EQ(rotulo("Label12"), "2,000,000");
    EXPECT_TRUE(controlo<QLabel>("Label12")->styleSheet().contains("0, 0, 128"));
    EXPECT_TRUE(rotulo("Label3").contains("º Lugar"));
    EXPECT_EQ(rotulo("Label34") + rotulo("Label35") + rotulo("Label41"), "[Jogo Real]1ª Divisão[2 Época(s) de Contrato]");
    EXPECT_EQ(Prestacao_Paga, 0);
    auto img = controlo<CaixaImagem>("pic1")->imagem();
    EXPECT_EQ(img.pixelColor(2, img.height() / 2), QColor(0, 0, 128)) << "half the gauge is dark blue";
    EXPECT_EQ(img.pixelColor(img.width() - 3, img.height() / 2), QColor(Qt::white));
    // After a posting, the shared refresh reaches the desk on show.
    Movimento_Financeiro("-", 2500000);
    Actualizar_Financas();
    EXPECT_EQ(rotulo("Label12"), "-500,000");
    EXPECT_TRUE(controlo<QLabel>("Label12")->styleSheet().contains("128, 0, 0"));
    // Without the manager's row the money labels keep their values.
    sql("UPDATE principal SET d_total = 5, equipa = 'Outro Clube'");
    Actualizar_Financas();
    EXPECT_EQ(rotulo("Label12"), "-500,000");
}

TEST_F(Secretaria, MenuItemsWithShortcutsInBothLanguages) {
    // name|Portuguese|English|shortcut
    const char* itens[] = {
        "sair|Sair|Exit Game|", "EB|Empréstimo Bancário|Bank Loan|Ctrl+B", "LT|Lista de Transferências|Transfer List|F1",
        "LJT|Lista de Jogadores (Todos)|All Players List|F2", "TEE|Todas as Transferências|All Players Transfers|F4",
        "TE|Jogadores Transferidos (Cabeço Alto)|Players Transfers (Cabeço Alto)|F3", "clubes_H|Equipas (Pontuação)|Teams (Points)|",
        "EE|Equipas (Época)|Teams (Year)|", "HT|Treinador|Manager|", "uv|Últimos Vencedores|Last Winners|", "estagio|Estágio|Training|",
        "estadio|Capacidade do Estádio|Stadium|Ctrl+E", "ARJ|Assistências/Receitas dos Jogos |Match Assistance|Ctrl+A",
        "CC|Calendário Campeonato|Championship Matchs|F5", "CCamp|Classificação Campeonato|Championship Tables|F6",
        "EA|Constituição das Outras Equipas|Opponent Teams (Players)|F7", "MM|Melhores Marcadores|Best Scorers|Ctrl+M",
        "MMS|Melhores Marcadores de Sempre|Best Scorers (Ever)|Ctrl+S", "VMJ|Valor Médio Jogadores|Players Average Values|Ctrl+V",
        "CT|Calendário Taça|Cup Matchs|Ctrl+T", "Util|&Utilidades|&Utilities|", "IG|&Informações Gerais|&General Information|",
        "vender|Vender|Sell Player|", "GVantario|&Golvantario|&Golvantario|"};
    for (const char* lingua : {"P", "I"}) {
        teste::descarregar_ecras<FrmDados>();
        Lingua = lingua;
        auto& d = instancia<FrmDados>();
        for (const char* item : itens) {
            const QStringList c = QString::fromUtf8(item).split('|');
            QAction* a = d.item_menu(c[0].toStdString().c_str());
            ASSERT_NE(a, nullptr) << item;
            EXPECT_EQ(a->text() + "|" + a->shortcut().toString(), c[Lingua == "P" ? 1 : 2] + "|" + c[3]);
        }
        EXPECT_FALSE(d.item_menu("acerca")->isVisible());
    }
    EXPECT_EQ(controlo<Grelha>("s1")->Text(3, 0) + controlo<Grelha>("s1")->Text(6, 0), "NameCtr.");
    EXPECT_EQ(rotulo("Label1"), "Next Match");
}

using teste::no_ecra;

class Jornada_No_Ecra : public Secretaria {
protected:
    void SetUp() override {
        Secretaria::SetUp();
        // Any computer offer before the match is turned down.
        for (int i = 0; i < 4; ++i) porta.responder(Resposta::Nao);
    }
    template <class T>
    static bool premir(const char* botao) {
        instancia<T>().template findChild<QPushButton*>(botao)->click();
        return true;
    }
};

TEST_F(Jornada_No_Ecra, AnInvalidLineUpKeepsTheDeskOpen) {
    bool ficou = false;
    teste::correr_cadeia<FrmDados>([&](int passo) {
        if (passo != 0 || !no_ecra<FrmDados>()) return false;
        auto& d = instancia<FrmDados>();
        d.findChild<Grelha*>("s1")->set_Value(1, 1, 0);   // no goalkeeper
        d.findChild<QPushButton*>("Command3")->click();
        ficou = no_ecra<FrmDados>() && !carregado<FrmJogos_Camp>();
        d.Unload();
        return true;
    });
    EXPECT_TRUE(ficou);
    ASSERT_GE(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[0].texto, "Tem que existir um guarda redes.");
    EXPECT_EQ(Jornada_Actual, 1);
}

// Next match plays matchday 1's league round, then matchday 5's cup round,
// on their screens. The window's close box while the round plays is refused
// and the round runs to its end; afterwards it goes on as OK does (the
// league screen is closed, the cup screen's OK pressed), so the chain always
// reaches the next desk. A cup tie's winner is coloured: club cell light
// green and goals green, the loser's light red and red.
TEST_F(Jornada_No_Ecra, ARoundScreenPlaysItsWholeRoundThenGoesOnToTheNextDesk) {
    const auto decidida = [](Grelha& v1, int r) {
        const int casa = v1.Text(3, r).toInt(), fora = v1.Text(6, r).toInt();
        const int vence = casa > fora ? 0 : 1;   // 0: the home side's columns, 1: the away side's
        return !v1.Text(3, r).isEmpty() && casa != fora && v1.BackColor(4 + vence, r) == QColor(192, 255, 192) &&
               v1.BackColor(5 - vence, r) == QColor(255, 192, 192) &&
               v1.ForeColor(3 + 3 * vence, r) == QColor(0, 192, 0) && v1.ForeColor(6 - 3 * vence, r) == QColor(255, 0, 0);
    };
    for (const bool taca : {false, true}) {
        SCOPED_TRACE(taca ? "cup" : "league");
        if (taca) {
            Base_Dados->Execute("UPDATE principal SET Jornada = 5");
            Jornada_Actual = 5;
        }
        Ecra_Jogos* ecra = nullptr;
        int recusados = 0, linhas = 0, jogadas = 0;
        QString titulo;
        // Inside the round's event pump, after its first match is shown.
        porta.ao_processar_eventos = [&] {
            if (!ecra || ecra->findChild<QPushButton*>("Command1")->isEnabled()) return;
            if (ecra->findChild<Grelha*>("v1")->Text(3, 1).isEmpty()) return;
            ecra->close();
            recusados += ecra->isVisible() && !ecra->a_descarregar();
        };
        bool na_secretaria = false;
        teste::correr_cadeia<FrmDados>([&](int passo) {
            if (passo == 0 && no_ecra<FrmDados>()) return premir<FrmDados>("Command3");
            if (passo == 1 && (taca ? no_ecra<FrmJogos_Taca>() : no_ecra<FrmJogos_Camp>())) {
                ecra = taca ? static_cast<Ecra_Jogos*>(&instancia<FrmJogos_Taca>()) : &instancia<FrmJogos_Camp>();
                return true;
            }
            if (passo == 2 && ecra->findChild<QPushButton*>("Command1")->isEnabled()) {
                porta.ao_processar_eventos = nullptr;
                titulo = ecra->windowTitle();
                auto& v1 = *ecra->findChild<Grelha*>("v1");
                linhas = v1.MaxRows();
                for (int r = 1; r <= linhas; ++r)
                    jogadas += taca ? decidida(v1, r) : !v1.Text(3, r).isEmpty() && !v1.Text(6, r).isEmpty();
                if (taca) return premir<FrmJogos_Taca>("Command1");
                ecra->close();
                return true;
            }
            if (no_ecra<FrmTabelas>()) {
                premir<FrmTabelas>("Command1");
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
            EXPECT_EQ(titulo, "Jogos Taça - 1ª eliminatória  - 1999");
            EXPECT_EQ(std::tuple(linhas, jogadas, Eliminatoria_Taca, Jornada_Actual), std::tuple(32, 32, 2, 5));
            EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca WHERE resul IS NULL"), 16) << "the next round is drawn";
        } else {
            EXPECT_TRUE(titulo.startsWith("Jogos Campeonato - 1ª Jornada - 1999")) << titulo.toStdString();
            EXPECT_EQ(std::tuple(linhas, jogadas, Jornada_Actual), std::tuple(27, 27, 2));
            EXPECT_EQ(contar("SELECT count(*) FROM jogos WHERE jor = 1 AND result IS NOT NULL"), 27);
            EXPECT_EQ(contar("SELECT Jornada FROM principal"), 2);
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
