// A matchday cut short: the process killed (as a power cut would) or a
// failure at every point from the desk's next-match button to the round's
// commit. Loaded again, the game is before or after the whole round, its
// cup holds a valid draw, the bank instalment is taken once per round, and
// the season plays on to its change with a cup winner. Also: the whole game
// survives closing and loading, and a new game is made over the leftovers
// of a killed one.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <set>

#include "data/liga.h"
#include "desk/proximo_jogo.h"
#include "desk/secretaria.h"
#include "jogo_apoio.h"
#include "platform/db/obras.h"
#include "platform/falhas.h"
#include "season/mudanca_epoca.h"

namespace gv {
namespace {

namespace fs = std::filesystem;

constexpr long Divida = 3'000'000, Prestacao = 25'000;
constexpr std::uint32_t Semente = 777;

class Retoma : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        recusar_propostas();
    }
    void TearDown() override {
        desarmar_falhas();
        Com_Mestra::TearDown();
    }
    // Every computer offer is turned down: the runs stay comparable.
    void recusar_propostas() {
        porta.respostas.clear();
        for (int i = 0; i < 200; ++i) porta.responder(Resposta::Nao);
    }

    // Two saved games shared by the tests of this binary, made once: just
    // before cup round 5 (matchday 25, semi-finals), with a bank loan, and
    // just after it, before the league round of the same matchday.
    struct Modelos {
        fs::path taca, liga;
    };
    Modelos modelos() {
        Modelos m;
        m.taca = teste::modelo("taca.gv", [&](const fs::path& destino) {
            novo_jogo_pt();
            Base_Dados->Execute("UPDATE principal SET d_b_divida = ?, d_b_mensal = ?", {Divida, Prestacao});
            while (Jornada_Actual < 25 || Eliminatoria_Taca < 5)
                ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
            repor_estado();
            fs::copy_file(caminho("jogo.gv"), destino);
        });
        // The league model is the cup round played without a cut.
        m.liga = teste::modelo("liga.gv", [&](const fs::path& destino) {
            abrir(m.taca, "jogo.gv");
            ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
            repor_estado();
            fs::copy_file(caminho("jogo.gv"), destino);
        });
        return m;
    }

    // A copy of the model loaded as the game is, with the fixed seed.
    void abrir(const fs::path& modelo, const std::string& nome) {
        repor_estado();
        fs::copy_file(modelo, caminho(nome), fs::copy_options::overwrite_existing);
        porta.escolher(Ficheiro_Escolhido{caminho(nome), nome});
        ASSERT_EQ(Carregar_Jogo(), Resultado_Jogo::Aberto);
        semear_aleatorio(Semente);
        recusar_propostas();
        divida = contar("SELECT d_b_divida FROM principal");
    }
    // A model as a fresh load of a copy of it finds it.
    std::string carregado_de(const fs::path& modelo) {
        repor_estado();
        fs::copy_file(modelo, caminho("modelo.gv"), fs::copy_options::overwrite_existing);
        return carregado("modelo.gv");
    }
    // The game as a fresh load finds it.
    std::string carregado(const std::string& nome) {
        repor_estado();
        porta.escolher(Ficheiro_Escolhido{caminho(nome), nome});
        EXPECT_EQ(Carregar_Jogo(), Resultado_Jogo::Aberto);
        return teste::conteudo_base(*Base_Dados);
    }

    struct Referencias {
        std::string inicio, antes, depois;   // loaded; after the computer purchases; after the round
    };
    // The press of the button played without a cut, and cut by a failure
    // just inside the round (everything before it, nothing of it).
    Referencias referencias(const fs::path& modelo) {
        Referencias r;
        abrir(modelo, "ref.gv");
        r.inicio = carregado("ref.gv");
        abrir(modelo, "ref.gv");
        armar_falha("ronda.prestacao");
        EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Falhada);
        r.antes = carregado("ref.gv");
        abrir(modelo, "ref.gv");
        EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        r.depois = carregado("ref.gv");
        repor_estado();
        return r;
    }

    // Plays the press in a child process that dies at the point's vez-th pass.
    void matar_em(const fs::path& modelo, const std::string& ponto, int vez) {
        repor_estado();
        fs::copy_file(modelo, caminho("jogo.gv"), fs::copy_options::overwrite_existing);
        const pid_t filho = fork();
        ASSERT_GE(filho, 0);
        if (filho == 0) {
            porta.escolher(Ficheiro_Escolhido{caminho("jogo.gv"), "jogo.gv"});
            if (Carregar_Jogo() != Resultado_Jogo::Aberto) _exit(3);
            semear_aleatorio(Semente);
            recusar_propostas();
            armar_morte(ponto, vez);
            Jogar_Proximo_Jogo();
            _exit(0);   // the point was never reached
        }
        int estado = 0;
        ASSERT_EQ(waitpid(filho, &estado, 0), filho);
        ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL) << ponto << " was never reached";
    }

    // The cup's draw: the ties of the round due, none played, no club twice.
    void sorteio_valido() {
        if (Eliminatoria_Taca > 6) {
            EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 0);
            EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 1);
            return;
        }
        const int empates = 32 >> (Eliminatoria_Taca - 1);
        EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca WHERE trim(coalesce(resul, '')) = ''"), empates);
        EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), empates);
        EXPECT_EQ(contar("SELECT count(DISTINCT c) FROM (SELECT casa AS c FROM jogos_taca UNION ALL "
                         "SELECT fora FROM jogos_taca)"),
                  2 * empates);
    }

    // One instalment for every round played since the model was opened.
    void prestacoes(int rondas) { EXPECT_EQ(contar("SELECT d_b_divida FROM principal"), divida - Prestacao * rondas); }
    long divida = 0;

    // On to the season's end and its change: the cup has its winner.
    void acabar_epoca() {
        while (Jornada_Actual <= 34) {
            if (Dia_De_Taca()) sorteio_valido();
            ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada) << Jornada_Actual;
        }
        EXPECT_EQ(Eliminatoria_Taca, 7);
        ASSERT_FALSE(Vencedor_Taca.empty());
        ASSERT_EQ(Mudar_Epoca(nullptr), Resultado_Mudanca::Feita);
        EXPECT_EQ(contar("SELECT count(*) FROM ultimos_venc WHERE Epoca = 1999"), 7);
    }

    struct Corte {
        const char* ponto;
        int vez;
        bool depois;        // the round was saved before the cut
        bool ate_ao_fim;    // and the season is played on to its change
    };
    void cortes(const fs::path& modelo, const std::vector<Corte>& lista) {
        const Referencias r = referencias(modelo);
        ASSERT_NE(r.antes, r.depois);
        for (const Corte& c : lista) {
            SCOPED_TRACE(c.ponto);
            matar_em(modelo, c.ponto, c.vez);
            const std::string depois_de_morrer = carregado("jogo.gv");
            const std::string& esperado =
                c.depois ? r.depois : std::string(c.ponto) == "proximo.proposta" ? r.inicio : r.antes;
            EXPECT_TRUE(depois_de_morrer == esperado) << "the file is neither before nor after the round";
            sorteio_valido();
            if (c.ate_ao_fim) acabar_epoca();
        }
    }
};

TEST_F(Retoma, ACupRoundKilledAnywhereResumesBeforeOrAfterIt) {
    const auto m = modelos();
    // A file equal to the uncut run's before or after plays on as that run
    // does; the season is played to its end from a few of them.
    cortes(m.taca, {{"proximo.proposta", 1, false, false},
                    {"proximo.compras", 1, false, false},
                    {"ronda.prestacao", 1, false, false},
                    {"ronda.marcadores", 1, false, false},
                    {"taca.jogo", 2, false, true},
                    {"ronda.taca.sorteio", 1, false, false},
                    {"ronda.taca.gravar", 1, false, false},
                    {"ronda.gravada", 1, true, true}});
}

TEST_F(Retoma, ALeagueRoundKilledAnywhereResumesBeforeOrAfterIt) {
    const auto m = modelos();
    cortes(m.liga, {{"proximo.compras", 1, false, false},
                    {"ronda.prestacao", 1, false, false},
                    {"jornada.jogo", 14, false, true},
                    {"ronda.campeonato.gravar", 1, false, false},
                    {"ronda.gravada", 1, true, false}});
}

// A failure inside the round undoes it whole, the instalment with it; the
// press made again takes one instalment and draws the cup once.
TEST_F(Retoma, AFailedRoundTakesNothingAndThePressAgainTakesItOnce) {
    const auto m = modelos();
    for (const char* ponto : {"ronda.prestacao", "ronda.marcadores", "taca.jogo", "ronda.taca.sorteio",
                              "ronda.taca.gravar"}) {
        SCOPED_TRACE(ponto);
        abrir(m.taca, "jogo.gv");
        const std::string antes = teste::conteudo_base(*Base_Dados);
        armar_falha(ponto);
        porta.mensagens.clear();
        EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Falhada);
        EXPECT_EQ(porta.mensagens.back().texto.rfind("Não foi possível jogar a eliminatória da Taça.", 0), 0u);
        EXPECT_EQ(Eliminatoria_Taca, 5);
        prestacoes(0);
        sorteio_valido();
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        EXPECT_EQ(Eliminatoria_Taca, 6);
        prestacoes(1);
        sorteio_valido();
    }
}

// A game saved by the earlier version between a cup round and its draw is
// given the draw when it is loaded, once; so is one saved after the final.
TEST_F(Retoma, ACupRoundSavedWithoutItsDrawIsDrawnOnLoad) {
    const auto m = modelos();
    abrir(m.taca, "jogo.gv");
    // The round as the earlier version saved it: played, its draw not made.
    ASSERT_EQ(Jogar_Ronda_Taca(), Resultado_Ronda::Jogada);
    Base_Dados->Execute("DELETE FROM jogos_taca");
    Base_Dados->Execute("DELETE FROM clubes_taca_qualif");
    Base_Dados->Execute("INSERT INTO jogos_taca (casa, fora, resul) VALUES ('A', 'B', '2 - 1'), ('C', 'D', '0 - 3')");
    Base_Dados->Execute("INSERT INTO clubes_taca_qualif (clube) VALUES ('A'), ('D')");
    (void)carregado("jogo.gv");
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca WHERE resul IS NULL AND "
                     "((casa = 'A' AND fora = 'D') OR (casa = 'D' AND fora = 'A'))"),
              1);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 1);
    const std::string uma_vez = teste::conteudo_base(*Base_Dados);
    EXPECT_EQ(carregado("jogo.gv"), uma_vez) << "a game in order is left alone";

    // The final played, the winner waiting alone: announced at the load.
    Base_Dados->Execute("UPDATE jogos_taca SET resul = '1 - 0'");
    Base_Dados->Execute("DELETE FROM clubes_taca_qualif");
    Base_Dados->Execute("INSERT INTO clubes_taca_qualif (clube) VALUES ('A')");
    porta.mensagens.clear();
    (void)carregado("jogo.gv");
    EXPECT_EQ(Vencedor_Taca, "A");
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 0);
    ASSERT_FALSE(porta.mensagens.empty());
    EXPECT_EQ(porta.mensagens.back().texto, "Clube vencedor da Taça: A");
}

// Closing and loading keeps the whole game; the next season plays on.
TEST_F(Retoma, AWholeSeasonSurvivesClosingAndLoading) {
    const auto m = modelos();
    abrir(m.liga, "jogo.gv");
    acabar_epoca();
    const std::string antes = teste::conteudo_base(*Base_Dados);
    const auto estado = std::tuple(Clube_Treinador, Nome_Treinador, Jornada_Actual, Epoca_Actual, Eliminatoria_Taca,
                                   Jogo_Real, Vencedor_Taca);
    EXPECT_EQ(carregado("jogo.gv"), antes);
    EXPECT_EQ(std::tuple(Clube_Treinador, Nome_Treinador, Jornada_Actual, Epoca_Actual, Eliminatoria_Taca, Jogo_Real,
                         Vencedor_Taca),
              estado);
    Base_Dados->Execute("UPDATE principal SET T_contrato = 5");   // no job to choose
    while (Jornada_Actual <= 34) ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada) << Jornada_Actual;
    ASSERT_EQ(Mudar_Epoca(nullptr), Resultado_Mudanca::Feita);
    EXPECT_EQ(Epoca_Actual, 2001);
    EXPECT_EQ(contar("SELECT count(*) FROM ultimos_venc WHERE Epoca = 2000"), 7);
}

// The game in `ficheiro` loaded and its press played, then killed after the
// commit of one more write and before that commit is moved into the file:
// the file and its log, as a power cut in the middle of a commit leaves
// them.
void deixar_log_de_commit(const std::function<void()>& carregar_e_jogar) {
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
        carregar_e_jogar();
        armar_morte("em_jogo.commit");
        Base_Dados->Execute("UPDATE principal SET nome = 'Depois do Log'");
        _exit(0);
    }
    int estado = 0;
    ASSERT_EQ(waitpid(filho, &estado, 0), filho);
    ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL);
}

TEST_F(Retoma, ALogLeftBesideTheGameIsTakenBackOnlyWhenItIsTheGamesOwnNextCommit) {
    const auto m = modelos();
    repor_estado();
    fs::copy_file(m.liga, caminho("jogo.gv"), fs::copy_options::overwrite_existing);
    deixar_log_de_commit([&] {
        porta.escolher(Ficheiro_Escolhido{caminho("jogo.gv"), "jogo.gv"});
        if (Carregar_Jogo() != Resultado_Jogo::Aberto || Jogar_Proximo_Jogo() != Resultado_Ronda::Jogada) _exit(3);
    });
    const fs::path log = caminho("jogo.gv-wal");
    ASSERT_GT(fs::file_size(log), 0u);

    // The same game's log beside an older copy, and beside another game.
    fs::copy_file(m.liga, caminho("antigo.gv"));
    fs::copy_file(log, caminho("antigo.gv-wal"));
    novo_jogo("outro.gv", escolhas("pt", Ler_Clubes_Pais("pt")[1].front()));
    repor_estado();
    fs::copy_file(log, caminho("outro.gv-wal"));
    for (const char* nome : {"antigo.gv", "outro.gv"}) {
        SCOPED_TRACE(nome);
        const auto antes = teste::pasta_inteira(pasta);
        porta.mensagens.clear();
        for (const char* lingua : {"P", "I"}) {
            repor_estado();
            Lingua = lingua;
            porta.escolher(Ficheiro_Escolhido{caminho(nome), nome});
            EXPECT_EQ(Carregar_Jogo(), Resultado_Jogo::Recusado);
            EXPECT_TRUE(teste::pasta_inteira(pasta) == antes) << "every file is as it was";
        }
        ASSERT_EQ(porta.mensagens.size(), 2u);
        const std::string nome_log = std::string("\"") + nome + "-wal\"";
        EXPECT_NE(porta.mensagens[0].texto.find("O ficheiro " + nome_log + " ao lado do jogo não pertence a este "
                                                "jogo. Mova-o para outra pasta"),
                  std::string::npos) << porta.mensagens[0].texto;
        EXPECT_NE(porta.mensagens[1].texto.find("The file " + nome_log + " beside the game does not belong to it. "
                                                "Move it to another folder"),
                  std::string::npos) << porta.mensagens[1].texto;
    }

    // Moved away, the older copy loads as it was saved.
    Lingua = "P";
    fs::rename(caminho("antigo.gv-wal"), caminho("posto_de_parte"));
    EXPECT_TRUE(carregado("antigo.gv") == carregado_de(m.liga));

    // Beside its own file the log is the commit the file lacks: it is taken.
    EXPECT_EQ(carregado("jogo.gv").find("Depois do Log") != std::string::npos, true);
    EXPECT_EQ(Nome_Treinador, "Depois do Log");
}

TEST_F(Retoma, AKillAtRestLeavesNoLogThatAnOlderCopyWouldTake) {
    const auto m = modelos();
    matar_em(m.liga, "ronda.gravada", 1);
    ASSERT_TRUE(fs::exists(caminho("jogo.gv-wal")));
    // The player restores the copy he kept from before the round.
    fs::copy_file(m.liga, caminho("jogo.gv"), fs::copy_options::overwrite_existing);
    EXPECT_TRUE(carregado("jogo.gv") == carregado_de(m.liga));
}

TEST_F(Retoma, AGameFileCopiedAtTheDeskHoldsTheLastRoundAndEachGameHasItsOwnKey) {
    const auto m = modelos();
    abrir(m.liga, "jogo.gv");
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    // Copied alone while the game is open at the desk.
    fs::copy_file(caminho("jogo.gv"), caminho("copia.gv"));
    auto copia = db::Database::abrir(caminho("copia.gv"), Ligacao_BD);
    EXPECT_EQ(copia->valor("SELECT Jornada FROM principal").int32(), Jornada_Actual);
    EXPECT_TRUE(teste::conteudo_base(*copia) == teste::conteudo_base(*Base_Dados));
    copia.reset();

    // Two new games and the master database: three salts, so three keys.
    repor_estado();
    novo_jogo("a.gv", escolhas());
    repor_estado();
    novo_jogo("b.gv", escolhas());
    repor_estado();
    const std::string sais[] = {teste::ler_bytes(caminho("a.gv")).substr(0, 16),
                                teste::ler_bytes(caminho("b.gv")).substr(0, 16),
                                teste::ler_bytes(GV_BASE_MESTRA).substr(0, 16)};
    EXPECT_EQ(std::set<std::string>(std::begin(sais), std::end(sais)).size(), 3u);
}

// A process killed halfway through a transaction big enough to reach the
// disk: the file and its hot journal, as a power cut leaves them.
void deixar_diario_quente(const std::string& ficheiro) {
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
        auto d = db::Database::abrir(ficheiro, LIGACAO_JOGO);
        d->Execute("PRAGMA cache_size = 2");
        d->BeginTrans();
        for (const auto& t : d->tabelas()) d->Execute("DELETE FROM \"" + t + "\"");
        ::kill(::getpid(), SIGKILL);
    }
    int estado = 0;
    ASSERT_EQ(waitpid(filho, &estado, 0), filho);
    ASSERT_TRUE(WIFSIGNALED(estado));
    ASSERT_GT(fs::file_size(ficheiro + "-journal"), 0u);
}

// A new game killed while it builds leaves its file and journal; the next
// new game of that name is made over them. So is a new game over a game
// killed mid-round, whose journal must not be played onto the new file.
TEST_F(Retoma, ANewGameIsMadeOverTheLeftoversOfAKilledOne) {
    std::ofstream(caminho("novo.gv.a-criar")) << db::Marca_Obra;   // the killed making's hold
    fs::copy_file(GV_BASE_MESTRA, caminho("novo.gv.a-semear"));
    deixar_diario_quente(caminho("novo.gv.a-semear"));
    ASSERT_EQ(novo_jogo("novo.gv", escolhas()), Resultado_Jogo::Aberto);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 32);
    for (const char* s : {".a-criar", ".a-semear", ".a-semear-journal"})
        EXPECT_FALSE(fs::exists(caminho(std::string("novo.gv") + s))) << s;

    repor_estado();
    deixar_diario_quente(caminho("novo.gv"));
    porta.respostas.push_front(Resposta::Sim);   // overwrite
    ASSERT_EQ(novo_jogo("novo.gv", escolhas()), Resultado_Jogo::Aberto);
    EXPECT_EQ(Base_Dados->valor("PRAGMA integrity_check").texto(), "ok");
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 32);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos WHERE result IS NOT NULL"), 0);
    EXPECT_FALSE(fs::exists(caminho("novo.gv-journal")));

    // Over a game of another club killed in the middle of a commit, its log
    // beside it: the new game is the one made, now and when loaded again.
    repor_estado();
    const auto m = modelos();
    fs::copy_file(m.liga, caminho("novo.gv"), fs::copy_options::overwrite_existing);
    deixar_log_de_commit([&] {
        porta.escolher(Ficheiro_Escolhido{caminho("novo.gv"), "novo.gv"});
        if (Carregar_Jogo() != Resultado_Jogo::Aberto || Jogar_Proximo_Jogo() != Resultado_Ronda::Jogada) _exit(3);
    });
    const std::string outro = Ler_Clubes_Pais("pt")[2].front();
    porta.respostas.push_front(Resposta::Sim);   // overwrite
    ASSERT_EQ(novo_jogo("novo.gv", escolhas("pt", outro)), Resultado_Jogo::Aberto);
    for (int vez = 0; vez < 2; ++vez) {
        SCOPED_TRACE(vez);
        EXPECT_EQ(Base_Dados->valor("SELECT equipa || '|' || nome || '|' || Jornada FROM principal").texto(),
                  outro + "|Manuel Tester|1");
        EXPECT_EQ(contar("SELECT count(*) FROM jogos WHERE result IS NOT NULL"), 0);
        EXPECT_EQ(contar("SELECT count(*) FROM Historico_Jornadas"), 0);
        carregado("novo.gv");
    }
}

} // namespace
} // namespace gv
