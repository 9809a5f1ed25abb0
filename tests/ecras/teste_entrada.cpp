// The entry screen on the offscreen platform, found control by control.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ambiente_qt.h"
#include "cadeia.h"
#include "jogo_apoio.h"
#include "desk/frmdados.h"
#include "startup/frmentrada.h"

namespace gv {
namespace {

class Entrada : public teste::Com_Mestra {
protected:
    void TearDown() override {
        teste::descarregar_ecras<Frmentrada, FrmDados>();
        Com_Mestra::TearDown();
    }
    template <class W>
    W* controlo(const char* nome) { return teste::controlo<W>(instancia<Frmentrada>(), nome); }
    QStringList itens(const char* combo) {
        auto* c = controlo<QComboBox>(combo);
        QStringList r;
        for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
        return r;
    }
    // Whether the club list is a division's 18 clubs, `clube` among them.
    bool clubes_com(const char* clube) {
        const QStringList l = itens("Combo3");
        return l.size() == 18 && l.contains(QString::fromUtf8(clube));
    }
    void escolher_divisao(int indice) { teste::escolher(controlo<QComboBox>("Combo2"), indice); }
};

TEST_F(Entrada, OpensWithItsDefaultsTheCountryAndDivisionChooseTheClubsAndTheFlagsTheLanguage) {
    Lingua = "I";
    instancia<Frmentrada>().show();
    EXPECT_EQ(instancia<Frmentrada>().windowTitle(), "Golvantario");
    EXPECT_EQ(Lingua, "P");
    EXPECT_EQ(controlo<QLineEdit>("Text1")->text(), "");
    EXPECT_TRUE(controlo<QRadioButton>("Option1")->isChecked() && controlo<QRadioButton>("Option4")->isChecked());
    EXPECT_TRUE(controlo<QCheckBox>("Check1")->isChecked());
    EXPECT_EQ(itens("Combo1"), (QStringList{"5,000,000", "2,000,000", "1,000,000"}));
    EXPECT_EQ(itens("Combo2"), (QStringList{"1ª Divisão", "2ª Divisão", "3ª Divisão"}));
    EXPECT_EQ(controlo<QComboBox>("Combo1")->currentText() + controlo<QComboBox>("Combo2")->currentText(), "2,000,0001ª Divisão");
    EXPECT_TRUE(clubes_com("Cabeço Alto")) << itens("Combo3").join(", ").toStdString();
    EXPECT_EQ(controlo<QComboBox>("Combo3")->currentIndex(), 0);
    for (auto [nome, texto] : {std::pair{"Command1", "Novo Jogo/New Game"}, {"Command2", "Continuar Jogo/Load Game"},
                               {"Command3", "Sair/Exit"}, {"Command4", "Editor Equipas/Teams Editor"}})
        EXPECT_EQ(controlo<QPushButton>(nome)->text(), texto);
    // Typing changes no combo; the name stops at fifteen characters.
    QTest::keyClicks(controlo<QComboBox>("Combo3"), "zzz");
    QTest::keyClick(controlo<QComboBox>("Combo3"), Qt::Key_Down);
    EXPECT_EQ(controlo<QComboBox>("Combo3")->currentIndex(), 0);
    QTest::keyClicks(controlo<QLineEdit>("Text1"), "Um nome muito comprido demais");
    EXPECT_EQ(controlo<QLineEdit>("Text1")->text(), "Um nome muito c");

    escolher_divisao(1);
    EXPECT_TRUE(clubes_com("AD Moinhos Velhos"));
    controlo<QRadioButton>("Option3")->setChecked(true);   // a new country starts from its first division
    EXPECT_EQ(controlo<QComboBox>("Combo2")->currentText(), "1ª Divisão");
    EXPECT_TRUE(clubes_com("Castlewick Rovers"));
    EXPECT_EQ(instancia<Frmentrada>().pais_escolhido(), "en");
    escolher_divisao(2);
    EXPECT_TRUE(clubes_com("Amberford Rovers"));
    EXPECT_EQ(controlo<QComboBox>("Combo3")->currentIndex(), 0);
    QTest::mouseClick(controlo<QLabel>("Image8"), Qt::LeftButton);   // a flag picks its country
    EXPECT_TRUE(controlo<QRadioButton>("Option8")->isChecked());
    EXPECT_TRUE(clubes_com("CF Villanegra"));

    // The language flags switch the messages.
    controlo<QLineEdit>("Text1")->clear();
    QTest::mouseClick(controlo<QLabel>("Image5"), Qt::LeftButton);
    EXPECT_EQ(Lingua, "I");
    controlo<QPushButton>("Command1")->click();
    QTest::mouseClick(controlo<QLabel>("Image4"), Qt::LeftButton);
    controlo<QPushButton>("Command1")->click();
    ASSERT_EQ(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[0].texto + "|" + porta.mensagens[1].texto, "You must put your name.|Tem que inserir o seu nome.");
    EXPECT_FALSE(Base_Dados);
}

// The whole road: entry screen, new game, desk, through the flat chain.
TEST_F(Entrada, ANewGameHandsOverToTheDesk) {
    std::string clube;
    bool desk_visto = false;
    teste::correr_cadeia<Frmentrada>([&](int passo) {
        if (passo == 0 && teste::no_ecra<Frmentrada>()) {
            QTest::keyClicks(controlo<QLineEdit>("Text1"), "Ana Treinadora");
            controlo<QRadioButton>("Option7")->setChecked(true);
            escolher_divisao(1);
            controlo<QComboBox>("Combo3")->setCurrentIndex(4);
            clube = controlo<QComboBox>("Combo3")->currentText().toStdString();
            controlo<QComboBox>("Combo1")->setCurrentIndex(2);
            controlo<QCheckBox>("Check1")->setChecked(false);
            porta.escolher(Ficheiro_Escolhido{caminho("italia.gv"), "italia.gv"});
            controlo<QPushButton>("Command1")->click();
            return true;
        }
        if (passo == 1 && teste::no_ecra<FrmDados>()) {
            desk_visto = instancia<FrmDados>().windowTitle().contains("Ana Treinadora");
            instancia<FrmDados>().Unload();
            return true;
        }
        return false;
    });
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
