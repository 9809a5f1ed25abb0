// A failing disk, then a kill: whatever write, sync, truncate or delete of
// a press, a round, a load, a close or a new game fails (once, or from then
// on), and the process killed right after the next commit or the one after,
// the next load opens exactly what the game file and its log hold
// together, with no refusal, and nothing the player was shown as done is
// lost.

#include <fstream>
#include <set>

#include "fases.h"

using namespace gv;
using teste::Disco_Avariado;
using teste::Fase;
using teste::Operacao;
namespace fs = std::filesystem;

namespace {

// A state of the game as the player sees it: who manages, at which matchday.
struct Estado {
    std::string nome;
    int jornada = 0;
    bool operator==(const Estado&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Estado& e) { return o << e.nome << " @" << e.jornada; }

// Names the game is given in order: a later one never loses to an earlier.
int ordem(const std::string& nome) {
    static const std::map<std::string, int> ordem{{"Velho", 0}, {"Antes", 1}, {"Manuel Tester", 1},
                                                  {"Feito", 2}, {"Depois 1", 3}, {"Depois 2", 4}};
    const auto it = ordem.find(nome);
    return it == ordem.end() ? -1 : it->second;
}

// The N worth failing of one kind, from an untroubled run's record. Of the
// game's own files every one, but for writes the first and last of each
// run of writes to one file, which meet the same fate between them (in the
// log also the second, the first frame's page after its header). Of files
// being made beside it, which a failure leaves for the making to remove,
// the first and last of the kind.
std::vector<int> pontos(const std::vector<std::pair<Operacao, teste::Papel>>& registo, Operacao o) {
    using teste::Papel;
    std::set<int> r;
    int n = 0, ultima_outra = 0;
    for (std::size_t i = 0; i < registo.size(); ++i) {
        if (registo[i].first != o) continue;
        ++n;
        if (registo[i].second == Papel::Outro) {
            if (!ultima_outra) r.insert(n);
            ultima_outra = n;
            continue;
        }
        if (o != Operacao::Escrita) {
            r.insert(n);
            continue;
        }
        const bool primeira = i == 0 || registo[i - 1] != registo[i];
        const bool segunda = registo[i].second == Papel::Log && i >= 1 && registo[i - 1] == registo[i] &&
                             (i == 1 || registo[i - 2] != registo[i]);
        const bool ultima = i + 1 == registo.size() || registo[i + 1] != registo[i];
        if (primeira || segunda || ultima) r.insert(n);
    }
    if (ultima_outra) r.insert(ultima_outra);
    return {r.begin(), r.end()};
}

class Avarias : public teste::Com_Fases, public testing::WithParamInterface<std::tuple<Fase, int>> {
protected:
    static constexpr int Fatias = 4;
    void TearDown() override {
        Disco_Avariado::limpar();
        Com_Fases::TearDown();
    }
    // What the player sees done is written down at once: it outlives the kill.
    void anotar(const Estado& e) { std::ofstream(caminho("feito"), std::ios::trunc) << e.jornada << "\n" << e.nome; }
    Estado anotado() {
        Estado e;
        std::ifstream in(caminho("feito"));
        in >> e.jornada;
        in.ignore();
        std::getline(in, e.nome);
        return e;
    }
    Estado agora() { return {Nome_Treinador, Jornada_Actual}; }
    // What the game file and what is beside it hold together, as the engine
    // reads them in a copy of their own.
    Estado no_disco() {
        const fs::path aparte = pasta / "aparte";
        fs::remove_all(aparte);
        fs::create_directories(aparte);
        for (const char* s : {"", "-wal", "-journal"})
            if (fs::exists(caminho(std::string("jogo.gv") + s)))
                fs::copy_file(caminho(std::string("jogo.gv") + s), aparte / (std::string("jogo.gv") + s));
        try {
            auto d = db::Database::abrir((aparte / "jogo.gv").string(), Ligacao_BD);
            auto p = d->OpenRecordset("SELECT nome, Jornada FROM principal");
            return {p["nome"].texto(), p["Jornada"].int32()};
        } catch (const std::exception& e) {
            return {std::string("unreadable: ") + e.what(), -1};
        }
    }
};

TEST_P(Avarias, AFailingDiskThenAKillLeavesWhatTheNextLoadOpens) {
    const auto [fase, fatia] = GetParam();
    preparar(fase);
    const auto feito = registo(fase);
    const std::string velho = teste::ler_bytes(caminho("inicio.gv"));
    int caso = 0;
    for (Operacao op : teste::Operacoes)
        for (int n : pontos(feito, op))
            for (bool sempre : {false, true}) {
                    // Killed right after the next commit, or the one after, in turn.
                    const int commits = 1 + (caso / 2) % 2;
                    if (caso++ % Fatias != fatia) continue;
                    SCOPED_TRACE(std::string(teste::nome_fase(fase)) + ": " + teste::nome_operacao(op) + " " +
                                 std::to_string(n) + (sempre ? " and after" : " once") + ", killed at commit " +
                                 std::to_string(commits));
                    repor_inicio();
                    fs::remove(caminho("falhou"));
                    num_filho([&] {
                        if (antes_aberto(fase) && carregar() != Resultado_Jogo::Aberto) _exit(3);
                        anotar(fase == Fase::Carregar || fase == Fase::Novo ? no_disco() : agora());
                        Disco_Avariado::armar(op, n, sempre);
                        const bool feita = correr(fase);
                        if (feita) anotar(agora());
                        if (!feita) std::ofstream(caminho("falhou")) << "";
                        std::ofstream(caminho("mensagem"), std::ios::trunc)
                            << (porta.mensagens.empty() ? std::string() : porta.mensagens.back().texto);
                        if (!Base_Dados) return;
                        armar_morte("em_jogo.commit", commits);
                        for (int k = 1; k <= commits; ++k) try {
                                const std::string nome = "Depois " + std::to_string(k);
                                Base_Dados->Execute("UPDATE principal SET nome = ?", {nome});
                                Nome_Treinador = nome;
                                anotar(agora());
                            } catch (const db::Falha_BD&) {
                            }
                    });
                    const Estado visto = anotado();
                    // A new game that failed says whether the old game is still there.
                    if (fase == Fase::Novo) {
                        const std::string dito = teste::ler_bytes(caminho("mensagem"));
                        const bool igual = teste::ler_bytes(caminho("jogo.gv")) == velho;
                        if (dito.find("Nenhum ficheiro de jogo foi alterado.") != std::string::npos) {
                            EXPECT_TRUE(igual) << dito;
                            // As it was made and loaded before.
                            if (igual) continue;
                        }
                        if (dito.find("foi substituído pelo novo") != std::string::npos) {
                            EXPECT_FALSE(igual) << dito;
                        }
                    }
                    // A load that failed says the file is unchanged only when it is.
                    if (fase == Fase::Carregar &&
                        teste::ler_bytes(caminho("mensagem")).find("O ficheiro do jogo não foi alterado.") != std::string::npos) {
                        EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), velho);
                    }
                    const Estado guardado = no_disco();
                    porta.mensagens.clear();
                    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto)
                        << (porta.mensagens.empty() ? "" : porta.mensagens.back().texto);
                    EXPECT_TRUE(porta.mensagens.empty()) << porta.mensagens.front().texto;
                    EXPECT_EQ(agora(), guardado) << "exactly what the file and its log hold";
                    // A press or a round the player was told was not saved is not there.
                    if (fs::exists(caminho("falhou")) && (fase == Fase::Accao || fase == Fase::Ronda || fase == Fase::Taca)) {
                        EXPECT_EQ(Jornada_Actual, visto.jornada) << "a round told not saved";
                        EXPECT_NE(Nome_Treinador, "Feito") << "a press told not saved";
                    }
                    EXPECT_TRUE(ordem(Nome_Treinador) > ordem(visto.nome) ||
                                (Nome_Treinador == visto.nome && Jornada_Actual >= visto.jornada))
                        << "shown as done: " << visto;
                    repor_estado();
            }
}

INSTANTIATE_TEST_SUITE_P(Fases, Avarias,
                         testing::Combine(testing::Values(Fase::Accao, Fase::Ronda, Fase::Taca, Fase::Carregar,
                                                          Fase::Fechar, Fase::Novo),
                                          testing::Range(0, 4)),
                         [](const auto& i) { return teste::nome_instancia(std::get<0>(i.param), std::get<1>(i.param)); });

} // namespace
