// Whole rounds on a real league made by a new game: every match played and
// booked, the table consistent with the results, the round history, the
// step to the next round, wages, gate money, and a failed round undone.

#include <map>

#include "data/esquema.h"
#include "data/financas.h"
#include "jogo_apoio.h"
#include "matchday/assistencia.h"
#include "matchday/classificacao.h"
#include "matchday/partida.h"
#include "matchday/ronda.h"
#include "matchday/sorteio.h"
#include "platform/falhas.h"
#include "platform/texto.h"

using namespace gv;

namespace {

struct Observador : Observador_Ronda {
    int n_jogos = -1;
    std::vector<Linha_Jogo> linhas;
    int anuladas = 0;
    void inicio(int n) override { n_jogos = n; }
    void resultado(const Linha_Jogo& l) override { linhas.push_back(l); }
    void anulada() override { ++anuladas; }
};

int entradas(const std::string& lista) {
    if (lista.empty()) return 0;
    return 1 + static_cast<int>(std::count(lista.begin(), lista.end(), '\t'));
}

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
    // Every table's rows, to tell whether anything changed.
    std::string conteudo() { return teste::conteudo_base(*Base_Dados); }
    long principal(const char* coluna) {
        return static_cast<long>(Base_Dados->valor(std::string("SELECT ") + coluna + " FROM principal").inteiro());
    }
    std::string um_clube(int div) {
        return Base_Dados->valor("SELECT clube FROM clubes WHERE div = ? AND clube <> ? ORDER BY clube",
                                 {div, Clube_Treinador})
            .texto();
    }
};

TEST(Resultado, ScoresAreReadBackByTheirSeparator) {
    EXPECT_EQ(Texto_Resultado(0, 0), "0 - 0");
    EXPECT_EQ(Ler_Resultado("10 - 2"), std::make_pair(10, 2));
    EXPECT_EQ(Ler_Resultado("3 - 11"), std::make_pair(3, 11));
    EXPECT_EQ(Ler_Resultado(Texto_Resultado(12, 7)), std::make_pair(12, 7));
    EXPECT_FALSE(Ler_Resultado(""));
    EXPECT_FALSE(Ler_Resultado("3-1"));
    EXPECT_FALSE(Ler_Resultado("a - 1"));
}

TEST_F(Ronda, ALeagueRoundPlaysEveryFixtureAndTheTableAddsUp) {
    Observador obs;
    const long estadio_antes = principal("d_estadio");
    ASSERT_EQ(Jogar_Ronda_Campeonato(&obs), Resultado_Ronda::Jogada);
    EXPECT_EQ(Ronda_Jogada, 1);
    EXPECT_EQ(Jornada_Actual, 2);
    EXPECT_EQ(principal("Jornada"), 2);
    EXPECT_EQ(principal("cont"), 1);

    // 27 rows, division by division, each as stored.
    EXPECT_EQ(obs.n_jogos, 27);
    ASSERT_EQ(obs.linhas.size(), 27u);
    std::map<std::string, std::pair<int, int>> golos;   // club -> scored, conceded
    std::map<int, int> pontos_div, golos_div;
    for (std::size_t i = 0; i < obs.linhas.size(); ++i) {
        const auto& l = obs.linhas[i];
        EXPECT_EQ(l.linha, static_cast<int>(i) + 1);
        if (i > 0) {
            EXPECT_GE(l.divisao, obs.linhas[i - 1].divisao);
        }
        auto guardado = Ler_Resultado(
            Base_Dados->valor("SELECT result FROM jogos WHERE jor = 1 AND casa = ? AND fora = ?", {l.casa, l.fora})
                .texto());
        ASSERT_TRUE(guardado) << l.casa << " - " << l.fora;
        EXPECT_EQ(*guardado, std::make_pair(l.golos_casa, l.golos_fora));
        golos[l.casa] = {l.golos_casa, l.golos_fora};
        golos[l.fora] = {l.golos_fora, l.golos_casa};
        pontos_div[l.divisao] += l.vencedor() == 0 ? 2 : 3;
        golos_div[l.divisao] += l.golos_casa + l.golos_fora;
        EXPECT_LE(entradas(l.marcadores_casa), l.golos_casa);
        EXPECT_EQ(l.golos_casa > 0, !l.ultimo_casa.empty());
        EXPECT_GT(l.assistencia, 0);
        EXPECT_LE(l.assistencia, contar("SELECT cap_estadio FROM clubes WHERE clube = ?", {l.casa}));
        EXPECT_EQ(l.texto_assistencia, formatar_dinheiro(l.assistencia));
    }
    EXPECT_EQ(golos.size(), 54u) << "every club played once";
    EXPECT_EQ(contar("SELECT count(*) FROM jogos WHERE result IS NOT NULL"), 27);

    // The table agrees with the results, club by club and in each division.
    auto rs = Base_Dados->OpenRecordset("SELECT * FROM clubes");
    for (; !rs.Eof(); rs.MoveNext()) {
        auto [m, s] = golos[rs["clube"].texto()];
        EXPECT_EQ(rs["jogos"].int32(), 1);
        EXPECT_EQ(rs["g_mar"].int32(), m);
        EXPECT_EQ(rs["g_suf"].int32(), s);
        EXPECT_EQ(rs["pontos"].int32(), m > s ? 3 : m == s ? 1 : 0);
    }
    for (int div = 1; div <= 3; ++div) {
        EXPECT_EQ(contar("SELECT sum(pontos) FROM clubes WHERE div = ?", {div}), pontos_div[div]);
        EXPECT_EQ(contar("SELECT sum(g_mar) FROM clubes WHERE div = ?", {div}), golos_div[div]);
        EXPECT_EQ(contar("SELECT sum(g_suf) FROM clubes WHERE div = ?", {div}), golos_div[div]);
    }

    // The round's history: one row per club with its points and place.
    EXPECT_EQ(contar("SELECT count(*) FROM Historico_Jornadas WHERE jor = 1"), 54);
    EXPECT_EQ(contar("SELECT count(*) FROM Historico_Jornadas h INNER JOIN clubes c ON c.clube = h.clube "
                     "WHERE h.pontos <> c.pontos"),
              0);
    auto h = Base_Dados->OpenRecordset("SELECT clube, pos FROM Historico_Jornadas");
    for (; !h.Eof(); h.MoveNext()) EXPECT_EQ(h["pos"].int32(), Posicao_Clube(h["clube"].texto()));

    // The manager's match: run counters and gate money.
    auto meu = std::find_if(obs.linhas.begin(), obs.linhas.end(),
                            [](const Linha_Jogo& l) { return l.casa == Clube_Treinador || l.fora == Clube_Treinador; });
    ASSERT_NE(meu, obs.linhas.end());
    const bool em_casa = meu->casa == Clube_Treinador;
    const int marcados = em_casa ? meu->golos_casa : meu->golos_fora;
    const int sofridos = em_casa ? meu->golos_fora : meu->golos_casa;
    EXPECT_EQ(principal("sit"), 20 + (marcados > sofridos) - (marcados < sofridos));
    EXPECT_EQ(principal("v") + principal("e") + principal("d"), 1);
    if (em_casa) {
        EXPECT_EQ(principal("d_estadio") - estadio_antes, 15L * meu->assistencia);
        EXPECT_EQ(contar("SELECT count(*) FROM assistencias WHERE Jogo = ? AND Tipo = 'Campeonato' AND receita = ?",
                         {meu->casa + "-" + meu->fora, 15 * meu->assistencia}),
                  1);
    } else {
        EXPECT_EQ(principal("d_estadio"), estadio_antes);
        EXPECT_EQ(contar("SELECT count(*) FROM assistencias"), 0);
    }
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE joga <> 0 AND equipa <> ?", {Clube_Treinador}), 0)
        << "the computer line-ups are cleared after the round";
    EXPECT_EQ(obs.anuladas, 0);
}

TEST_F(Ronda, ATimerTickDuringTheRoundDoesNotStartItAgain) {
    struct Porta_Impaciente : Interface_Guionizada {
        std::vector<Resultado_Ronda> dentro;
        void processar_eventos() override {
            if (dentro.empty()) dentro.push_back(Jogar_Ronda_Campeonato());
        }
    } p;
    Ui_Instalada com(p);
    ASSERT_EQ(Jogar_Ronda_Campeonato(), Resultado_Ronda::Jogada);
    ASSERT_EQ(p.dentro.size(), 1u);
    EXPECT_EQ(p.dentro[0], Resultado_Ronda::Ignorada);
    EXPECT_EQ(Jornada_Actual, 2);
    EXPECT_EQ(contar("SELECT count(*) FROM Historico_Jornadas"), 54);
}

TEST_F(Ronda, WagesArePaidAfterEveryFourthLeagueRound) {
    const long ordenados = Total_Ordenados();
    for (int ronda = 1; ronda <= 4; ++ronda) {
        porta.mensagens.erase(std::remove_if(porta.mensagens.begin(), porta.mensagens.end(),
                                             [](const Mensagem& m) { return m.texto.rfind("O Jogador", 0) == 0; }),
                              porta.mensagens.end());
        ASSERT_EQ(Jogar_Ronda_Campeonato(), Resultado_Ronda::Jogada);
        EXPECT_EQ(principal("cont"), ronda % 4);
        EXPECT_EQ(principal("d_Ord"), ronda < 4 ? 0 : ordenados) << "round " << ronda;
    }
    ASSERT_FALSE(porta.mensagens.empty());
    EXPECT_EQ(porta.mensagens.back().texto, "Ordenados Pagos: " + formatar_dinheiro(ordenados));
    EXPECT_EQ(Jornada_Actual, 5);
    EXPECT_EQ(contar("SELECT count(DISTINCT jor) FROM Historico_Jornadas"), 4);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes WHERE jogos <> 4"), 0);
}

TEST_F(Ronda, AFailedLeagueRoundLeavesTheFileAsItWasAndCanBePlayedAgain) {
    const std::string antes = conteudo();
    const auto bytes = teste::ler_bytes(Ficheiro_Jogo);
    for (const char* ponto : {"jornada.jogo", "ronda.campeonato.gravar"}) {
        Observador obs;
        armar_falha(ponto);
        EXPECT_EQ(Jogar_Ronda_Campeonato(&obs), Resultado_Ronda::Falhada) << ponto;
        EXPECT_EQ(obs.anuladas, 1);
        ASSERT_FALSE(porta.mensagens.empty());
        EXPECT_EQ(porta.mensagens.back().icone, Icone::Critico);
        EXPECT_EQ(porta.mensagens.back().texto.rfind("Não foi possível jogar a jornada.", 0), 0u);
        EXPECT_EQ(Jornada_Actual, 1);
        EXPECT_EQ(Ronda_Jogada, 0);
        EXPECT_EQ(conteudo(), antes) << ponto;
        EXPECT_EQ(teste::ler_bytes(Ficheiro_Jogo), bytes) << ponto;
    }
    ASSERT_EQ(Jogar_Ronda_Campeonato(), Resultado_Ronda::Jogada);
    EXPECT_EQ(Jornada_Actual, 2);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos WHERE jor = 1 AND result IS NOT NULL"), 27);
}

TEST_F(Ronda, ACupRoundDecidesEveryTieAndQualifiesItsWinners) {
    Observador obs;
    const std::string tabela = Base_Dados->valor("SELECT group_concat(pontos || jogos) FROM clubes").texto();
    ASSERT_EQ(Jogar_Ronda_Taca(&obs), Resultado_Ronda::Jogada);
    EXPECT_EQ(Eliminatoria_Taca, 2);
    EXPECT_EQ(principal("taca"), 2);
    EXPECT_EQ(Jornada_Actual, 1) << "a cup round is not a league matchday";
    EXPECT_EQ(principal("cont"), 0);
    ASSERT_EQ(obs.linhas.size(), 32u);
    std::multiset<std::string> vencedores;
    for (const auto& l : obs.linhas) {
        EXPECT_TRUE(l.taca);
        EXPECT_NE(l.golos_casa, l.golos_fora);
        vencedores.insert(l.vencedor() == 1 ? l.casa : l.fora);
        EXPECT_EQ(l.texto_casa, "(" + std::to_string(l.divisao_casa) + ") " + l.casa);
        EXPECT_EQ(l.texto_fora, l.fora + " (" + std::to_string(l.divisao_fora) + ")");
        if (l.divisao_casa == 0) {
            EXPECT_EQ(l.assistencia, 10000);
            EXPECT_TRUE(l.marcadores_casa.empty());
        }
    }
    // The winners are drawn into the next round with it, each once.
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 0);
    std::multiset<std::string> sorteados;
    auto rs = Base_Dados->OpenRecordset("SELECT casa, fora, resul FROM jogos_taca");
    EXPECT_EQ(rs.RecordCount(), 16);
    for (; !rs.Eof(); rs.MoveNext()) {
        sorteados.insert(rs["casa"].texto());
        sorteados.insert(rs["fora"].texto());
        EXPECT_TRUE(rs["resul"].nulo());
    }
    EXPECT_EQ(sorteados, vencedores);
    EXPECT_EQ(Base_Dados->valor("SELECT group_concat(pontos || jogos) FROM clubes").texto(), tabela)
        << "the cup leaves the league table";
    EXPECT_TRUE(std::any_of(obs.linhas.begin(), obs.linhas.end(), [](auto& l) { return l.divisao_fora == 0 || l.divisao_casa == 0; }));
}

TEST_F(Ronda, TheManagersAwayCupTieEarnsHalfTheGate) {
    const std::string anfitriao = um_clube(2);
    Base_Dados->Execute("DELETE FROM jogos_taca");
    Base_Dados->Execute("INSERT INTO jogos_taca (casa, fora) VALUES (?, ?)", {anfitriao, Clube_Treinador});
    Preco_Bilhete = 7;
    const int cap = contar("SELECT cap_estadio FROM clubes WHERE clube = ?", {anfitriao});
    const long long receita = Receita_Taca(7, cap);
    const long saldo = principal("d_total");
    Observador obs;
    ASSERT_EQ(Jogar_Ronda_Taca(&obs), Resultado_Ronda::Jogada);
    ASSERT_EQ(obs.linhas.size(), 1u);
    EXPECT_EQ(obs.linhas[0].assistencia, cap);
    EXPECT_EQ(principal("d_estadio"), receita);
    EXPECT_EQ(principal("d_total"), saldo + receita);
    auto rs = Base_Dados->OpenRecordset("SELECT * FROM assistencias");
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs["Jogo"].texto(), anfitriao + "-" + Clube_Treinador);
    EXPECT_EQ(rs["Tipo"].texto(), "Taça");
    EXPECT_EQ(rs["assistencia"].int32(), cap);
    EXPECT_EQ(rs["receita"].inteiro(), receita);
    ASSERT_EQ(porta.intervalos.size(), 1u);
    EXPECT_TRUE(porta.intervalos[0].taca);
    EXPECT_EQ(principal("v") + principal("e") + principal("d"), 0) << "cup results leave the run counters";
    EXPECT_EQ(principal("sit"), 20);
}

TEST_F(Ronda, ACupTieThatWillNotEndFailsTheRoundCleanly) {
    const std::string antes = conteudo();
    {
        Sorteios_Fixados nunca([] { return 0.0; });
        EXPECT_EQ(Jogar_Ronda_Taca(), Resultado_Ronda::Falhada);
    }
    ASSERT_FALSE(porta.mensagens.empty());
    EXPECT_EQ(porta.mensagens.back().texto.rfind("Não foi possível jogar a eliminatória da Taça.", 0), 0u);
    EXPECT_EQ(Eliminatoria_Taca, 1);
    EXPECT_EQ(conteudo(), antes);
    EXPECT_EQ(Jogar_Ronda_Taca(), Resultado_Ronda::Jogada);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca WHERE resul IS NULL"), 16);
}

} // namespace
