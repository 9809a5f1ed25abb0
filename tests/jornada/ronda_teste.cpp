// Whole rounds on a real league made by a new game: every match played and
// booked, the table and the round's history consistent with the results,
// the step to the next round, wages and gate money saved with the round,
// and a failed round undone.

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "jogo_apoio.h"
#include "matchday/ronda.h"
#include "matchday/sorteio.h"
#include "platform/falhas.h"

using namespace gv;

namespace {

struct Observador : Observador_Ronda {
    int n_jogos = -1, anuladas = 0;
    std::vector<Linha_Jogo> linhas;
    void inicio(int n) override { n_jogos = n; }
    void resultado(const Linha_Jogo& l) override { linhas.push_back(l); }
    void anulada() override { ++anuladas; }
};

class Ronda : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
        Preco_Bilhete = 15;
        porta.mensagens.clear();
    }
    void TearDown() override {
        desarmar_falhas();
        Com_Mestra::TearDown();
    }
    long principal(const char* coluna) {
        return static_cast<long>(Base_Dados->valor(std::string("SELECT ") + coluna + " FROM principal").inteiro());
    }
    std::string conteudo() { return teste::conteudo_base(*Base_Dados); }
};

TEST(Resultado, ScoresAreReadBackByTheirSeparator) {
    EXPECT_EQ(Texto_Resultado(0, 0) + "|" + Texto_Resultado(12, 7), "0 - 0|12 - 7");
    EXPECT_EQ(Ler_Resultado("10 - 2"), std::make_pair(10, 2));
    EXPECT_EQ(Ler_Resultado("3 - 11"), std::make_pair(3, 11));
    for (const char* mau : {"", "3-1", "a - 1"}) EXPECT_FALSE(Ler_Resultado(mau)) << mau;
}

TEST_F(Ronda, AFailedLeagueRoundLeavesTheFileAsItWasWagesDueTooAndPlayedAgainAddsUp) {
    // The fourth round since the last wages: they are paid with the round.
    Base_Dados->Execute("UPDATE principal SET cont = 3");
    Base_Dados->Execute("UPDATE jogadores SET ordenado = CASE rowid WHEN (SELECT min(rowid) FROM jogadores WHERE "
                        "equipa = ?1) THEN 123456 ELSE 0 END WHERE equipa = ?1", {Clube_Treinador});
    const std::string antes = conteudo();
    const auto bytes = teste::ler_bytes(Ficheiro_Jogo);
    for (const char* ponto : {"jornada.jogo", "ronda.campeonato.gravar"}) {
        Observador obs;
        armar_falha(ponto);
        EXPECT_EQ(Jogar_Ronda_Campeonato(&obs), Resultado_Ronda::Falhada) << ponto;
        EXPECT_EQ((std::array{obs.anuladas, Jornada_Actual, Ronda_Jogada}), (std::array{1, 1, 0}));
        ASSERT_FALSE(porta.mensagens.empty());
        EXPECT_EQ(porta.mensagens.back().icone, Icone::Critico);
        EXPECT_EQ(porta.mensagens.back().texto.rfind("Não foi possível jogar a jornada.", 0), 0u);
        EXPECT_EQ(conteudo(), antes) << ponto;
        EXPECT_EQ(teste::ler_bytes(Ficheiro_Jogo), bytes) << ponto;
    }
    // Played again, with a timer tick while it pumps events, which must not
    // start it a second time.
    struct Porta_Impaciente : Interface_Guionizada {
        std::vector<Resultado_Ronda> dentro;
        void processar_eventos() override {
            if (dentro.empty()) dentro.push_back(Jogar_Ronda_Campeonato());
        }
    } p;
    Ui_Instalada com(p);
    Observador obs;
    const long estadio_antes = principal("d_estadio");
    ASSERT_EQ(Jogar_Ronda_Campeonato(&obs), Resultado_Ronda::Jogada);
    EXPECT_EQ(p.dentro, std::vector{Resultado_Ronda::Ignorada});
    EXPECT_EQ((std::array{Ronda_Jogada, Jornada_Actual, obs.anuladas, obs.n_jogos}), (std::array{1, 2, 0, 27}));
    EXPECT_EQ((std::array{principal("Jornada"), principal("cont"), principal("d_Ord")}), (std::array{2L, 0L, 123456L}));

    // 27 rows, division by division, each as stored.
    ASSERT_EQ(obs.linhas.size(), 27u);
    std::map<std::string, std::pair<int, int>> golos;   // club -> scored, conceded
    for (std::size_t i = 0; i < obs.linhas.size(); ++i) {
        const auto& l = obs.linhas[i];
        EXPECT_EQ(l.linha, static_cast<int>(i) + 1);
        EXPECT_GE(l.divisao, i ? obs.linhas[i - 1].divisao : 1);
        EXPECT_EQ(Ler_Resultado(Base_Dados->valor("SELECT result FROM jogos WHERE jor = 1 AND casa = ? AND fora = ?",
                                                  {l.casa, l.fora}).texto()),
                  std::make_pair(l.golos_casa, l.golos_fora)) << l.casa << " - " << l.fora;
        golos[l.casa] = {l.golos_casa, l.golos_fora};
        golos[l.fora] = {l.golos_fora, l.golos_casa};
        const auto& m = l.marcadores_casa;
        EXPECT_LE(m.empty() ? 0 : 1 + std::count(m.begin(), m.end(), '\t'), l.golos_casa);
        EXPECT_EQ(l.golos_casa > 0, !l.ultimo_casa.empty());
        EXPECT_GT(l.assistencia, 0);
        EXPECT_LE(l.assistencia, contar("SELECT cap_estadio FROM clubes WHERE clube = ?", {l.casa}));
    }
    EXPECT_EQ(golos.size(), 54u) << "every club played once";
    // The table and the round's history agree with the results, club by club.
    auto rs = Base_Dados->OpenRecordset("SELECT c.clube, c.jogos, c.g_mar, c.g_suf, c.pontos, h.pontos AS h FROM "
                                        "clubes c LEFT JOIN Historico_Jornadas h ON h.clube = c.clube AND h.jor = 1");
    for (; !rs.Eof(); rs.MoveNext()) {
        auto [m, s] = golos[rs["clube"].texto()];
        EXPECT_EQ((std::array{rs["jogos"].int32(), rs["g_mar"].int32(), rs["g_suf"].int32(), rs["pontos"].int32(),
                              rs["h"].int32()}),
                  (std::array{1, m, s, m > s ? 3 : m == s ? 1 : 0, m > s ? 3 : m == s ? 1 : 0}));
    }
    EXPECT_EQ(contar("SELECT count(*) FROM Historico_Jornadas"), 54);

    // The manager's match: run counters and, at home, the whole gate.
    auto meu = std::find_if(obs.linhas.begin(), obs.linhas.end(),
                            [](const Linha_Jogo& l) { return l.casa == Clube_Treinador || l.fora == Clube_Treinador; });
    ASSERT_NE(meu, obs.linhas.end());
    const bool em_casa = meu->casa == Clube_Treinador;
    const int saldo_golos = (em_casa ? 1 : -1) * (meu->golos_casa - meu->golos_fora);
    EXPECT_EQ(principal("sit"), 20 + (saldo_golos > 0) - (saldo_golos < 0));
    EXPECT_EQ(principal("v") + principal("e") + principal("d"), 1);
    const long receita = em_casa ? 15L * meu->assistencia : 0;
    EXPECT_EQ(principal("d_estadio") - estadio_antes, receita);
    EXPECT_EQ(contar("SELECT count(*) FROM assistencias WHERE Jogo = ? AND Tipo = 'Campeonato' AND receita = ?",
                     {meu->casa + "-" + meu->fora, receita}),
              em_casa ? 1 : 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE joga <> 0 AND equipa <> ?", {Clube_Treinador}), 0)
        << "the computer line-ups are cleared after the round";
}

TEST_F(Ronda, ACupTieThatWillNotEndFailsTheRoundCleanlyPlayedAgainEveryTieIsDecidedAndTheNextDrawn) {
    const std::string antes = conteudo();
    {
        Sorteios_Fixados nunca([] { return 0.0; });
        EXPECT_EQ(Jogar_Ronda_Taca(), Resultado_Ronda::Falhada);
    }
    ASSERT_FALSE(porta.mensagens.empty());
    EXPECT_EQ(porta.mensagens.back().texto.rfind("Não foi possível jogar a eliminatória da Taça.", 0), 0u);
    EXPECT_EQ(Eliminatoria_Taca, 1);
    EXPECT_EQ(conteudo(), antes);

    Observador obs;
    const std::string tabela = Base_Dados->valor("SELECT group_concat(pontos || jogos) FROM clubes").texto();
    ASSERT_EQ(Jogar_Ronda_Taca(&obs), Resultado_Ronda::Jogada);
    EXPECT_EQ((std::array{Eliminatoria_Taca, Jornada_Actual}), (std::array{2, 1})) << "not a league matchday";
    EXPECT_EQ((std::array{principal("taca"), principal("cont")}), (std::array{2L, 0L}));
    EXPECT_EQ(Base_Dados->valor("SELECT group_concat(pontos || jogos) FROM clubes").texto(), tabela)
        << "the cup leaves the league table";
    ASSERT_EQ(obs.linhas.size(), 32u);
    std::multiset<std::string> vencedores, sorteados;
    bool de_fora = false;
    for (const auto& l : obs.linhas) {
        EXPECT_TRUE(l.taca);
        EXPECT_NE(l.golos_casa, l.golos_fora);
        vencedores.insert(l.vencedor() == 1 ? l.casa : l.fora);
        EXPECT_EQ(l.texto_casa, "(" + std::to_string(l.divisao_casa) + ") " + l.casa);
        EXPECT_EQ(l.texto_fora, l.fora + " (" + std::to_string(l.divisao_fora) + ")");
        de_fora |= l.divisao_casa == 0 || l.divisao_fora == 0;
        // A host from outside the league: 10000 and nobody to score.
        EXPECT_TRUE(l.divisao_casa != 0 || (l.assistencia == 10000 && l.marcadores_casa.empty())) << l.casa;
    }
    EXPECT_TRUE(de_fora) << "the first round has entrants from outside the league";
    // The winners are drawn into the next round with it, each once.
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 0);
    auto rs = Base_Dados->OpenRecordset("SELECT casa, fora, resul FROM jogos_taca");
    EXPECT_EQ(rs.RecordCount(), 16);
    for (; !rs.Eof(); rs.MoveNext()) {
        sorteados.insert({rs["casa"].texto(), rs["fora"].texto()});
        EXPECT_TRUE(rs["resul"].nulo());
    }
    EXPECT_EQ(sorteados, vencedores);
}

TEST_F(Ronda, TheManagersAwayCupTieEarnsHalfTheGate) {
    const std::string anfitriao = Base_Dados->valor("SELECT clube FROM clubes WHERE div = 2 AND clube <> ? "
                                                    "ORDER BY clube", {Clube_Treinador}).texto();
    Base_Dados->Execute("UPDATE clubes SET cap_estadio = 10001 WHERE clube = ?", {anfitriao});
    Base_Dados->Execute("DELETE FROM jogos_taca");
    Base_Dados->Execute("INSERT INTO jogos_taca (casa, fora) VALUES (?, ?)", {anfitriao, Clube_Treinador});
    Preco_Bilhete = 7;
    const long saldo = principal("d_total");
    ASSERT_EQ(Jogar_Ronda_Taca(), Resultado_Ronda::Jogada);
    // A full house of 10001 at 7: 70007, halved to even.
    EXPECT_EQ((std::array{principal("d_estadio"), principal("d_total") - saldo}), (std::array{35004L, 35004L}));
    EXPECT_EQ(Base_Dados->valor("SELECT group_concat(Jogo || ' ' || Tipo || ' ' || assistencia || ' ' || receita) "
                                "FROM assistencias").texto(),
              anfitriao + "-" + Clube_Treinador + " Taça 10001 35004");
    EXPECT_EQ((std::array{principal("v") + principal("e") + principal("d"), principal("sit")}), (std::array{0L, 20L}))
        << "cup results leave the run counters";
}

} // namespace
