// Injuries of the manager's players, and the players' week after a league
// round and after a cup round.

#include "apoio_jornada.h"
#include "matchday/lesoes.h"
#include "matchday/manutencao.h"

using namespace gv;
using teste::MAIOR_SORTEIO;

namespace {

class Manutencao : public teste::Base_Jornada {
protected:
    long long do_treinador(int sit, int joga, int forca = 50, int lesao = 0) {
        const long long id = jogador(Clube_Treinador, "md", forca, joga);
        Base_Dados->Execute("UPDATE jogadores SET sit = ?, lesionado = ?, lesionado_jor = ? WHERE rowid = ?",
                            {sit, lesao > 0, lesao, id});
        return id;
    }
    // sit, forca, joga, lesionado and lesionado_jor of a player.
    using Estado = std::array<long long, 5>;
    Estado estado(long long id) {
        return {campo("sit", id), campo("forca", id), campo("joga", id), campo("lesionado", id),
                campo("lesionado_jor", id)};
    }
};

TEST_F(Manutencao, ADrawFrom089InjuresOneFitOutfieldStarterEachEquallyLikely) {
    auto lesao = [](std::vector<double> sorteios) {
        Sorteios_Fixados r(std::move(sorteios));
        Verificar_Lesao();
    };
    // Never candidates: a goalkeeper starter, a substitute, a player
    // already injured, another club's starter; with nobody else, no injury.
    db::Transaccao t(*Base_Dados);
    jogador(Clube_Treinador, "gk", 70, 1);
    do_treinador(0, 2);
    do_treinador(0, 1, 50, 5);
    jogador("Outro", "av", 70, 1);
    t.commit();
    lesao({MAIOR_SORTEIO, 0.0, 0.0});
    const long long a = jogador(Clube_Treinador, "df", 60, 1, "Zé Defesa");
    const long long b = jogador(Clube_Treinador, "av", 60, 1, "John Smith"), c = jogador(Clube_Treinador, "md", 60, 1);
    // 0.89 in single precision is the first draw that injures.
    lesao({static_cast<double>(std::nextafter(0.89f, 0.0f)), 0.0, 0.0});
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE lesionado = 1"), 1);
    EXPECT_TRUE(porta.mensagens.empty());
    // The second draw picks among the candidates by equal shares, in stored
    // order; the third, for how long.
    lesao({static_cast<double>(0.89f), 0.0, 0.0});   // the first of three, for 2 rounds counting this one
    lesao({0.95, 0.5, MAIOR_SORTEIO});                // the second of the two left, for 18
    Lingua = std::string("I");
    lesao({0.95, MAIOR_SORTEIO, 0.5});                // the one left, for 10
    EXPECT_EQ((std::array{campo("lesionado_jor", a), campo("lesionado_jor", b), campo("lesionado_jor", c)}),
              (std::array{2LL, 10LL, 18LL}));
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE lesionado = 1 AND joga = 3"), 3) << "out of the team";
    ASSERT_EQ(porta.mensagens.size(), 3u);
    EXPECT_EQ(porta.mensagens[0].texto, "O Jogador Zé Defesa lesionou-se. Fica inactivo 1 jornadas.");
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Informacao);
    EXPECT_EQ(porta.mensagens[2].texto, "The player John Smith have injury. He can't play for 9 matchs.");
}

TEST_F(Manutencao, FormMovesStrengthAtItsLimitsAndInjuriesCountDownAfterLeagueRoundsOnly) {
    // The league resets the form counter at or beyond its limits, the cup only at them.
    const struct { int sit, joga, lesao; Estado liga, taca; } casos[] = {
        {-2, 1, 0, {0, 49, 1, 0, 0}, {0, 49, 1, 0, 0}},     // a tired starter
        {4, 1, 0, {0, 51, 1, 0, 0}, {0, 51, 1, 0, 0}},      // goals took the counter past 3
        {5, 1, 0, {0, 50, 1, 0, 0}, {4, 50, 1, 0, 0}},      // past the limit
        {2, 0, 0, {0, 51, 0, 0, 0}, {0, 51, 0, 0, 0}},      // rested
        {0, 2, 0, {1, 50, 2, 0, 0}, {1, 50, 2, 0, 0}},      // a substitute
        {-2, 3, 0, {-2, 50, 3, 0, 0}, {-2, 50, 3, 0, 0}},   // out injured: he keeps his form
        {0, 3, 1, {1, 50, 0, 0, 0}, {0, 50, 3, 1, 1}},      // back from the league round, counted as unpicked
        {0, 3, 5, {0, 50, 3, 1, 4}, {0, 50, 3, 1, 5}},      // a league round less to go
        {-3, 0, 0, {1, 49, 0, 0, 0}, {1, 49, 0, 0, 0}},     // at the low limit already, then rested
        {-4, 0, 0, {1, 50, 0, 0, 0}, {-3, 50, 0, 0, 0}},    // below it: the league resets, the cup only counts
        {3, 3, 0, {0, 51, 3, 0, 0}, {0, 51, 3, 0, 0}},      // injured at the high limit
        {2, 2, 0, {0, 51, 2, 0, 0}, {0, 51, 2, 0, 0}},      // a substitute reaching it
    };
    for (bool taca : {false, true}) {
        db::Transaccao t(*Base_Dados);
        Base_Dados->Execute("DELETE FROM jogadores");
        std::vector<long long> ids;
        for (const auto& c : casos) ids.push_back(do_treinador(c.sit, c.joga, 50, c.lesao));
        t.commit();
        taca ? Actualizar_Jogadores_Taca() : Actualizar_Jogadores_Jornada();
        for (std::size_t i = 0; i < ids.size(); ++i)
            EXPECT_EQ(estado(ids[i]), taca ? casos[i].taca : casos[i].liga) << (taca ? "cup " : "league ") << i;
    }
}

TEST_F(Manutencao, ComputerLineUpsAreClearedAndTheirPlayersGrowOnFixedMatchdays) {
    const long long outro = jogador("Outro", "av", 60, 1), meu = do_treinador(0, 1, 60);
    Jornada_Actual = 5;
    Actualizar_Jogadores_Jornada();
    EXPECT_EQ(estado(outro), (Estado{0, 60, 0, 0, 0}));
    Jornada_Actual = 4;
    Actualizar_Jogadores_Jornada();
    // The price follows the new strength; the manager's players and line-up are his own.
    EXPECT_EQ((std::array{campo("forca", outro), campo("preco", outro)}), (std::array{61LL, 594750LL}));
    EXPECT_EQ((std::array{campo("forca", meu), campo("joga", meu)}), (std::array{60LL, 1LL}));
    int crescimentos = 0;
    for (int j = 1; j <= 34; ++j) crescimentos += Jornada_De_Crescimento(j);
    EXPECT_EQ(crescimentos, 8);
    // The cup clears the computer line-ups too.
    Base_Dados->Execute("UPDATE jogadores SET joga = 1 WHERE rowid = ?", {outro});
    Actualizar_Jogadores_Taca();
    EXPECT_EQ(campo("joga", outro), 0);
}

TEST_F(Manutencao, PricesFollowEveryBandAndWagesFollowOtherClubsPrices) {
    // Aged 25: (40 - 25) * strength * the band's factor.
    const std::pair<int, long long> faixas[] = {{20, 90000},  {35, 157500},  {36, 216000},   {60, 360000},
                                                {61, 594750}, {75, 731250},  {76, 1026000},  {100, 1350000},
                                                {101, 2272500}, {120, 2700000}};
    db::Transaccao t(*Base_Dados);
    std::vector<long long> ids;
    for (auto [forca, preco] : faixas) ids.push_back(jogador("Outro", "df", forca));
    const long long computador = jogador("Outro", "md", 70), velho = jogador("Outro", "md", 61);
    const long long meu = do_treinador(0, 0, 70), pedido = do_treinador(0, 0, 70), cedido = jogador("Outro", "av", 70);
    Base_Dados->Execute("UPDATE jogadores SET idade = 41 WHERE rowid = ?", {velho});   // a price below zero
    // The manager's player lent out, and one he borrowed.
    Base_Dados->Execute("UPDATE jogadores SET emprestado = 1, clube_origem = CASE rowid WHEN ?1 THEN ?3 "
                        "ELSE 'Outro' END WHERE rowid IN (?1, ?2)", {cedido, pedido, Clube_Treinador});
    // What is not two whole numbers is priced as the engine works it out: no
    // strength keeps the price, no age gives none, a half point falls in the
    // band above, and a product past the whole numbers is a real number.
    const long long sem_forca = jogador("Outro", "df", 50), sem_idade = jogador("Outro", "df", 50),
                    meia = jogador("Outro", "df", 50), enorme = jogador("Outro", "df", 50);
    Base_Dados->Execute("UPDATE jogadores SET forca = NULL, preco = 777 WHERE rowid = ?", {sem_forca});
    Base_Dados->Execute("UPDATE jogadores SET idade = NULL WHERE rowid = ?", {sem_idade});
    Base_Dados->Execute("UPDATE jogadores SET forca = ? WHERE rowid = ?", {35.5, meia});
    Base_Dados->Execute("UPDATE jogadores SET forca = ? WHERE rowid = ?", {4000000000000000000LL, enorme});
    Base_Dados->Execute("UPDATE jogadores SET ordenado = 7");
    t.commit();
    Actualizar_Jogadores_Taca();
    for (std::size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(campo("preco", ids[i]), faixas[i].second) << faixas[i].first;
    EXPECT_EQ(campo("preco", velho), -39650);
    auto preco = [&](long long id) { return valor("SELECT quote(preco) FROM jogadores WHERE rowid = ?", {id}).texto(); };
    EXPECT_EQ((std::array{preco(sem_forca), preco(sem_idade), preco(meia), preco(enorme)}),
              (std::array<std::string, 4>{"777", "NULL", "213000", "9.0e+22"}));
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE ordenado <> 7"), 0) << "the cup leaves wages";
    Actualizar_Jogadores_Jornada();
    EXPECT_EQ(campo("ordenado", computador), 6825) << "a hundredth of 682500";
    EXPECT_EQ(campo("ordenado", velho), -397) << "rounded down below zero too";
    auto ordenado = [&](long long id) { return valor("SELECT quote(ordenado) FROM jogadores WHERE rowid = ?", {id}).texto(); };
    EXPECT_EQ((std::array{ordenado(sem_idade), ordenado(enorme)}), (std::array<std::string, 2>{"NULL", "9.0e+20"}));
    for (long long id : {meu, cedido, pedido}) EXPECT_EQ(campo("ordenado", id), 7);
}

TEST_F(Manutencao, PlayersWithoutAClubGoAndMissingOwnersAreRepaired) {
    jogador("", "md", 50);
    jogador("   ", "md", 50);
    Base_Dados->Execute("INSERT INTO jogadores (nome, pos, forca) VALUES ('Sem Equipa', 'av', 40)");
    const long long sem_dono = jogador("Outro", "av", 50), em_branco = jogador("Outro", "av", 50);
    Base_Dados->Execute("UPDATE jogadores SET clube_origem = CASE rowid WHEN ?1 THEN NULL ELSE '  ' END "
                        "WHERE rowid IN (?1, ?2)", {sem_dono, em_branco});
    Actualizar_Jogadores_Taca();
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores"), 2);
    EXPECT_TRUE(valor("SELECT clube_origem FROM jogadores WHERE rowid = ?", {sem_dono}).nulo());
    Actualizar_Jogadores_Jornada();
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE clube_origem = '0'"), 2);
}

} // namespace
