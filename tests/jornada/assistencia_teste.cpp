// Attendance of league and cup matches and the receipts of the gate.

#include "apoio_jornada.h"
#include "matchday/assistencia.h"

using namespace gv;
using teste::MAIOR_SORTEIO;

namespace {

class Assistencia : public teste::Base_Jornada {
protected:
    // Two divisions of 18; club "<div>-<k>" is k-th in its division.
    void duas_divisoes(int cap) {
        for (int div = 1; div <= 2; ++div)
            for (int k = 1; k <= 18; ++k) clube(std::to_string(div) + "-" + std::to_string(k), div, cap, 100 - k);
    }
    int com_sorteio(double r, const std::string& casa, const std::string& fora) {
        Sorteios_Fixados f({r});
        return Calcular_Assistencia(casa, fora);
    }
};

TEST_F(Assistencia, FirstAgainstFirstFillsTheStadiumFromTwoThirdsOfTheDraw) {
    duas_divisoes(20000);
    // 6000 for the home club, 4000 for the visitor, 6000 to 11999 of crowd.
    EXPECT_EQ(com_sorteio(0.0, "1-1", "2-1"), 16000);
    EXPECT_EQ(com_sorteio(0.5, "1-1", "2-1"), 19000);
    EXPECT_EQ(com_sorteio(2.0 / 3.0 + 1e-6, "1-1", "2-1"), 20000);
    EXPECT_EQ(com_sorteio(MAIOR_SORTEIO, "1-1", "2-1"), 20000) << "never above the capacity";
}

TEST_F(Assistencia, EighteenthAgainstEighteenthDrawsBetweenItsBounds) {
    duas_divisoes(18000);
    // 300 for the home club, 200 for the visitor, 5400 to 10799 of crowd.
    EXPECT_EQ(com_sorteio(0.0, "1-18", "2-18"), 5900);
    EXPECT_EQ(com_sorteio(MAIOR_SORTEIO, "1-18", "2-18"), 11299);
    EXPECT_EQ(com_sorteio(0.5, "1-18", "2-18"), 300 + 8100 + 200);
    // The visitor's place counts less than the host's.
    EXPECT_LT(com_sorteio(0.0, "1-18", "2-1"), com_sorteio(0.0, "1-1", "2-18"));
}

TEST_F(Assistencia, CupCrowdDependsOnWhoIsInTheLeague) {
    clube("Casa", 1, 10001);
    clube("Outra", 3, 30000);
    EXPECT_EQ(Assistencia_Taca("Casa", "Outra"), 10001);
    EXPECT_EQ(Assistencia_Taca("Casa", "Amadores"), 3334) << "a third, rounded";
    EXPECT_EQ(Assistencia_Taca("Amadores", "Casa"), 10000);
    Base_Dados->Execute("UPDATE clubes SET cap_estadio = 10000 WHERE clube = 'Casa'");
    EXPECT_EQ(Assistencia_Taca("Casa", "Amadores"), 3333);
}

TEST_F(Assistencia, ReceiptsAreWideAndTheCupHalfRoundsToEven) {
    EXPECT_EQ(Receita_Taca(5, 5), 12);
    EXPECT_EQ(Receita_Taca(3, 5), 8);
    EXPECT_EQ(Receita_Taca(4, 5), 10);
    EXPECT_EQ(Receita_Taca(0, 40000), 0);
    // A high ticket price and a big crowd no longer wrap around.
    EXPECT_EQ(Receita_Campeonato(32767, 120000), 3932040000LL);
    EXPECT_EQ(Receita_Taca(32767, 120001), 1966036384LL);   // 3932072767 / 2, the half to even
}

} // namespace
