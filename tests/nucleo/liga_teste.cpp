// Calendar, cup draw, run counters, club queries and formations on a real
// league made by a new game.

#include <map>
#include <set>

#include "data/carreira.h"
#include "data/clubes.h"
#include "data/liga.h"
#include "data/tacticas.h"
#include "jogo_apoio.h"

using namespace gv;

namespace {

class Liga : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
    }
    std::vector<std::string> clubes_div(int div) {
        std::vector<std::string> r;
        auto rs = Base_Dados->OpenRecordset("SELECT clube FROM clubes WHERE div = ?", {div});
        for (; !rs.Eof(); rs.MoveNext()) r.push_back(rs["clube"].texto());
        return r;
    }
    void esperar_na_taca(const std::vector<std::string>& clubes) {
        Base_Dados->Execute("DELETE FROM clubes_taca_qualif");
        for (const auto& c : clubes) Base_Dados->Execute("INSERT INTO clubes_taca_qualif (clube) VALUES (?)", {c});
    }
};

TEST_F(Liga, CalendarGivesEveryClubOneMatchAMatchdayAndEachPairTwiceWithVenuesSwapped) {
    EXPECT_EQ(contar("SELECT count(*) FROM jogos"), 918);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos WHERE result IS NOT NULL"), 0);
    for (int div = 1; div <= 3; ++div) {
        std::map<std::pair<std::string, std::string>, int> pares;
        for (int jor = 1; jor <= 34; ++jor) {
            std::set<std::string> vistos;
            auto rs = Base_Dados->OpenRecordset("SELECT casa, fora FROM jogos WHERE jor = ? AND div = ?", {jor, div});
            EXPECT_EQ(rs.RecordCount(), 9);
            for (; !rs.Eof(); rs.MoveNext()) {
                EXPECT_TRUE(vistos.insert(rs["casa"].texto()).second);
                EXPECT_TRUE(vistos.insert(rs["fora"].texto()).second);
                pares[{rs["casa"].texto(), rs["fora"].texto()}]++;
            }
            EXPECT_EQ(vistos.size(), 18u);
        }
        EXPECT_EQ(pares.size(), 306u) << "every ordered pair once: each pair twice, venues swapped";
        for (auto& [par, n] : pares) EXPECT_EQ(pares.count({par.second, par.first}), 1u);
    }
}

TEST_F(Liga, CalendarSlotsFollowThePersonsAlphabeticalOrder) {
    // Give division 3 names whose byte order differs from a person's order.
    const std::vector<std::string> novos{"zebra FC", "Águia Real", "abelha", "Ébano", "Buraco", "émbolo", "Cova",
                                         "dunas", "Farol", "gaivota", "Horta", "ilha", "Jardim", "Lago", "monte",
                                         "Nora", "Olival", "Prado"};
    auto antigos = clubes_div(3);
    ASSERT_EQ(antigos.size(), novos.size());
    for (std::size_t i = 0; i < novos.size(); ++i)
        Base_Dados->Execute("UPDATE clubes SET clube = ? WHERE clube = ?", {novos[i], antigos[i]});
    Reiniciar_Epoca();
    for (int div = 1; div <= 3; ++div) Gerar_Calendario(div);
    const std::vector<std::string> ordem{"abelha", "Águia Real", "Buraco", "Cova", "dunas", "Ébano", "émbolo",
                                         "Farol", "gaivota", "Horta", "ilha", "Jardim", "Lago", "monte", "Nora",
                                         "Olival", "Prado", "zebra FC"};
    auto modelo = Base_Dados->OpenRecordset("SELECT jor, casa, fora FROM jor_aux ORDER BY jor, rowid");
    auto jogos = Base_Dados->OpenRecordset("SELECT jor, casa, fora FROM jogos WHERE div = 3 ORDER BY rowid");
    ASSERT_EQ(modelo.RecordCount(), jogos.RecordCount());
    for (; !modelo.Eof(); modelo.MoveNext(), jogos.MoveNext()) {
        EXPECT_EQ(jogos["jor"].int32(), modelo["jor"].int32());
        EXPECT_EQ(jogos["casa"].texto(), ordem[modelo["casa"].int32() - 1]);
        EXPECT_EQ(jogos["fora"].texto(), ordem[modelo["fora"].int32() - 1]);
    }
}

TEST_F(Liga, SeasonResetClearsStandingsAndIsIdempotent) {
    Base_Dados->Execute("UPDATE clubes SET pontos = 7, jogos = 3, v = 2, e = 1, g_mar = 5, g_suf = 2, taca = 'x'");
    Reiniciar_Epoca();
    Reiniciar_Epoca();
    EXPECT_EQ(contar("SELECT count(*) FROM jogos"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes WHERE pontos + jogos + v + e + d + g_mar + g_suf <> 0 OR taca <> ''"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes"), 54);
}

TEST_F(Liga, CalendarRefusesADivisionTooSmallForTheTemplate) {
    Base_Dados->Execute("UPDATE clubes SET div = 2 WHERE clube = ?", {clubes_div(1).front()});
    Reiniciar_Epoca();
    EXPECT_THROW(Gerar_Calendario(1), db::Erro_BD);
}

TEST_F(Liga, CupDrawOfSixtyFourPairsEveryClubOnce) {
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 32) << "the new game drew the first round";
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 0);
    std::set<std::string> clubes;
    auto rs = Base_Dados->OpenRecordset("SELECT casa, fora, resul FROM jogos_taca");
    for (; !rs.Eof(); rs.MoveNext()) {
        EXPECT_TRUE(clubes.insert(rs["casa"].texto()).second);
        EXPECT_TRUE(clubes.insert(rs["fora"].texto()).second);
        EXPECT_TRUE(rs["resul"].nulo());
    }
    EXPECT_EQ(clubes.size(), 64u);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca"), 64);
    EXPECT_TRUE(Vencedor_Taca.empty());
    EXPECT_TRUE(porta.mensagens.empty());
}

TEST_F(Liga, CupDrawOfThreeLeavesOneWaitingAndOfTwoPlaysTheFinal) {
    esperar_na_taca({"Alfa", "Beta", "Gama"});
    Sortear_Jogos_Taca();
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 1);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 1);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca j INNER JOIN clubes_taca_qualif q "
                     "ON q.clube = j.casa OR q.clube = j.fora"), 0);
    esperar_na_taca({"Alfa", "Beta"});
    Sortear_Jogos_Taca();
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 1);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 0);
    esperar_na_taca({});
    Sortear_Jogos_Taca();
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 0);
    EXPECT_TRUE(porta.mensagens.empty());
}

TEST_F(Liga, CupDrawOfOneAnnouncesTheWinnerInCapitals) {
    esperar_na_taca({"Académico Fontelada"});
    Lingua = "I";
    Sortear_Jogos_Taca();
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Cup winner: ACADÉMICO FONTELADA");
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Informacao);
    EXPECT_EQ(Vencedor_Taca, "Académico Fontelada");
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 1);
    Lingua = "P";
    Sortear_Jogos_Taca();
    EXPECT_EQ(porta.mensagens[1].texto, "Clube vencedor da Taça: ACADÉMICO FONTELADA");
}

TEST_F(Liga, CupDrawsDifferFromOneRoundToTheNext) {
    // The random source is not reseeded inside the draw: two draws of the
    // same clubs in a row give different ties.
    std::vector<std::string> clubes;
    auto rs = Base_Dados->OpenRecordset("SELECT clube FROM clubes_taca");
    for (; !rs.Eof(); rs.MoveNext()) clubes.push_back(rs["clube"].texto());
    auto sorteio = [&] {
        esperar_na_taca(clubes);
        Sortear_Jogos_Taca();
        return Base_Dados->valor("SELECT group_concat(casa || '-' || fora) FROM jogos_taca").texto();
    };
    EXPECT_NE(sorteio(), sorteio());
}

TEST_F(Liga, RunCountersFollowTheResults) {
    struct Passo {
        int m, s;
        std::array<int, 5> depois;  // v, e, d, gc, pc
    };
    const std::vector<Passo> jogos{{2, 0, {1, 0, 0, 1, 0}}, {1, 0, {2, 0, 0, 2, 0}}, {1, 1, {0, 1, 0, 3, 0}},
                                   {0, 3, {0, 0, 1, 0, 1}}, {0, 0, {0, 1, 0, 0, 2}}, {3, 3, {0, 2, 0, 0, 3}}};
    Zerar_V_E_D_GC_PC();
    for (const auto& j : jogos) {
        Registar_Resultado_V_E_D_GC_PC(j.m, j.s);
        std::array<int, 5> agora{Ler_V_E_D("v"), Ler_V_E_D("e"), Ler_V_E_D("d"), Ler_GC_PC("gc"), Ler_GC_PC("pc")};
        EXPECT_EQ(agora, j.depois) << j.m << " - " << j.s;
    }
    EXPECT_EQ(Ler_V_E_D("gc"), 0);
    EXPECT_EQ(Ler_GC_PC("v"), 0);
    Zerar_V_E_D_GC_PC();
    Registar_Resultado_V_E_D_GC_PC(0, 0);
    EXPECT_EQ(Ler_GC_PC("gc"), 1) << "a first draw starts an unbeaten run";
    EXPECT_EQ(Ler_T_Contrato(), 2);
}

TEST_F(Liga, PlacesDivisionsAndStadiums) {
    auto div1 = clubes_div(1);
    for (const auto& c : div1) Base_Dados->Execute("UPDATE clubes SET pontos = 0, g_mar = 0, g_suf = 0 WHERE clube = ?", {c});
    // All level: the order is by name.
    std::string primeiro = *std::min_element(div1.begin(), div1.end(),
                                             [](auto& a, auto& b) { return db::comparar_nomes(a, b) < 0; });
    EXPECT_EQ(Lugar_Clube(primeiro), "1º Lugar");
    Base_Dados->Execute("UPDATE clubes SET pontos = 3 WHERE clube = ?", {div1.back()});
    Lingua = "I";
    EXPECT_EQ(Lugar_Clube(div1.back()), "1º Place");
    EXPECT_EQ(Lugar_Clube(primeiro), "2º Place");
    EXPECT_EQ(Lugar_Clube("Clube Inventado"), "");
    EXPECT_EQ(Divisao_Clube(div1.front()), 1);
    EXPECT_EQ(Divisao_Clube(clubes_div(3).front()), 3);
    EXPECT_EQ(Divisao_Clube("-"), 0);
    std::string so_taca = Base_Dados->valor("SELECT clube FROM clubes_taca WHERE clube NOT IN (SELECT clube FROM clubes)").texto();
    ASSERT_FALSE(so_taca.empty());
    EXPECT_EQ(Divisao_Clube(so_taca), 0);
    EXPECT_EQ(Capacidade_Estadio(div1.front()),
              contar("SELECT cap_estadio FROM clubes WHERE clube = ?", {div1.front()}));
    EXPECT_EQ(Capacidade_Estadio(so_taca), 0);
}

TEST_F(Liga, RandomPickersStayInTheirBandsAndNeverPickTheManager) {
    // Manager's club leads division 1 by far; the others in a known order.
    auto div1 = clubes_div(1);
    Base_Dados->Execute("UPDATE clubes SET pontos = 100 WHERE clube = ?", {Clube_Treinador});
    std::vector<std::string> outros;
    for (const auto& c : div1)
        if (c != Clube_Treinador) outros.push_back(c);
    for (std::size_t i = 0; i < outros.size(); ++i)
        Base_Dados->Execute("UPDATE clubes SET pontos = ? WHERE clube = ?", {50 - static_cast<int>(i), outros[i]});
    auto lugar = [&](const std::string& c) {
        return static_cast<int>(std::find(outros.begin(), outros.end(), c) - outros.begin()) + 1;
    };
    std::set<int> topo, meio, fundo;
    for (int i = 0; i < 400; ++i) {
        topo.insert(lugar(Clube_Aleatorio_Topo(1)));
        meio.insert(lugar(Clube_Aleatorio_Meio(1)));
        fundo.insert(lugar(Clube_Aleatorio_Fundo(1)));
    }
    EXPECT_EQ(topo, (std::set<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(meio, (std::set<int>{5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(fundo, (std::set<int>{13, 14, 15, 16, 17}));
    for (int i = 0; i < 100; ++i) {
        for (const char* pos : Codigos_Posicao) {
            for (auto c : {Clube_Fraco_Posicao(1, pos), Clube_Forte_Posicao(1, pos), Clube_Falta_Posicao(1, pos)}) {
                EXPECT_FALSE(c.empty());
                EXPECT_NE(c, Clube_Treinador);
                EXPECT_EQ(Divisao_Clube(c), 1);
            }
        }
    }
}

TEST_F(Liga, PickersWithNoClubToChooseAnswerEmpty) {
    EXPECT_EQ(Clube_Aleatorio_Topo(4), "");
    EXPECT_EQ(Clube_Forte_Posicao(4, "gk"), "");
    // A division with too few clubs for the bottom band.
    Base_Dados->Execute("UPDATE clubes SET div = 1 WHERE div = 3");
    Base_Dados->Execute("UPDATE clubes SET div = 3 WHERE clube IN (SELECT clube FROM clubes WHERE div = 2 LIMIT 6)");
    EXPECT_EQ(Clube_Aleatorio_Fundo(3), "");
    EXPECT_NE(Clube_Aleatorio_Topo(3), "");
    Base_Dados->Execute("UPDATE clubes SET clube = '  ' WHERE div = 3");
    EXPECT_EQ(Clube_Aleatorio_Topo(3), "") << "blank names are never chosen";
}

class Tacticas : public Liga {
protected:
    struct Combo : Vista_Tacticas {
        std::vector<std::string> itens;
        std::string texto;
        bool vermelho = false;
        void limpar() override { itens.clear(); }
        void acrescentar(const std::string& f) override { itens.push_back(f); }
        void definir_texto(const std::string& f) override { texto = f; }
        void assinalar_incompleta() override { vermelho = true; }
    };
    int joga(int valor, const char* pos = nullptr) {
        if (pos)
            return contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = ? AND pos = ?",
                          {Clube_Treinador, valor, pos});
        return contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = ?", {Clube_Treinador, valor});
    }
    // Leaves `n` available players in a line; the rest are injured.
    void so_disponiveis(const char* pos, int n) {
        Base_Dados->Execute("UPDATE jogadores SET joga = 3 WHERE equipa = ? AND pos = ? AND rowid NOT IN "
                            "(SELECT rowid FROM jogadores WHERE equipa = ? AND pos = ? ORDER BY forca DESC LIMIT ?)",
                            {Clube_Treinador, pos, Clube_Treinador, pos, n});
    }
};

TEST_F(Tacticas, DefaultLineUpIsTheStrongestFourThreeThreeWithOneSubstitutePerLine) {
    EXPECT_EQ(joga(1), 11);
    EXPECT_EQ(joga(2), 4);
    EXPECT_EQ(Tactica_Actual(), "4-3-3");
    EXPECT_EQ(joga(1, "gk"), 1);
    // Every starter is at least as strong as any unpicked player of his line.
    for (const char* pos : Codigos_Posicao) {
        int pior_titular = contar("SELECT min(forca) FROM jogadores WHERE equipa = ? AND pos = ? AND joga = 1",
                                  {Clube_Treinador, pos});
        int melhor_fora = contar("SELECT max(forca) FROM jogadores WHERE equipa = ? AND pos = ? AND joga = 0",
                                 {Clube_Treinador, pos});
        EXPECT_GE(pior_titular, melhor_fora) << pos;
    }
}

TEST_F(Tacticas, DefaultLineUpClearsEarlierPicksButKeepsInjuries) {
    Base_Dados->Execute("UPDATE jogadores SET joga = 1 WHERE equipa = ? AND pos IN ('gk', 'av')", {Clube_Treinador});
    std::string lesionado = Base_Dados->valor("SELECT nome FROM jogadores WHERE equipa = ? AND pos = 'md' "
                                              "ORDER BY forca DESC LIMIT 1", {Clube_Treinador}).texto();
    Base_Dados->Execute("UPDATE jogadores SET joga = 3 WHERE nome = ? AND equipa = ?", {lesionado, Clube_Treinador});
    Escolher_Melhor_Equipa();
    EXPECT_EQ(joga(1), 11);
    EXPECT_EQ(joga(2), 4);
    EXPECT_EQ(joga(1, "gk"), 1);
    EXPECT_EQ(contar("SELECT joga FROM jogadores WHERE nome = ? AND equipa = ?", {lesionado, Clube_Treinador}), 3);
}

TEST_F(Tacticas, ShortLineGivesAllItsPlayersAndNoSubstitute) {
    so_disponiveis("df", 3);
    Escolher_Melhor_Equipa();
    EXPECT_EQ(Tactica_Actual(), "3-3-3");
    EXPECT_EQ(joga(2, "df"), 0);
    Combo c;
    Preencher_Tacticas(c);
    EXPECT_EQ(c.texto, "3-3-3");
    EXPECT_TRUE(c.vermelho) << "3-3-3 does not make ten outfield players";
    EXPECT_EQ(c.itens.front(), "3-3-4");
}

TEST_F(Tacticas, FormationListNeedsEnoughAvailablePlayersInEveryLine) {
    so_disponiveis("df", 3);
    so_disponiveis("md", 3);
    so_disponiveis("av", 3);
    Combo c;
    Preencher_Tacticas(c);
    EXPECT_TRUE(c.itens.empty());
    EXPECT_EQ(c.texto, "3-3-3") << "the stored line-up is shown even when it is not offered";
    EXPECT_TRUE(c.vermelho);
    Base_Dados->Execute("UPDATE jogadores SET joga = 0 WHERE equipa = ? AND joga = 3", {Clube_Treinador});
    Preencher_Tacticas(c);
    EXPECT_EQ(c.itens.size(), Tacticas_Possiveis().size());
    EXPECT_FALSE(c.itens.empty());
}

TEST(Formacoes, ReadBySplittingOnDashes) {
    EXPECT_EQ(ler_formacao("4-4-2").soma(), 10);
    auto f = ler_formacao("10-0-0");
    EXPECT_EQ(f.defesas, 10);
    EXPECT_EQ(f.medios, 0);
    EXPECT_EQ(ler_formacao("3-3-3").soma(), 9);
    EXPECT_EQ(ler_formacao("").soma(), 0);
    for (const char* x : Formacoes) EXPECT_EQ(ler_formacao(x).soma(), 10) << x;
}

} // namespace
