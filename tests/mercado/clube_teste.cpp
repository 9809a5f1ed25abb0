// The club's business: stadium seats and the training camp.

#include "apoio_mercado.h"
#include "data/clubes.h"
#include "market/estadio.h"
#include "market/estagio.h"

namespace gv {
namespace {

class Estadio : public teste::Mercado {
protected:
    void capacidade(long c) {
        Base_Dados->Execute("UPDATE clubes SET cap_estadio = ? WHERE clube = ?", {c, Clube_Treinador});
    }
};

TEST_F(Estadio, SeatRulesAndPrice) {
    capacidade(95000);
    saldo(1000000);
    EXPECT_EQ(Ampliar_Estadio(999), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "Tem que comprar pelo menos 1000 lugares.");
    EXPECT_EQ(Ampliar_Estadio(0), Resultado_Negocio::Recusado) << "an empty box counts as no seats";
    EXPECT_EQ(Ampliar_Estadio(5001), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "A capacidade Maxima é de 100000 lugares.");
    ASSERT_EQ(Ampliar_Estadio(5000), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "Estadio Ampliado em 5000 lugares.");
    EXPECT_EQ(Capacidade_Estadio(Clube_Treinador), 100000);
    EXPECT_EQ(principal("d_total"), 1000000 - 5000 * 150);
    EXPECT_EQ(principal("d_out"), 750000);
}

TEST_F(Estadio, TheSpendingFloor) {
    capacidade(20000);
    saldo(-850000);   // 1,000 seats cost 150,000: exactly down to the floor
    ASSERT_EQ(Ampliar_Estadio(1000), Resultado_Negocio::Feito);
    EXPECT_EQ(principal("d_total"), -1000000);
    saldo(-849999);
    EXPECT_EQ(Ampliar_Estadio(1001), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "Não tem Dinheiro suficiente - Saldo: (-849999)");
    // Already past the floor: refused before the seat rules.
    saldo(-1000001);
    EXPECT_EQ(Ampliar_Estadio(10), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "Não tem Dinheiro suficiente");
    EXPECT_EQ(Capacidade_Estadio(Clube_Treinador), 21000);
}

TEST_F(Estadio, Gauge) {
    EXPECT_FLOAT_EQ(Fraccao_Estadio(50000), 0.5f);
    EXPECT_EQ(Texto_Estadio(50000), "50,000 Lugares");
    Lingua = "I";
    EXPECT_EQ(Texto_Estadio(1234), "1,234 Seats");
}

class Estagio : public teste::Mercado {
protected:
    // A division 2 club with wage bill 40,000 and 20,000 seats.
    void clube_divisao_2() {
        Base_Dados->Execute("UPDATE clubes SET div = 2, cap_estadio = 20000 WHERE clube = ?", {Clube_Treinador});
        Base_Dados->Execute("UPDATE jogadores SET ordenado = 0 WHERE equipa = ?", {Clube_Treinador});
        Base_Dados->Execute("UPDATE jogadores SET ordenado = 30000 WHERE rowid = (SELECT min(rowid) FROM jogadores "
                            "WHERE equipa = ?)",
                            {Clube_Treinador});
        // Lent out: still counted in the wage bill.
        long long fora = jogador(outro, "df", 24, 50, 0);
        Base_Dados->Execute("UPDATE jogadores SET ordenado = 10000, emprestado = 1, clube_origem = ? WHERE rowid = ?",
                            {Clube_Treinador, fora});
    }
};

TEST_F(Estagio, PriceFromWagesSeatsAndDivision) {
    clube_divisao_2();
    EXPECT_EQ(Preco_Estagio(3), 225000);   // (40,000 + 20,000) * 1.5 * 2.5
    EXPECT_EQ(Preco_Estagio(2), 300000);
    EXPECT_EQ(Preco_Estagio(1), 600000);
}

TEST_F(Estagio, WhoGainsStrength) {
    clube_divisao_2();
    const long long ferido = jogador(Clube_Treinador, "md", 25, 99, 0, "Ferido");
    Base_Dados->Execute("UPDATE jogadores SET joga = 3 WHERE rowid = ?", {ferido});
    const long long forte = jogador(Clube_Treinador, "md", 25, 99, 0, "Forte");
    const long long fora = jogador(outro, "av", 25, 60, 0, "Fora");
    Base_Dados->Execute("UPDATE jogadores SET emprestado = 1, clube_origem = ? WHERE rowid = ?", {Clube_Treinador, fora});
    const long long cedido = jogador(Clube_Treinador, "av", 25, 60, 0, "Cedido");
    Base_Dados->Execute("UPDATE jogadores SET emprestado = 1, clube_origem = ? WHERE rowid = ?", {outro, cedido});
    saldo(0);
    const long preco = Preco_Estagio(1);
    ASSERT_EQ(Marcar_Estagio(1), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "Estágio Realizado.");
    EXPECT_EQ(coluna(forte, "forca"), "106") << "no upper bound";
    EXPECT_EQ(coluna(ferido, "forca"), "99");
    EXPECT_EQ(coluna(fora, "forca"), "60") << "a player lent out trains with his new club";
    EXPECT_EQ(coluna(cedido, "forca"), "67") << "a player on loan here trains too";
    EXPECT_EQ(principal("d_total"), -preco);
}

TEST_F(Estagio, RefusedForMoneyYetTheMatchdaysCampIsUsed) {
    clube_divisao_2();
    saldo(-1000000 + 225000);
    Estagio_Feito = 0;
    EXPECT_EQ(Marcar_Estagio(2), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "Não tem Dinheiro suficiente - Saldo: (-775000)");
    EXPECT_EQ(Estagio_Feito, 1);
    // The cheaper level still fits, exactly down to the floor.
    ASSERT_EQ(Marcar_Estagio(3), Resultado_Negocio::Feito);
    EXPECT_EQ(principal("d_total"), -1000000);
}

TEST_F(Estagio, OnlyOnFourMatchdaysAndOncePerDeskVisit) {
    for (int j : {2, 11, 34}) {
        Jornada_Actual = j;
        EXPECT_FALSE(Estagio_Permitido()) << j;
        EXPECT_EQ(ultima(), "A equipa só pode ir para Estágio nas jornadas: 1, 10, 20, 30");
    }
    Jornada_Actual = 11;
    Estagio_Feito = 1;
    EXPECT_FALSE(Estagio_Permitido());
    EXPECT_EQ(ultima(), "A equipa só pode ir para Estágio nas jornadas: 1, 10, 20, 30") << "the matchday comes first";
    Jornada_Actual = 10;
    EXPECT_FALSE(Estagio_Permitido());
    EXPECT_EQ(ultima(), "Os jogadores só podem ir uma vez por jornada para Estágio.");
    Estagio_Feito = 0;
    EXPECT_TRUE(Estagio_Permitido());
}

} // namespace
} // namespace gv
