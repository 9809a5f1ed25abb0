// The match engine: attack ticks at their thresholds, the manager's match
// with its half-time stop, line-ups and strengths, cup ties played to a winner.

#include "apoio_jornada.h"
#include "matchday/partida.h"

using namespace gv;
using teste::acima;

namespace {

class Partida : public teste::Base_Jornada {
protected:
    // A computer club with two goalkeepers and the fit players per line
    // given; a strong injured player of each line is never picked.
    void computador(const std::string& nome, int df, int md, int av) {
        db::Transaccao t(*Base_Dados);
        clube(nome);
        plantel(nome, 2, df, md, av);
        for (const char* pos : {"df", "md", "av"}) jogador(nome, pos, 99, 3);
        t.commit();
    }
    // The manager's club: a 4-3-3 of starters, 60 down in each line, and a
    // strong forward on the bench.
    void do_treinador() {
        db::Transaccao t(*Base_Dados);
        clube(Clube_Treinador);
        plantel(Clube_Treinador, 1, 4, 3, 3);
        Base_Dados->Execute("UPDATE jogadores SET joga = 1 WHERE equipa = ?", {Clube_Treinador});
        jogador(Clube_Treinador, "av", 99, 2);
        t.commit();
    }
    // The club's starters per line, as "1-4-3-3".
    std::string formacao(const std::string& clube) {
        std::string r;
        for (const char* pos : {"gk", "df", "md", "av"})
            r += (r.empty() ? "" : "-") + std::to_string(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND "
                                                                "joga = 1 AND pos = ?", {clube, pos}));
        return r;
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
    // Forwards beating the goalkeeper need more than 0.7 at home and 0.75
    // away, else more than 0.8 and 0.85; equal averages do not beat him.
    const struct { bool casa; double av, gk, r; bool ponto; } casos[] = {
        {true, 60, 50, 0.7, false},        {true, 60, 50, acima(0.7), true},   {true, 50, 60, 0.8, false},
        {true, 50, 60, acima(0.8), true},  {true, 55, 55, 0.79, false},        {true, 55, 55, 0.81, true},
        {false, 60, 50, 0.75, false},      {false, 60, 50, acima(0.75), true}, {false, 50, 60, 0.85, false},
        {false, 50, 60, acima(0.85), true}, {false, 55, 55, 0.84, false}};
    for (const auto& c : casos) {
        Pontos_Golo_Casa = Pontos_Golo_Fora = 0;
        Media_AV_Casa = Media_AV_Fora = c.av;
        Media_GK_Casa = Media_GK_Fora = c.gk;
        Sorteios_Fixados r({c.r});
        c.casa ? Ataque_Casa() : Ataque_Fora();
        EXPECT_EQ((std::array{Pontos_Golo_Casa, Pontos_Golo_Fora}),
                  (std::array{int(c.casa && c.ponto), int(!c.casa && c.ponto)}))
            << (c.casa ? "home" : "away") << " av " << c.av << " gk " << c.gk << " r " << c.r;
    }
}

TEST_F(Partida, ManagersMatchesStopOnceAtHalfTimeAndSidesAreMeasuredByTheirOwnRules) {
    Porta_Intervalo p;
    Ui_Instalada com(p);
    do_treinador();
    computador("Visitantes", 5, 3, 2);
    // The manager takes his forwards off at half time.
    p.mudar = [&] {
        Base_Dados->Execute("UPDATE jogadores SET joga = 2 WHERE equipa = ? AND pos = 'av'", {Clube_Treinador});
    };
    Simular_Jogo(Clube_Treinador, "Visitantes");
    // 46 ticks each, a repaint after every one, the stop before the 45th.
    EXPECT_EQ((std::array{Ataques_Casa, Ataques_Fora, p.eventos_processados, p.ataques_no_intervalo}),
              (std::array{46, 46, 92, 44}));
    ASSERT_EQ(p.intervalos.size(), 1u);
    EXPECT_FALSE(p.intervalos[0].taca);
    EXPECT_EQ(p.intervalos[0].casa + " - " + p.intervalos[0].fora, Clube_Treinador + " - Visitantes");
    EXPECT_LE(p.intervalos[0].golos_casa, Golos_Casa());
    // The manager's side by his starters, computed again after half time.
    EXPECT_DOUBLE_EQ(p.media_av_casa_no_intervalo, (60 + 59 + 58) / 3.0);
    EXPECT_EQ((std::array{Media_AV_Casa, N_AV_Casa, N_DF_Casa}), (std::array{0.0, 0.0, 4.0}));
    // The computer's by its whole squad, injured or not, with the fixed counts of its side.
    EXPECT_DOUBLE_EQ(Media_AV_Fora, (60 + 59 + 99) / 3.0);
    EXPECT_DOUBLE_EQ(Media_GK_Fora, (60 + 59) / 2.0);
    EXPECT_EQ((std::array{N_GK_Fora, N_DF_Fora, N_MD_Fora, N_AV_Fora}), (std::array{1.0, 5.0, 3.0, 2.0}));
    Calcular_Forcas_Equipas("Visitantes", Clube_Treinador);
    EXPECT_EQ((std::array{N_DF_Casa, N_AV_Casa, N_DF_Fora, Media_MD_Fora}), (std::array{4.0, 3.0, 4.0, 59.0}));

    // Any other match: 47 home and 46 away attacks, no stop and no line-up picked.
    computador("Outros", 6, 6, 4);
    p.eventos_processados = 0;
    Simular_Jogo("Outros", "Visitantes");
    EXPECT_EQ((std::array{Ataques_Casa, Ataques_Fora, p.eventos_processados}), (std::array{47, 46, 93}));
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = 'Outros' AND joga = 1"), 0);

    // A cup tie away to an entrant from outside the league, who has no
    // strength: the cup match stops without repainting between ticks.
    Simular_Jogo_Taca("Amadores da Aldeia", Clube_Treinador);
    EXPECT_EQ(Media_GK_Casa + Media_DF_Casa + Media_MD_Casa + Media_AV_Casa, 0);
    EXPECT_EQ((std::array{N_DF_Casa, N_AV_Casa}), (std::array{4.0, 3.0}));
    ASSERT_EQ(p.intervalos.size(), 2u);
    EXPECT_TRUE(p.intervalos[1].taca);
    EXPECT_EQ(p.eventos_processados, 93);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 1);
    // Measured as the manager's side, an outsider would count 10 and 1-4-4-2.
    EXPECT_EQ(Media_Forca_Taca("Amadores da Aldeia", "gk"), 10);
    EXPECT_EQ(Numero_Jogadores_Posicao_Taca("Amadores da Aldeia", "md"), 4);
}

TEST_F(Partida, ComputerLineUpFallsBackThroughItsFormationsInOrder) {
    // Fit players per line of the computer club, whether it is at home (the
    // manager away), and the starters it picks.
    const struct { int df, md, av; bool em_casa; const char* esperada; } casos[] = {
        {8, 8, 8, true, "1-4-3-3"},    // first choice at home
        {8, 8, 8, false, "1-5-3-2"},   // first choice away
        {8, 8, 2, true, "1-5-3-2"},    // two forwards: 4-3-3 is short, 5-3-2 next
        {8, 2, 8, true, "1-5-2-3"},    // two midfielders: then 5-2-3
        {4, 8, 8, false, "1-4-3-3"},   // four defenders away: 5-3-2 is short, 4-3-3 next
        {4, 3, 2, true, "1-3-3-2"}};   // short in every one: the 3-4-3 attempt stays
    do_treinador();
    db::Transaccao t(*Base_Dados);   // as in a round
    int n = 0;
    for (const auto& c : casos) {
        const std::string outro = "Computador " + std::to_string(++n);
        computador(outro, c.df, c.md, c.av);
        c.em_casa ? Simular_Jogo(outro, Clube_Treinador) : Simular_Jogo(Clube_Treinador, outro);
        EXPECT_EQ(formacao(outro), c.esperada) << "case " << n;
        EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 3", {outro}), 3)
            << "injured players stay out";
    }
}

TEST_F(Partida, LevelCupTiesArePlayedOnInBlocksOfTenUntilDecidedOrFail) {
    computador("Alfa", 4, 4, 2);
    computador("Beta", 4, 4, 2);
    int prolongados = 0;
    db::Transaccao t(*Base_Dados);   // as in a round
    for (int i = 0; i < 60; ++i) {
        Simular_Jogo_Taca("Alfa", "Beta");
        EXPECT_NE(Golos_Casa(), Golos_Fora());
        const int extra = Ataques_Casa + Ataques_Fora - 93;
        EXPECT_EQ(extra % 10, 0);
        EXPECT_EQ(Ataques_Casa - Ataques_Fora, 1) << "every block has 5 home and 5 away attacks";
        prolongados += extra > 0;
    }
    EXPECT_GT(prolongados, 0) << "some ties must have gone to extra time";
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 60);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes WHERE jogos <> 0"), 0) << "a cup match leaves the table";
    // One that cannot be decided fails instead of running for ever.
    Sorteios_Fixados nunca([] { return 0.0; });
    EXPECT_THROW(Simular_Jogo_Taca("Alfa", "Beta"), Erro_Ronda);
    EXPECT_EQ(Ataques_Casa + Ataques_Fora, 93 + 10 * MAX_BLOCOS_PROLONGAMENTO);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 60);
}

} // namespace
