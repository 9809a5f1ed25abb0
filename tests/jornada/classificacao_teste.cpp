// The league table after a match, places in a division, and the cup
// winner's place in the next draw.

#include "apoio_jornada.h"
#include "matchday/classificacao.h"
#include "matchday/partida.h"

using namespace gv;

namespace {

class Classificacao : public teste::Base_Jornada {
protected:
    struct Linha {
        int jogos, pontos, v, e, d, g_mar, g_suf;
        bool operator==(const Linha&) const = default;
    };
    Linha linha(const std::string& clube) {
        auto rs = Base_Dados->OpenRecordset("SELECT * FROM clubes WHERE clube = ?", {clube});
        return {rs["jogos"].int32(), rs["pontos"].int32(), rs["v"].int32(), rs["e"].int32(),
                rs["d"].int32(),     rs["g_mar"].int32(),  rs["g_suf"].int32()};
    }
    void resultado(int pontos_casa, int pontos_fora) {
        Pontos_Golo_Casa = pontos_casa;
        Pontos_Golo_Fora = pontos_fora;
    }
};

TEST_F(Classificacao, WinDrawAndDefeatAreBookedForBothClubs) {
    clube("Alfa");
    clube("Beta");
    resultado(18, 5);   // 3 - 0: five points are no goal
    Actualizar_Classificacao("Alfa", "Beta");
    EXPECT_EQ(linha("Alfa"), (Linha{1, 3, 1, 0, 0, 3, 0}));
    EXPECT_EQ(linha("Beta"), (Linha{1, 0, 0, 0, 1, 0, 3}));
    resultado(12, 17);  // 2 - 2
    Actualizar_Classificacao("Alfa", "Beta");
    EXPECT_EQ(linha("Alfa"), (Linha{2, 4, 1, 1, 0, 5, 2}));
    EXPECT_EQ(linha("Beta"), (Linha{2, 1, 0, 1, 1, 2, 5}));
    resultado(0, 6);    // 0 - 1: the away club wins
    Actualizar_Classificacao("Alfa", "Beta");
    EXPECT_EQ(linha("Alfa"), (Linha{3, 4, 1, 1, 1, 5, 3}));
    EXPECT_EQ(linha("Beta"), (Linha{3, 4, 1, 1, 1, 3, 5}));
}

TEST_F(Classificacao, PlacesGoByPointsThenGoalDifferenceThenName) {
    // Level on points: the better goal difference first, whatever the goals scored.
    clube("Zulu", 1, 20000, 10, 5, 1);     // +4
    clube("Alfa", 1, 20000, 10, 30, 28);   // +2
    // Level on points and difference: by name, in a person's order.
    clube("bravo", 1, 20000, 10, 3, 1);    // +2
    clube("Águia", 1, 20000, 10, 2, 0);    // +2
    clube("Eco", 1, 20000, 12, 0, 9);
    clube("Outra Divisão", 2, 20000, 50, 50, 0);
    EXPECT_EQ(Posicao_Clube("Eco"), 1);
    EXPECT_EQ(Posicao_Clube("Zulu"), 2);
    EXPECT_EQ(Posicao_Clube("Águia"), 3);
    EXPECT_EQ(Posicao_Clube("Alfa"), 4);
    EXPECT_EQ(Posicao_Clube("bravo"), 5);
    EXPECT_EQ(Posicao_Clube("Outra Divisão"), 1);
    EXPECT_EQ(Posicao_Clube("Fora da Liga"), 0);
}

TEST_F(Classificacao, EighteenClubsArePlacedOneToEighteen) {
    for (int i = 0; i < 18; ++i) clube("Clube " + std::string(1, static_cast<char>('A' + i)), 3, 20000, 3 * i);
    EXPECT_EQ(Posicao_Clube("Clube R"), 1);
    EXPECT_EQ(Posicao_Clube("Clube A"), 18);
}

TEST_F(Classificacao, TheCupWinnerWaitsForTheNextDraw) {
    resultado(7, 13);
    Qualificar_Vencedor_Taca("Alfa", "Amadores");
    resultado(30, 12);
    Qualificar_Vencedor_Taca("Beta", "Gama");
    resultado(12, 12);
    Qualificar_Vencedor_Taca("Delta", "Eco");
    auto rs = Base_Dados->OpenRecordset("SELECT clube FROM clubes_taca_qualif ORDER BY rowid");
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs["clube"].texto(), "Amadores");
    rs.MoveNext();
    EXPECT_EQ(rs["clube"].texto(), "Beta");
}

} // namespace
