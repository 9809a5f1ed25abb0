// A power cut: at whatever sync of a press, a round, a load, a close or a
// new game, or of the press after it, the power goes, and whatever of the
// writes since each file's last sync reaches the disk, the next load opens,
// with no word to the player, a game that reads whole, as it was before
// the phase, after it or after the press (never a mix), and nothing the
// player was shown as done is lost.

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "fases.h"

using namespace gv;
using teste::Disco_Avariado;
using teste::Fase;
using teste::Operacao;
namespace fs = std::filesystem;

namespace {

// A state of the game: every table's rows, and for the reader who manages
// at which matchday.
struct Estado {
    std::size_t conteudo = 0;
    std::string nome;
    int jornada = 0;
};
std::ostream& operator<<(std::ostream& o, const Estado& e) { return o << e.nome << " @" << e.jornada; }

// One cut: at which sync of the phase, and the seed of what reaches the disk.
struct Caso {
    Fase fase;
    int sincronia;
    unsigned semente;
};

// The seeds each sync is cut with; GV_CORTES_SEMENTES widens the sweep.
// Enough that some cut of a checkpoint lengthening the game file leaves it
// ending inside a page.
unsigned sementes() {
    const char* n = std::getenv("GV_CORTES_SEMENTES");
    return n && std::atoi(n) > 0 ? static_cast<unsigned>(std::atoi(n)) : 12u;
}

// A slice of a phase's cuts: one of `fatias`.
struct Fatia {
    Fase fase;
    int fatia = 0, fatias = 1;
};

void PrintTo(const Fatia& f, std::ostream* o) { *o << teste::nome_fase(f.fase) << ", slice " << f.fatia; }

class Cortes : public teste::Com_Fases, public testing::WithParamInterface<Fatia> {
protected:
    void TearDown() override {
        Disco_Avariado::limpar();
        Com_Fases::TearDown();
    }
    Estado agora() {
        return {std::hash<std::string>{}(teste::conteudo_base(*Base_Dados)), Nome_Treinador, Jornada_Actual};
    }
    void guardar(std::ostream& f) {
        const Estado e = agora();
        f << e.conteudo << " " << e.jornada << " " << e.nome << "\n";
    }
    // The game the files hold, as a load opens it, closed again.
    Estado carregado() {
        EXPECT_EQ(carregar(), Resultado_Jogo::Aberto);
        const Estado e = Base_Dados ? agora() : Estado{};
        repor_estado();
        return e;
    }
    // The press after the phase, when it leaves the game open.
    void depois() {
        Base_Dados->Execute("UPDATE principal SET nome = 'Depois'");
        Nome_Treinador = "Depois";
    }
    // The states an untroubled run goes through: before the phase (as the
    // start files load), after it and after the press (as the run saw them,
    // the last also as a load opens it); how many syncs it makes.
    int preparar_estados(Fase fase) {
        preparar(fase);
        // Every run draws alike: a round or a new game cut anywhere is this one.
        semear_aleatorio(777);
        const auto feito = registo(fase, [&] {
            std::ofstream f(caminho("estados"));
            if (!Base_Dados) return;
            guardar(f);
            depois();
            guardar(f);
        });
        estados = {};
        std::ifstream f(caminho("estados"));
        for (Estado e; f >> e.conteudo >> e.jornada && std::getline(f >> std::ws, e.nome);) estados.push_back(e);
        if (!estados.empty()) {
            EXPECT_EQ(carregado().conteudo, estados.back().conteudo) << "a load opens what was done";
        }
        repor_inicio();
        estados.insert(estados.begin(), carregado());
        return static_cast<int>(std::count_if(feito.begin(), feito.end(), [](const auto& o) { return o.first == Operacao::Sincronia; }));
    }
    // The last state the player was shown as done, written down at once:
    // it outlives the cut.
    void anotar(int estado) { std::ofstream(caminho("feito"), std::ios::trunc) << estado; }
    int anotado() {
        int e = -1;
        std::ifstream(caminho("feito")) >> e;
        return e;
    }
    // The phase and the press after it, the power cut at the case's sync;
    // then the game loaded.
    void cortar(const Caso& c) {
        repor_inicio();
        fs::remove(caminho("corte"));
        anotar(0);
        semear_aleatorio(777);
        num_filho([&] {
            if (antes_aberto(c.fase) && carregar() != Resultado_Jogo::Aberto) _exit(3);
            Disco_Avariado::cortar_energia(Operacao::Sincronia, c.sincronia, c.semente, caminho("corte"));
            if (!correr(c.fase) || !Base_Dados) return;
            anotar(1);
            depois();
            anotar(2);
        });
        ASSERT_TRUE(fs::exists(caminho("corte"))) << "the power never went";
        SCOPED_TRACE("the files the cut left:\n" + teste::ler_bytes(caminho("corte")));
        porta.mensagens.clear();
        ASSERT_EQ(carregar(), Resultado_Jogo::Aberto) << (porta.mensagens.empty() ? "" : porta.mensagens.back().texto);
        EXPECT_TRUE(porta.mensagens.empty()) << porta.mensagens.front().texto;
        EXPECT_EQ(Base_Dados->valor("PRAGMA integrity_check").texto(), "ok");
        // The last state shown as done, or the one in flight.
        const Estado e = agora();
        const int visto = anotado();
        auto igual = [&](int i) { return i >= 0 && i < static_cast<int>(estados.size()) && estados[i].conteudo == e.conteudo; };
        const bool antes = std::any_of(estados.begin(), estados.begin() + std::max(0, visto),
                                       [&](const Estado& s) { return s.conteudo == e.conteudo; });
        EXPECT_TRUE(igual(visto) || igual(visto + 1))
            << e << (antes ? " is older than what was shown as done: " : " is no state the game was in; shown as done: ")
            << estados.at(std::min<std::size_t>(visto, estados.size() - 1));
        repor_estado();
    }
    // Whether the cut undid writes of the game's files, and whether it lost
    // a sector of them.
    std::pair<bool, bool> do_jogo(const std::string& corte) const {
        std::pair<bool, bool> r;
        std::istringstream linhas(corte);
        for (std::string l; std::getline(linhas, l);)
            for (const char* s : {"", "-wal", "-journal"})
                if (l.rfind(caminho("jogo.gv") + s + ":", 0) == 0) r = {true, r.second || l.find('-', l.find(':')) != std::string::npos};
        return r;
    }
    std::vector<Estado> estados;
};

TEST_P(Cortes, APowerCutAtAnySyncLeavesAStateThatWasWithNothingShownDoneLost) {
    const Fatia f = GetParam();
    const int sincronias = preparar_estados(f.fase);
    ASSERT_GT(sincronias, 0);
    // A slice takes every seed of its syncs: where nothing was written to
    // the game's files since their last sync, one seed is all there is to
    // try (the files being made beside them are not what a load reads).
    bool perdeu = false;   // the cut is one: some cut lost some of what was written
    for (int n = 1 + f.fatia; n <= sincronias; n += f.fatias)
        for (unsigned semente = 1; semente <= sementes(); ++semente) {
            const Caso c{f.fase, n, semente};
            SCOPED_TRACE(std::string(teste::nome_fase(f.fase)) + ": power cut at sync " + std::to_string(n) + " of " +
                         std::to_string(sincronias) + ", seed " + std::to_string(semente));
            cortar(c);
            const auto [desfeito, perdido] = do_jogo(teste::ler_bytes(caminho("corte")));
            perdeu = perdeu || perdido;
            if (!desfeito) break;
        }
    EXPECT_TRUE(perdeu) << "no cut lost anything of the game's files";
}

// The cuts of each phase in slices that run side by side.
std::vector<Fatia> fatias() {
    std::vector<Fatia> r;
    for (const auto& [fase, n] : {std::pair{Fase::Accao, 1}, {Fase::Ronda, 1}, {Fase::Taca, 1}, {Fase::Carregar, 2},
                                  {Fase::Fechar, 1}, {Fase::Novo, 3}})
        for (int i = 0; i < n; ++i) r.push_back({fase, i, n});
    return r;
}
std::string nome(const testing::TestParamInfo<Fatia>& i) {
    return teste::nome_instancia(i.param.fase, i.param.fatia);
}

INSTANTIATE_TEST_SUITE_P(Fases, Cortes, testing::ValuesIn(fatias()), nome);

} // namespace
