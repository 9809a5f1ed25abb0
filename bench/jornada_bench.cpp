// The matchday engine on a fresh pt game made by the code: a new game, a
// league round, a cup round of 32 ties and a whole season of 34 league and
// 6 cup rounds, each round in its one transaction. Peak memory is the
// process's resident high-water mark.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "data/estado.h"
#include "data/liga.h"
#include "matchday/marcadores.h"
#include "matchday/ronda.h"
#include "platform/aleatorio.h"
#include "platform/interface_utilizador.h"
#include "startup/jogo.h"

using namespace gv;
namespace fs = std::filesystem;

namespace {

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

    // Opens a copy of the fresh game as a load game leaves it.
    bool abrir_copia() {
        repor_estado();
        Pasta_Programa = pasta_.string();
        Ligacao_BD = LIGACAO_JOGO;
        const std::string origem = modelo();
        if (origem.empty()) return false;
        const std::string copia = (pasta_ / "copia.gv").string();
        std::error_code ec;
        fs::remove(copia, ec);
        fs::copy_file(origem, copia);
        Base_Dados = db::Database::abrir(copia, Ligacao_BD);
        Ficheiro_Jogo = copia;
        auto p = Base_Dados->OpenRecordset("SELECT equipa, Jornada, Epoca, taca FROM principal");
        Clube_Treinador = p["equipa"].texto();
        Jornada_Actual = p["Jornada"].int32();
        Epoca_Actual = p["Epoca"].int32();
        Eliminatoria_Taca = p["taca"].int32();
        Preco_Bilhete = 15;
        return true;
    }

    Interface_Guionizada& porta() { return porta_; }

private:
    fs::path pasta_;
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

void BM_RondaCampeonato(benchmark::State& s) {
    auto& a = ambiente();
    if (!a.abrir_copia()) {
        s.SkipWithError("no game");
        return;
    }
    for (auto _ : s) {
        if (Jornada_Actual > 34) {
            s.PauseTiming();
            a.abrir_copia();
            s.ResumeTiming();
        }
        Ronda_Jogada = 0;
        if (Jogar_Ronda_Campeonato() != Resultado_Ronda::Jogada) {
            s.SkipWithError("the round failed");
            break;
        }
    }
    s.counters["pico_MB"] = pico_mb();
    repor_estado();
}
BENCHMARK(BM_RondaCampeonato)->Unit(benchmark::kMillisecond);

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
        Base_Dados->Execute("DELETE FROM jogos_taca");
        for (const auto& [casa, fora] : sorteio)
            Base_Dados->Execute("INSERT INTO jogos_taca (casa, fora) VALUES (?, ?)", {casa, fora});
        Base_Dados->Execute("DELETE FROM clubes_taca_qualif");
        Base_Dados->Execute("UPDATE principal SET taca = 1");
        Eliminatoria_Taca = 1;
        Ronda_Jogada = 0;
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

// The 40 rounds of a season as the desk plays them: cup round k before
// league round 5k, each cup round with the next draw, every round with the
// bank instalment and the all-time scorers' tidy-up.
void BM_Epoca(benchmark::State& s) {
    auto& a = ambiente();
    double ms_total = 0;
    for (auto _ : s) {
        s.PauseTiming();
        if (!a.abrir_copia()) {
            s.SkipWithError("no game");
            break;
        }
        s.ResumeTiming();
        const auto inicio = std::chrono::steady_clock::now();
        bool ok = true;
        while (ok && Jornada_Actual <= 34) {
            Ronda_Jogada = 0;
            Ronda_Com_Preparacao = 1;
            if (Jornada_Actual % 5 == 0 && Eliminatoria_Taca == Jornada_Actual / 5) {
                ok = Jogar_Ronda_Taca() == Resultado_Ronda::Jogada;
            } else {
                ok = Jogar_Ronda_Campeonato() == Resultado_Ronda::Jogada;
            }
        }
        ms_total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio).count();
        if (!ok || Eliminatoria_Taca != 7) {
            s.SkipWithError("the season did not run to its end");
            break;
        }
    }
    if (s.iterations() > 0) s.counters["ms_por_ronda"] = ms_total / (40.0 * static_cast<double>(s.iterations()));
    s.counters["pico_MB"] = pico_mb();
    repor_estado();
}
BENCHMARK(BM_Epoca)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
