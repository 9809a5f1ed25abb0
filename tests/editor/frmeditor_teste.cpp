// The teams editor screen on the offscreen platform.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "ambiente_qt.h"
#include "editor/frmeditor.h"
#include "jogo_apoio.h"
#include "platform/qt/navegacao.h"
#include "startup/frmentrada.h"

namespace gv {
namespace {

class Editor_Ecra : public teste::Com_Mestra {
protected:
    void TearDown() override {
        descarregar<FrmEditor>();
        descarregar<Frmentrada>();
        teste::apagar_pendentes();
        Com_Mestra::TearDown();
    }
    template <class W>
    W* controlo(const char* nome) {
        auto* w = instancia<FrmEditor>().findChild<W*>(QString::fromLatin1(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }
};

TEST_F(Editor_Ecra, OpensOnTheFirstClubOfPortugal) {
    instancia<FrmEditor>();
    EXPECT_EQ(instancia<FrmEditor>().windowTitle(), "Editor de Equipas");
    EXPECT_EQ(controlo<QPushButton>("Command1")->text(), "Actualizar");
    EXPECT_EQ(controlo<QPushButton>("Command2")->text(), "Sair Editor");
    auto* combo = controlo<QComboBox>("Combo3");
    EXPECT_EQ(combo->count(), 54);
    EXPECT_TRUE(combo->currentText().startsWith("("));
    EXPECT_EQ(controlo<QLineEdit>("Text1")->text(), controlo<QLabel>("Label4")->text());
    EXPECT_TRUE(controlo<QListWidget>("List1")->item(0)->text().startsWith("gk "));
    EXPECT_TRUE(controlo<QLineEdit>("Text2")->text().isEmpty());
}

TEST_F(Editor_Ecra, GoalkeepersKeepTheirPositionAndKeysAreFiltered) {
    instancia<FrmEditor>().show();
    auto* lista = controlo<QListWidget>("List1");
    lista->setCurrentRow(0);
    emit lista->itemClicked(lista->item(0));
    EXPECT_FALSE(controlo<QComboBox>("Combo1")->isEnabled());
    EXPECT_EQ(controlo<QComboBox>("Combo1")->currentText(), "GK");
    int ultimo = lista->count() - 1;
    lista->setCurrentRow(ultimo);
    emit lista->itemClicked(lista->item(ultimo));
    EXPECT_TRUE(controlo<QComboBox>("Combo1")->isEnabled());
    EXPECT_EQ(controlo<QComboBox>("Combo1")->currentText(), "AV");
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
    const QString gk = lista->item(ultimo_gk)->text(), seguinte = lista->item(ultimo_gk + 1)->text();
    lista->setFocus();
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualItemRect(lista->item(ultimo_gk)).center());
    EXPECT_EQ("gk " + controlo<QLineEdit>("Text2")->text(), gk);
    QTest::keyClick(lista, Qt::Key_Down);
    EXPECT_EQ("df " + controlo<QLineEdit>("Text2")->text(), seguinte);
    EXPECT_TRUE(controlo<QComboBox>("Combo1")->isEnabled());
    controlo<QLineEdit>("Text2")->setText("Nome Novo");
    controlo<QPushButton>("Command1")->click();

    const std::string cc_pt = "SELECT count(*) FROM jogadores_pt WHERE equipa = ? AND pos = ? AND nome = ?";
    const std::string clube = instancia<FrmEditor>().clube_escolhido();
    EXPECT_EQ(contar(cc_pt, {clube, "gk", gk.mid(3).toStdString()}), 1) << "the goalkeeper is untouched";
    EXPECT_EQ(contar(cc_pt, {clube, "df", "Nome Novo"}), 1);
    EXPECT_EQ(contar(cc_pt, {clube, "df", seguinte.mid(3).toStdString()}), 0);
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
                        "AND pos = 'gk' ORDER BY forca DESC, rowid LIMIT 1)",
                        {longo_jogador, clube});
        for (const char* t : {"clubes_pt", "Clubes_Taca_pt"})
            mestra->Execute(std::string("UPDATE ") + t + " SET clube = ? WHERE clube = ?", {longo_clube, clube});
        mestra->Execute("UPDATE jogadores_pt SET equipa = ? WHERE equipa = ?", {longo_clube, clube});
    }
    instancia<FrmEditor>().show();
    auto* combo = controlo<QComboBox>("Combo3");
    const int i = combo->findData(QString::fromStdString(longo_clube));
    ASSERT_GE(i, 0);
    combo->setCurrentIndex(i);
    emit combo->activated(i);
    EXPECT_EQ(controlo<QLabel>("Label4")->text().toStdString(), longo_clube);
    auto* lista = controlo<QListWidget>("List1");
    lista->setCurrentRow(0);
    EXPECT_EQ(controlo<QLabel>("Label6")->text().toStdString(), longo_jogador);
    EXPECT_EQ(controlo<QLineEdit>("Text2")->text().size(), 20);
    controlo<QLineEdit>("Text3")->setText("30");
    controlo<QPushButton>("Command1")->click();
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores_pt WHERE nome = ? AND equipa = ? AND idade = 30",
                     {longo_jogador, longo_clube}),
              1);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_pt WHERE clube = ?", {longo_clube}), 1);
}

TEST_F(Editor_Ecra, ExitCompactsAndBringsTheEntryScreenBack) {
    bool voltou = false;
    QTimer guia;
    guia.setInterval(20);
    int passo = 0;
    QObject::connect(&guia, &QTimer::timeout, [&] {
        if (passo == 0 && carregado<FrmEditor>() && instancia<FrmEditor>().mostrado_modal()) {
            passo = 1;
            controlo<QPushButton>("Command2")->click();
        } else if (passo == 1 && carregado<Frmentrada>() && instancia<Frmentrada>().mostrado_modal()) {
            voltou = true;
            passo = 2;
            instancia<Frmentrada>().Unload();
        }
    });
    guia.start();
    Navegacao::executar<FrmEditor>();
    guia.stop();
    EXPECT_TRUE(voltou);
    EXPECT_FALSE(Base_Dados) << "no database is left open";
    EXPECT_NO_THROW(db::Database::abrir(caminho(NOME_BASE_MESTRA), Ligacao_BD)) << "the compacted copy keeps the password";
}

} // namespace
} // namespace gv
