// The teams editor on a copy of the master database: renaming clubs and
// editing players in the seed tables, and its screen on the offscreen platform.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <sqlite3.h>

#include "ambiente_qt.h"
#include "cadeia.h"
#include "editor/editor.h"
#include "editor/frmeditor.h"
#include "jogo_apoio.h"
#include "platform/falhas.h"
#include "startup/frmentrada.h"

namespace gv {
namespace {

class Editor_Ecra : public teste::Com_Mestra {
protected:
    void TearDown() override {
        desarmar_falhas();
        teste::descarregar_ecras<FrmEditor, Frmentrada>();
        Com_Mestra::TearDown();
    }
    template <class W>
    W* controlo(const char* nome) { return teste::controlo<W>(instancia<FrmEditor>(), nome); }
    std::string texto(const char* caixa) { return controlo<QLineEdit>(caixa)->text().toStdString(); }
    std::string rotulo(const char* nome) { return controlo<QLabel>(nome)->text().toStdString(); }
    int em(const std::string& tabela, const std::string& coluna, const std::string& valor) {
        return contar("SELECT count(*) FROM " + tabela + " WHERE " + coluna + " = ?", {valor});
    }
};

TEST_F(Editor_Ecra, OpensOnTheFirstClubOfPortugal) {
    EXPECT_EQ(instancia<FrmEditor>().windowTitle(), "Editor de Equipas");
    EXPECT_EQ(controlo<QPushButton>("Command1")->text() + "|" + controlo<QPushButton>("Command2")->text(), "Actualizar|Sair Editor");
    auto* combo = controlo<QComboBox>("Combo3");
    ASSERT_EQ(combo->count(), 54);
    for (int i = 1; i < combo->count(); ++i)
        EXPECT_LT(db::comparar_nomes(combo->itemData(i - 1).toString().toStdString(), combo->itemData(i).toString().toStdString()), 0) << i;
    const std::string primeiro = instancia<FrmEditor>().clube_escolhido();
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->currentText().toStdString(), "(" + std::to_string(contar("SELECT div FROM clubes_pt WHERE clube = ?", {primeiro})) + ") " + primeiro);
    EXPECT_EQ(texto("Text1") + "|" + rotulo("Label4"), primeiro + "|" + primeiro);
    auto* lista = controlo<QListWidget>("List1");
    EXPECT_TRUE(lista->item(0)->text().startsWith("gk ") && lista->item(lista->count() - 1)->text().startsWith("av "));
    EXPECT_EQ(texto("Text2"), "");
}

TEST_F(Editor_Ecra, GoalkeepersKeepTheirPositionAndKeysAreFiltered) {
    instancia<FrmEditor>().show();
    auto* lista = controlo<QListWidget>("List1");
    auto* pos = controlo<QComboBox>("Combo1");
    for (int linha : {0, lista->count() - 1}) {
        lista->setCurrentRow(linha);
        emit lista->itemClicked(lista->item(linha));
        EXPECT_EQ(pos->currentText() + (pos->isEnabled() ? " livre" : ""), linha == 0 ? "GK" : "AV livre");
    }
    auto* nome = controlo<QLineEdit>("Text2");
    nome->clear();
    QTest::keyClicks(nome, "Jo'a,o&");
    EXPECT_EQ(nome->text(), "Joao");
    auto* idade = controlo<QLineEdit>("Text3");
    idade->clear();
    QTest::keyClicks(idade, "2a5");
    EXPECT_EQ(idade->text(), "25");
    QTest::keyClick(idade, Qt::Key_Backspace);
    EXPECT_EQ(idade->text(), "2");
}

// The boxes follow the list's current row by keyboard as by mouse, and the
// update writes the player the boxes hold: the goalkeeper clicked first
// keeps his name and position.
TEST_F(Editor_Ecra, TheUpdateWritesThePlayerTheBoxesShow) {
    instancia<FrmEditor>().show();
    auto* lista = controlo<QListWidget>("List1");
    int ultimo_gk = 0;
    while (lista->item(ultimo_gk + 1)->text().startsWith("gk")) ++ultimo_gk;
    const std::string gk = lista->item(ultimo_gk)->text().toStdString(), seguinte = lista->item(ultimo_gk + 1)->text().toStdString();
    lista->setFocus();
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualItemRect(lista->item(ultimo_gk)).center());
    EXPECT_EQ("gk " + texto("Text2"), gk);
    QTest::keyClick(lista, Qt::Key_Down);
    EXPECT_EQ("df " + texto("Text2"), seguinte);
    EXPECT_TRUE(controlo<QComboBox>("Combo1")->isEnabled());
    controlo<QLineEdit>("Text2")->setText("Nome Novo");
    controlo<QPushButton>("Command1")->click();
    const std::string cc_pt = "SELECT count(*) FROM jogadores_pt WHERE equipa = ? AND pos = ? AND nome = ?";
    const std::string clube = instancia<FrmEditor>().clube_escolhido();
    EXPECT_EQ(contar(cc_pt, {clube, "gk", gk.substr(3)}), 1) << "the goalkeeper is untouched";
    EXPECT_EQ(contar(cc_pt, {clube, "df", "Nome Novo"}) * 10 + contar(cc_pt, {clube, "df", seguinte.substr(3)}), 10);
    ASSERT_FALSE(porta.mensagens.empty());
    EXPECT_EQ(porta.mensagens.back().texto, "Dados do Jogador Alterados com Sucesso.");
}

// Names stored longer than the boxes hold stay whole when another field
// is changed: the player's age, with the club's name left as shown.
TEST_F(Editor_Ecra, ALongStoredNameIsKeptWhenAnotherFieldChanges) {
    const std::string longo_jogador = "Bartolomeu Dias Ferreira", longo_clube = "Associação Desportiva Longa";
    {
        auto mestra = db::Database::abrir(caminho(NOME_BASE_MESTRA), Ligacao_BD);
        const std::string clube = mestra->valor("SELECT clube FROM clubes_pt ORDER BY clube LIMIT 1").texto();
        mestra->Execute("UPDATE jogadores_pt SET nome = ? WHERE rowid = (SELECT rowid FROM jogadores_pt WHERE equipa = ? "
                        "AND pos = 'gk' ORDER BY forca DESC, rowid LIMIT 1)", {longo_jogador, clube});
        for (const char* t : {"clubes_pt", "Clubes_Taca_pt"}) mestra->Execute(std::string("UPDATE ") + t + " SET clube = ? WHERE clube = ?", {longo_clube, clube});
        mestra->Execute("UPDATE jogadores_pt SET equipa = ? WHERE equipa = ?", {longo_clube, clube});
    }
    instancia<FrmEditor>().show();
    auto* combo = controlo<QComboBox>("Combo3");
    const int i = combo->findData(QString::fromStdString(longo_clube));
    ASSERT_GE(i, 0);
    teste::escolher(combo, i);
    EXPECT_EQ(rotulo("Label4"), longo_clube);
    controlo<QListWidget>("List1")->setCurrentRow(0);
    EXPECT_EQ(rotulo("Label6"), longo_jogador);
    EXPECT_EQ(controlo<QLineEdit>("Text2")->text().size(), 20);
    controlo<QLineEdit>("Text3")->setText("30");
    controlo<QPushButton>("Command1")->click();
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores_pt WHERE nome = ? AND equipa = ? AND idade = 30", {longo_jogador, longo_clube}), 1);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_pt WHERE clube = ?", {longo_clube}), 1);
}

// A failure after the league table is written leaves the three tables as
// they were, and says why.
TEST_F(Editor_Ecra, ARenameThatFailsHalfwayChangesNothingAndSaysWhy) {
    instancia<FrmEditor>().show();
    const std::string antigo = instancia<FrmEditor>().clube_escolhido(), antes = teste::conteudo_base(*Base_Dados);
    const int jogadores = em("jogadores_pt", "equipa", antigo);
    armar_falha("editor.renomear", SQLITE_FULL);
    controlo<QLineEdit>("Text1")->setText("  Nova Terra FC ");
    controlo<QPushButton>("Command1")->click();
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Não foi possível gravar a alteração.\nO disco está cheio.");
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
    EXPECT_EQ(teste::conteudo_base(*Base_Dados), antes);
    EXPECT_EQ(rotulo("Label4"), antigo);
    controlo<QPushButton>("Command1")->click();
    EXPECT_EQ(porta.mensagens.back().texto, "Nome da Equipa Alterada com Sucesso.");
    EXPECT_EQ(em("clubes_pt", "clube", "Nova Terra FC") + em("Clubes_Taca_pt", "clube", "Nova Terra FC") + em("clubes_pt", "clube", antigo), 2);
    EXPECT_EQ(em("jogadores_pt", "equipa", "Nova Terra FC"), jogadores);
}

// Taken: its own name in other letters, a cup entrant from outside the league.
TEST_F(Editor_Ecra, RenameRefusals) {
    Base_Dados = db::Database::abrir(caminho(NOME_BASE_MESTRA), Ligacao_BD);
    const auto clubes = Ler_Clubes_Editor("pt");
    const std::string antigo = clubes[0].clube;
    EXPECT_THROW(Ler_Clubes_Editor("xx; DROP TABLE clubes_pt"), db::Erro_BD) << "only known sets reach a table name";
    EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, antigo), Resultado_Edicao::Nada);
    EXPECT_TRUE(porta.mensagens.empty());
    EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, "   "), Resultado_Edicao::Recusado);
    EXPECT_EQ(porta.mensagens.back().texto, "Tem que inserir um Nome de uma Equipa.");
    Lingua = "I";
    EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, clubes[1].clube), Resultado_Edicao::Recusado);
    EXPECT_EQ(porta.mensagens.back().texto, "There is a Team with the Name you choose. Choose another Name.");
    std::string outra_caixa = antigo;
    for (auto& c : outra_caixa) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string so_taca = Base_Dados->valor("SELECT clube FROM Clubes_Taca_pt WHERE clube NOT IN (SELECT clube FROM clubes_pt)").texto();
    for (const std::string& nome : {outra_caixa, so_taca, std::string("D'Arcy")})
        EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, nome), Resultado_Edicao::Recusado) << nome;
    EXPECT_EQ(em("clubes_pt", "clube", antigo), 1);
    const std::string ingles = Base_Dados->valor("SELECT clube FROM clubes_en WHERE clube NOT IN (SELECT clube FROM Clubes_Taca_pt) LIMIT 1").texto();
    EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, ingles), Resultado_Edicao::Feito) << ingles << ": " << porta.mensagens.back().texto;
}

TEST_F(Editor_Ecra, PlayerEdits) {
    Base_Dados = db::Database::abrir(caminho(NOME_BASE_MESTRA), Ligacao_BD);
    const std::string clube = Ler_Clubes_Editor("pt")[0].clube;
    const auto jogadores = Ler_Jogadores_Editor("pt", clube);
    const auto df = *std::find_if(jogadores.begin(), jogadores.end(), [](auto& j) { return j.pos == "df"; });
    const auto md = *std::find_if(jogadores.begin(), jogadores.end(), [](auto& j) { return j.pos == "md"; });
    const Dados_Jogador carregado{df.nome, std::to_string(df.idade), "DF"};
    const auto editar = [&](const Dados_Jogador& novo, long long rowid = -1) {
        return Actualizar_Dados_Jogador("pt", clube, rowid < 0 ? df.rowid : rowid, novo, carregado);
    };
    EXPECT_EQ(editar(carregado), Resultado_Edicao::Nada);
    EXPECT_EQ(editar({"Alguém", "20", "MD"}, 0), Resultado_Edicao::Nada) << "no player chosen";
    for (const char* idade : {"17", "38"}) EXPECT_EQ(editar({df.nome, idade, "DF"}), Resultado_Edicao::Recusado);
    EXPECT_EQ(porta.mensagens.back().texto, "A idade do Jogador terá que ser < 38 ou >=18.");
    EXPECT_EQ(editar({"  ", "20", "DF"}), Resultado_Edicao::Recusado);
    EXPECT_EQ(porta.mensagens.back().texto, "Tem que inserir o Nome do Jogador.");
    for (const Dados_Jogador& recusado : {Dados_Jogador{df.nome, "", "DF"}, {md.nome, "25", "MD"}, {"O'Brien", "20", "MD"}})
        EXPECT_EQ(editar(recusado), Resultado_Edicao::Recusado) << recusado.nome << "/" << recusado.idade;
    EXPECT_EQ(editar({df.nome, "37", "DF"}), Resultado_Edicao::Feito) << "his own name is not taken";
    EXPECT_EQ(contar("SELECT idade FROM jogadores_pt WHERE rowid = ?", {df.rowid}), 37);
    EXPECT_EQ(editar({"Novo Médio", "18", "MD"}), Resultado_Edicao::Feito);
    EXPECT_EQ(Base_Dados->valor("SELECT nome || ' ' || idade || ' ' || pos FROM jogadores_pt WHERE rowid = ?", {df.rowid}).texto(), "Novo Médio 18 md");
}

TEST_F(Editor_Ecra, ExitCompactsAndBringsTheEntryScreenBack) {
    bool voltou = false;
    teste::correr_cadeia<FrmEditor>([&](int passo) {
        if (passo == 0 && teste::no_ecra<FrmEditor>()) {
            controlo<QPushButton>("Command2")->click();
        } else if (passo == 1 && teste::no_ecra<Frmentrada>()) {
            voltou = true;
            instancia<Frmentrada>().Unload();
        } else {
            return false;
        }
        return true;
    });
    EXPECT_TRUE(voltou);
    EXPECT_FALSE(Base_Dados) << "no database is left open";
    EXPECT_NO_THROW(db::Database::abrir(caminho(NOME_BASE_MESTRA), Ligacao_BD)) << "the compacted copy keeps the password";
}

} // namespace
} // namespace gv
