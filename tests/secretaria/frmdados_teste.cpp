// The desk screen on the offscreen platform, found control by control.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <set>
#include <QMenu>

#include "ambiente_qt.h"
#include "desk/frmdados.h"
#include "jogo_apoio.h"
#include "data/financas.h"
#include "data/tacticas.h"
#include "platform/texto.h"
#include "platform/qt/caixa_imagem.h"
#include "platform/qt/grelha.h"

namespace gv {
namespace {

using namespace Cores_Secretaria;

class Secretaria : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
    }
    void TearDown() override {
        descarregar<FrmDados>();
        teste::apagar_pendentes();
        Com_Mestra::TearDown();
    }
    template <class W>
    W* controlo(const char* nome) {
        auto* w = instancia<FrmDados>().findChild<W*>(QString::fromLatin1(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }
    QString rotulo(const char* nome) { return controlo<QLabel>(nome)->text(); }
};

TEST_F(Secretaria, GridShowsEachPlayerOnceInColouredSections) {
    auto& s1 = *controlo<Grelha>("s1");
    int n = contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {Clube_Treinador});
    ASSERT_EQ(s1.MaxRows(), n);
    EXPECT_EQ(s1.MaxCols(), 13);
    EXPECT_TRUE(s1.ColHidden(13));
    EXPECT_EQ(s1.Text(3, 0), "Nome");
    std::set<long long> ids;
    for (int r = 1; r <= n; ++r) {
        EXPECT_TRUE(ids.insert(s1.identidade(r)).second);
        // The row is the player its identity names.
        EXPECT_EQ(s1.texto(3, r), Base_Dados->valor("SELECT nome FROM jogadores WHERE rowid = ?", {s1.identidade(r)}).texto());
        EXPECT_EQ(s1.ForeColor(2, r), QColor(Qt::white));
        EXPECT_EQ(s1.BackColor(2, r), da_posicao(s1.texto(2, r)));
    }
    for (int r = 1; r <= 11; ++r) {
        EXPECT_EQ(s1.BackColor(3, r), Verde_Claro) << r;
        EXPECT_EQ(s1.Value(1, r), 1);
        EXPECT_FALSE(s1.Lock(1, r));
    }
    int suplentes = 0;
    for (int r = 12; r <= n; ++r) {
        EXPECT_EQ(s1.BackColor(3, r), Amarelo_Claro) << r;
        suplentes += s1.Value(1, r) == 2;
    }
    EXPECT_EQ(suplentes, 4);
    EXPECT_EQ(s1.texto(2, 1), "gk");
}

TEST_F(Secretaria, ChoosingAFormationRefillsTheGridAndTurnsTheComboGreen) {
    auto* combo = controlo<QComboBox>("Combo1");
    EXPECT_EQ(combo->currentText(), "4-3-3");
    int i = combo->findText("4-4-2");
    ASSERT_GE(i, 0);
    combo->setCurrentIndex(i);
    emit combo->activated(i);
    auto& s1 = *controlo<Grelha>("s1");
    int medios = 0;
    for (int r = 1; r <= 11; ++r) medios += s1.texto(2, r) == "md";
    EXPECT_EQ(medios, 4);
    EXPECT_TRUE(combo->styleSheet().contains("192, 255, 192"));
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1 AND pos = 'md'", {Clube_Treinador}), 3)
        << "nothing is written until the next match";
}

TEST_F(Secretaria, AStoredLineUpOutsideTheListIsShownNotOffered) {
    // Only three defenders fit: the stored line-up becomes 3-3-3.
    Base_Dados->Execute("UPDATE jogadores SET joga = 3 WHERE equipa = ? AND pos = 'df' AND rowid NOT IN "
                        "(SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'df' ORDER BY forca DESC LIMIT 3)",
                        {Clube_Treinador, Clube_Treinador});
    Escolher_Melhor_Equipa();
    auto* combo = controlo<QComboBox>("Combo1");
    EXPECT_EQ(combo->findText("3-3-3"), -1);
    EXPECT_EQ(combo->count(), static_cast<int>(Tacticas_Possiveis().size()));
    EXPECT_EQ(combo->placeholderText(), "3-3-3");
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_TRUE(combo->styleSheet().contains("255, 192, 192"));
}

TEST_F(Secretaria, WithoutTheManagersRowTheMoneyLabelsKeepTheirValues) {
    instancia<FrmDados>();
    Base_Dados->Execute("UPDATE principal SET d_total = 5, equipa = 'Outro Clube'");
    Actualizar_Financas();
    EXPECT_EQ(rotulo("Label12"), "2,000,000");
    EXPECT_TRUE(rotulo("Label37").startsWith("Nº Jogadores: "));
}

TEST_F(Secretaria, PlayerMenuOffersWhatFitsTheRow) {
    auto& d = instancia<FrmDados>();
    auto& s1 = *controlo<Grelha>("s1");
    auto visiveis = [&] {
        std::set<std::string> r;
        for (const char* n : {"vender", "emprestar", "RC", "CJE"})
            if (d.item_menu(n)->isVisible()) r.insert(n);
        return r;
    };
    // Row 2: a fit player of the club; one contract season left offers renewal too.
    s1.set_Text(6, 2, "2");
    emit s1.DblClick(3, 2);
    EXPECT_TRUE(d.menu_jogador().isVisible());
    EXPECT_EQ(visiveis(), (std::set<std::string>{"vender", "emprestar"}));
    d.menu_jogador().hide();
    s1.set_Text(6, 2, "1");
    emit s1.DblClick(3, 2);
    EXPECT_EQ(visiveis(), (std::set<std::string>{"vender", "emprestar", "RC"}));
    d.menu_jogador().hide();
    // On loan at the club: only buying him.
    s1.set_Text(10, 3, "X");
    emit s1.DblClick(3, 3);
    EXPECT_EQ(visiveis(), (std::set<std::string>{"CJE"}));
    d.menu_jogador().hide();
    // Injured, lent out or just sold: no menu at all.
    s1.set_Text(12, 4, "3");
    emit s1.DblClick(3, 4);
    EXPECT_FALSE(d.menu_jogador().isVisible());
}

TEST_F(Secretaria, SellingFromTheMenuGreysAndMarksTheRow) {
    auto& d = instancia<FrmDados>();
    auto& s1 = *controlo<Grelha>("s1");
    const long long id = s1.identidade(5);
    emit s1.DblClick(3, 5);
    d.menu_jogador().hide();
    porta.responder(Resposta::Sim);
    d.item_menu("vender")->trigger();
    EXPECT_EQ(s1.BackColor(3, 5), Cinzento);
    EXPECT_EQ(s1.Text(13, 5), "X");
    EXPECT_EQ(s1.Value(1, 5), 0);
    EXPECT_EQ(s1.identidade(5), id) << "the row stays until the grid is filled again";
    EXPECT_NE(Base_Dados->valor("SELECT equipa FROM jogadores WHERE rowid = ?", {id}).texto(), Clube_Treinador);
    EXPECT_NE(rotulo("Label24"), "0") << "the sale shows in the finance panel";
    // Ticking the sold player warns that he is gone.
    emit s1.Click(1, 5);
    EXPECT_EQ(porta.mensagens.back().texto, "Este jogador não se encontra no clube.");
}

TEST_F(Secretaria, GoalsColumnShowsCareerGoals) {
    auto& d = instancia<FrmDados>();
    auto& s1 = *controlo<Grelha>("s1");
    auto rs = Base_Dados->OpenRecordset("SELECT nome, pos, idade FROM jogadores WHERE rowid = ?", {s1.identidade(2)});
    for (int golos : {3, 7})
        Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) VALUES (?, ?, ?, ?, ?, 1)",
                            {rs["nome"], Clube_Treinador, rs["pos"], rs["idade"], golos});
    emit s1.Click(9, 2);
    EXPECT_EQ(d.item_menu("Emp_equip")->text(), "Nº Total de Golos Marcados: 7");
    d.menu_informacao().hide();
    emit s1.Click(9, 3);
    EXPECT_EQ(d.item_menu("Emp_equip")->text(), "Nº Total de Golos Marcados: 0");
}

TEST_F(Secretaria, PanelsShowMoneyNextMatchAndGauge) {
    instancia<FrmDados>();
    EXPECT_EQ(rotulo("Label12"), "2,000,000");
    EXPECT_TRUE(controlo<QLabel>("Label12")->styleSheet().contains("0, 0, 128"));
    EXPECT_EQ(rotulo("Label10"), QString::fromStdString(formatar_dinheiro(
                                     contar("SELECT sum(ordenado) FROM jogadores WHERE equipa = ?", {Clube_Treinador}))));
    EXPECT_TRUE(rotulo("Label37").startsWith("Nº Jogadores: "));
    EXPECT_TRUE(rotulo("Label3").contains("º Lugar"));
    EXPECT_FALSE(rotulo("Label2").isEmpty());
    EXPECT_EQ(rotulo("Label34"), "[Jogo Real]");
    EXPECT_EQ(rotulo("Label35"), "1ª Divisão");
    EXPECT_EQ(rotulo("Label41"), "[2 Época(s) de Contrato]");
    EXPECT_EQ(Prestacao_Paga, 0);
    EXPECT_EQ(Valor_Aux, 20);
    auto img = controlo<CaixaImagem>("pic1")->imagem();
    EXPECT_EQ(img.pixelColor(2, img.height() / 2), QColor(0, 0, 128)) << "half the gauge is dark blue";
    EXPECT_EQ(img.pixelColor(img.width() - 3, img.height() / 2), QColor(Qt::white));
    // After a posting, the shared refresh reaches the desk on show.
    Movimento_Financeiro("-", 2500000);
    Actualizar_Financas();
    EXPECT_EQ(rotulo("Label12"), "-500,000");
    EXPECT_TRUE(controlo<QLabel>("Label12")->styleSheet().contains("128, 0, 0"));
}

TEST_F(Secretaria, MenuItemsWithShortcutsInBothLanguages) {
    struct Item {
        const char* nome;
        const char* pt;
        const char* en;
        const char* tecla;
    };
    const Item itens[] = {{"sair", "Sair", "Exit Game", ""},
                          {"EB", "Empréstimo Bancário", "Bank Loan", "Ctrl+B"},
                          {"LT", "Lista de Transferências", "Transfer List", "F1"},
                          {"LJT", "Lista de Jogadores (Todos)", "All Players List", "F2"},
                          {"TEE", "Todas as Transferências", "All Players Transfers", "F4"},
                          {"clubes_H", "Equipas (Pontuação)", "Teams (Points)", ""},
                          {"EE", "Equipas (Época)", "Teams (Year)", ""},
                          {"HT", "Treinador", "Manager", ""},
                          {"uv", "Últimos Vencedores", "Last Winners", ""},
                          {"estadio", "Capacidade do Estádio", "Stadium", "Ctrl+E"},
                          {"ARJ", "Assistências/Receitas dos Jogos ", "Match Assistance", "Ctrl+A"},
                          {"estagio", "Estágio", "Training", ""},
                          {"CC", "Calendário Campeonato", "Championship Matchs", "F5"},
                          {"CCamp", "Classificação Campeonato", "Championship Tables", "F6"},
                          {"EA", "Constituição das Outras Equipas", "Opponent Teams (Players)", "F7"},
                          {"MM", "Melhores Marcadores", "Best Scorers", "Ctrl+M"},
                          {"MMS", "Melhores Marcadores de Sempre", "Best Scorers (Ever)", "Ctrl+S"},
                          {"VMJ", "Valor Médio Jogadores", "Players Average Values", "Ctrl+V"},
                          {"CT", "Calendário Taça", "Cup Matchs", "Ctrl+T"},
                          {"Util", "&Utilidades", "&Utilities", ""},
                          {"IG", "&Informações Gerais", "&General Information", ""},
                          {"vender", "Vender", "Sell Player", ""}};
    for (const char* lingua : {"P", "I"}) {
        descarregar<FrmDados>();
        teste::apagar_pendentes();
        Lingua = lingua;
        auto& d = instancia<FrmDados>();
        for (const Item& i : itens) {
            QAction* a = d.item_menu(i.nome);
            ASSERT_NE(a, nullptr) << i.nome;
            EXPECT_EQ(a->text(), QString::fromUtf8(Lingua == "P" ? i.pt : i.en)) << i.nome;
            EXPECT_EQ(a->shortcut().toString(), QString::fromLatin1(i.tecla)) << i.nome;
        }
        EXPECT_EQ(d.item_menu("TE")->text(),
                  QString::fromStdString((Lingua == "P" ? "Jogadores Transferidos (" : "Players Transfers (") +
                                         Clube_Treinador + ")"));
        EXPECT_EQ(d.item_menu("TE")->shortcut().toString(), "F3");
        EXPECT_FALSE(d.item_menu("acerca")->isVisible());
        EXPECT_TRUE(d.item_menu("sair")->isEnabled());
        EXPECT_EQ(d.item_menu("GVantario")->text(), "&Golvantario");
    }
    EXPECT_EQ(controlo<Grelha>("s1")->Text(3, 0), "Name");
    EXPECT_EQ(controlo<Grelha>("s1")->Text(6, 0), "Ctr.");
    EXPECT_EQ(rotulo("Label1"), "Next Match");
}

} // namespace
} // namespace gv
