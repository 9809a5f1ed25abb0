// The database layer's fixed costs: opening an encrypted file (key
// derivation), reading a club set's players into a recordset, counting.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "data/consultas.h"
#include "data/estado.h"

using namespace gv;

namespace {

void BM_AbrirBaseCifrada(benchmark::State& s) {
    for (auto _ : s) {
        auto d = db::Database::abrir(GV_BASE_MESTRA, LIGACAO_JOGO, db::Modo::So_Leitura);
        benchmark::DoNotOptimize(d.get());
    }
}
BENCHMARK(BM_AbrirBaseCifrada)->Unit(benchmark::kMillisecond);

void BM_LerJogadoresDeUmConjunto(benchmark::State& s) {
    auto d = db::Database::abrir(GV_BASE_MESTRA, LIGACAO_JOGO, db::Modo::So_Leitura);
    long long total = 0;
    for (auto _ : s) {
        auto rs = d->OpenRecordset("SELECT * FROM jogadores_pt ORDER BY equipa, pos, forca DESC");
        for (; !rs.Eof(); rs.MoveNext()) total += rs["forca"].inteiro();
    }
    benchmark::DoNotOptimize(total);
}
BENCHMARK(BM_LerJogadoresDeUmConjunto)->Unit(benchmark::kMillisecond);

void BM_ContarLinhas(benchmark::State& s) {
    Base_Dados = db::Database::abrir(GV_BASE_MESTRA, LIGACAO_JOGO, db::Modo::So_Leitura);
    int n = 0;
    for (auto _ : s) n += Contar_Linhas("SELECT * FROM jogadores_pt WHERE equipa = ? AND pos = ?", {"x", "gk"});
    benchmark::DoNotOptimize(n);
    Base_Dados.reset();
}
BENCHMARK(BM_ContarLinhas)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
