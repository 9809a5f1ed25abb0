// The schema and the price bands.

#include "apoio.h"

using namespace gv;

namespace {

TEST(FaixasPreco, BoundaryStrengthsTakeTheLowerBand) {
    // (40 - idade) * forca * 500 * k
    EXPECT_EQ(preco_faixa(30, 35), 10LL * 35 * 500 * 6 / 10);
    EXPECT_EQ(preco_faixa(30, 36), 10LL * 36 * 500 * 8 / 10);
    EXPECT_EQ(preco_faixa(30, 60), 10LL * 60 * 500 * 8 / 10);
    EXPECT_EQ(preco_faixa(30, 61), 10LL * 61 * 500 * 13 / 10);
    EXPECT_EQ(preco_faixa(30, 75), 10LL * 75 * 500 * 13 / 10);
    EXPECT_EQ(preco_faixa(30, 76), 10LL * 76 * 500 * 18 / 10);
    EXPECT_EQ(preco_faixa(30, 100), 10LL * 100 * 500 * 18 / 10);
    EXPECT_EQ(preco_faixa(30, 101), 10LL * 101 * 500 * 3);
    EXPECT_EQ(preco_faixa(40, 80), 0);
    EXPECT_LT(preco_faixa(42, 80), 0) << "past 40 the price goes below zero";
}

TEST(FaixasPreco, WageRoundsDownAlsoBelowZero) {
    EXPECT_EQ(ordenado_de(1234567), 12345);
    EXPECT_EQ(ordenado_de(99), 0);
    EXPECT_EQ(ordenado_de(-150), -2);
    EXPECT_EQ(ordenado_de(-200), -2);
}

class Esquema : public teste::Pasta_Temporaria {};

TEST_F(Esquema, PriceStatementsAgreeWithTheRuleForEveryBand) {
    auto d = nova_base("jogo.gv");
    for (int forca : {1, 35, 36, 60, 61, 75, 76, 100, 101, 120})
        for (int idade : {18, 29, 40, 41})
            d->Execute("INSERT INTO jogadores (nome, forca, idade) VALUES ('x', ?, ?)", {forca, idade});
    aplicar_faixas_preco(*d);
    auto rs = d->OpenRecordset("SELECT forca, idade, preco FROM jogadores");
    ASSERT_EQ(rs.RecordCount(), 40);
    for (; !rs.Eof(); rs.MoveNext())
        EXPECT_EQ(rs["preco"].inteiro(), preco_faixa(rs["idade"].int32(), rs["forca"].int32()))
            << "forca " << rs["forca"].int32() << " idade " << rs["idade"].int32();
}

TEST_F(Esquema, SeedTablesCopyIntoGameTablesColumnForColumn) {
    auto d = nova_base("jogo.gv");
    criar_tabelas_semente(*d, "pt");
    d->Execute("INSERT INTO jogadores_pt (nome, equipa, pos, forca, idade, contrato) VALUES ('Rui', 'Vilar', 'md', 55, 24, 3)");
    d->Execute("INSERT INTO clubes_pt (clube, div, cap_estadio) VALUES ('Vilar', 2, 25000)");
    d->Execute("INSERT INTO jogadores SELECT * FROM jogadores_pt");
    d->Execute("INSERT INTO clubes SELECT * FROM clubes_pt");
    auto j = d->OpenRecordset("SELECT * FROM jogadores");
    EXPECT_EQ(j["nome"].texto(), "Rui");
    EXPECT_EQ(j["pos"].texto(), "md");
    EXPECT_EQ(j["forca"].int32(), 55);
    EXPECT_EQ(j["contrato"].int32(), 3);
    EXPECT_EQ(j["clube_origem"].texto(), "0");
    auto c = d->OpenRecordset("SELECT * FROM Clubes");
    EXPECT_EQ(c["cap_estadio"].int32(), 25000);
    EXPECT_EQ(c["div"].int32(), 2);
}

TEST_F(Esquema, EveryNumericColumnStartsAtZeroAndNamesIgnoreCase) {
    auto d = nova_base("jogo.gv");
    for (const auto& t : tabelas_base()) {
        d->Execute("INSERT INTO \"" + t.nome + "\" DEFAULT VALUES");
        auto rs = d->OpenRecordset("SELECT * FROM " + t.nome);
        for (const auto& c : t.colunas) {
            if (c.tipo == Tipo_Coluna::Texto) continue;
            EXPECT_EQ(rs[c.nome], db::Valor(0)) << t.nome << "." << c.nome;
        }
    }
    // The statements spell tables and columns both ways.
    d->Execute("UPDATE Principal SET d_ord = 5, SIT = 20, jornada = 1");
    EXPECT_EQ(d->valor("SELECT d_Ord + sit + Jornada FROM principal").int32(), 26);
    EXPECT_EQ(tipo_tabela("Clubes_Taca_wd"), Tipo_Tabela::Semente);
    EXPECT_EQ(tipo_tabela("jor_aux"), Tipo_Tabela::Modelo);
    EXPECT_EQ(tipo_tabela("Jogadores_All"), Tipo_Tabela::Fixa);
    EXPECT_EQ(tipo_tabela("clubes_taca"), Tipo_Tabela::Jogo);
}

} // namespace
