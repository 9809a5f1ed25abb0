// The match engine: attack ticks at their thresholds, the manager's match
// with its half-time stop, computer line-ups, cup ties played to a winner.

#include <map>

#include "apoio_jornada.h"
#include "matchday/partida.h"

using namespace gv;
using teste::abaixo;
using teste::acima;

namespace {

class Partida : public teste::Base_Jornada {
protected:
    // Starters per line of a club.
    std::map<std::string, int> titulares(const std::string& clube) {
        std::map<std::string, int> r;
        auto rs = Base_Dados->OpenRecordset("SELECT pos, count(*) AS n FROM jogadores WHERE equipa = ? AND joga = 1 "
                                            "GROUP BY pos",
                                            {clube});
        for (; !rs.Eof(); rs.MoveNext()) r[rs["pos"].texto()] = rs["n"].int32();
        return r;
    }
    std::map<std::string, int> linhas(int gk, int df, int md, int av) {
        std::map<std::string, int> r;
        if (gk) r["gk"] = gk;
        if (df) r["df"] = df;
        if (md) r["md"] = md;
        if (av) r["av"] = av;
        return r;
    }
    // The manager at home to a computer club whose fit players per line are given.
    void adversario_fora(int df, int md, int av) {
        clube(Clube_Treinador);
        plantel(Clube_Treinador, 1, 4, 3, 3);
        Base_Dados->Execute("UPDATE jogadores SET joga = 1 WHERE equipa = ?", {Clube_Treinador});
        clube("Visitantes");
        plantel("Visitantes", 2, df, md, av);
        // A strong injured player of each line is never picked.
        for (const char* pos : {"df", "md", "av"}) jogador("Visitantes", pos, 99, 3);
    }
};

// A port that notes what the match looked like when half time came.
struct Porta_Intervalo : Interface_Guionizada {
    int ataques_no_intervalo = -1;
    double media_av_casa_no_intervalo = -1;
    std::function<void()> mudar;
    void intervalo(bool taca, const std::string& casa, const std::string& fora, int gc, int gf) override {
        Interface_Guionizada::intervalo(taca, casa, fora, gc, gf);
        ataques_no_intervalo = Ataques_Casa + Ataques_Fora;
        media_av_casa_no_intervalo = Media_AV_Casa;
        if (mudar) mudar();
    }
};

TEST_F(Partida, AttackTicksScoreOnlyAboveTheirThresholds) {
    struct Caso {
        bool casa;
        double av, gk, r;
        bool ponto;
    };
    const Caso casos[] = {
        // Home forwards beating the goalkeeper need more than 0.7, else more than 0.8.
        {true, 60, 50, 0.7, false},  {true, 60, 50, acima(0.7), true},
        {true, 50, 60, 0.8, false},  {true, 50, 60, acima(0.8), true},
        // Equal averages do not beat the goalkeeper.
        {true, 55, 55, 0.79, false}, {true, 55, 55, 0.81, true},
        // Away: 0.75 and 0.85.
        {false, 60, 50, 0.75, false}, {false, 60, 50, acima(0.75), true},
        {false, 50, 60, 0.85, false}, {false, 50, 60, acima(0.85), true},
        {false, 55, 55, 0.84, false},
    };
    for (const auto& c : casos) {
        Pontos_Golo_Casa = Pontos_Golo_Fora = 0;
        Media_AV_Casa = Media_AV_Fora = c.av;
        Media_GK_Casa = Media_GK_Fora = c.gk;
        Sorteios_Fixados r({c.r});
        c.casa ? Ataque_Casa() : Ataque_Fora();
        EXPECT_EQ(c.casa ? Pontos_Golo_Casa : Pontos_Golo_Fora, c.ponto ? 1 : 0)
            << (c.casa ? "home" : "away") << " av " << c.av << " gk " << c.gk << " r " << c.r;
        EXPECT_EQ(c.casa ? Pontos_Golo_Fora : Pontos_Golo_Casa, 0);
    }
}

TEST_F(Partida, ManagersMatchHasNinetyTwoTicksAndStopsOnceBeforeMinute45sAttack) {
    Porta_Intervalo p;
    Ui_Instalada com(p);
    adversario_fora(5, 3, 2);
    Simular_Jogo(Clube_Treinador, "Visitantes");
    EXPECT_EQ(Ataques_Casa, 46);
    EXPECT_EQ(Ataques_Fora, 46);
    EXPECT_EQ(p.eventos_processados, 92) << "the league match repaints after every tick";
    ASSERT_EQ(p.intervalos.size(), 1u);
    EXPECT_EQ(p.ataques_no_intervalo, 44);
    EXPECT_FALSE(p.intervalos[0].taca);
    EXPECT_EQ(p.intervalos[0].casa, Clube_Treinador);
    EXPECT_EQ(p.intervalos[0].fora, "Visitantes");
    EXPECT_LE(p.intervalos[0].golos_casa, Golos_Casa());

    // Any other match: 47 home and 46 away attacks, no stop.
    clube("Outros");
    plantel("Outros", 2, 6, 6, 4);
    p.eventos_processados = 0;
    Simular_Jogo("Outros", "Visitantes");
    EXPECT_EQ(Ataques_Casa, 47);
    EXPECT_EQ(Ataques_Fora, 46);
    EXPECT_EQ(p.eventos_processados, 93);
    EXPECT_EQ(p.intervalos.size(), 1u);
}

TEST_F(Partida, HalfTimeChangesCountForTheSecondHalf) {
    Porta_Intervalo p;
    Ui_Instalada com(p);
    adversario_fora(5, 3, 2);
    // The manager takes his forwards off at half time.
    p.mudar = [&] {
        Base_Dados->Execute("UPDATE jogadores SET joga = 2 WHERE equipa = ? AND pos = 'av'", {Clube_Treinador});
    };
    Simular_Jogo(Clube_Treinador, "Visitantes");
    EXPECT_GT(p.media_av_casa_no_intervalo, 0);
    EXPECT_EQ(Media_AV_Casa, 0) << "strengths are computed again after half time";
    EXPECT_EQ(N_AV_Casa, 0);
}

TEST_F(Partida, ManagersSideIsMeasuredByHisStartersTheComputersByItsWholeSquad) {
    adversario_fora(5, 3, 2);
    // One manager's forward on the bench, much stronger than the starters.
    jogador(Clube_Treinador, "av", 99, 2);
    Calcular_Forcas_Equipas(Clube_Treinador, "Visitantes");
    EXPECT_DOUBLE_EQ(Media_AV_Casa, (60 + 59 + 58) / 3.0);
    EXPECT_EQ(N_AV_Casa, 3);
    EXPECT_EQ(N_DF_Casa, 4);
    // The computer's averages take every player of the line, injured or not;
    // its counts are the fixed ones of an away side.
    EXPECT_DOUBLE_EQ(Media_AV_Fora, (60 + 59 + 99) / 3.0);
    EXPECT_DOUBLE_EQ(Media_GK_Fora, (60 + 59) / 2.0);
    EXPECT_EQ(N_GK_Fora, 1);
    EXPECT_EQ(N_DF_Fora, 5);
    EXPECT_EQ(N_MD_Fora, 3);
    EXPECT_EQ(N_AV_Fora, 2);
    // The line procedures measure as the engine does.
    EXPECT_DOUBLE_EQ(Media_Forca(Clube_Treinador, "av"), Media_AV_Casa);
    EXPECT_DOUBLE_EQ(Media_Forca("Visitantes", "av"), Media_AV_Fora);
    EXPECT_EQ(Numero_Jogadores_Posicao(Clube_Treinador, "df"), 4);
    Calcular_Forcas_Equipas("Visitantes", Clube_Treinador);
    EXPECT_EQ(N_DF_Casa, 4);
    EXPECT_EQ(N_AV_Casa, 3);
    EXPECT_EQ(Media_MD_Fora, 59) << "manager's starters 60, 59, 58";
}

TEST_F(Partida, ComputerLineUpFallsBackThroughItsFormationsInOrder) {
    struct Caso {
        int df, md, av;          // fit players per line of the computer club
        bool em_casa;            // computer club at home (manager away)
        std::map<std::string, int> esperado;
    };
    const Caso casos[] = {
        {8, 8, 8, true, linhas(1, 4, 3, 3)},    // first choice at home: 4-3-3
        {8, 8, 8, false, linhas(1, 5, 3, 2)},   // first choice away: 5-3-2
        {8, 8, 2, true, linhas(1, 5, 3, 2)},    // two forwards: 4-3-3 is short, 5-3-2 makes eleven
        {8, 2, 8, true, linhas(1, 5, 2, 3)},    // two midfielders: then 5-2-3
        {4, 8, 8, false, linhas(1, 4, 3, 3)},   // four defenders away: 5-3-2 is short, 4-3-3 comes next
        {4, 3, 2, true, linhas(1, 3, 3, 2)},    // short in every formation: the 3-4-3 attempt stays
    };
    int n = 0;
    for (const auto& c : casos) {
        const std::string outro = "Computador " + std::to_string(++n);
        clube(outro);
        plantel(outro, 2, c.df, c.md, c.av);
        for (const char* pos : {"df", "md", "av"}) jogador(outro, pos, 99, 3);
        Clube_Treinador = "Treinador " + std::to_string(n);
        clube(Clube_Treinador);
        plantel(Clube_Treinador, 1, 4, 3, 3);
        if (c.em_casa) Simular_Jogo(outro, Clube_Treinador);
        else Simular_Jogo(Clube_Treinador, outro);
        EXPECT_EQ(titulares(outro), c.esperado) << "case " << n;
        EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 3", {outro}), 3)
            << "injured players stay out";
    }
}

TEST_F(Partida, TwoComputerClubsPickNoLineUp) {
    clube("Alfa");
    clube("Beta");
    plantel("Alfa", 2, 6, 6, 4);
    plantel("Beta", 2, 6, 6, 4);
    Base_Dados->Execute("UPDATE jogadores SET joga = 2 WHERE pos = 'md'");
    Simular_Jogo("Alfa", "Beta");
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE joga = 1"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE joga = 2"), 12);
    EXPECT_EQ(N_DF_Casa, 4);
    EXPECT_EQ(N_AV_Casa, 3);
    EXPECT_EQ(N_DF_Fora, 5);
    EXPECT_EQ(N_AV_Fora, 2);
}

TEST_F(Partida, LevelCupTiesArePlayedOnInBlocksOfTenUntilDecided) {
    clube("Alfa");
    clube("Beta");
    plantel("Alfa", 1, 4, 4, 2);
    plantel("Beta", 1, 4, 4, 2);
    int prolongados = 0;
    for (int i = 0; i < 60; ++i) {
        Simular_Jogo_Taca("Alfa", "Beta");
        EXPECT_NE(Golos_Casa(), Golos_Fora());
        const int extra = Ataques_Casa + Ataques_Fora - 93;
        EXPECT_EQ(extra % 10, 0);
        EXPECT_EQ(Ataques_Casa - Ataques_Fora, 1) << "every block has 5 home and 5 away attacks";
        if (extra > 0) ++prolongados;
    }
    EXPECT_GT(prolongados, 0) << "some ties must have gone to extra time";
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 60);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes WHERE jogos <> 0"), 0) << "a cup match leaves the table";
}

TEST_F(Partida, CupTieThatCannotBeDecidedFailsInsteadOfRunningForEver) {
    clube("Alfa");
    clube("Beta");
    Sorteios_Fixados nunca([] { return 0.0; });
    EXPECT_THROW(Simular_Jogo_Taca("Alfa", "Beta"), Erro_Ronda);
    EXPECT_EQ(Ataques_Casa + Ataques_Fora, 93 + 10 * MAX_BLOCOS_PROLONGAMENTO);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 0);
}

TEST_F(Partida, CupEntrantFromOutsideTheLeaguePicksNoLineUpAndHasNoStrength) {
    Porta_Intervalo p;
    Ui_Instalada com(p);
    clube(Clube_Treinador);
    plantel(Clube_Treinador, 1, 4, 3, 3);
    Base_Dados->Execute("UPDATE jogadores SET joga = 1");
    Simular_Jogo_Taca("Amadores da Aldeia", Clube_Treinador);
    EXPECT_EQ(Media_GK_Casa + Media_DF_Casa + Media_MD_Casa + Media_AV_Casa, 0);
    EXPECT_EQ(N_DF_Casa, 4);
    EXPECT_EQ(N_AV_Casa, 3);
    ASSERT_EQ(p.intervalos.size(), 1u);
    EXPECT_TRUE(p.intervalos[0].taca);
    EXPECT_EQ(p.eventos_processados, 0) << "the cup match does not repaint between ticks";
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 1);
    // Measured as the manager's side, an outsider would count 10 and 1-4-4-2.
    EXPECT_EQ(Media_Forca_Taca("Amadores da Aldeia", "gk"), 10);
    EXPECT_EQ(Numero_Jogadores_Posicao_Taca("Amadores da Aldeia", "md"), 4);
}

} // namespace
