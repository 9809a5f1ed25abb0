#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <memory>
#include <tuple>
#include <vector>

#include "ambiente_qt.h"
#include "platform/qt/grelha.h"

namespace gv {
namespace {

std::unique_ptr<Grelha> nova(int cols, int rows) {
    auto g = std::make_unique<Grelha>(nullptr, QStringLiteral("s1"));
    g->set_MaxCols(cols);
    g->set_MaxRows(rows);
    return g;
}

QPoint centro(Grelha& g, int col, int row) {
    return g.tabela().visualRect(g.tabela().model()->index(row - 1, col - 1)).center();
}
void clicar(Grelha& g, int col, int row) { QTest::mouseClick(g.tabela().viewport(), Qt::LeftButton, {}, centro(g, col, row)); }

struct Grelha_Mostrada : ::testing::Test {
    void SetUp() override {
        g->resize(900, 400);
        g->show();
    }
    std::unique_ptr<Grelha> g = nova(13, 6);
};

TEST(Grelha, AddressesAreOneBasedWithHeadersInRowAndColumnZero) {
    auto g = nova(4, 3);
    g->set_Text(3, 0, "Nome");
    g->set_Text(1, 1, "primeira");
    g->set_Text(4, 3, std::string("última"));
    for (auto [c, r] : {std::pair{5, 1}, {1, 4}, {-1, 2}}) g->set_Text(c, r, "x");   // outside: nothing written
    EXPECT_EQ(g->tabela().horizontalHeaderItem(2)->text() + g->Text(3, 0) + g->Text(5, 1) + g->Text(1, 4), "NomeNome");
    EXPECT_EQ(g->texto(4, 3), "última");
    QString todas;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) todas += g->tabela().item(r, c)->text() + "|";
    EXPECT_EQ(todas.toStdString(), "primeira|" + std::string(10, '|') + "última|");
    // The row header (column 0) is hidden until asked for; columns hide by their own number.
    g->set_Text(0, 2, "2.");
    EXPECT_EQ(g->Text(0, 2), "2.");
    EXPECT_TRUE(g->ColHidden(0));
    g->set_cabecalho_linhas_visivel(true);
    g->set_ColHidden(4, true);
    EXPECT_EQ(std::tuple(g->ColHidden(0), g->tabela().isColumnHidden(3), g->tabela().isColumnHidden(2)), std::tuple(false, true, false));
}

TEST(Grelha, RowsKeepTheirDataAndIdentityOnlyWhileTheyExist) {
    auto g = nova(2, 4);
    g->set_identidade(1, 501);
    g->set_identidade(3, 77);
    g->set_Text(2, 3, "c");
    g->set_Text(2, 1, "c");
    EXPECT_EQ((std::vector<long long>{g->identidade(0), g->identidade(1), g->identidade(2), g->identidade(5)}),
              (std::vector<long long>{0, 501, 0, 0}));
    // 0 is nobody, not an unmarked row.
    EXPECT_EQ((std::vector<int>{g->linha_da_identidade(77), g->linha_da_identidade(501), g->linha_da_identidade(999),
                                g->linha_da_identidade(0)}),
              (std::vector<int>{3, 1, 0, 0}));
    g->set_MaxRows(2);
    EXPECT_EQ(g->linha_da_identidade(77), 0);
    g->set_MaxRows(4);   // the rows come back empty, with their cells
    EXPECT_EQ(g->Text(2, 3) + "/" + g->Text(2, 1), "/c");
    EXPECT_EQ(g->identidade(3), 0);
    ASSERT_NE(g->tabela().item(3, 1), nullptr);
}

TEST(Grelha, ColoursAndLocksOfACellARowAndAColumn) {
    auto g = nova(5, 4);
    const QColor base = g->BackColor(1, 1), verde(192, 255, 192), azul(0, 0, 128), branco(255, 255, 255);
    g->set_cor_linha(2, verde);
    g->set_BackColor(2, 2, azul);
    g->set_ForeColor(2, 2, branco);
    g->set_BackColor(4, -1, QColor(255, 192, 192));
    for (int c = 1; c <= 5; ++c)
        for (int r = 1; r <= 4; ++r) {
            const QColor esperada = c == 4 ? QColor(255, 192, 192) : r != 2 ? base : c == 2 ? azul : verde;
            EXPECT_EQ(g->BackColor(c, r), esperada) << c << "," << r;
        }
    EXPECT_EQ(std::pair(g->tabela().item(1, 1)->background().color(), g->ForeColor(2, 2)), std::pair(azul, branco));
    EXPECT_NE(g->ForeColor(3, 2), branco);
    g->set_visto(1, -1);
    g->set_editavel(true);
    auto editaveis = [&](int r) {
        QString s;
        for (int c = 1; c <= 5; ++c) s += g->tabela().item(r - 1, c - 1)->flags().testFlag(Qt::ItemIsEditable) ? "e" : "-";
        return s;
    };
    EXPECT_EQ(editaveis(1), "-eeee");   // a tick is clicked, never typed into
    g->set_Lock(-1, 2, true);
    EXPECT_EQ(editaveis(2), "-----");
    EXPECT_TRUE(g->Lock(5, 2) && !g->Lock(5, 1));
    g->set_Lock(-1, 2, false);
    EXPECT_EQ(editaveis(2), "-eeee");
    // A locked column stays locked in rows added later.
    g->set_Lock(3, -1, true);
    g->set_MaxRows(5);
    EXPECT_EQ(editaveis(5), "-e-ee");
    EXPECT_TRUE(g->Lock(3, 5) && !g->Lock(2, 5));
    g->set_editavel(false);
    EXPECT_EQ(editaveis(1), "-----");
}

TEST(Grelha, TickValuesAndTheirTexts) {
    auto g = nova(3, 3);
    g->set_visto(1, -1);
    g->set_visto(2, 1, false);   // one two-state cell
    EXPECT_TRUE(g->visto(1, 3) && !g->visto(3, 1));
    const Qt::CheckState estados[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    for (int v : {1, 2, 0}) {
        g->set_Value(1, 2, v);
        EXPECT_EQ(g->Value(1, 2), v);
        EXPECT_EQ(g->Text(1, 2), QString::number(v));
        EXPECT_EQ(g->tabela().item(1, 0)->checkState(), estados[v]);
    }
    // A text sets the value from its leading number (empty: 0); values
    // outside the cell's states are 0; a two-state cell has no 2; a plain
    // cell has no value and keeps its text.
    g->set_Text(3, 1, "7");
    for (auto [c, r, texto, v, lido] : {std::tuple{1, 3, "2", -9, 2}, {1, 3, "", -9, 0}, {1, 1, "", 3, 0},
                                        {1, 1, "", -1, 0}, {2, 1, "", 2, 0}, {2, 1, "", 1, 1}, {3, 1, nullptr, 1, 0}}) {
        if (v == -9)
            g->set_Text(c, r, texto);
        else
            g->set_Value(c, r, v);
        EXPECT_EQ(g->Value(c, r), lido) << c << "," << r << " " << v;
    }
    EXPECT_EQ(g->Text(3, 1), "7");
}

TEST_F(Grelha_Mostrada, AClickCyclesTheTickUnlessLockedAndIsAlwaysReported) {
    g->set_visto(1, -1);
    QSignalSpy mudancas(g.get(), &Grelha::Change), cliques(g.get(), &Grelha::Click);
    std::vector<int> vistos;
    for (int i = 0; i < 4; ++i) {
        clicar(*g, 1, 3);
        vistos.push_back(g->Value(1, 3));
    }
    EXPECT_EQ(vistos, (std::vector<int>{1, 2, 0, 1}));
    ASSERT_TRUE(mudancas.count() == 4 && cliques.count() == 4) << mudancas.count() << " " << cliques.count();
    EXPECT_EQ(std::pair(mudancas.at(0), cliques.at(0)), std::pair(QList<QVariant>{1, 3}, QList<QVariant>{1, 3}));
    EXPECT_EQ(g->Value(1, 2) + g->Value(1, 4), 0);   // the neighbours are untouched
    g->set_Value(1, 5, 2);
    g->set_Lock(-1, 5, true);
    clicar(*g, 1, 5);
    EXPECT_EQ(std::tuple(g->Value(1, 5), mudancas.count(), cliques.count()), std::tuple(2, qsizetype(4), qsizetype(5)));
    g->set_Lock(-1, 5, false);
    clicar(*g, 1, 5);
    EXPECT_EQ(g->Value(1, 5), 0);
}

TEST_F(Grelha_Mostrada, DoubleClicksHeaderClicksAndTheActiveCell) {
    QSignalSpy duplos(g.get(), &Grelha::DblClick), cliques(g.get(), &Grelha::Click);
    clicar(*g, 3, 4);
    EXPECT_EQ(std::pair(g->ActiveCol(), g->ActiveRow()), std::pair(3, 4));
    // A double click: a first click, then the second press reported as double.
    clicar(*g, 5, 2);
    QTest::mouseDClick(g->tabela().viewport(), Qt::LeftButton, {}, centro(*g, 5, 2));
    ASSERT_GE(duplos.count(), 1);
    EXPECT_EQ(duplos.last(), (QList<QVariant>{5, 2}));
    cliques.clear();
    QHeaderView* h = g->tabela().horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(6) + 5, h->height() / 2));
    ASSERT_EQ(cliques.count(), 1);
    EXPECT_EQ(cliques.at(0), (QList<QVariant>{7, 0}));
    g->set_celula_activa(2, 6);
    EXPECT_EQ(std::pair(g->ActiveCol(), g->ActiveRow()), std::pair(2, 6));
}

TEST(Grelha, ClearingEmptiesTheCellsButKeepsHeadersAndColumns) {
    auto g = nova(4, 3);
    g->set_Text(2, 0, "Pos");
    g->set_visto(1, -1);
    g->set_Lock(4, -1, true);
    g->set_ColHidden(4, true);
    const QColor base = g->BackColor(2, 2);
    g->set_Value(1, 2, 1);
    g->set_Text(2, 2, "md");
    g->set_cor_linha(2, QColor(255, 192, 192));
    g->set_Lock(-1, 2, true);
    g->set_identidade(2, 12);
    g->set_Lista(3, 2, std::string("a\tb"));
    g->Limpar();
    EXPECT_EQ(g->Text(2, 0) + "/" + g->Text(2, 2), "Pos/");
    EXPECT_EQ(std::tuple(g->Value(1, 2), g->identidade(2), g->MaxRows(), g->BackColor(3, 2)), std::tuple(0, 0LL, 3, base));
    // Tick cells, the column's own lock and hidden columns stay.
    EXPECT_EQ(std::tuple(g->visto(1, 2), g->Lock(2, 2), g->Lock(4, 2), g->ColHidden(4), g->Lista(3, 2).isEmpty()),
              std::tuple(true, false, true, true, true));
}

TEST_F(Grelha_Mostrada, AListCellsChoiceChangesItsTextUnlessLocked) {
    g->set_Text(2, 1, "Silva 80'");
    g->set_Lista(2, 1, std::string("Costa 12'\tSilva 80'\t"));
    EXPECT_EQ(g->Lista(2, 1), (QStringList{"Costa 12'", "Silva 80'"}));
    ASSERT_TRUE(g->tabela().isPersistentEditorOpen(g->tabela().item(0, 1)));
    const auto combos = g->tabela().viewport()->findChildren<QComboBox*>();
    ASSERT_EQ(combos.size(), 1);
    QComboBox* combo = combos.front();
    EXPECT_EQ(std::pair(combo->count(), combo->currentText()), std::pair(2, QStringLiteral("Silva 80'")));
    QSignalSpy mudancas(g.get(), &Grelha::Change);
    for (bool bloqueada : {false, true}) {
        g->set_Lock(2, 1, bloqueada);
        combo->setCurrentIndex(bloqueada);
        emit combo->activated(bloqueada);
        EXPECT_EQ(g->Text(2, 1), "Costa 12'");   // a locked list only shows its items
        EXPECT_EQ(mudancas.count(), 1);
    }
}

} // namespace
} // namespace gv
