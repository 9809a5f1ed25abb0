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

TEST_F(Editor_Ecra, ExitCompactsAndBringsTheEntryScreenBack) {
    std::filesystem::path tmp = caminho(NOME_TEMPORARIO);
    std::ofstream(tmp) << "restos";
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
    EXPECT_FALSE(std::filesystem::exists(tmp));
    EXPECT_NO_THROW(db::Database::abrir(caminho(NOME_BASE_MESTRA), Ligacao_BD)) << "the compacted copy keeps the password";
}

} // namespace
} // namespace gv
