// The ledger, the wages and the bank instalment.

#include "data/clubes.h"
#include "data/financas.h"
#include "jogo_apoio.h"
#include "platform/texto.h"

using namespace gv;

namespace {

class Financas : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
        registar_painel_financas([this] { ++refrescos; });
    }
    void TearDown() override {
        registar_painel_financas({});
        Com_Mestra::TearDown();
    }
    long col(const char* c) { return static_cast<long>(Base_Dados->valor(std::string("SELECT ") + c + " FROM principal").inteiro()); }
    void principal(const std::string& sets) { Base_Dados->Execute("UPDATE principal SET " + sets); }
    void estadio(int lugares) {
        Base_Dados->Execute("UPDATE clubes SET cap_estadio = ? WHERE clube = ?", {lugares, Clube_Treinador});
    }
    // One matchday's instalment: a fresh desk visit, then the step.
    void prestacao() {
        Prestacao_Paga = 0;
        Pagar_Prestacao_Emprestimo();
    }
    int refrescos = 0;
};

TEST_F(Financas, EveryCodeMovesBalanceTotalsAndItsOwnColumn) {
    struct Caso {
        const char* tipo;
        int sinal;
        const char* coluna;
    };
    const Caso casos[] = {{"-", -1, nullptr},       {"+", 1, nullptr},         {"E-", -1, "d_emp_out"},
                          {"E+", 1, "d_emp_in"},    {"V-", -1, "d_venda_out"}, {"V+", 1, "d_venda_in"},
                          {"O-", -1, "d_Ord"},      {"S+", 1, "d_estadio"}};
    for (const auto& c : casos) {
        long saldo = col("d_total"), in = col("d_in"), out = col("d_out");
        long antes = c.coluna ? col(c.coluna) : 0;
        long depois = Movimento_Financeiro(c.tipo, 1000000);
        EXPECT_EQ(depois, saldo + c.sinal * 1000000) << c.tipo;
        EXPECT_EQ(col("d_total"), depois);
        EXPECT_EQ(col("d_in"), in + (c.sinal > 0 ? 1000000 : 0)) << c.tipo;
        EXPECT_EQ(col("d_out"), out + (c.sinal < 0 ? 1000000 : 0)) << c.tipo;
        if (c.coluna) {
            EXPECT_EQ(col(c.coluna), antes + 1000000) << c.tipo;
        }
    }
}

TEST_F(Financas, UnknownCodesPostNothingAndNegativeAmountsPostAsWritten) {
    long saldo = col("d_total");
    EXPECT_EQ(Movimento_Financeiro("X", 500), saldo);
    EXPECT_EQ(Movimento_Financeiro("v+", 500), saldo) << "codes are case-sensitive";
    EXPECT_EQ(col("d_in") + col("d_out"), 0);
    EXPECT_EQ(Movimento_Financeiro("+", -5), saldo - 5);
    EXPECT_EQ(col("d_in"), -5);
}

TEST_F(Financas, WagesArePaidOnEveryFourthLeagueRound) {
    long conta = Total_Ordenados();
    ASSERT_GT(conta, 0);
    EXPECT_EQ(conta, contar("SELECT sum(ordenado) FROM jogadores WHERE equipa = ?", {Clube_Treinador}));
    long saldo = col("d_total");
    for (int ronda = 1; ronda <= 3; ++ronda) {
        Pagar_Ordenados();
        EXPECT_EQ(col("cont"), ronda);
    }
    EXPECT_EQ(col("d_total"), saldo);
    EXPECT_TRUE(porta.mensagens.empty());
    Pagar_Ordenados();
    EXPECT_EQ(col("cont"), 0);
    EXPECT_EQ(col("d_total"), saldo - conta);
    EXPECT_EQ(col("d_Ord"), conta);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Ordenados Pagos: " + formatar_dinheiro(conta));
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Informacao);
}

TEST_F(Financas, AClubWithoutPlayersHasNoWageBill) {
    Base_Dados->Execute("DELETE FROM jogadores WHERE equipa = ?", {Clube_Treinador});
    EXPECT_EQ(Total_Ordenados(), 0);
}

TEST_F(Financas, InstalmentThatOverpaysRefundsAndClearsTheLoan) {
    principal("d_b_divida = 100000, d_b_mensal = 60000");
    long saldo = col("d_total");
    prestacao();
    EXPECT_EQ(col("d_total"), saldo - 60000);
    EXPECT_EQ(col("d_b_divida"), 40000);
    EXPECT_EQ(col("d_out"), 60000);
    prestacao();
    EXPECT_EQ(col("d_total"), saldo - 100000);
    EXPECT_EQ(col("d_b_divida"), 0);
    EXPECT_EQ(col("d_b_mensal"), 0);
    EXPECT_EQ(col("d_out"), 100000);
    EXPECT_TRUE(porta.mensagens.empty());
    EXPECT_EQ(refrescos, 2) << "the panel is refreshed on every run";
}

TEST_F(Financas, InstalmentThatEndsExactlyIsClearedOnTheNextMatchday) {
    principal("d_b_divida = 120000, d_b_mensal = 60000");
    long saldo = col("d_total");
    prestacao();
    prestacao();
    EXPECT_EQ(col("d_b_divida"), 0);
    EXPECT_EQ(col("d_b_mensal"), 60000);
    prestacao();
    EXPECT_EQ(col("d_total"), saldo - 120000);
    EXPECT_EQ(col("d_out"), 120000);
    EXPECT_EQ(col("d_b_mensal"), 0);
}

TEST_F(Financas, OnlyOneInstalmentPerDeskVisit) {
    principal("d_b_divida = 100000, d_b_mensal = 30000");
    prestacao();
    Pagar_Prestacao_Emprestimo();   // the button pressed again, same desk
    EXPECT_EQ(col("d_b_divida"), 70000);
}

TEST_F(Financas, ForcedSeatSaleStopsAtTenThousandSeats) {
    principal("d_total = -1200000, d_b_divida = 300000, d_b_mensal = 0");
    estadio(11000);
    prestacao();
    EXPECT_EQ(col("d_total"), -1100000);
    EXPECT_EQ(Capacidade_Estadio(Clube_Treinador), 10000);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Tem que vender Jogador(es) até ter um Saldo de > -500.000");
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
    EXPECT_GE(refrescos, 1);
}

TEST_F(Financas, ForcedSeatSaleStopsOnceTheBalanceRecovers) {
    principal("d_total = -1020000, d_b_divida = 1, d_b_mensal = 0");
    estadio(20000);
    Lingua = "I";
    prestacao();
    EXPECT_EQ(col("d_total"), -970000);
    EXPECT_EQ(Capacidade_Estadio(Clube_Treinador), 19500);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Was sell: 500 seats of the stadium, to pay the loan - Money: (-970000)");
    EXPECT_GE(refrescos, 1) << "the panel shows the sale too";
}

TEST_F(Financas, DeepDebtWithoutALoanSellsNothing) {
    principal("d_total = -2000000, d_b_divida = 0, d_b_mensal = 0");
    estadio(30000);
    prestacao();
    EXPECT_EQ(col("d_total"), -2000000);
    EXPECT_EQ(Capacidade_Estadio(Clube_Treinador), 30000);
    EXPECT_TRUE(porta.mensagens.empty());
}

TEST_F(Financas, AFailedInstalmentChangesNothingAndIsReported) {
    principal("d_total = -1200000, d_b_divida = 300000, d_b_mensal = 1000");
    estadio(11000);
    // No club row for the manager's club: the seat sale cannot run.
    Base_Dados->Execute("DROP TABLE clubes");
    prestacao();
    EXPECT_EQ(col("d_total"), -1200000);
    EXPECT_EQ(col("d_b_divida"), 300000);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto.rfind("Não foi possível pagar a prestação do empréstimo.", 0), 0u);
    EXPECT_EQ(Prestacao_Paga, 0);
}

} // namespace
