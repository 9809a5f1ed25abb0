// The bank: the loan limit, the instalment, taking and repaying a loan.

#include "apoio_mercado.h"
#include "data/clubes.h"
#include "market/banco.h"

namespace gv {
namespace {

class Banco : public teste::Mercado {
protected:
    // Squad worth 2 * metade and a stadium of `lugares`.
    void limite(long metade, long lugares) {
        Base_Dados->Execute("UPDATE jogadores SET preco = 0 WHERE equipa = ?", {Clube_Treinador});
        jogador(Clube_Treinador, "md", 25, 50, 2 * metade);
        Base_Dados->Execute("UPDATE clubes SET cap_estadio = ? WHERE clube = ?", {lugares, Clube_Treinador});
    }
};

TEST_F(Banco, InstalmentAndTotalCompoundFivePercentASeason) {
    auto c = Calcular_Emprestimo(340000, 1);
    EXPECT_EQ(c.prestacao, 10500);
    EXPECT_EQ(c.total, 357000);
    // 100,000 * 1.05^5 = 127,628.15...; spread over 5 * 34 matchdays.
    c = Calcular_Emprestimo(100000, 5);
    EXPECT_EQ(c.total, 127628);
    EXPECT_EQ(c.prestacao, 750);
    EXPECT_EQ(Calcular_Emprestimo(100000, 0).total, 0);
}

TEST_F(Banco, LimitIsHalfTheSquadPlusTheSeatsAboveTenThousand) {
    limite(500000, 30000);
    EXPECT_DOUBLE_EQ(Limite_Emprestimo(), 500000 + 20000 * 125);
    limite(500000, 6000);
    EXPECT_DOUBLE_EQ(Limite_Emprestimo(), 500000 - 4000 * 125) << "a small stadium lowers the limit";
    EXPECT_EQ(Texto_Limite(1234567.5), "1234567.5");
    EXPECT_EQ(Texto_Limite(1234567), "1234567");
}

TEST_F(Banco, AmountRulesInTheirOrder) {
    limite(100000, 10000);   // limit exactly 100,000
    EXPECT_EQ(Pedir_Emprestimo(10000, 1), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "O valor do emprestimo tem que ser maior que 10000.");
    EXPECT_EQ(Pedir_Emprestimo(100001, 1), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "Valor do Emprestimo muito Alto.");
    EXPECT_EQ(principal("d_b_divida"), 0);

    const long antes = principal("d_total");
    ASSERT_EQ(Pedir_Emprestimo(100000, 2), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "Emprestimo efectuado.");
    EXPECT_EQ(principal("d_total"), antes + 100000);
    EXPECT_EQ(principal("d_in"), 100000);
    EXPECT_EQ(principal("d_b_divida"), Calcular_Emprestimo(100000, 2).total);
    EXPECT_EQ(principal("d_b_mensal"), Calcular_Emprestimo(100000, 2).prestacao);

    // Any debt at all blocks a second loan.
    Base_Dados->Execute("UPDATE principal SET d_b_divida = 1");
    EXPECT_EQ(Pedir_Emprestimo(20000, 1), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "Já tem um Empréstimo.");
}

TEST_F(Banco, EarlyRepaymentKeepsTheInstalment) {
    EXPECT_EQ(Amortizar_Emprestimo(5000), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "Não tem nenhum Empréstimo.");
    Base_Dados->Execute("UPDATE principal SET d_b_divida = 50000, d_b_mensal = 2000");
    EXPECT_EQ(Amortizar_Emprestimo(50001), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "O Empréstimo não é tao Elevado.");
    EXPECT_EQ(Amortizar_Emprestimo(1000), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "O valor da amortização tem que ser maior que 1000.");
    const long antes = principal("d_total");
    ASSERT_EQ(Amortizar_Emprestimo(50000), Resultado_Negocio::Feito);
    EXPECT_EQ(principal("d_b_divida"), 0);
    EXPECT_EQ(principal("d_b_mensal"), 2000);
    EXPECT_EQ(principal("d_total"), antes - 50000);
    EXPECT_EQ(principal("d_out"), 50000);

    // A debt of 1,000 or less can no longer be repaid early.
    Base_Dados->Execute("UPDATE principal SET d_b_divida = 1000");
    EXPECT_EQ(Amortizar_Emprestimo(1000), Resultado_Negocio::Recusado);
    EXPECT_EQ(Amortizar_Emprestimo(1001), Resultado_Negocio::Recusado);
}

TEST_F(Banco, AFailedPostingLeavesNoDebtBehind) {
    limite(100000, 10000);
    Base_Dados->Execute("CREATE TRIGGER trava BEFORE UPDATE OF d_in ON principal BEGIN SELECT RAISE(ABORT, 'travado'); END");
    const long antes = principal("d_total");
    EXPECT_EQ(Pedir_Emprestimo(50000, 1), Resultado_Negocio::Falhou);
    EXPECT_NE(ultima().find("Nada foi alterado"), std::string::npos) << ultima();
    EXPECT_EQ(principal("d_b_divida"), 0);
    EXPECT_EQ(principal("d_total"), antes);
}

TEST_F(Banco, EnglishTexts) {
    Lingua = "I";
    EXPECT_EQ(Pedir_Emprestimo(500, 1), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "The loan must be higher than 10000.");
}

} // namespace
} // namespace gv
