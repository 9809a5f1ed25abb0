// Goal scorers of a side, the entries the match screen shows, and the
// all-time scorers with their tidy-up.

#include "apoio_jornada.h"
#include "matchday/marcadores.h"
#include "matchday/memoria_ronda.h"

using namespace gv;
using teste::abaixo;
using teste::MAIOR_SORTEIO;

namespace {

class Marcadores : public teste::Base_Jornada {
protected:
    int golos_sempre(const std::string& nome, const std::string& equipa) {
        return contar("SELECT golos FROM Melhores_Marcadores_Sempre WHERE nome = ? AND equipa = ? AND sit = 1",
                      {nome, equipa});
    }
    // The minute draw that gives minute m (1 to 93).
    static double minuto(int m) { return (m - 1 + 0.5) / 93.0; }
};

TEST_F(Marcadores, LineCandidateAndMinuteDrawsAtTheirThresholds) {
    // The line: forwards from 0.55, midfielders from 0.25, else defenders.
    EXPECT_EQ(std::string(Posicao_Marcador(0.55)) + Posicao_Marcador(abaixo(0.55)) + Posicao_Marcador(0.25) +
                  Posicao_Marcador(abaixo(0.25)), "avmdmddf");
    // Of three or more candidates only the three strongest can score, by
    // the same thresholds; of one or two, evenly.
    for (auto [n, r, i] : {std::tuple{3, 0.55, 0}, {3, abaixo(0.55), 1}, {7, 0.25, 1}, {7, abaixo(0.25), 2},
                           {2, abaixo(0.5), 0}, {2, 0.5, 1}, {1, MAIOR_SORTEIO, 0}})
        EXPECT_EQ(Candidato_Marcador(n, r), i) << n << " " << r;
    // Minutes of each half and of the whole match.
    const std::tuple<int, double, std::string> minutos[] = {
        {1, 0.0, "1"}, {1, MAIOR_SORTEIO, "45"}, {2, 0.0, "45"}, {2, MAIOR_SORTEIO, "92"},
        {3, 0.0, "1"}, {3, MAIOR_SORTEIO, "93"}, {0, 0.5, ""},   {4, 0.5, ""}};
    for (const auto& [periodo, r, esperado] : minutos) {
        Sorteios_Fixados f({r});
        EXPECT_EQ(Minuto_Golo(periodo), esperado) << periodo << " " << r;
    }
}

TEST_F(Marcadores, EachGoalIsCreditedToTheDrawnCandidateStrongestFirst) {
    db::Transaccao t(*Base_Dados);
    clube("Alfa");
    jogador("Alfa", "gk", 90, 0, "Guarda");
    const long long ids[] = {jogador("Alfa", "md", 50, 0, "Médio"), jogador("Alfa", "av", 70, 0, "Av Forte"),
                             jogador("Alfa", "av", 60, 0, "Av Fraco"), jogador("Alfa", "df", 80, 0, "Df A"),
                             jogador("Alfa", "df", 70, 0, "Df B"), jogador("Alfa", "df", 60, 0, "Df C")};
    t.commit();
    {
        // n = 1: the only midfielder, whatever the draw; n = 2 by halves
        // of a third draw (the second goes unused); n = 3 by 0.55 and 0.25.
        Sorteios_Fixados r({0.3, 0.99, MAIOR_SORTEIO, minuto(10),   // md
                            0.6, 0.99, abaixo(0.5), minuto(20),     // av, first
                            0.6, 0.0, 0.5, minuto(30),              // av, second
                            0.1, 0.55, minuto(40),                  // df, first
                            0.1, 0.3, minuto(50),                   // df, second
                            0.1, 0.2, minuto(60)});                 // df, third
        EXPECT_EQ(Marcadores_Jogo(6, "Alfa", 1),
                  "10'-Médio\t20'-Av Forte\t30'-Av Fraco\t40'-Df A\t50'-Df B\t60'-Df C");
    }
    for (long long id : ids) EXPECT_EQ(campo("golos", id), 1);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE sit = 1"), 6) << "a goal lifts the form counter";
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre WHERE sit = 1 AND golos = 1"), 6);
    EXPECT_EQ(Texto_Marcadores, "60'-Df C");
}

TEST_F(Marcadores, EntriesGoByMinuteThenNameAndTheLatestIsShown) {
    clube("Alfa");
    jogador("Alfa", "av", 70, 0, "Zeca");
    jogador("Alfa", "av", 60, 0, "abel");
    Sorteios_Fixados r({0.9, 0.5, 0.0, minuto(63), 0.9, 0.5, 0.0, minuto(7), 0.9, 0.5, 0.9, minuto(63)});
    EXPECT_EQ(Marcadores_Jogo(3, "Alfa", 1), "07'-Zeca\t63'-abel\t63'-Zeca");
    EXPECT_EQ(Texto_Marcadores, "63'-Zeca");
    EXPECT_EQ(golos_sempre("Zeca", "Alfa"), 2) << "the first goal makes the row, the second raises it";
}

TEST_F(Marcadores, TheManagersScorersAreHisPlayersOnThePitchABorrowedOnesRecordHisOwners) {
    db::Transaccao t(*Base_Dados);
    clube(Clube_Treinador);
    jogador(Clube_Treinador, "av", 99, 2, "No Banco");
    jogador(Clube_Treinador, "av", 98, 0, "Na Bancada");
    const long long emprestado = jogador(Clube_Treinador, "av", 70, 1, "Emprestado");
    // The manager's own player lent to a computer club scores for that club's record.
    const long long cedido = jogador("Outro", "av", 70, 0, "Cedido");
    Base_Dados->Execute("UPDATE jogadores SET emprestado = 1, clube_origem = CASE rowid WHEN ?1 THEN 'Dono FC' "
                        "ELSE ?3 END WHERE rowid IN (?1, ?2)", {emprestado, cedido, Clube_Treinador});
    t.commit();
    {
        Sorteios_Fixados r({0.9, 0.0, 0.0, 0.0, 0.9, 0.0, 0.0, 0.0, 0.9, 0.0, 0.0, 0.0});
        Marcadores_Jogo(2, Clube_Treinador, 1);
        Marcadores_Jogo(1, "Outro", 1);
    }
    EXPECT_EQ(campo("golos", emprestado), 2);
    EXPECT_EQ(contar("SELECT sum(golos) FROM jogadores WHERE equipa = ?", {Clube_Treinador}), 2);
    EXPECT_EQ(golos_sempre("Emprestado", "Dono FC"), 2);
    EXPECT_EQ(golos_sempre("Emprestado", Clube_Treinador), 0);
    EXPECT_EQ(golos_sempre("Cedido", "Outro"), 1);
}

TEST_F(Marcadores, NoEntryWithoutGoalsOrScorersInAnotherModeOrOutsideTheLeague) {
    db::Transaccao t(*Base_Dados);
    clube("Só Guarda-Redes");
    jogador("Só Guarda-Redes", "gk", 70);
    // The manager with no outfield player on the pitch.
    clube(Clube_Treinador);
    jogador(Clube_Treinador, "gk", 70, 1);
    jogador(Clube_Treinador, "av", 70, 2);
    clube("Alfa");
    jogador("Alfa", "av", 70);
    t.commit();
    for (auto [golos, clube] : {std::pair{3, "Só Guarda-Redes"}, {2, Clube_Treinador.c_str()}, {0, "Alfa"}}) {
        Texto_Marcadores = "antes";
        EXPECT_EQ(Marcadores_Jogo(golos, clube, 1), "") << clube;
        EXPECT_EQ(Texto_Marcadores, "") << clube;
    }
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre"), 0);
    Texto_Marcadores = "antes";
    EXPECT_EQ(Marcadores_Jogo(2, "Alfa", 0), "");
    EXPECT_EQ(Texto_Marcadores, "antes") << "another mode keeps the last text";
    int sorteios = 0;
    {
        Sorteios_Fixados contar_sorteios([&] { return ++sorteios, 0.9; });
        EXPECT_EQ(Marcadores_Jogo_Taca(2, "Amadores", 1), "");
        EXPECT_EQ(Texto_Marcadores, "");
        EXPECT_EQ(sorteios, 0) << "a club outside the league draws nothing";
        EXPECT_NE(Marcadores_Jogo_Taca(1, "Alfa", 1), "");
    }
    EXPECT_EQ(contar("SELECT sum(golos) FROM jogadores"), 1);
    // Only midfielders: the line is drawn again until it finds them.
    clube("Só Médios");
    jogador("Só Médios", "md", 70, 0, "Médio");
    Sorteios_Fixados r({0.9, 0.1, 0.3, 0.0, 0.0, 0.0});
    EXPECT_EQ(Marcadores_Jogo(1, "Só Médios", 1), "01'-Médio");
}

TEST_F(Marcadores, ARoundsGoalsAddedUpInMemoryAreBookedAsGoalByGoal) {
    clube("Alfa");
    // Namesakes: one name, club, line and age; one has scored before.
    const long long veterano = jogador("Alfa", "av", 70, 0, "Xavi");
    const long long estreante = jogador("Alfa", "av", 60, 0, "Xavi");
    const long long outro = jogador("Alfa", "md", 60, 0, "Rui");
    Base_Dados->Execute("UPDATE jogadores SET golos = 3 WHERE rowid = ?", {veterano});
    Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, sit, golos) "
                        "VALUES ('Xavi', 'Alfa', 'av', 25, 1, 3)");
    {
        jornada_interno::Memoria_Ronda m;
        for (long long id : {veterano, estreante, outro, veterano, estreante, outro}) m.golo(m.candidato(id), "Alfa");
        m.gravar();
    }
    // Goal by goal: a later goal raises every row of the name, a first goal
    // makes a row of one. The old row takes the veteran's two goals and the
    // newcomer's second; the newcomer's row, his first and the three after
    // it; a player's second goal of the round raises his own row.
    EXPECT_EQ(valor("SELECT group_concat(nome || ' ' || golos, ', ') FROM "
                    "(SELECT * FROM Melhores_Marcadores_Sempre ORDER BY rowid)").texto(),
              "Xavi 6, Xavi 3, Rui 2");
    EXPECT_EQ((std::array{campo("golos", veterano), campo("golos", estreante), campo("golos", outro)}),
              (std::array{5LL, 2LL, 2LL}));
}

TEST_F(Marcadores, TheTidyUpMergesDuplicateRows) {
    // A player who left keeps one row per club, position and age, the best;
    // an active one, one row per club and position holding every goal.
    const std::tuple<const char*, const char*, int, int, int> linhas[] = {
        {"Reformado", "Alfa", 30, 9, 0}, {"Reformado", "Alfa", 30, 12, 0}, {"Reformado", "Alfa", 30, 5, 0},
        {"Reformado", "Alfa", 31, 3, 0}, {"Reformado", "Beta", 30, 4, 0},  {"Activo", "Alfa", 24, 4, 1},
        {"Activo", "Alfa", 25, 6, 1},    {"Activo", "Beta", 25, 2, 1},     {"Sem Clube", "", 25, 7, 1},
        {"Sem Clube", "   ", 25, 7, 0}};
    db::Transaccao t(*Base_Dados);
    for (const auto& [nome, equipa, idade, golos, sit] : linhas)
        Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) "
                            "VALUES (?, ?, 'av', ?, ?, ?)", {nome, equipa, idade, golos, sit});
    t.commit();
    Limpar_Melhores_Marcadores();
    EXPECT_EQ(valor("SELECT group_concat(nome || ' ' || equipa || ' ' || idade || ' ' || golos, ', ') FROM "
                    "(SELECT * FROM Melhores_Marcadores_Sempre ORDER BY rowid)").texto(),
              "Reformado Alfa 30 12, Reformado Alfa 31 3, Reformado Beta 30 4, Activo Alfa 25 10, Activo Beta 25 2");
}

} // namespace
