// Calendar, cup draw, run counters, club queries and formations on a real
// league made by a new game.

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
    std::vector<std::string> coluna(const std::string& sql, const db::Parametros& p = {}) {
        std::vector<std::string> r;
        for (auto rs = Base_Dados->OpenRecordset(sql, p); !rs.Eof(); rs.MoveNext()) r.push_back(rs.campo(0).texto());
        return r;
    }
    std::vector<std::string> clubes_div(int div) { return coluna("SELECT clube FROM clubes WHERE div = ?", {div}); }
    void esperar_na_taca(const std::vector<std::string>& lista) {
        db::Transaccao t(*Base_Dados);
        Base_Dados->Execute("DELETE FROM clubes_taca_qualif");
        for (const auto& c : lista) Base_Dados->Execute("INSERT INTO clubes_taca_qualif (clube) VALUES (?)", {c});
        t.commit();
    }
    std::string sortear(const std::vector<std::string>& lista) {
        esperar_na_taca(lista);
        Sortear_Jogos_Taca();
        return std::to_string(contar("SELECT count(*) FROM jogos_taca")) + " " + std::to_string(contar("SELECT count(*) FROM clubes_taca_qualif"));
    }
};

// Division 3 made again with names whose byte order differs from a
// person's: the template's slots take the clubs in the person's order.
TEST_F(Liga, CalendarGivesEveryClubOneMatchAMatchdayAndFollowsThePersonsOrder) {
    EXPECT_EQ(contar("SELECT count(DISTINCT casa || '|' || fora) FROM jogos j INNER JOIN clubes c ON c.clube = j.casa AND c.div = j.div "
                     "WHERE result IS NULL"), 918);
    EXPECT_EQ(contar("SELECT count(*) FROM (SELECT jor, clube FROM (SELECT jor, casa AS clube FROM jogos UNION ALL SELECT jor, fora FROM jogos) "
                     "GROUP BY jor, clube HAVING count(*) = 1)"), 34 * 54);
    const std::vector<std::string> novos{"zebra FC", "Águia Real", "abelha", "Ébano", "Buraco", "émbolo", "Cova", "dunas", "Farol",
                                         "gaivota", "Horta", "ilha", "Jardim", "Lago", "monte", "Nora", "Olival", "Prado"};
    const std::vector<std::string> ordem{"abelha", "Águia Real", "Buraco", "Cova", "dunas", "Ébano", "émbolo", "Farol", "gaivota",
                                         "Horta", "ilha", "Jardim", "Lago", "monte", "Nora", "Olival", "Prado", "zebra FC"};
    const auto antigos = clubes_div(3);
    ASSERT_EQ(antigos.size(), novos.size());
    db::Transaccao t(*Base_Dados);
    for (std::size_t i = 0; i < novos.size(); ++i) Base_Dados->Execute("UPDATE clubes SET clube = ? WHERE clube = ?", {novos[i], antigos[i]});
    Reiniciar_Epoca();
    Gerar_Calendario(3);
    auto modelo = Base_Dados->OpenRecordset("SELECT jor, casa, fora FROM jor_aux ORDER BY jor, rowid");
    auto jogos = Base_Dados->OpenRecordset("SELECT jor, casa, fora FROM jogos WHERE div = 3 ORDER BY rowid");
    ASSERT_EQ(modelo.RecordCount(), jogos.RecordCount());
    for (; !modelo.Eof(); modelo.MoveNext(), jogos.MoveNext())
        EXPECT_EQ(jogos["jor"].texto() + " " + jogos["casa"].texto() + "-" + jogos["fora"].texto(),
                  modelo["jor"].texto() + " " + ordem[modelo["casa"].int32() - 1] + "-" + ordem[modelo["fora"].int32() - 1]);
    Base_Dados->Execute("UPDATE clubes SET pontos = 7, jogos = 3, v = 2, e = 1, g_mar = 5, g_suf = 2, taca = 'x'");
    Reiniciar_Epoca();
    Reiniciar_Epoca();
    EXPECT_EQ(contar("SELECT count(*) FROM jogos"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes WHERE pontos + jogos + v + e + d + g_mar + g_suf = 0 AND taca = ''"), 54);
    Base_Dados->Execute("UPDATE clubes SET div = 2 WHERE clube = ?", {clubes_div(1).front()});
    EXPECT_THROW(Gerar_Calendario(1), db::Erro_BD);
}

// Three: one waits; two: the final; one: the winner. Two draws in a row
// differ: the random source is not reseeded inside the draw.
TEST_F(Liga, CupDrawsOfAnyNumberOfClubs) {
    EXPECT_EQ(sortear({"Alfa", "Beta", "Gama"}), "1 1");
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca j INNER JOIN clubes_taca_qualif q ON q.clube IN (j.casa, j.fora)"), 0);
    EXPECT_EQ(sortear({"Alfa", "Beta"}), "1 0");
    EXPECT_EQ(sortear({}), "0 0");
    EXPECT_TRUE(porta.mensagens.empty());
    Lingua = "I";
    EXPECT_EQ(sortear({"Académico Fontelada"}), "0 1");
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Cup winner: ACADÉMICO FONTELADA");
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Informacao);
    EXPECT_EQ(Vencedor_Taca, "Académico Fontelada");
    Lingua = "P";
    Sortear_Jogos_Taca();
    EXPECT_EQ(porta.mensagens[1].texto, "Clube vencedor da Taça: ACADÉMICO FONTELADA");
    const auto todos = coluna("SELECT clube FROM clubes_taca");
    const auto jogos = [&] {
        db::Transaccao t(*Base_Dados);
        EXPECT_EQ(sortear(todos), "32 0");
        t.commit();
        return coluna("SELECT casa || '-' || fora FROM jogos_taca");
    };
    EXPECT_NE(jogos(), jogos());
}

TEST_F(Liga, RunCountersFollowTheResults) {
    struct Passo {
        int m, s;
        std::array<int, 5> depois;  // v, e, d, gc, pc
    };
    const Passo jogos[] = {{2, 0, {1, 0, 0, 1, 0}}, {1, 0, {2, 0, 0, 2, 0}}, {1, 1, {0, 1, 0, 3, 0}},
                           {0, 3, {0, 0, 1, 0, 1}}, {0, 0, {0, 1, 0, 0, 2}}, {3, 3, {0, 2, 0, 0, 3}}};
    Zerar_V_E_D_GC_PC();
    for (const auto& j : jogos) {
        Registar_Resultado_V_E_D_GC_PC(j.m, j.s);
        EXPECT_EQ((std::array{Ler_V_E_D("v"), Ler_V_E_D("e"), Ler_V_E_D("d"), Ler_GC_PC("gc"), Ler_GC_PC("pc")}), j.depois) << j.m << "-" << j.s;
    }
    EXPECT_EQ(Ler_V_E_D("gc") + Ler_GC_PC("v"), 0) << "each reader knows only its own counters";
    Zerar_V_E_D_GC_PC();
    Registar_Resultado_V_E_D_GC_PC(0, 0);
    EXPECT_EQ(Ler_GC_PC("gc"), 1) << "a first draw starts an unbeaten run";
    EXPECT_EQ(Ler_T_Contrato(), 2);
}

TEST_F(Liga, PlacesAndDivisions) {
    auto div1 = clubes_div(1);
    Base_Dados->Execute("UPDATE clubes SET pontos = 0, g_mar = 0, g_suf = 0 WHERE div = 1");
    // All level: the order is by name.
    const std::string primeiro = *std::min_element(div1.begin(), div1.end(), [](auto& a, auto& b) { return db::comparar_nomes(a, b) < 0; });
    EXPECT_EQ(Lugar_Clube(primeiro), "1º Lugar");
    Base_Dados->Execute("UPDATE clubes SET pontos = 3 WHERE clube = ?", {div1.back()});
    Lingua = "I";
    EXPECT_EQ(Lugar_Clube(div1.back()) + Lugar_Clube(primeiro) + Lugar_Clube("Clube Inventado"), "1º Place2º Place");
    const std::string so_taca = Base_Dados->valor("SELECT clube FROM clubes_taca WHERE clube NOT IN (SELECT clube FROM clubes)").texto();
    ASSERT_FALSE(so_taca.empty());
    EXPECT_EQ((std::array{Divisao_Clube(div1.front()), Divisao_Clube(clubes_div(3).front()), Divisao_Clube("-"), Divisao_Clube(so_taca)}),
              (std::array{1, 3, 0, 0}));
}

// The manager's club leads division 1 by far, the others in a known order.
TEST_F(Liga, RandomPickersStayInTheirBandsAndNeverPickTheManager) {
    std::vector<std::string> outros;
    db::Transaccao t(*Base_Dados);
    Base_Dados->Execute("UPDATE clubes SET pontos = 100 WHERE clube = ?", {Clube_Treinador});
    for (const auto& c : clubes_div(1))
        if (c != Clube_Treinador) {
            outros.push_back(c);
            Base_Dados->Execute("UPDATE clubes SET pontos = ? WHERE clube = ?", {51 - static_cast<int>(outros.size()), c});
        }
    auto lugar = [&](const std::string& c) { return static_cast<int>(std::find(outros.begin(), outros.end(), c) - outros.begin()) + 1; };
    std::set<int> topo, meio, fundo;
    for (int i = 0; i < 200; ++i) {
        topo.insert(lugar(Clube_Aleatorio_Topo(1)));
        meio.insert(lugar(Clube_Aleatorio_Meio(1)));
        fundo.insert(lugar(Clube_Aleatorio_Fundo(1)));
    }
    EXPECT_EQ(topo, (std::set<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(meio, (std::set<int>{5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(fundo, (std::set<int>{13, 14, 15, 16, 17}));
    for (int i = 0; i < 25; ++i)
        for (const char* pos : Codigos_Posicao)
            for (auto c : {Clube_Fraco_Posicao(1, pos), Clube_Forte_Posicao(1, pos), Clube_Falta_Posicao(1, pos)})
                EXPECT_LE(lugar(c), 17) << "a club of division 1 but the manager's: " << c;
    EXPECT_EQ(Clube_Aleatorio_Topo(4) + Clube_Forte_Posicao(4, "gk"), "");
    Base_Dados->Execute("UPDATE clubes SET div = 1 WHERE div = 3");
    Base_Dados->Execute("UPDATE clubes SET div = 3 WHERE clube IN (SELECT clube FROM clubes WHERE div = 2 LIMIT 6)");
    EXPECT_EQ(Clube_Aleatorio_Fundo(3), "") << "too few for the bottom band";
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
    int joga(int valor, const char* pos = "%") {
        return contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = ? AND pos LIKE ?", {Clube_Treinador, valor, pos});
    }
    // Leaves `n` available players in a line; the rest are injured.
    void so_disponiveis(const char* pos, int n) {
        Base_Dados->Execute("UPDATE jogadores SET joga = 3 WHERE equipa = ? AND pos = ? AND rowid NOT IN "
                            "(SELECT rowid FROM jogadores WHERE equipa = ? AND pos = ? ORDER BY forca DESC LIMIT ?)",
                            {Clube_Treinador, pos, Clube_Treinador, pos, n});
    }
};

// The new game's line-up, and the choice made again over earlier picks.
TEST_F(Tacticas, DefaultLineUpIsTheStrongestFourThreeThreeWithOneSubstitutePerLine) {
    for (int vez = 0; vez < 2; ++vez) {
        EXPECT_EQ(std::tuple(joga(1), joga(2), joga(1, "gk"), Tactica_Actual()), std::tuple(11, 4, 1, std::string("4-3-3"))) << vez;
        // Every starter is at least as strong as any unpicked player of his line.
        for (const char* pos : Codigos_Posicao)
            EXPECT_GE(contar("SELECT min(forca) FROM jogadores WHERE equipa = ? AND pos = ? AND joga = 1", {Clube_Treinador, pos}),
                      contar("SELECT max(forca) FROM jogadores WHERE equipa = ? AND pos = ? AND joga = 0", {Clube_Treinador, pos})) << pos;
        Base_Dados->Execute("UPDATE jogadores SET joga = 1 WHERE equipa = ? AND pos IN ('gk', 'av')", {Clube_Treinador});
        Base_Dados->Execute("UPDATE jogadores SET joga = 3 WHERE rowid = (SELECT rowid FROM jogadores WHERE equipa = ? "
                            "AND pos = 'md' ORDER BY forca DESC LIMIT 1)", {Clube_Treinador});
        Escolher_Melhor_Equipa();
    }
    EXPECT_EQ(joga(3, "md"), 1);
}

TEST_F(Tacticas, ShortLinesGiveAllTheirPlayersAndTheListOffersOnlyWhatTheLinesMake) {
    so_disponiveis("df", 3);
    Escolher_Melhor_Equipa();
    EXPECT_EQ(Tactica_Actual(), "3-3-3");
    EXPECT_EQ(joga(2, "df"), 0);
    Combo c;
    Preencher_Tacticas(c);
    EXPECT_EQ(c.texto, "3-3-3");
    EXPECT_TRUE(c.vermelho) << "3-3-3 does not make ten outfield players";
    EXPECT_EQ(c.itens.front(), "3-3-4");
    so_disponiveis("md", 3);
    so_disponiveis("av", 3);
    c = {};
    Preencher_Tacticas(c);
    EXPECT_TRUE(c.itens.empty());
    EXPECT_EQ(c.texto, "3-3-3") << "the stored line-up is shown even when it is not offered";
    EXPECT_TRUE(c.vermelho);
    Base_Dados->Execute("UPDATE jogadores SET joga = 0 WHERE equipa = ? AND joga = 3", {Clube_Treinador});
    Preencher_Tacticas(c);
    EXPECT_EQ(c.itens.front() + " " + std::to_string(std::count(c.itens.begin(), c.itens.end(), "4-3-3")), "3-3-4 1") << "offered again";
    const auto f = ler_formacao("10-0-0");
    EXPECT_EQ(std::tuple(f.defesas, f.medios, ler_formacao("4-4-2").soma(), ler_formacao("3-3-3").soma(), ler_formacao("").soma()),
              std::tuple(10, 0, 10, 9, 0)) << "read by splitting on dashes";
    for (const char* x : Formacoes) EXPECT_EQ(ler_formacao(x).soma(), 10) << x;
}

} // namespace
