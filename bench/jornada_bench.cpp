// The game's heavy steps on a fresh pt game made by the code: a new game, a
// league round, a cup round of 32 ties, a whole season of 34 league and 6
// cup rounds with its change, and loading a five-season game. Peak memory
// is the process's resident high-water mark.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/db/em_jogo.h"
#include "data/estado.h"
#include "data/liga.h"
#include "matchday/marcadores.h"
#include "desk/proximo_jogo.h"
#include "matchday/ronda.h"
#include "season/mudanca_epoca.h"
#include "platform/aleatorio.h"
#include "platform/interface_utilizador.h"
#include "startup/jogo.h"

using namespace gv;
namespace fs = std::filesystem;

namespace {

// A mark in the process's system calls, for a tracer to count those of a
// step alone (scripts/custo.sh): a look for a file that never exists.
void marca(const char* nome) { ::access((std::string("/gv-marca/") + nome).c_str(), F_OK); }

double pico_mb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;   // kilobytes on Linux
}

// A program folder of our own with the master database, and the scripted
// port answering the new game's file dialog.
class Ambiente {
public:
    Ambiente() {
        auto base = fs::temp_directory_path() / "gv_bench_jornada";
        fs::create_directories(base);
        std::string modelo = (base / "XXXXXX").string();
        pasta_ = mkdtemp(modelo.data());
        fs::copy_file(GV_BASE_MESTRA, pasta_ / NOME_BASE_MESTRA);
        repor_estado();
        Pasta_Programa = pasta_.string();
        Ligacao_BD = LIGACAO_JOGO;
        instalar_ui(&porta_);
        semear_aleatorio(2024);
    }
    ~Ambiente() {
        repor_estado();
        instalar_ui(nullptr);
        std::error_code ec;
        fs::remove_all(pasta_, ec);
    }

    // A new pt game in its own file, left open in Base_Dados.
    bool novo_jogo(const std::string& nome) {
        const Escolhas_Novo_Jogo e{"Bench", "pt", Ler_Clubes_Pais("pt")[0].front(), "2,000,000", false};
        const std::string ficheiro = (pasta_ / nome).string();
        std::error_code ec;
        fs::remove(ficheiro, ec);
        porta_.escolher(Ficheiro_Escolhido{ficheiro, nome});
        porta_.mensagens.clear();
        porta_.intervalos.clear();
        bool aberto = Novo_Jogo(e) == Resultado_Jogo::Aberto;
        Preco_Bilhete = 15;
        return aberto;
    }

    // The saved game file of a fresh game, kept to start rounds from.
    std::string modelo() {
        if (modelo_.empty()) {
            if (!novo_jogo("modelo.gv")) return {};
            modelo_ = Ficheiro_Jogo;
            repor_estado();
            Pasta_Programa = pasta_.string();
            Ligacao_BD = LIGACAO_JOGO;
        }
        return modelo_;
    }

    // Opens a copy of the fresh game through the game's own load, its file
    // held and watched as a player's is.
    bool abrir_copia() {
        repor_estado();
        Pasta_Programa = pasta_.string();
        Ligacao_BD = LIGACAO_JOGO;
        const std::string origem = modelo();
        if (origem.empty()) return false;
        const std::string copia = (jogos() / "copia.gv").string();
        std::error_code ec;
        fs::remove(copia, ec);
        fs::copy_file(origem, copia);
        porta_.escolher(Ficheiro_Escolhido{copia, "copia.gv"});
        if (Carregar_Jogo() != Resultado_Jogo::Aberto) return false;
        Preco_Bilhete = 15;
        return true;
    }

    Interface_Guionizada& porta() { return porta_; }
    void recusar_propostas() {
        porta_.respostas.clear();
        for (int i = 0; i < 4; ++i) porta_.responder(Resposta::Nao);
        porta_.mensagens.clear();
    }
    // Every press of the next-match button to the season's end, offers
    // turned down, then the season change.
    bool jogar_epoca() {
        while (Jornada_Actual <= 34) {
            recusar_propostas();
            if (Jogar_Proximo_Jogo() != Resultado_Ronda::Jogada) return false;
        }
        return Eliminatoria_Taca == 7 && Mudar_Epoca(nullptr) == Resultado_Mudanca::Feita;
    }
    void repor_pasta() {
        Pasta_Programa = pasta_.string();
        Ligacao_BD = LIGACAO_JOGO;
    }

    // A game five seasons on, made once and kept beside the temporary folder
    // for the bench runs that follow (made again when the bench is rebuilt).
    std::string jogo_de_cinco_epocas() {
        const fs::path exe = fs::read_symlink("/proc/self/exe");
        const fs::path guardado = fs::temp_directory_path() / "gv_bench_jornada" /
                                  ("cinco_" + std::to_string(fs::last_write_time(exe).time_since_epoch().count()) + ".gv");
        if (fs::exists(guardado)) return guardado.string();
        if (!abrir_copia()) return {};
        Base_Dados->Execute("UPDATE principal SET T_contrato = 99");
        for (int epoca = 0; epoca < 5; ++epoca)
            if (!jogar_epoca()) return {};
        const std::string feito = Ficheiro_Jogo;
        repor_estado();
        repor_pasta();
        fs::copy_file(feito, guardado);
        return guardado.string();
    }

private:
    fs::path pasta_;
    // Where the games loaded are played: GV_BENCH_JOGOS names a folder on
    // another file system (a FUSE mount, say); the model is made here all
    // the same, as a game carried there is.
    fs::path jogos() const {
        const char* j = std::getenv("GV_BENCH_JOGOS");
        return j && *j ? fs::path(j) : pasta_;
    }
    Interface_Guionizada porta_;
    std::string modelo_;
};

Ambiente& ambiente() {
    static Ambiente a;
    return a;
}

void BM_NovoJogo(benchmark::State& s) {
    auto& a = ambiente();
    int n = 0;
    for (auto _ : s) {
        if (!a.novo_jogo("novo" + std::to_string(n++ % 2) + ".gv")) {
            s.SkipWithError("the new game failed");
            break;
        }
        s.PauseTiming();
        repor_estado();
        Pasta_Programa = fs::path(caminho_base_mestra()).parent_path().string();
        Ligacao_BD = LIGACAO_JOGO;
        s.ResumeTiming();
    }
    s.counters["pico_MB"] = pico_mb();
}
BENCHMARK(BM_NovoJogo)->Unit(benchmark::kMillisecond);

// The 34 rounds of a season, one per iteration, from the same seed each
// run: the figure is the season's mean round, growth rounds included.
void BM_RondaCampeonato(benchmark::State& s) {
    auto& a = ambiente();
    if (!a.abrir_copia()) {
        s.SkipWithError("no game");
        return;
    }
    semear_aleatorio(2024);
    for (auto _ : s) {
        Ronda_Jogada = 0;
        marca("ronda");
        const Resultado_Ronda r = Jogar_Ronda_Campeonato();
        marca("fim");
        if (r != Resultado_Ronda::Jogada) {
            s.SkipWithError("the round failed");
            break;
        }
    }
    s.counters["pico_MB"] = pico_mb();
    repor_estado();
}
BENCHMARK(BM_RondaCampeonato)->Iterations(34)->Unit(benchmark::kMillisecond);

void BM_RondaTaca(benchmark::State& s) {
    auto& a = ambiente();
    if (!a.abrir_copia()) {
        s.SkipWithError("no game");
        return;
    }
    // The round draws the next one: the first round's 32 ties are put back before each run.
    std::vector<std::pair<std::string, std::string>> sorteio;
    for (auto rs = Base_Dados->OpenRecordset("SELECT casa, fora FROM jogos_taca ORDER BY rowid"); !rs.Eof(); rs.MoveNext())
        sorteio.emplace_back(rs["casa"].texto(), rs["fora"].texto());
    for (auto _ : s) {
        s.PauseTiming();
        // Put back in one commit, as the game itself writes.
        Base_Dados->BeginTrans();
        Base_Dados->Execute("DELETE FROM jogos_taca");
        for (const auto& [casa, fora] : sorteio)
            Base_Dados->Execute("INSERT INTO jogos_taca (casa, fora) VALUES (?, ?)", {casa, fora});
        Base_Dados->Execute("DELETE FROM clubes_taca_qualif");
        Base_Dados->Execute("UPDATE principal SET taca = 1");
        Base_Dados->CommitTrans();
        Eliminatoria_Taca = 1;
        Ronda_Jogada = 0;
        semear_aleatorio(2024);
        s.ResumeTiming();
        if (Jogar_Ronda_Taca() != Resultado_Ronda::Jogada) {
            s.SkipWithError("the round failed");
            break;
        }
    }
    s.counters["pico_MB"] = pico_mb();
    repor_estado();
}
BENCHMARK(BM_RondaTaca)->Unit(benchmark::kMillisecond);

// A season as the desk plays it: each press of the next-match button (the
// offer, turned down, the computer purchases, the instalment and the
// scorers' tidy-up, the round and, on cup days, the next draw), then the
// season change. Five seasons from five seeds, the same five each run.
void BM_EpocaComMudanca(benchmark::State& s) {
    auto& a = ambiente();
    std::uint32_t semente = 2024;
    for (auto _ : s) {
        s.PauseTiming();
        if (!a.abrir_copia()) {
            s.SkipWithError("no game");
            break;
        }
        semear_aleatorio(semente++);
        s.ResumeTiming();
        marca("epoca");
        const bool jogada = a.jogar_epoca();
        marca("fim");
        if (!jogada) {
            s.SkipWithError("the season did not run to its end");
            break;
        }
    }
    s.counters["pico_MB"] = pico_mb();
    repor_estado();
}
BENCHMARK(BM_EpocaComMudanca)->Iterations(5)->Unit(benchmark::kMillisecond);

// Loading a game five seasons old: the version check, the compaction and
// the state read back. The game is played once and kept for later runs.
void BM_CarregarJogo(benchmark::State& s) {
    auto& a = ambiente();
    const std::string cinco = a.jogo_de_cinco_epocas();
    if (cinco.empty()) {
        s.SkipWithError("no five-season game");
        return;
    }
    const std::string copia = fs::path(cinco).replace_filename("carregar.gv").string();
    for (auto _ : s) {
        s.PauseTiming();
        repor_estado();
        a.repor_pasta();
        fs::copy_file(cinco, copia, fs::copy_options::overwrite_existing);
        a.porta().escolher(Ficheiro_Escolhido{copia, "carregar.gv"});
        s.ResumeTiming();
        if (Carregar_Jogo() != Resultado_Jogo::Aberto) {
            s.SkipWithError("the load failed");
            break;
        }
    }
    s.counters["pico_MB"] = pico_mb();
    repor_estado();
}
BENCHMARK(BM_CarregarJogo)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
