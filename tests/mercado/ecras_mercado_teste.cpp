// The market's screens and the desk's ways into them, control by control.

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "ambiente_qt.h"
#include "apoio_mercado.h"
#include "desk/frmdados.h"
#include "market/abrir_mercado.h"
#include "market/frmbanco.h"
#include "market/frmestadio.h"
#include "market/frmestagio.h"
#include "market/frmjogadores_equipas.h"
#include "market/frmlista_jog.h"
#include "market/frmvenda.h"
#include "platform/qt/grelha.h"

namespace gv {
namespace {

class Ecras_Mercado : public teste::Com_Jogo {
protected:
    void TearDown() override {
        teste::descarregar_ecras<FrmVenda, FrmLista_Jog, FrmJogadores_Equipas, FrmBanco, FrmEstadio, FrmEstagio,
                                 FrmDados>();
        Com_Jogo::TearDown();
    }
};
using teste::controlo;
void accao(QObject& ecra, const char* nome) { controlo<QAction>(ecra, nome)->trigger(); }

TEST_F(Ecras_Mercado, TransferListDealGreysTheRowRefreshesTheDeskAndTheListLastsTheMatchday) {
    auto& s1 = *controlo<Grelha>(instancia<FrmDados>(), "s1");
    const int antes = s1.MaxRows();
    auto& venda = instancia<FrmVenda>();
    auto& v1 = venda.grelha();
    ASSERT_GE(v1.MaxRows(), 13);
    EXPECT_EQ(v1.Text(1, 0), "P");
    // The last row is a junior: no club, so bought at once.
    const int r = v1.MaxRows();
    ASSERT_EQ(v1.Text(3, r), "-");
    const std::string nome = v1.texto(2, r), primeiro = v1.texto(2, 1);
    v1.set_celula_activa(2, r);
    accao(venda, "vender");
    EXPECT_EQ(v1.BackColor(1, r), Cores_Mercado::Cinzento);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE nome = ? AND equipa = ?", {nome, Clube_Treinador}), 1);
    EXPECT_EQ(s1.MaxRows(), antes + 1) << "the desk's squad grid shows him";
    const auto mensagens = porta.mensagens.size();
    accao(venda, "emprestimo");
    ASSERT_EQ(porta.mensagens.size(), mensagens + 1);
    EXPECT_EQ(ultima(), "Este Jogador vá foi transferido.");
    EXPECT_EQ(venda.por_negociar().size(), static_cast<std::size_t>(v1.MaxRows() - 1));
    // The window's close box, like OK, keeps the list until the next match takes it.
    venda.close();
    EXPECT_TRUE(carregado<FrmVenda>());
    EXPECT_EQ(Lista_Venda_Carregada, 1);
    EXPECT_EQ(instancia<FrmVenda>().grelha().texto(2, 1), primeiro);
    EXPECT_EQ(Lista_Venda_Por_Negociar().front().nome, primeiro);
    EXPECT_FALSE(carregado<FrmVenda>());
}

TEST_F(Ecras_Mercado, ListAndSquadScreensRefillFromTheirFilters) {
    auto& lista = instancia<FrmLista_Jog>();
    auto* c2 = controlo<QComboBox>(lista, "Combo2");
    EXPECT_EQ(controlo<QComboBox>(lista, "Combo1")->currentText(), QString::fromUtf8("1ª Divisão"));
    controlo<QComboBox>(lista, "Combo3")->setCurrentIndex(1);
    teste::escolher(c2, 1);
    auto& v1 = lista.grelha();
    ASSERT_GT(v1.MaxRows(), 0);
    for (int r = 1; r <= v1.MaxRows(); ++r) {
        const int idade = v1.Text(4, r).toInt();
        EXPECT_TRUE(v1.Text(1, r) == "df" && idade > 20 && idade <= 25) << v1.texto(1, r) << " " << idade;
    }
    // A filter nobody meets keeps the list shown.
    const int antes = v1.MaxRows();
    sql("DELETE FROM jogadores WHERE pos = 'av'");
    Lingua = "I";
    teste::escolher(c2, 3);
    EXPECT_EQ(ultima(), "There aren't players with that query.");
    EXPECT_EQ(v1.MaxRows(), antes);
    // A club's squad, then the one picked in the box.
    Clube_Consulta = outro;
    auto& ecra = instancia<FrmJogadores_Equipas>();
    auto* combo = controlo<QComboBox>(ecra, "Combo1");
    auto& v2 = *controlo<Grelha>(ecra, "v1");
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->placeholderText().toStdString(), outro);
    EXPECT_EQ(v2.MaxRows(), contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {outro}));
    EXPECT_EQ(v2.Text(1, 1), "gk");
    const int i = combo->findData(QString::fromStdString(Clube_Treinador));
    ASSERT_GE(i, 0);
    teste::escolher(combo, i);
    EXPECT_EQ(Clube_Consulta, Clube_Treinador);
    EXPECT_EQ(v2.MaxRows(), contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {Clube_Treinador}));
}

TEST_F(Ecras_Mercado, BankAndStadiumFiguresFollowWhatIsTyped) {
    auto& banco = instancia<FrmBanco>();
    auto* t1 = controlo<QLineEdit>(banco, "Text1");
    QTest::keyClicks(t1, "34a0-000");
    EXPECT_EQ(t1->text(), "340000") << "digits only";
    EXPECT_EQ(controlo<QLabel>(banco, "Label4")->text(), "10500");
    EXPECT_EQ(controlo<QLabel>(banco, "Label6")->text(), "357000");
    EXPECT_TRUE(controlo<QGroupBox>(banco, "Frame1")->title().startsWith("Emprestimo (max. "));
    EXPECT_EQ(controlo<QGroupBox>(banco, "Frame2")->title(), "Divida : 0");
    auto& estadio = instancia<FrmEstadio>();
    controlo<QLineEdit>(estadio, "Text2")->setText("1000");
    EXPECT_EQ(controlo<QLabel>(estadio, "Label4")->text(), "150000");
    controlo<QLineEdit>(estadio, "Text2")->setText("abc");
    EXPECT_EQ(controlo<QLabel>(estadio, "Label4")->text(), "0");
}

TEST_F(Ecras_Mercado, TheCampOpensOnItsMatchdaysAndBooksTheLevelPicked) {
    auto& desk = instancia<FrmDados>();
    Jornada_Actual = 2;
    desk.item_menu("estagio")->trigger();
    EXPECT_EQ(ultima(), "A equipa só pode ir para Estágio nas jornadas: 1, 10, 20, 30");
    EXPECT_FALSE(carregado<FrmEstagio>());
    Jornada_Actual = 1;
    const long long id =
        Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa = ? AND joga <> 3 LIMIT 1", {Clube_Treinador}).inteiro();
    const int forca = std::stoi(coluna(id, "forca"));
    auto& estagio = instancia<FrmEstagio>();
    EXPECT_TRUE(controlo<QLabel>(estagio, "Label3")->text().startsWith("2º Nível (+ 4 Pts) - Custo: "));
    controlo<QAbstractButton>(estagio, "Option2")->click();
    controlo<QPushButton>(estagio, "Command1")->click();
    EXPECT_EQ(std::stoi(coluna(id, "forca")), forca + 4);
    EXPECT_EQ(Estagio_Feito, 1);
    EXPECT_FALSE(carregado<FrmEstagio>());
}

} // namespace
} // namespace gv
