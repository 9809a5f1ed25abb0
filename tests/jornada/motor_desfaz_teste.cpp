// The engine may undo a round's whole transaction itself (an I/O error, a
// full disk, no memory, an interrupt). Made to happen at each statement of
// a league matchday and of a cup round pressed from the desk: afterwards the
// file holds exactly one whole round more, with the game's memory agreeing,
// or is as it was and the next press plays the round once, the round's
// failure the one thing the person is told. The round's statements are
// dealt out to FATIAS tests, each its own process, which CTest runs side by
// side: together they interrupt every statement once.

#include <sqlite3.h>

#include "platform/db/em_jogo.h"
#include "desk/proximo_jogo.h"
#include "jogo_apoio.h"

using namespace gv;
namespace fs = std::filesystem;

namespace {

// Interrupts the engine during the alvo-th statement of the round (while
// the busy pointer shows); an interrupted write makes it undo the round's
// transaction.
struct Interrupcao {
    const bool* na_ronda = nullptr;
    long alvo = 0, contados = 0;
    bool armada = false, feita = false;

    void ligar(sqlite3* h) {
        sqlite3_trace_v2(h, SQLITE_TRACE_STMT, &Interrupcao::passo, this);
        sqlite3_progress_handler(h, 1, &Interrupcao::progresso, this);
    }
    static int passo(unsigned, void* eu, void*, void*) {
        auto* i = static_cast<Interrupcao*>(eu);
        if (*i->na_ronda && ++i->contados == i->alvo) i->armada = true;
        return 0;
    }
    static int progresso(void* eu) {
        auto* i = static_cast<Interrupcao*>(eu);
        if (!i->armada) return 0;
        i->armada = false;
        i->feita = true;
        return 1;
    }
};

// Slice k interrupts statements k+1, k+1+FATIAS, k+1+2*FATIAS, ... of the
// round: neighbouring statements, alike in cost, go to different slices.
constexpr int FATIAS = 8;

class Motor_Desfaz : public teste::Com_Mestra, public ::testing::WithParamInterface<int> {
protected:
    void TearDown() override {
        desligar();
        Com_Mestra::TearDown();
    }
    // The game before the press, closed, and the random source's place.
    void guardar_partida() {
        Base_Dados->Execute("UPDATE principal SET d_b_divida = 2000000, d_b_mensal = 30000");
        Base_Dados->Close();
        Base_Dados.reset();
        fs::copy_file(caminho("jogo.gv"), caminho("partida.gv"));
        sorteios_ = sorteios_feitos();
        jornada_ = Jornada_Actual;
        eliminatoria_ = Eliminatoria_Taca;
    }
    // Back to the game before the press, the interruption at statement alvo
    // (0: none).
    void repor_partida(Interrupcao& i) {
        desligar();
        if (Base_Dados) Base_Dados->Close();
        Base_Dados.reset();
        fs::copy_file(caminho("partida.gv"), caminho("jogo.gv"), fs::copy_options::overwrite_existing);
        Base_Dados = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
        db::entrar_em_jogo(*Base_Dados);
        Jornada_Actual = jornada_;
        Eliminatoria_Taca = eliminatoria_;
        Ronda_Jogada = Prestacao_Paga = Proposta_Feita = 0;
        semear_aleatorio(12345);
        saltar_sorteios(sorteios_);
        porta.mensagens.clear();
        // Every offer before the round is turned down: the round starts
        // from the file as it was.
        porta.respostas.assign(20, Resposta::Nao);
        porta.ocupado = false;
        i.na_ronda = &porta.ocupado;
        i.ligar(Base_Dados->handle());
    }
    void desligar() {
        if (!Base_Dados || !Base_Dados->aberta()) return;
        sqlite3_trace_v2(Base_Dados->handle(), 0, nullptr, nullptr);
        sqlite3_progress_handler(Base_Dados->handle(), 0, nullptr, nullptr);
    }
    long principal(const char* coluna) {
        return static_cast<long>(Base_Dados->valor(std::string("SELECT ") + coluna + " FROM principal").inteiro());
    }
    // Played at every statement of the press in this test's slice; `inteira`
    // tells whether the file holds exactly one whole round more than before
    // it.
    void em_cada_passo(const std::function<bool()>& inteira) {
        Interrupcao limpa;
        repor_partida(limpa);
        const std::string antes = teste::conteudo_base(*Base_Dados);
        const int compras = contar("SELECT count(*) FROM transferencias_clubes");
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        ASSERT_TRUE(inteira());
        ASSERT_GT(contar("SELECT count(*) FROM transferencias_clubes"), compras) << "the computer clubs buy";
        const long passos = limpa.contados;
        ASSERT_GT(passos, 100);
        int falhadas = 0;
        long alvo = 1 + GetParam();
        for (; alvo <= passos; alvo += FATIAS) {
            Interrupcao i;
            i.alvo = alvo;
            repor_partida(i);
            const Resultado_Ronda r = Jogar_Proximo_Jogo();
            desligar();
            const bool avancou = principal("Jornada") != jornada_ || principal("taca") != eliminatoria_;
            // The memory follows the file, whatever the press answered.
            ASSERT_EQ(Jornada_Actual, principal("Jornada")) << alvo;
            ASSERT_EQ(Eliminatoria_Taca, principal("taca")) << alvo;
            if (avancou) {
                ASSERT_EQ(r, Resultado_Ronda::Jogada) << alvo;
                ASSERT_TRUE(inteira()) << alvo;
                continue;
            }
            ++falhadas;
            ASSERT_EQ(r, Resultado_Ronda::Falhada) << alvo;
            ASSERT_TRUE(i.feita) << alvo;
            ASSERT_TRUE(teste::conteudo_base(*Base_Dados) == antes) << alvo;
            // The round's failure is the one told: purchases the engine
            // undid with it are not reported as made or not made.
            for (const auto& m : porta.mensagens)
                ASSERT_EQ(m.texto.find("transferências entre clubes"), std::string::npos) << alvo << m.texto;
            // Pressed again, the round is played once.
            porta.mensagens.clear();
            ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada) << alvo;
            ASSERT_TRUE(inteira()) << alvo;
        }
        EXPECT_GT(falhadas, 0);
        // The one slice whose next statement is past the round's last: there
        // the round plays whole, uninterrupted, through as many statements
        // as the press before the loop counted.
        if (alvo != passos + 1) return;
        Interrupcao i;
        i.alvo = alvo;
        repor_partida(i);
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        desligar();
        EXPECT_FALSE(i.feita);
        EXPECT_EQ(i.contados, passos);
        EXPECT_TRUE(inteira());
    }

    std::uint64_t sorteios_ = 0;
    int jornada_ = 0, eliminatoria_ = 0;
};

TEST_P(Motor_Desfaz, ALeagueMatchdayUndoneAtAnyStatementIsSavedWholeOrNotAtAll) {
    novo_jogo_pt();
    guardar_partida();
    em_cada_passo([&] {
        return principal("Jornada") == 2 && principal("taca") == 1 &&
               contar("SELECT count(*) FROM Historico_Jornadas") == 54 &&
               contar("SELECT count(*) FROM Historico_Jornadas WHERE jor = 1") == 54 &&
               contar("SELECT count(*) FROM jogos WHERE jor = 1 AND result LIKE '% - %'") == 27 &&
               contar("SELECT count(*) FROM jogos WHERE jor > 1 AND result LIKE '% - %'") == 0;
    });
}

TEST_P(Motor_Desfaz, ACupRoundUndoneAtAnyStatementIsSavedWholeOrNotAtAll) {
    novo_jogo_pt();
    Base_Dados->Execute("UPDATE principal SET Jornada = 5");
    Jornada_Actual = 5;
    ASSERT_EQ(Ecra_Da_Jornada(), Ecra_Jogo::Taca);
    const int empates = contar("SELECT count(*) FROM jogos_taca");
    guardar_partida();
    em_cada_passo([&] {
        return principal("Jornada") == 5 && principal("taca") == 2 &&
               contar("SELECT count(*) FROM jogos_taca") == empates / 2 &&
               contar("SELECT count(*) FROM jogos_taca WHERE resul LIKE '% - %'") == 0 &&
               contar("SELECT count(*) FROM clubes_taca_qualif") == 0;
    });
}

INSTANTIATE_TEST_SUITE_P(Fatias, Motor_Desfaz, ::testing::Range(0, FATIAS));

} // namespace
