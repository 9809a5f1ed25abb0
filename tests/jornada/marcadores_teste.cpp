// Goal scorers of a side, the entries the match screen shows, and the
// all-time scorers with their tidy-up.

#include "apoio_jornada.h"
#include "matchday/marcadores.h"

using namespace gv;
using teste::abaixo;
using teste::MAIOR_SORTEIO;

namespace {

class Marcadores : public teste::Base_Jornada {
protected:
    int golos(long long id) { return contar("SELECT golos FROM jogadores WHERE rowid = ?", {id}); }
    int golos_sempre(const std::string& nome, const std::string& equipa) {
        return contar("SELECT golos FROM Melhores_Marcadores_Sempre WHERE nome = ? AND equipa = ? AND sit = 1",
                      {nome, equipa});
    }
    void sempre(const std::string& nome, const std::string& equipa, int idade, int golos, int sit) {
        Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) "
                            "VALUES (?, ?, 'av', ?, ?, ?)",
                            {nome, equipa, idade, golos, sit});
    }
    // The minute draw that gives minute m (1 to 93).
    static double minuto(int m) { return (m - 1 + 0.5) / 93.0; }
};

TEST_F(Marcadores, LineAndCandidateDrawsAtTheirThresholds) {
    EXPECT_STREQ(Posicao_Marcador(0.55), "av");
    EXPECT_STREQ(Posicao_Marcador(abaixo(0.55)), "md");
    EXPECT_STREQ(Posicao_Marcador(0.25), "md");
    EXPECT_STREQ(Posicao_Marcador(abaixo(0.25)), "df");
    // Three or more candidates: only the three strongest can score.
    for (int n : {3, 7}) {
        EXPECT_EQ(Candidato_Marcador(n, 0.55), 0);
        EXPECT_EQ(Candidato_Marcador(n, abaixo(0.55)), 1);
        EXPECT_EQ(Candidato_Marcador(n, 0.25), 1);
        EXPECT_EQ(Candidato_Marcador(n, abaixo(0.25)), 2);
    }
    // One or two: evenly.
    EXPECT_EQ(Candidato_Marcador(2, abaixo(0.5)), 0);
    EXPECT_EQ(Candidato_Marcador(2, 0.5), 1);
    EXPECT_EQ(Candidato_Marcador(1, MAIOR_SORTEIO), 0);
}

TEST_F(Marcadores, EachGoalIsCreditedToTheDrawnCandidateStrongestFirst) {
    clube("Alfa");
    jogador("Alfa", "gk", 90, 0, "Guarda");
    long long md = jogador("Alfa", "md", 50, 0, "Único Médio");
    long long av1 = jogador("Alfa", "av", 70, 0, "Avançado Forte");
    long long av2 = jogador("Alfa", "av", 60, 0, "Avançado Médio");
    long long df[3] = {jogador("Alfa", "df", 80, 0, "Defesa A"), jogador("Alfa", "df", 70, 0, "Defesa B"),
                       jogador("Alfa", "df", 60, 0, "Defesa C")};
    {
        // n = 1: the only midfielder, whatever the draw; n = 2 by halves
        // of a third draw (the second goes unused); n = 3 by 0.55 and 0.25.
        Sorteios_Fixados r({0.3, 0.99, MAIOR_SORTEIO, minuto(10),    // md
                            0.6, 0.99, abaixo(0.5), minuto(20),      // av, first
                            0.6, 0.0, 0.5, minuto(30),               // av, second
                            0.1, 0.55, minuto(40),             // df, first
                            0.1, 0.3, minuto(50),              // df, second
                            0.1, 0.2, minuto(60)});            // df, third
        EXPECT_EQ(Marcadores_Jogo(6, "Alfa", 1),
                  "10'-Único Médio\t20'-Avançado Forte\t30'-Avançado Médio\t40'-Defesa A\t50'-Defesa B\t60'-Defesa C");
    }
    for (long long id : {md, av1, av2, df[0], df[1], df[2]}) EXPECT_EQ(golos(id), 1);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE sit = 1"), 6) << "a goal lifts the form counter";
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre WHERE sit = 1 AND golos = 1 AND equipa = 'Alfa'"), 6);
    EXPECT_EQ(Texto_Marcadores, "60'-Defesa C");
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

TEST_F(Marcadores, TheManagersScorersAreHisPlayersOnThePitch) {
    clube(Clube_Treinador);
    jogador(Clube_Treinador, "av", 99, 2, "No Banco");
    jogador(Clube_Treinador, "av", 98, 0, "Na Bancada");
    long long titular = jogador(Clube_Treinador, "av", 50, 1, "Em Campo");
    Sorteios_Fixados r({0.9, 0.0, 0.0, 0.0});
    Marcadores_Jogo(1, Clube_Treinador, 1);
    EXPECT_EQ(golos(titular), 1);
    EXPECT_EQ(contar("SELECT sum(golos) FROM jogadores"), 1);
}

TEST_F(Marcadores, ABorrowedScorersAllTimeGoalGoesToHisOwningClub) {
    clube(Clube_Treinador);
    long long emprestado = jogador(Clube_Treinador, "av", 70, 1, "Emprestado");
    Base_Dados->Execute("UPDATE jogadores SET emprestado = 1, clube_origem = 'Dono FC' WHERE rowid = ?", {emprestado});
    // The manager's own player lent to a computer club scores for that club's record.
    long long cedido = jogador("Outro", "av", 70, 0, "Cedido");
    Base_Dados->Execute("UPDATE jogadores SET emprestado = 1, clube_origem = ? WHERE rowid = ?",
                        {Clube_Treinador, cedido});
    {
        Sorteios_Fixados r({0.9, 0.0, 0.0, 0.0, 0.9, 0.0, 0.0, 0.0});
        Marcadores_Jogo(2, Clube_Treinador, 1);
    }
    {
        Sorteios_Fixados r({0.9, 0.0, 0.0, 0.0});
        Marcadores_Jogo(1, "Outro", 1);
    }
    EXPECT_EQ(golos(emprestado), 2);
    EXPECT_EQ(golos_sempre("Emprestado", "Dono FC"), 2);
    EXPECT_EQ(golos_sempre("Emprestado", Clube_Treinador), 0);
    EXPECT_EQ(golos_sempre("Cedido", "Outro"), 1);
}

TEST_F(Marcadores, ASideWithNobodyToScoreGetsNoEntry) {
    clube("Só Guarda-Redes");
    jogador("Só Guarda-Redes", "gk", 70);
    EXPECT_EQ(Marcadores_Jogo(3, "Só Guarda-Redes", 1), "");
    EXPECT_EQ(Texto_Marcadores, "");
    // The manager with no outfield player on the pitch.
    clube(Clube_Treinador);
    jogador(Clube_Treinador, "gk", 70, 1);
    jogador(Clube_Treinador, "av", 70, 2);
    EXPECT_EQ(Marcadores_Jogo(2, Clube_Treinador, 1), "");
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre"), 0);
    EXPECT_EQ(contar("SELECT sum(golos) FROM jogadores"), 0);
    // Only midfielders: the line is drawn again until it finds them.
    clube("Só Médios");
    jogador("Só Médios", "md", 70, 0, "Médio");
    Sorteios_Fixados r({0.9, 0.1, 0.3, 0.0, 0.0, 0.0});
    EXPECT_EQ(Marcadores_Jogo(1, "Só Médios", 1), "01'-Médio");
}

TEST_F(Marcadores, NoGoalsOtherModesAndCupOutsiders) {
    clube("Alfa");
    jogador("Alfa", "av", 70);
    Texto_Marcadores = "antes";
    EXPECT_EQ(Marcadores_Jogo(0, "Alfa", 1), "");
    EXPECT_EQ(Texto_Marcadores, "");
    Texto_Marcadores = "antes";
    EXPECT_EQ(Marcadores_Jogo(2, "Alfa", 0), "");
    EXPECT_EQ(Texto_Marcadores, "antes") << "another mode keeps the last text";
    int sorteios = 0;
    Sorteios_Fixados contar_sorteios([&] { ++sorteios; return 0.9; });
    EXPECT_EQ(Marcadores_Jogo_Taca(2, "Amadores", 1), "");
    EXPECT_EQ(Texto_Marcadores, "");
    EXPECT_EQ(sorteios, 0) << "a club outside the league draws nothing";
    EXPECT_NE(Marcadores_Jogo_Taca(1, "Alfa", 1), "");
    EXPECT_EQ(contar("SELECT sum(golos) FROM jogadores"), 1);
}

TEST_F(Marcadores, MinutesOfEachPeriod) {
    struct Caso {
        int periodo;
        double r;
        std::string minuto;
    };
    const Caso casos[] = {{1, 0.0, "1"},  {1, MAIOR_SORTEIO, "45"}, {2, 0.0, "45"}, {2, MAIOR_SORTEIO, "92"},
                          {3, 0.0, "1"},  {3, MAIOR_SORTEIO, "93"}, {0, 0.5, ""},   {4, 0.5, ""}};
    for (const auto& c : casos) {
        Sorteios_Fixados r({c.r});
        EXPECT_EQ(Minuto_Golo(c.periodo), c.minuto) << c.periodo << " " << c.r;
    }
}

TEST_F(Marcadores, TheTidyUpMergesDuplicateRows) {
    // A player who left: one row per club, position and age, the best.
    sempre("Reformado", "Alfa", 30, 9, 0);
    sempre("Reformado", "Alfa", 30, 12, 0);
    sempre("Reformado", "Alfa", 30, 5, 0);
    sempre("Reformado", "Alfa", 31, 3, 0);      // another age stays
    sempre("Reformado", "Beta", 30, 4, 0);      // another club stays
    // An active player: one row per club and position holding every goal.
    sempre("Activo", "Alfa", 24, 4, 1);
    sempre("Activo", "Alfa", 25, 6, 1);
    const long long mais_golos = Base_Dados->ultimo_rowid();
    sempre("Activo", "Beta", 25, 2, 1);
    sempre("Sem Clube", "", 25, 7, 1);
    sempre("Sem Clube", "   ", 25, 7, 0);
    Limpar_Melhores_Marcadores();
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre"), 5);
    EXPECT_EQ(contar("SELECT golos FROM Melhores_Marcadores_Sempre WHERE nome = 'Reformado' AND equipa = 'Alfa' "
                     "AND idade = 30"),
              12);
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre WHERE nome = 'Reformado'"), 3);
    auto rs = Base_Dados->OpenRecordset(
        "SELECT rowid AS id, golos, idade FROM Melhores_Marcadores_Sempre WHERE nome = 'Activo' AND equipa = 'Alfa'");
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs["id"].inteiro(), mais_golos);
    EXPECT_EQ(rs["golos"].int32(), 10);
    EXPECT_EQ(rs["idade"].int32(), 25);
    EXPECT_EQ(golos_sempre("Activo", "Beta"), 2);
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre WHERE nome = 'Sem Clube'"), 0);
}

} // namespace
