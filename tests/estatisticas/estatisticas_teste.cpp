// What the statistics, calendar and history screens read and how their
// lines are laid out.

#include <gtest/gtest.h>

#include "data/clubes.h"
#include "jogo_apoio.h"
#include "matchday/classificacao.h"
#include "matchday/ronda.h"
#include "stats/estatisticas.h"

namespace gv {
namespace {

// ---------------------------------------------------------------- a real league

class Calendario : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
    }
    // Writes a score into the club's fixture of matchday jor.
    void resultado(int jor, const std::string& texto) {
        Base_Dados->Execute("UPDATE jogos SET result = ? WHERE jor = ? AND (casa = ? OR fora = ?)",
                            {texto, jor, Clube_Treinador, Clube_Treinador});
    }
    Jogo_Calendario jogo(int jor) { return Calendario_Clube(Clube_Treinador).at(static_cast<std::size_t>(jor - 1)); }
};

TEST_F(Calendario, BeforeTheFirstMatchdayEveryRowIsUnplayedWithTheOpponentsCurrentPlace) {
    auto jogos = Calendario_Clube(Clube_Treinador);
    ASSERT_EQ(jogos.size(), 34u);
    for (int i = 0; i < 34; ++i) {
        const auto& j = jogos[static_cast<std::size_t>(i)];
        EXPECT_EQ(j.jor, i + 1);
        EXPECT_EQ(j.desfecho, Desfecho::Por_Jogar);
        EXPECT_FALSE(j.golos_casa || j.lugar || j.pontos);
        EXPECT_EQ(j.letra_resultado(), "");
        const std::string adversario = j.em_casa ? j.fora : j.casa;
        EXPECT_EQ(j.lugar_adversario, Posicao_Clube(adversario));
        const std::string lugar = std::to_string(j.lugar_adversario);
        if (j.em_casa) {
            EXPECT_EQ(j.texto_casa(), Clube_Treinador);
            EXPECT_EQ(j.texto_fora(), adversario + " (" + lugar + ")");
            EXPECT_EQ(j.letra_local(), "C");
        } else {
            EXPECT_EQ(j.texto_casa(), "(" + lugar + ") " + adversario);
            EXPECT_EQ(j.texto_fora(), Clube_Treinador);
            EXPECT_EQ(j.letra_local(), "F");
        }
    }
}

TEST_F(Calendario, ResultLettersFollowTheSideOfTheClubShownInBothLanguages) {
    // Find a home and an away fixture of the manager's club.
    auto jogos = Calendario_Clube(Clube_Treinador);
    int casa = 0, fora = 0;
    for (const auto& j : jogos) {
        if (j.em_casa && !casa) casa = j.jor;
        if (!j.em_casa && !fora) fora = j.jor;
    }
    ASSERT_TRUE(casa && fora);
    resultado(casa, "2 - 1");
    resultado(fora, "1 - 2");
    EXPECT_EQ(jogo(casa).desfecho, Desfecho::Vitoria_Casa);
    EXPECT_EQ(jogo(casa).letra_resultado(), "V");
    EXPECT_EQ(jogo(fora).desfecho, Desfecho::Vitoria_Fora);
    EXPECT_EQ(jogo(fora).letra_resultado(), "V");
    Lingua = "I";
    EXPECT_EQ(jogo(casa).letra_resultado(), "W");
    EXPECT_EQ(jogo(casa).letra_local(), "H");
    EXPECT_EQ(jogo(fora).letra_local(), "A");
    resultado(casa, "0 - 3");
    EXPECT_EQ(jogo(casa).letra_resultado(), "L");
    resultado(casa, "0 - 0");
    EXPECT_EQ(jogo(casa).letra_resultado(), "D");
    Lingua = "P";
    EXPECT_EQ(jogo(casa).letra_resultado(), "E");
    resultado(fora, "4 - 0");
    EXPECT_EQ(jogo(fora).letra_resultado(), "D");
}

TEST_F(Calendario, ScoresAreReadWholeNotByCharacterPosition) {
    resultado(1, " 10 - 2 ");
    auto j = jogo(1);
    ASSERT_TRUE(j.golos_casa && j.golos_fora);
    EXPECT_EQ(*j.golos_casa, 10);
    EXPECT_EQ(*j.golos_fora, 2);
    EXPECT_EQ(j.desfecho, Desfecho::Vitoria_Casa);
    // A blank score is a match not yet played.
    resultado(1, "  ");
    EXPECT_EQ(jogo(1).desfecho, Desfecho::Por_Jogar);
}

TEST_F(Calendario, APlayedMatchdayShowsTheScoreAndThePlaceAndPointsOfThatMatchday) {
    ASSERT_EQ(Jogar_Ronda_Campeonato(), Resultado_Ronda::Jogada);
    auto j = jogo(1);
    auto r = Ler_Resultado(Base_Dados->valor("SELECT result FROM jogos WHERE jor = 1 AND casa = ?", {j.casa}).texto());
    ASSERT_TRUE(r);
    EXPECT_EQ(*j.golos_casa, r->first);
    EXPECT_EQ(*j.golos_fora, r->second);
    ASSERT_TRUE(j.lugar && j.pontos);
    EXPECT_EQ(*j.lugar, contar("SELECT pos FROM Historico_Jornadas WHERE jor = 1 AND clube = ?", {Clube_Treinador}));
    EXPECT_EQ(*j.pontos, contar("SELECT pontos FROM clubes WHERE clube = ?", {Clube_Treinador}));
    EXPECT_EQ(jogo(2).desfecho, Desfecho::Por_Jogar);
}

TEST_F(Calendario, CupTiesCarryEachClubsDivisionInTheirOrder) {
    auto ties = Jogos_Taca();
    ASSERT_EQ(ties.size(), 32u);
    for (std::size_t i = 1; i < ties.size(); ++i) EXPECT_LE(db::comparar_nomes(ties[i - 1].casa, ties[i].casa), 0);
    for (const auto& e : ties) {
        EXPECT_EQ(e.div_casa, Divisao_Clube(e.casa));
        EXPECT_EQ(e.texto_fora(), e.fora + " (" + std::to_string(e.div_fora) + ")");
    }
    Base_Dados->Execute("UPDATE jogos_taca SET casa = 'Clube de Fora' WHERE rowid = (SELECT min(rowid) FROM jogos_taca)");
    bool visto = false;
    for (const auto& e : Jogos_Taca())
        if (e.casa == "Clube de Fora") visto = e.texto_casa() == "(0) Clube de Fora";
    EXPECT_TRUE(visto);
}

// ---------------------------------------------------------------- a bare database

class Leituras : public teste::Pasta_Temporaria {
protected:
    void SetUp() override {
        Pasta_Temporaria::SetUp();
        Base_Dados = nova_base("jogo.gv");
        Clube_Treinador = "Alfa";
        Epoca_Actual = 2001;
    }
    void exec(const std::string& sql, const db::Parametros& p = {}) { Base_Dados->Execute(sql, p); }
};

TEST_F(Leituras, CupCaptionNamesTheRoundByItsNumberOfTies) {
    EXPECT_EQ(Titulo_Calendario_Taca(32, 1, 1999), "Jogos Taça - 1ª eliminatória  - 1999");
    EXPECT_EQ(Titulo_Calendario_Taca(2, 5, 2000), "Jogos Taça - Meias Finais - 2000");
    EXPECT_EQ(Titulo_Calendario_Taca(1, 6, 2000), "Jogos Taça - Final - 2000");
    EXPECT_EQ(Titulo_Calendario_Taca(0, 7, 2000), "");
    EXPECT_EQ(Titulo_Calendario_Taca(5, 1, 2000), "");
    Lingua = "I";
    EXPECT_EQ(Titulo_Calendario_Taca(32, 1, 1999), "CUP Games - 1st Match - 1999");
    EXPECT_EQ(Titulo_Calendario_Taca(8, 3, 1999), "CUP Matchs - 3rd Match  - 1999");
    EXPECT_EQ(Titulo_Calendario_Taca(2, 5, 1999), "CUP Matchs - Semifinal - 1999");
}

TEST_F(Leituras, GatesComeNewestFirstAndEachTotalCountsItsOwnCompetition) {
    EXPECT_TRUE(Assistencias().empty());
    EXPECT_EQ(Receitas_Competicao("Campeonato"), 0);
    exec("INSERT INTO assistencias (Jornada, Jogo, Tipo, assistencia, receita) VALUES (1, 'Alfa-Beta', 'Campeonato', 1000, 1234567)");
    exec("INSERT INTO assistencias (Jornada, Jogo, Tipo, assistencia, receita) VALUES (5, 'Alfa-Gama', 'Taça', 2000, 50)");
    exec("INSERT INTO assistencias (Jornada, Jogo, Tipo, assistencia, receita) VALUES (5, 'Alfa-Delta', 'Campeonato', 3000, 3)");
    auto v = Assistencias();
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0].jogo, "Alfa-Delta");   // the league match follows the cup tie of its matchday
    EXPECT_EQ(v[1].jogo, "Alfa-Gama");
    EXPECT_EQ(v[2].jornada, 1);
    EXPECT_EQ(Receitas_Competicao("Campeonato"), 1234570);
    EXPECT_EQ(Receitas_Competicao("Taça"), 50);
}

TEST_F(Leituras, PaddedFieldsKeepTheirColumnsWhateverTheTextsLength) {
    EXPECT_EQ(campo_fixo("Benfica", 10), "Benfica   ");
    EXPECT_EQ(campo_fixo("Académica", 10), "Académica ");   // counted in characters, not bytes
    EXPECT_EQ(campo_fixo("Uma Equipa Com Nome Muito Longo", 10), "Uma Equipa");
    EXPECT_EQ(Linha_Media(1, {"Alfa", 62.5}), "1  " + campo_fixo("Alfa", 30) + "62.50");
    EXPECT_EQ(Linha_Media(10, {"Alfa", 7}).substr(0, 4), "10 A");
    std::string l = Linha_Marcador_Epoca(1, {"Um Nome Demasiado Comprido Aqui", "Clube", 7});
    EXPECT_EQ(l.substr(27, 20), campo_fixo("Clube", 20));
    EXPECT_EQ(l.substr(47), " 7");
    EXPECT_EQ(Linha_Marcador_Epoca(12, {"Nome", "Operário Tapada Nova", 10}).substr(3 + 24), "Operário Tapada Nova 10");
}

TEST_F(Leituras, AverageStrengthRanksOnlyClubsWithThatPosition) {
    exec("INSERT INTO jogadores (nome, equipa, pos, forca) VALUES ('a', 'Alfa', 'gk', 60), ('b', 'Alfa', 'gk', 65), "
         "('c', 'Beta', 'gk', 70), ('d', 'Gama', 'df', 90)");
    auto v = Medias_Posicao("gk");
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].clube, "Beta");
    EXPECT_DOUBLE_EQ(v[1].media, 62.5);
    EXPECT_EQ(Medias_Posicao("df").size(), 1u);
}

TEST_F(Leituras, SeasonScorersAreTopTwentyOfTheirCurrentClubsDivisionTiesByName) {
    exec("INSERT INTO clubes (clube, div) VALUES ('Alfa', 1), ('Beta', 2)");
    exec("INSERT INTO jogadores (nome, equipa, golos) VALUES ('Zé', 'Alfa', 7), ('Ana', 'Alfa', 7), ('Rui', 'Beta', 9), "
         "('Nulo', 'Alfa', 0)");
    auto d1 = Melhores_Marcadores_Divisao(1);
    ASSERT_EQ(d1.size(), 2u);
    EXPECT_EQ(d1[0].nome, "Ana");
    EXPECT_EQ(Melhores_Marcadores_Divisao(2).at(0).nome, "Rui");
    EXPECT_TRUE(Melhores_Marcadores_Divisao(3).empty());
    // A move puts the scorer under his new club's division.
    exec("UPDATE jogadores SET equipa = 'Beta' WHERE nome = 'Zé'");
    EXPECT_EQ(Melhores_Marcadores_Divisao(2).size(), 2u);
    for (int i = 0; i < 25; ++i) exec("INSERT INTO jogadores (nome, equipa, golos) VALUES (?, 'Alfa', ?)", {"J" + std::to_string(100 + i), 1 + (i < 19)});
    // Ana with 7, then 19 with two goals: the twentieth is J118; only a tie on goals and name follows him.
    EXPECT_EQ(Melhores_Marcadores_Divisao(1).size(), 20u);
    EXPECT_EQ(Melhores_Marcadores_Divisao(1).back().nome, "J118");
    exec("INSERT INTO jogadores (nome, equipa, golos) VALUES ('J118', 'Alfa', 2)");
    EXPECT_EQ(Melhores_Marcadores_Divisao(1).size(), 21u);
    EXPECT_TRUE(Ha_Golos_Epoca());
    exec("UPDATE jogadores SET golos = 0");
    EXPECT_FALSE(Ha_Golos_Epoca());
}

TEST_F(Leituras, AllTimeScorersKeepTheirUnfilteredRankAndShowWhenTheyStopped) {
    for (int i = 0; i < 105; ++i)
        exec("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, idade, golos, sit) VALUES (?, ?, 25, ?, 1)",
             {"N" + std::to_string(1000 + i), i % 10 == 2 ? "Beta" : "Alfa", 500 - i});
    exec("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, idade, golos, sit, ano) VALUES ('Velho', 'Beta', 36, 450, 0, 2003)");
    auto a_jogar = Marcadores_Sempre(Lista_Sempre::A_Jogar);
    ASSERT_EQ(a_jogar.size(), 100u);
    EXPECT_EQ(a_jogar.back().rank, 100);
    auto beta = Marcadores_Sempre(Lista_Sempre::A_Jogar, "Beta");
    ASSERT_EQ(beta.size(), 10u);
    EXPECT_EQ(beta[0].rank, 3);
    EXPECT_EQ(beta[1].rank, 13);
    auto retirados = Marcadores_Sempre(Lista_Sempre::Retirados);
    ASSERT_EQ(retirados.size(), 1u);
    std::string l = Linha_Marcador_Sempre(retirados[0]);
    EXPECT_EQ(l, campo_fixo("1", 4) + campo_fixo("Velho(2003-36)", 30) + campo_fixo("Beta", 25) + "450");
    EXPECT_EQ(Linha_Marcador_Sempre(a_jogar[0]).substr(4, 30), campo_fixo("N1000", 30));
    // Global: the stopped scorer ranks among everyone.
    auto global = Marcadores_Sempre(Lista_Sempre::Global, "Beta");
    EXPECT_EQ(global[0].rank, 3);
    EXPECT_EQ(global.at(5).nome, "Velho");
}

TEST_F(Leituras, OwnTransfersSplitInAndOutWithSeasonAndTotalAmounts) {
    auto t = Totais_Transferencias_Clube(2001);
    EXPECT_EQ(t.gastos_total + t.receitas_total + t.gastos_epoca + t.receitas_epoca, 0);
    exec("INSERT INTO transferencias (Epoca, Jornada, pos, nome, forca, Tipo, valor) VALUES "
         "(2000, 30, 'gk', 'A (20)', 50, 'C', 100), (2001, 3, 'df', 'B (21)', 50, 'E+', 10), "
         "(2001, 9, 'md', 'C (22)', 50, 'V', 1000), (2000, 2, 'av', 'D (23)', 50, 'E-', 5)");
    t = Totais_Transferencias_Clube(2001);
    EXPECT_EQ(t.gastos_epoca, 10);
    EXPECT_EQ(t.gastos_total, 110);
    EXPECT_EQ(t.receitas_epoca, 1000);
    EXPECT_EQ(t.receitas_total, 1005);
    auto entradas = Transferencias_Clube(true);
    ASSERT_EQ(entradas.size(), 2u);
    EXPECT_EQ(entradas[0].nome, "B (21)");
    EXPECT_EQ(Texto_Tipo_Transferencia(entradas[0].tipo), "Empréstimo");
    auto saidas = Transferencias_Clube(false);
    EXPECT_EQ(Texto_Tipo_Transferencia(saidas[0].tipo), "Venda");
    EXPECT_EQ(Texto_Tipo_Transferencia(saidas[1].tipo), "Empréstimo");
    EXPECT_EQ(Texto_Tipo_Transferencia("X"), "");
}

TEST_F(Leituras, AllTransfersFilterOnTheClubItselfNotOnNamesContainingIt) {
    exec("INSERT INTO transferencias_clubes (jornada, pos, nome, forca, tipo, valor, idade) VALUES "
         "(3, 'gk', 'Um', 50, '(1) Alfa -> Beta (2)', 300, 24), "
         "(7, 'df', 'Dois', 50, '(2) Beta -> Alfa (1)', 100, 25), "
         "(7, 'md', 'Tres', 50, '(1) Alfa Nova -> Gama (3)', 900, 26), "
         "(7, 'av', 'Quatro', 50, '(3) Gama -> Nova Alfa (0)', 200, 27)");
    auto todas = Transferencias_Todas("", Ordem_Transferencias::Jornada);
    ASSERT_EQ(todas.size(), 4u);
    EXPECT_EQ(todas[0].nome, "Tres");     // latest matchday, dearest first
    EXPECT_EQ(todas[3].nome, "Um");
    EXPECT_EQ(todas[0].texto_nome(), "MD - Tres (26)");
    auto alfa = Transferencias_Todas("Alfa", Ordem_Transferencias::Preco);
    ASSERT_EQ(alfa.size(), 2u);
    EXPECT_EQ(alfa[0].nome, "Um");
    EXPECT_EQ(alfa[1].nome, "Dois");
    EXPECT_EQ(Transferencias_Todas("Gama", Ordem_Transferencias::Jornada).size(), 2u);
}

TEST_F(Leituras, ManagersHistoryListsLongerStintFirstAndTotalsIgnoringEmptyCells) {
    EXPECT_FALSE(Ler_Historico_Treinador().total);
    exec("INSERT INTO historico_treinador (ano, clube, div, v, e, d, g_mar, g_suf, pontos, Class, d_in, d_out, taca, div_1) "
         "VALUES (1999, 'Alfa', 1, 20, 5, 9, 45, 30, 65, 1, 1234567, 10, 1, 1), "
         "(2000, 'Beta', 2, 1, 1, 1, 3, 3, 4, 9, 0, 0, NULL, 0), "
         "(2000, 'Gama', 2, 10, 2, 3, 20, 10, 32, 2, 0, 0, 0, 0)");
    auto h = Ler_Historico_Treinador();
    ASSERT_EQ(h.linhas.size(), 3u);
    EXPECT_EQ(h.linhas[0].clube, "Gama");
    EXPECT_EQ(h.linhas[1].celulas[9], "");   // a Null cup shows empty
    EXPECT_EQ(h.linhas[2].celulas[8], "45-30");
    EXPECT_EQ(h.linhas[2].celulas[14], "1,234,567");
    ASSERT_TRUE(h.total);
    EXPECT_EQ(h.total->celulas[1], "TOTAL");
    EXPECT_EQ(h.total->celulas[5], "31");
    EXPECT_EQ(h.total->celulas[9], "1");
    EXPECT_EQ(h.total->celulas[10], "1");
    EXPECT_EQ(h.total->celulas[4], "");
}

TEST_F(Leituras, ClubHistoriesRankBySumOfPlacesAndListOneClubsSeasonsNewestFirst) {
    exec("INSERT INTO historico_clube (clube, pontos_total, g_mar_total, g_suf_total) VALUES ('Gama', 5, 1, 2), ('Beta', 5, 3, 4), ('Alfa', 2, 0, 0)");
    auto c = Historico_Clubes();
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[0].clube, "Alfa");
    EXPECT_EQ(c[1].celulas[0], "2");
    EXPECT_EQ(c[1].clube, "Beta");
    EXPECT_EQ(c[1].celulas[7], "3-4");
    for (int ano : {1999, 2001, 2000})
        exec("INSERT INTO historico_equipas_epoca (clube, ano, g_mar) VALUES ('Beta', ?, '10-5')", {ano});
    auto e = Historico_Clube_Epocas("Beta");
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].celulas[0], "2001");
    EXPECT_EQ(e[2].celulas[8], "10-5");
    EXPECT_TRUE(Historico_Clube_Epocas("Alfa").empty());
}

TEST_F(Leituras, WinnersStayEmptyUntilASeasonHasEndedThenListNewestFirst) {
    exec("INSERT INTO ultimos_venc (Epoca, equipa, Tipo, nome, num) VALUES (1999, 'Alfa', 'T', '', 0)");
    exec("INSERT INTO historico_clube (clube, div_1, taca) VALUES ('Alfa', 2, 1), ('Beta', 3, 0), ('Gama', 2, 0)");
    EXPECT_TRUE(Ler_Vencedores().taca.empty());
    exec("INSERT INTO ultimos_venc (Epoca, equipa, Tipo, nome, num) VALUES (1999, 'Benfas', 'D1', '', 75), "
         "(2000, 'Alfa', 'D1', '', 80), (1999, 'Alfa', 'M2', 'Rui', 21)");
    auto v = Ler_Vencedores();
    ASSERT_EQ(v.campeoes[0].size(), 2u);
    EXPECT_EQ(v.campeoes[0][1], "1999 Benfas" + std::string(15, ' ') + "75 Pts");
    EXPECT_EQ(v.campeoes[0][0].substr(0, 4), "2000");
    EXPECT_EQ(v.taca, std::vector<std::string>{"1999 Alfa"});
    EXPECT_EQ(v.marcadores[1].at(0), "1999 " + campo_fixo("Rui", 20) + campo_fixo("Alfa", 20) + "21 Golos");
    EXPECT_EQ(v.titulos_div1, (std::vector<std::string>{campo_fixo("Beta", 21) + "3", campo_fixo("Alfa", 21) + "2",
                                                         campo_fixo("Gama", 21) + "2"}));
    EXPECT_EQ(v.titulos_taca.size(), 1u);
    Lingua = "I";
    EXPECT_EQ(Ler_Vencedores().marcadores[1].at(0).substr(45), "21 Gols");
}

} // namespace
} // namespace gv
