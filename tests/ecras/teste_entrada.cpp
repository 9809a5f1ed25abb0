// The entry screen on the offscreen platform, found control by control.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "ambiente_qt.h"
#include "apoio.h"
#include "desk/frmdados.h"
#include "platform/qt/navegacao.h"
#include "startup/frmentrada.h"
#include "startup/jogo.h"

namespace gv {
namespace {

class Entrada : public teste::Pasta_Temporaria {
protected:
    void SetUp() override {
        Pasta_Temporaria::SetUp();
        std::filesystem::copy_file(GV_BASE_MESTRA, caminho(NOME_BASE_MESTRA));
    }
    void TearDown() override {
        descarregar<Frmentrada>();
        descarregar<FrmDados>();
        teste::apagar_pendentes();
        Pasta_Temporaria::TearDown();
    }
    template <class W>
    W* controlo(const char* nome) {
        auto* w = instancia<Frmentrada>().findChild<W*>(QString::fromLatin1(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }
    QStringList itens(QComboBox* c) {
        QStringList r;
        for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
        return r;
    }
    QStringList clubes(const char* cc, int div) {
        QStringList r;
        const auto listas = Ler_Clubes_Pais(cc);
        for (const auto& c : listas[div - 1]) r << QString::fromStdString(c);
        return r;
    }
    void escolher_divisao(int indice) {
        auto* c = controlo<QComboBox>("Combo2");
        c->setCurrentIndex(indice);
        emit c->activated(indice);
    }
};

TEST_F(Entrada, OpensWithItsDefaults) {
    Lingua = "I";
    auto& e = instancia<Frmentrada>();
    EXPECT_EQ(e.windowTitle(), "Golvantario");
    EXPECT_EQ(Lingua, "P");
    EXPECT_EQ(controlo<QLineEdit>("Text1")->text(), "");
    EXPECT_EQ(controlo<QLineEdit>("Text1")->maxLength(), 15);
    EXPECT_TRUE(controlo<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(controlo<QRadioButton>("Option4")->isChecked());
    EXPECT_TRUE(controlo<QCheckBox>("Check1")->isChecked());
    EXPECT_EQ(itens(controlo<QComboBox>("Combo1")), (QStringList{"5,000,000", "2,000,000", "1,000,000"}));
    EXPECT_EQ(controlo<QComboBox>("Combo1")->currentText(), "2,000,000");
    EXPECT_EQ(itens(controlo<QComboBox>("Combo2")), (QStringList{"1ª Divisão", "2ª Divisão", "3ª Divisão"}));
    EXPECT_EQ(controlo<QComboBox>("Combo2")->currentText(), "1ª Divisão");
    EXPECT_EQ(itens(controlo<QComboBox>("Combo3")), clubes("pt", 1));
    EXPECT_EQ(controlo<QComboBox>("Combo3")->currentText(), clubes("pt", 1).front());
    for (const char* nome : {"Frame2", "Frame3", "Frame4", "Frame5", "Frame6", "Frame7", "Option2", "Option3",
                             "Option5", "Option6", "Option7", "Option8", "Image1", "Image8", "Label1", "Label2"})
        EXPECT_NE(e.findChild<QWidget*>(QString::fromLatin1(nome)), nullptr) << nome;
    EXPECT_EQ(controlo<QPushButton>("Command1")->text(), "Novo Jogo/New Game");
    EXPECT_EQ(controlo<QPushButton>("Command2")->text(), "Continuar Jogo/Load Game");
    EXPECT_EQ(controlo<QPushButton>("Command3")->text(), "Sair/Exit");
    EXPECT_EQ(controlo<QPushButton>("Command4")->text(), "Editor Equipas/Teams Editor");
}

TEST_F(Entrada, ChangingCountryResetsDivisionAndClubs) {
    instancia<Frmentrada>();
    escolher_divisao(1);
    EXPECT_EQ(itens(controlo<QComboBox>("Combo3")), clubes("pt", 2));
    controlo<QRadioButton>("Option3")->setChecked(true);
    EXPECT_EQ(controlo<QComboBox>("Combo2")->currentText(), "1ª Divisão");
    EXPECT_EQ(itens(controlo<QComboBox>("Combo3")), clubes("en", 1));
    EXPECT_EQ(instancia<Frmentrada>().pais_escolhido(), "en");
    escolher_divisao(2);
    EXPECT_EQ(itens(controlo<QComboBox>("Combo3")), clubes("en", 3));
    EXPECT_EQ(controlo<QComboBox>("Combo3")->currentText(), clubes("en", 3).front());
    // A click on a flag picks its country.
    QTest::mouseClick(controlo<QLabel>("Image8"), Qt::LeftButton);
    EXPECT_TRUE(controlo<QRadioButton>("Option8")->isChecked());
    EXPECT_EQ(itens(controlo<QComboBox>("Combo3")), clubes("wd", 1));
}

TEST_F(Entrada, TypingInTheCombosChangesNothing) {
    instancia<Frmentrada>().show();
    auto* c = controlo<QComboBox>("Combo3");
    QString antes = c->currentText();
    QTest::keyClicks(c, "zzz");
    QTest::keyClick(c, Qt::Key_Down);
    EXPECT_EQ(c->currentText(), antes);
    QTest::keyClicks(controlo<QLineEdit>("Text1"), "Um nome muito comprido demais");
    EXPECT_EQ(controlo<QLineEdit>("Text1")->text().size(), 15);
}

TEST_F(Entrada, EnglishOptionSwitchesTheMessages) {
    instancia<Frmentrada>();
    QTest::mouseClick(controlo<QLabel>("Image5"), Qt::LeftButton);
    EXPECT_EQ(Lingua, "I");
    controlo<QPushButton>("Command1")->click();
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "You must put your name.");
    controlo<QRadioButton>("Option4")->setChecked(true);
    controlo<QPushButton>("Command1")->click();
    EXPECT_EQ(porta.mensagens[1].texto, "Tem que inserir o seu nome.");
    EXPECT_FALSE(Base_Dados);
}

// The whole road: entry screen, new game, desk, through the flat chain.
TEST_F(Entrada, NewGameHandsOverToTheDesk) {
    std::string clube;
    bool desk_visto = false;
    QTimer guia;
    guia.setInterval(10);
    int passo = 0;
    QObject::connect(&guia, &QTimer::timeout, [&] {
        if (passo == 0 && carregado<Frmentrada>() && instancia<Frmentrada>().mostrado_modal()) {
            passo = 1;
            QTest::keyClicks(controlo<QLineEdit>("Text1"), "Ana Treinadora");
            controlo<QRadioButton>("Option7")->setChecked(true);
            escolher_divisao(1);
            auto* c = controlo<QComboBox>("Combo3");
            c->setCurrentIndex(4);
            clube = c->currentText().toStdString();
            controlo<QComboBox>("Combo1")->setCurrentIndex(2);
            controlo<QCheckBox>("Check1")->setChecked(false);
            porta.escolher(Ficheiro_Escolhido{caminho("italia.gv"), "italia.gv"});
            controlo<QPushButton>("Command1")->click();
        } else if (passo == 1 && carregado<FrmDados>() && instancia<FrmDados>().mostrado_modal()) {
            desk_visto = instancia<FrmDados>().windowTitle().contains("Ana Treinadora");
            passo = 2;
            instancia<FrmDados>().Unload();
        }
    });
    guia.start();
    Navegacao::executar<Frmentrada>();
    guia.stop();
    EXPECT_EQ(passo, 2);
    EXPECT_TRUE(desk_visto);
    EXPECT_FALSE(carregado<Frmentrada>()) << "the entry screen unloads itself";
    ASSERT_TRUE(Base_Dados);
    EXPECT_EQ(Clube_Treinador, clube);
    EXPECT_EQ(Jogo_Real, 0);
    EXPECT_EQ(Base_Dados->valor("SELECT d_total FROM principal").int32(), 1000000);
    EXPECT_EQ(Base_Dados->valor("SELECT div FROM clubes WHERE clube = ?", {clube}).int32(), 2);
}

} // namespace
} // namespace gv
