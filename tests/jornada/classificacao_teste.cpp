// The league table after a match, places in a division and in the
// round's history, and the crowds and gate money they bring.

#include "apoio_jornada.h"
#include "matchday/assistencia.h"
#include "matchday/classificacao.h"
#include "matchday/memoria_ronda.h"
#include "matchday/partida.h"
#include "matchday/ronda.h"

using namespace gv;
using teste::MAIOR_SORTEIO;

namespace {

class Classificacao : public teste::Base_Jornada {};

TEST_F(Classificacao, WinDrawAndDefeatAreBookedForBothClubs) {
    clube("Alfa");
    clube("Beta");
    // Goal points home and away, then each club's games, points, wins,
    // draws, defeats, goals scored and conceded.
    const struct { int casa, fora; const char *alfa, *beta; } casos[] = {
        {18, 5, "1 3 1 0 0 3 0", "1 0 0 0 1 0 3"},    // 3 - 0: five points are no goal
        {12, 17, "2 4 1 1 0 5 2", "2 1 0 1 1 2 5"},   // 2 - 2
        {0, 6, "3 4 1 1 1 5 3", "3 4 1 1 1 3 5"}};    // 0 - 1: the away club wins
    for (const auto& c : casos) {
        Pontos_Golo_Casa = c.casa;
        Pontos_Golo_Fora = c.fora;
        Actualizar_Classificacao("Alfa", "Beta");
        for (auto [clube, esperado] : {std::pair{"Alfa", c.alfa}, {"Beta", c.beta}})
            EXPECT_EQ(valor("SELECT jogos || ' ' || pontos || ' ' || v || ' ' || e || ' ' || d || ' ' || g_mar || ' ' "
                            "|| g_suf FROM clubes WHERE clube = ?", {clube}).texto(), esperado) << clube;
    }
}

TEST_F(Classificacao, PlacesGoByPointsThenGoalDifferenceThenNameAndBringTheCrowd) {
    db::Transaccao t(*Base_Dados);
    // Level on points: the better goal difference first, whatever the goals scored.
    clube("Zulu", 1, 20000, 10, 5, 1);     // +4
    clube("Alfa", 1, 20000, 10, 30, 28);   // +2
    // Level on points and difference: by name, in a person's order.
    clube("bravo", 1, 20000, 10, 3, 1);    // +2
    clube("Águia", 1, 20000, 10, 2, 0);    // +2
    clube("Eco", 1, 20000, 12, 0, 9);
    clube("Outra Divisão", 2, 20000, 50, 50, 0);
    // A whole division of eighteen, "Clube R" on top.
    for (int i = 0; i < 18; ++i) clube("Clube " + std::string(1, static_cast<char>('A' + i)), 3, 20000, 3 * i);
    t.commit();
    // In the table and in the round's history.
    Jornada_Actual = 7;
    Registar_Historico_Jornada();
    const std::pair<const char*, int> lugares[] = {{"Eco", 1},  {"Zulu", 2},  {"Águia", 3},         {"Alfa", 4},
                                                   {"bravo", 5}, {"Clube R", 1}, {"Outra Divisão", 1}, {"Clube A", 18}};
    for (auto [clube, lugar] : lugares) {
        EXPECT_EQ(Posicao_Clube(clube), lugar) << clube;
        EXPECT_EQ(contar("SELECT pos FROM Historico_Jornadas WHERE jor = 7 AND clube = ?", {clube}), lugar) << clube;
    }
    EXPECT_EQ(Posicao_Clube("Fora da Liga"), 0);
    {
        // While a round plays, its memory gives the same places.
        jornada_interno::Memoria_Ronda memoria;
        for (auto [clube, lugar] : lugares) EXPECT_EQ(Posicao_Clube(clube), lugar) << clube << " in a round";
        EXPECT_EQ(Posicao_Clube("Fora da Liga"), 0);
    }
    EXPECT_EQ(contar("SELECT count(*) FROM Historico_Jornadas"), 24);
    EXPECT_EQ(contar("SELECT sum(pontos) FROM Historico_Jornadas WHERE clube NOT LIKE 'Clube %'"), 102);

    // In 20000 seats, first or eighteenth at home bring 6000 or 333,
    // visiting 4000 or 222; the crowd 6000 to 11999 by the draw; never
    // above the capacity.
    const struct { double r; const char *casa, *fora; int esperado; } casos[] = {
        {0.0, "Eco", "Clube R", 16000},     {0.5, "Eco", "Clube R", 19000},
        {2.0 / 3.0 + 1e-6, "Eco", "Clube R", 20000}, {MAIOR_SORTEIO, "Eco", "Clube R", 20000},
        {0.0, "Clube A", "Clube A", 6555},  {MAIOR_SORTEIO, "Clube A", "Clube A", 12554},
        {0.0, "Clube A", "Clube R", 10333}, {0.0, "Clube R", "Clube A", 12222}};
    for (bool na_ronda : {false, true}) {
        std::optional<jornada_interno::Memoria_Ronda> memoria;
        if (na_ronda) memoria.emplace();
        for (const auto& c : casos) {
            Sorteios_Fixados f({c.r});
            EXPECT_EQ(Calcular_Assistencia(c.casa, c.fora), c.esperado) << c.casa << " " << c.fora << " " << c.r << " " << na_ronda;
        }
    }
}

TEST_F(Classificacao, CupCrowdDependsOnWhoIsInTheLeagueAndReceiptsAreWideTheCupsHalfRoundedToEven) {
    clube("Casa", 1, 10001);
    clube("Outra", 3, 30000);
    for (bool na_ronda : {false, true}) {
        std::optional<jornada_interno::Memoria_Ronda> memoria;
        if (na_ronda) memoria.emplace();
        EXPECT_EQ(Assistencia_Taca("Casa", "Outra"), 10001) << na_ronda;
        EXPECT_EQ(Assistencia_Taca("casa", "Amadores"), 3334) << "a third, rounded; any case of the name";
        EXPECT_EQ(Assistencia_Taca("Amadores", "Casa"), 10000) << na_ronda;
    }
    Base_Dados->Execute("UPDATE clubes SET cap_estadio = 10000 WHERE clube = 'Casa'");
    EXPECT_EQ(Assistencia_Taca("Casa", "Amadores"), 3333);
    EXPECT_EQ((std::array{Receita_Taca(5, 5), Receita_Taca(3, 5), Receita_Taca(4, 5), Receita_Taca(0, 40000)}),
              (std::array{12LL, 8LL, 10LL, 0LL}));
    // A high ticket price and a big crowd no longer wrap around.
    EXPECT_EQ(Receita_Campeonato(32767, 120000), 3932040000LL);
    EXPECT_EQ(Receita_Taca(32767, 120001), 1966036384LL);   // 3932072767 / 2, the half to even
}

} // namespace
