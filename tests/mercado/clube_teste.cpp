// The club's business: the bank, stadium seats and the training camp.

#include "apoio_mercado.h"
#include "data/clubes.h"
#include "market/banco.h"
#include "market/estadio.h"
#include "market/estagio.h"

namespace gv {
namespace {

class Clube : public teste::Com_Jogo {
protected:
    void estadio(long lugares) { sql("UPDATE clubes SET cap_estadio = ? WHERE clube = ?", {lugares, Clube_Treinador}); }
    // Squad worth 2 * metade and a stadium of `lugares`.
    void limite(long metade, long lugares) {
        sql("UPDATE jogadores SET preco = 0 WHERE equipa = ?", {Clube_Treinador});
        jogador(Clube_Treinador, "md", 25, 50, 2 * metade);
        estadio(lugares);
    }
    // A division 2 club of 20,000 seats with wage bill 40,000, a lent-out player's counted.
    void clube_divisao_2() {
        sql("UPDATE clubes SET div = 2, cap_estadio = 20000 WHERE clube = ?", {Clube_Treinador});
        sql("UPDATE jogadores SET ordenado = 0 WHERE equipa = ?", {Clube_Treinador});
        sql("UPDATE jogadores SET ordenado = 30000 WHERE rowid = (SELECT min(rowid) FROM jogadores WHERE equipa = ?)", {Clube_Treinador});
        sql("UPDATE jogadores SET ordenado = 10000, emprestado = 1, clube_origem = ? WHERE rowid = ?",
            {Clube_Treinador, jogador(outro, "df", 24, 50, 0)});
    }
};

TEST_F(Clube, LoanInstalmentTotalAndLimit) {
    // 100,000 * 1.05^5 = 127,628.15...; spread over 5 * 34 matchdays.
    for (auto [valor, epocas, prestacao, total] : {std::tuple{340000, 1, 10500L, 357000L}, {100000, 5, 750L, 127628L}, {100000, 0, 0L, 0L}}) {
        const auto c = Calcular_Emprestimo(valor, epocas);
        EXPECT_EQ(std::pair(c.prestacao, c.total), std::pair(prestacao, total)) << valor << " over " << epocas;
    }
    limite(500000, 30000);
    EXPECT_DOUBLE_EQ(Limite_Emprestimo(), 500000 + 20000 * 125) << "half the squad and the seats above 10,000";
    limite(500000, 6000);
    EXPECT_DOUBLE_EQ(Limite_Emprestimo(), 500000 - 4000 * 125) << "a small stadium lowers the limit";
    EXPECT_EQ(Texto_Limite(1234567.5) + " " + Texto_Limite(1234567), "1234567.5 1234567");
}

TEST_F(Clube, LoanAmountRulesInTheirOrder) {
    limite(100000, 10000);   // limit exactly 100,000
    EXPECT_EQ(recusa(Pedir_Emprestimo(10000, 1)), "O valor do emprestimo tem que ser maior que 10000.");
    EXPECT_EQ(recusa(Pedir_Emprestimo(100001, 1)), "Valor do Emprestimo muito Alto.");
    EXPECT_EQ(principal("d_b_divida"), 0);
    ASSERT_EQ(Pedir_Emprestimo(100000, 2), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "Emprestimo efectuado.");
    // 100,000 * 1.05^2, the instalment over 68 matchdays.
    EXPECT_EQ(linha("SELECT d_total, d_in, d_b_divida, d_b_mensal FROM principal"), "2100000|100000|110250|1621");
    // Any debt at all blocks a second loan.
    sql("UPDATE principal SET d_b_divida = 1");
    EXPECT_EQ(recusa(Pedir_Emprestimo(20000, 1)), "Já tem um Empréstimo.");
    Lingua = "I";
    EXPECT_EQ(recusa(Pedir_Emprestimo(500, 1)), "The loan must be higher than 10000.");
    // A failed posting leaves no debt behind.
    sql("UPDATE principal SET d_b_divida = 0");
    sql("CREATE TRIGGER trava BEFORE UPDATE OF d_in ON principal BEGIN SELECT RAISE(ABORT, 'travado'); END");
    EXPECT_EQ(Pedir_Emprestimo(50000, 1), Resultado_Negocio::Falhou);
    EXPECT_NE(ultima().find("Nothing was changed"), std::string::npos) << ultima();
    EXPECT_EQ(linha("SELECT d_total, d_b_divida, d_b_mensal FROM principal"), "2100000|0|1621");
}

TEST_F(Clube, EarlyRepaymentKeepsTheInstalment) {
    EXPECT_EQ(recusa(Amortizar_Emprestimo(5000)), "Não tem nenhum Empréstimo.");
    sql("UPDATE principal SET d_b_divida = 50000, d_b_mensal = 2000");
    EXPECT_EQ(recusa(Amortizar_Emprestimo(50001)), "O Empréstimo não é tao Elevado.");
    EXPECT_EQ(recusa(Amortizar_Emprestimo(1000)), "O valor da amortização tem que ser maior que 1000.");
    ASSERT_EQ(Amortizar_Emprestimo(50000), Resultado_Negocio::Feito);
    EXPECT_EQ(linha("SELECT d_total, d_b_divida, d_b_mensal, d_out FROM principal"), "1950000|0|2000|50000");
    // A debt of 1,000 or less can no longer be repaid early.
    sql("UPDATE principal SET d_b_divida = 1000");
    EXPECT_EQ(Amortizar_Emprestimo(1000), Resultado_Negocio::Recusado);
    EXPECT_EQ(Amortizar_Emprestimo(1001), Resultado_Negocio::Recusado);
}

TEST_F(Clube, StadiumSeatRulesPriceAndSpendingFloor) {
    estadio(95000);
    saldo(1000000);
    EXPECT_EQ(recusa(Ampliar_Estadio(999)), "Tem que comprar pelo menos 1000 lugares.");
    EXPECT_EQ(Ampliar_Estadio(0), Resultado_Negocio::Recusado) << "an empty box counts as no seats";
    EXPECT_EQ(recusa(Ampliar_Estadio(5001)), "A capacidade Maxima é de 100000 lugares.");
    ASSERT_EQ(Ampliar_Estadio(5000), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "Estadio Ampliado em 5000 lugares.");
    EXPECT_EQ(Capacidade_Estadio(Clube_Treinador), 100000);
    EXPECT_EQ(linha("SELECT d_total, d_out FROM principal"), "250000|750000");
    // Exactly down to the floor of -1,000,000.
    estadio(20000);
    saldo(-850000);
    ASSERT_EQ(Ampliar_Estadio(1000), Resultado_Negocio::Feito);
    EXPECT_EQ(principal("d_total"), -1000000);
    saldo(-849999);
    EXPECT_EQ(recusa(Ampliar_Estadio(1001)), "Não tem Dinheiro suficiente - Saldo: (-849999)");
    // Already past the floor: refused before the seat rules.
    saldo(-1000001);
    EXPECT_EQ(recusa(Ampliar_Estadio(10)), "Não tem Dinheiro suficiente");
    EXPECT_EQ(Capacidade_Estadio(Clube_Treinador), 21000);
    EXPECT_FLOAT_EQ(Fraccao_Estadio(50000), 0.5f);
    EXPECT_EQ(Texto_Estadio(50000), "50,000 Lugares");
    Lingua = "I";
    EXPECT_EQ(Texto_Estadio(1234), "1,234 Seats");
}

TEST_F(Clube, CampPriceFromWagesSeatsAndDivisionAndWhoGainsStrength) {
    clube_divisao_2();
    // (40,000 + 20,000) * 1.5 * 2.5 for the third level.
    EXPECT_EQ(std::to_string(Preco_Estagio(3)) + " " + std::to_string(Preco_Estagio(2)) + " " + std::to_string(Preco_Estagio(1)),
              "225000 300000 600000");
    const long long ferido = jogador(Clube_Treinador, "md", 25, 99, 0, "Ferido");
    sql("UPDATE jogadores SET joga = 3 WHERE rowid = ?", {ferido});
    const long long forte = jogador(Clube_Treinador, "md", 25, 99, 0, "Forte");
    const long long fora = jogador(outro, "av", 25, 60, 0, "Fora");
    sql("UPDATE jogadores SET emprestado = 1, clube_origem = ? WHERE rowid = ?", {Clube_Treinador, fora});
    const long long cedido = jogador(Clube_Treinador, "av", 25, 60, 0, "Cedido");
    sql("UPDATE jogadores SET emprestado = 1, clube_origem = ? WHERE rowid = ?", {outro, cedido});
    saldo(0);
    ASSERT_EQ(Marcar_Estagio(1), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "Estágio Realizado.");
    // No upper bound; not the injured; a player lent out trains with his new
    // club, one on loan here with this one.
    EXPECT_EQ(coluna(forte, "forca") + " " + coluna(ferido, "forca") + " " + coluna(fora, "forca") + " " + coluna(cedido, "forca"),
              "106 99 60 67");
    EXPECT_EQ(principal("d_total"), -600000);
}

TEST_F(Clube, CampRefusedForMoneyYetTheMatchdaysCampIsUsed) {
    clube_divisao_2();
    saldo(-1000000 + 225000);
    Estagio_Feito = 0;
    EXPECT_EQ(recusa(Marcar_Estagio(2)), "Não tem Dinheiro suficiente - Saldo: (-775000)");
    EXPECT_EQ(Estagio_Feito, 1);
    // The cheaper level still fits, exactly down to the floor.
    ASSERT_EQ(Marcar_Estagio(3), Resultado_Negocio::Feito);
    EXPECT_EQ(principal("d_total"), -1000000);
}

TEST_F(Clube, CampOnlyOnFourMatchdaysAndOncePerDeskVisit) {
    // The matchday is checked first.
    for (auto [jornada, feito] : {std::pair{2, 0}, {11, 0}, {34, 0}, {11, 1}}) {
        Jornada_Actual = jornada;
        Estagio_Feito = feito;
        EXPECT_FALSE(Estagio_Permitido()) << jornada;
        EXPECT_EQ(ultima(), "A equipa só pode ir para Estágio nas jornadas: 1, 10, 20, 30");
    }
    Jornada_Actual = 10;
    EXPECT_FALSE(Estagio_Permitido());
    EXPECT_EQ(ultima(), "Os jogadores só podem ir uma vez por jornada para Estágio.");
    Estagio_Feito = 0;
    EXPECT_TRUE(Estagio_Permitido());
}

} // namespace
} // namespace gv
