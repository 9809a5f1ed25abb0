#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <vector>

#include "ambiente_qt.h"
#include "platform/qt/grelha.h"

namespace gv {
namespace {

QPoint centro(Grelha& g, int col, int row) {
    return g.tabela().visualRect(g.tabela().model()->index(row - 1, col - 1)).center();
}

void clicar(Grelha& g, int col, int row) {
    QTest::mouseClick(g.tabela().viewport(), Qt::LeftButton, {}, centro(g, col, row));
}

struct Grelha_Mostrada : ::testing::Test {
    void SetUp() override {
        g.resize(900, 400);
        g.set_MaxCols(13);
        g.set_MaxRows(6);
        g.show();
    }
    Grelha g{nullptr, QStringLiteral("s1")};
};

TEST(Grelha, EnderecosUmBaseadosLinhaZeroECabecalho) {
    Grelha g;
    g.set_MaxCols(4);
    g.set_MaxRows(3);
    EXPECT_EQ(g.tabela().columnCount(), 4);
    EXPECT_EQ(g.tabela().rowCount(), 3);

    g.set_Text(3, 0, "Nome");
    EXPECT_EQ(g.tabela().horizontalHeaderItem(2)->text(), "Nome");
    EXPECT_EQ(g.Text(3, 0), "Nome");

    g.set_Text(1, 1, "primeira");
    g.set_Text(4, 3, std::string("última"));
    EXPECT_EQ(g.tabela().item(0, 0)->text(), "primeira");
    EXPECT_EQ(g.tabela().item(2, 3)->text(), QStringLiteral("última"));
    EXPECT_EQ(g.texto(4, 3), "última");

    // Outside the grid nothing is written and nothing is read.
    g.set_Text(5, 1, "x");
    g.set_Text(1, 4, "x");
    g.set_Text(-1, 2, "x");
    EXPECT_EQ(g.Text(5, 1), "");
    EXPECT_EQ(g.Text(1, 4), "");
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            if (!(r == 0 && c == 0) && !(r == 2 && c == 3)) {
                EXPECT_EQ(g.tabela().item(r, c)->text(), "");
            }

    // The row header (column 0) is hidden by default and can be shown.
    EXPECT_TRUE(g.ColHidden(0));
    g.set_Text(0, 2, "2.");
    EXPECT_EQ(g.Text(0, 2), "2.");
    g.set_cabecalho_linhas_visivel(true);
    EXPECT_FALSE(g.ColHidden(0));
}

TEST(Grelha, MudarNumeroDeLinhasGuardaOsDadosQueFicam) {
    Grelha g;
    g.set_MaxCols(2);
    g.set_MaxRows(3);
    g.set_Text(2, 3, "c");
    g.set_identidade(3, 33);
    g.set_MaxRows(2);
    EXPECT_EQ(g.MaxRows(), 2);
    EXPECT_EQ(g.linha_da_identidade(33), 0);
    g.set_MaxRows(4);
    EXPECT_EQ(g.Text(2, 3), "");          // the row came back empty
    EXPECT_EQ(g.identidade(3), 0);
    ASSERT_NE(g.tabela().item(3, 1), nullptr);   // new rows have their cells
}

TEST(Grelha, CoresDeCelulaLinhaEColuna) {
    Grelha g;
    g.set_MaxCols(5);
    g.set_MaxRows(4);
    const QColor base = g.BackColor(1, 1);
    const QColor verde(192, 255, 192), azul(0, 0, 128), branco(255, 255, 255);

    g.set_cor_linha(2, verde);
    g.set_BackColor(2, 2, azul);
    g.set_ForeColor(2, 2, branco);
    for (int c = 1; c <= 5; ++c) {
        EXPECT_EQ(g.BackColor(c, 2), c == 2 ? azul : verde) << c;
        EXPECT_EQ(g.BackColor(c, 1), base) << c;
        EXPECT_EQ(g.BackColor(c, 3), base) << c;
    }
    EXPECT_EQ(g.tabela().item(1, 1)->background().color(), azul);
    EXPECT_EQ(g.ForeColor(2, 2), branco);
    EXPECT_NE(g.ForeColor(3, 2), branco);

    g.set_BackColor(4, -1, QColor(255, 192, 192));
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(g.BackColor(4, r), QColor(255, 192, 192)) << r;
}

TEST(Grelha, BloqueioDeLinhaEColunaEEdicao) {
    Grelha g;
    g.set_MaxCols(3);
    g.set_MaxRows(3);
    g.set_visto(1, -1);
    g.set_editavel(true);
    auto editavel = [&](int c, int r) { return g.tabela().item(r - 1, c - 1)->flags().testFlag(Qt::ItemIsEditable); };

    EXPECT_TRUE(editavel(2, 1));
    EXPECT_FALSE(editavel(1, 1));   // a tick is clicked, never typed into

    g.set_Lock(-1, 2, true);
    for (int c = 1; c <= 3; ++c) {
        EXPECT_TRUE(g.Lock(c, 2));
        EXPECT_FALSE(g.Lock(c, 1));
        EXPECT_FALSE(editavel(c, 2));
    }
    EXPECT_TRUE(editavel(2, 1));
    g.set_Lock(-1, 2, false);
    EXPECT_TRUE(editavel(2, 2));

    // A locked column stays locked in rows added later.
    g.set_Lock(3, -1, true);
    g.set_MaxRows(5);
    EXPECT_TRUE(g.Lock(3, 5));
    EXPECT_FALSE(g.Lock(2, 5));
    EXPECT_FALSE(editavel(3, 5));

    g.set_editavel(false);
    EXPECT_FALSE(editavel(2, 1));
}

TEST(Grelha, ColunasEscondidas) {
    Grelha g;
    g.set_MaxCols(13);
    g.set_MaxRows(2);
    g.set_ColHidden(13, true);
    EXPECT_TRUE(g.ColHidden(13));
    EXPECT_TRUE(g.tabela().isColumnHidden(12));
    EXPECT_FALSE(g.tabela().isColumnHidden(11));
    g.set_ColHidden(13, false);
    EXPECT_FALSE(g.ColHidden(13));
}

TEST(Grelha, VistoDeTresEstadosValorETexto) {
    Grelha g;
    g.set_MaxCols(3);
    g.set_MaxRows(3);
    g.set_visto(1, -1);
    g.set_visto(2, 1, false);   // one two-state cell

    EXPECT_TRUE(g.visto(1, 3));
    EXPECT_FALSE(g.visto(3, 1));
    for (int v : {1, 2, 0}) {
        g.set_Value(1, 2, v);
        EXPECT_EQ(g.Value(1, 2), v);
        EXPECT_EQ(g.Text(1, 2), QString::number(v));
    }
    g.set_Value(1, 2, 2);
    EXPECT_EQ(g.tabela().item(1, 0)->checkState(), Qt::PartiallyChecked);
    g.set_Value(1, 2, 1);
    EXPECT_EQ(g.tabela().item(1, 0)->checkState(), Qt::Checked);

    // Writing a text sets the value from its leading number; empty is 0.
    g.set_Text(1, 3, "2");
    EXPECT_EQ(g.Value(1, 3), 2);
    g.set_Text(1, 3, "");
    EXPECT_EQ(g.Value(1, 3), 0);

    // Values outside the cell's states are 0; a two-state cell has no 2.
    g.set_Value(1, 1, 3);
    EXPECT_EQ(g.Value(1, 1), 0);
    g.set_Value(1, 1, -1);
    EXPECT_EQ(g.Value(1, 1), 0);
    g.set_Value(2, 1, 2);
    EXPECT_EQ(g.Value(2, 1), 0);
    g.set_Value(2, 1, 1);
    EXPECT_EQ(g.Value(2, 1), 1);

    // A plain cell has no value and keeps its text.
    g.set_Text(3, 1, "7");
    g.set_Value(3, 1, 1);
    EXPECT_EQ(g.Value(3, 1), 0);
    EXPECT_EQ(g.Text(3, 1), "7");
}

TEST_F(Grelha_Mostrada, CliqueNoVistoDaVoltaAosTresEstados) {
    g.set_visto(1, -1);
    QSignalSpy mudancas(&g, &Grelha::Change);
    QSignalSpy cliques(&g, &Grelha::Click);

    std::vector<int> vistos;
    for (int i = 0; i < 4; ++i) {
        clicar(g, 1, 3);
        vistos.push_back(g.Value(1, 3));
    }
    EXPECT_EQ(vistos, (std::vector<int>{1, 2, 0, 1}));
    ASSERT_EQ(mudancas.count(), 4);
    EXPECT_EQ(mudancas.at(0).at(0).toInt(), 1);
    EXPECT_EQ(mudancas.at(0).at(1).toInt(), 3);
    ASSERT_EQ(cliques.count(), 4);
    EXPECT_EQ(cliques.at(0).at(0).toInt(), 1);
    EXPECT_EQ(cliques.at(0).at(1).toInt(), 3);
    EXPECT_EQ(g.Value(1, 2), 0);   // the neighbours are untouched
    EXPECT_EQ(g.Value(1, 4), 0);
}

TEST_F(Grelha_Mostrada, VistoBloqueadoNaoMudaMasOCliqueChega) {
    g.set_visto(1, -1);
    g.set_Value(1, 5, 2);
    g.set_Lock(-1, 5, true);
    QSignalSpy mudancas(&g, &Grelha::Change);
    QSignalSpy cliques(&g, &Grelha::Click);
    clicar(g, 1, 5);
    EXPECT_EQ(g.Value(1, 5), 2);
    EXPECT_EQ(mudancas.count(), 0);
    EXPECT_EQ(cliques.count(), 1);

    g.set_Lock(-1, 5, false);   // unlocked again, the tick answers
    clicar(g, 1, 5);
    EXPECT_EQ(g.Value(1, 5), 0);
}

TEST_F(Grelha_Mostrada, DuploCliqueCabecalhoECelulaActiva) {
    g.set_Text(3, 4, "Rui");
    QSignalSpy duplos(&g, &Grelha::DblClick);
    QSignalSpy cliques(&g, &Grelha::Click);

    clicar(g, 3, 4);
    EXPECT_EQ(g.ActiveCol(), 3);
    EXPECT_EQ(g.ActiveRow(), 4);
    // A double click: a first click, then the second press reported as double.
    clicar(g, 5, 2);
    QTest::mouseDClick(g.tabela().viewport(), Qt::LeftButton, {}, centro(g, 5, 2));
    ASSERT_GE(duplos.count(), 1);
    EXPECT_EQ(duplos.last().at(0).toInt(), 5);
    EXPECT_EQ(duplos.last().at(1).toInt(), 2);

    cliques.clear();
    QHeaderView* h = g.tabela().horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(6) + h->sectionSize(6) / 2, h->height() / 2));
    ASSERT_EQ(cliques.count(), 1);
    EXPECT_EQ(cliques.at(0).at(0).toInt(), 7);
    EXPECT_EQ(cliques.at(0).at(1).toInt(), 0);

    g.set_celula_activa(2, 6);
    EXPECT_EQ(g.ActiveCol(), 2);
    EXPECT_EQ(g.ActiveRow(), 6);
}

TEST(Grelha, IdentidadeDaLinha) {
    Grelha g;
    g.set_MaxCols(3);
    g.set_MaxRows(4);
    g.set_identidade(1, 501);
    g.set_identidade(3, 77);
    g.set_Text(2, 3, "Nome igual");
    g.set_Text(2, 1, "Nome igual");
    EXPECT_EQ(g.identidade(1), 501);
    EXPECT_EQ(g.identidade(2), 0);
    EXPECT_EQ(g.identidade(3), 77);
    EXPECT_EQ(g.linha_da_identidade(77), 3);
    EXPECT_EQ(g.linha_da_identidade(501), 1);
    EXPECT_EQ(g.linha_da_identidade(999), 0);
    EXPECT_EQ(g.linha_da_identidade(0), 0);   // 0 is nobody, not an empty row
    EXPECT_EQ(g.identidade(0), 0);
    EXPECT_EQ(g.identidade(5), 0);
}

TEST(Grelha, LimparRepoeCelulasMasGuardaCabecalhosEColunas) {
    Grelha g;
    g.set_MaxCols(4);
    g.set_MaxRows(3);
    g.set_Text(2, 0, "Pos");
    g.set_visto(1, -1);
    g.set_Lock(4, -1, true);
    g.set_ColHidden(4, true);
    const QColor base = g.BackColor(2, 2);

    g.set_Value(1, 2, 1);
    g.set_Text(2, 2, "md");
    g.set_cor_linha(2, QColor(255, 192, 192));
    g.set_Lock(-1, 2, true);
    g.set_identidade(2, 12);
    g.set_Lista(3, 2, std::string("a\tb"));

    g.Limpar();
    EXPECT_EQ(g.Text(2, 0), "Pos");
    EXPECT_EQ(g.Text(2, 2), "");
    EXPECT_TRUE(g.visto(1, 2));
    EXPECT_EQ(g.Value(1, 2), 0);
    EXPECT_EQ(g.BackColor(3, 2), base);
    EXPECT_FALSE(g.Lock(2, 2));
    EXPECT_TRUE(g.Lock(4, 2));      // the column's own lock
    EXPECT_TRUE(g.ColHidden(4));
    EXPECT_EQ(g.identidade(2), 0);
    EXPECT_TRUE(g.Lista(3, 2).isEmpty());
    EXPECT_EQ(g.MaxRows(), 3);
}

TEST_F(Grelha_Mostrada, ListaDaCelulaEscolhaMudaOTexto) {
    g.set_Text(2, 1, "Silva 80'");
    g.set_Lista(2, 1, std::string("Costa 12'\tSilva 80'\t"));
    EXPECT_EQ(g.Lista(2, 1), (QStringList{"Costa 12'", "Silva 80'"}));
    EXPECT_EQ(g.Text(2, 1), "Silva 80'");
    ASSERT_TRUE(g.tabela().isPersistentEditorOpen(g.tabela().item(0, 1)));

    auto combos = g.tabela().viewport()->findChildren<QComboBox*>();
    ASSERT_EQ(combos.size(), 1);
    QComboBox* combo = combos.front();
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentText(), "Silva 80'");

    QSignalSpy mudancas(&g, &Grelha::Change);
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(g.Text(2, 1), "Costa 12'");
    EXPECT_EQ(mudancas.count(), 1);

    // A locked list only shows its items.
    g.set_Lock(2, 1, true);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(g.Text(2, 1), "Costa 12'");
    EXPECT_EQ(mudancas.count(), 1);
}

} // namespace
} // namespace gv
