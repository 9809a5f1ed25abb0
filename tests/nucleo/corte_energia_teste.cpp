// The failing disk's power cut, against a disk worked out forwards: from
// the file as its last sync left it, each write since applied oldest first
// with only the pieces the cut says reached the disk. Each byte ends as the
// newest of them left it, the file as long as the last of them or as it
// was at the sync.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>
#include <sstream>

#include "apoio.h"
#include "disco_avariado.h"

using namespace gv;
using teste::Disco_Avariado;
using teste::Operacao;

namespace {

// What is done to the file: a write (where, how long), a sync, a truncate (to `onde`).
struct Passo {
    enum { Escrever, Sincronizar, Truncar } tipo;
    long long onde = 0, n = 0;
};
struct Linha {
    const char* nome;
    long long tamanho;   // the file's at the start, synced
    std::vector<Passo> passos;
};
Passo w(long long onde, long long n) { return {Passo::Escrever, onde, n}; }
const Passo Sync{Passo::Sincronizar};
Passo truncar(long long n) { return {Passo::Truncar, n}; }

const std::vector<Linha> Linhas{
    {"overwrites within the file", 4096, {w(0, 4096), w(100, 1000), w(1000, 24)}},
    {"appends", 1024, {w(1024, 2048), w(3072, 100)}},
    {"a sync between", 2048, {w(0, 2048), Sync, w(512, 1024), w(3000, 50)}},
    {"a truncate between", 4096, {w(0, 4096), truncar(1000), w(900, 600)}},
    {"a write past a hole", 512, {w(4096, 512), w(0, 100)}},
};

std::string escrita(int k, long long n) {
    std::string r(static_cast<std::size_t>(n), '\0');
    for (std::size_t i = 0; i < r.size(); ++i) r[i] = static_cast<char>(0x40 + 17 * k + i % 13);
    return r;
}

class Corte_Energia : public teste::Pasta_Temporaria {};

TEST_F(Corte_Energia, EachByteEndsAsTheNewestWriteOfItThatReachedTheDiskLeftIt) {
    std::map<std::string, int> destinos;   // of writes of more than one piece
    for (const Linha& l : Linhas)
        for (unsigned semente = 1; semente <= 6; ++semente) {
            SCOPED_TRACE(std::string(l.nome) + ", seed " + std::to_string(semente));
            const std::string nome = caminho("f.gv"), relato = caminho("corte");
            std::string inicio(static_cast<std::size_t>(l.tamanho), '\0');
            for (std::size_t i = 0; i < inicio.size(); ++i) inicio[i] = static_cast<char>(i * 7 + 1);
            std::ofstream(nome, std::ios::binary | std::ios::trunc) << inicio;
            const pid_t filho = fork();
            ASSERT_GE(filho, 0);
            if (filho == 0) {
                sqlite3_vfs* v = sqlite3_vfs_find("gv-disco-avariado");
                std::vector<std::max_align_t> espaco(static_cast<std::size_t>(v->szOsFile) / sizeof(std::max_align_t) + 1);
                auto* f = reinterpret_cast<sqlite3_file*>(espaco.data());
                if (v->xOpen(v, nome.c_str(), f, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MAIN_DB, nullptr) != SQLITE_OK) _exit(2);
                int sincronias = 1;
                for (const Passo& p : l.passos) sincronias += p.tipo == Passo::Sincronizar;
                Disco_Avariado::cortar_energia(Operacao::Sincronia, sincronias, semente, relato);
                int k = 0;
                for (const Passo& p : l.passos) {
                    if (p.tipo == Passo::Escrever)
                        f->pMethods->xWrite(f, escrita(++k, p.n).data(), static_cast<int>(p.n), p.onde);
                    if (p.tipo == Passo::Sincronizar) f->pMethods->xSync(f, SQLITE_SYNC_NORMAL);
                    if (p.tipo == Passo::Truncar) f->pMethods->xTruncate(f, p.onde);
                }
                f->pMethods->xSync(f, SQLITE_SYNC_NORMAL);
                _exit(0);
            }
            int estado = 0;
            ASSERT_EQ(waitpid(filho, &estado, 0), filho);
            ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL) << "the power never went";

            // What reached the disk of each write since the last sync, oldest first.
            std::vector<std::string> chegou;
            const std::string corte = teste::ler_bytes(relato);
            const std::regex linha("write #\\d+ at \\d+ of \\d+: ([+-]*)");
            for (std::sregex_iterator i(corte.begin(), corte.end(), linha), fim; i != fim; ++i) chegou.push_back((*i)[1]);
            // Forwards: the synced file, then the pieces that reached the disk.
            std::string sincronizado = inicio, agora = inicio;
            std::vector<std::pair<long long, std::string>> pendentes;
            int k = 0;
            for (const Passo& p : l.passos) {
                if (p.tipo == Passo::Escrever) {
                    const std::string b = escrita(++k, p.n);
                    if (agora.size() < static_cast<std::size_t>(p.onde + p.n)) agora.resize(static_cast<std::size_t>(p.onde + p.n), '\0');
                    agora.replace(static_cast<std::size_t>(p.onde), b.size(), b);
                    pendentes.emplace_back(p.onde, b);
                }
                if (p.tipo == Passo::Sincronizar) {
                    sincronizado = agora;
                    pendentes.clear();
                }
                if (p.tipo == Passo::Truncar) {
                    agora.resize(static_cast<std::size_t>(p.onde), '\0');
                    sincronizado.resize(static_cast<std::size_t>(p.onde), '\0');
                    for (auto& [onde, b] : pendentes) b.resize(static_cast<std::size_t>(std::clamp(p.onde - onde, 0LL, static_cast<long long>(b.size()))));
                }
            }
            ASSERT_EQ(chegou.size(), pendentes.size()) << corte;
            std::string esperado = sincronizado;
            for (std::size_t i = 0; i < pendentes.size(); ++i) {
                const auto& [onde, b] = pendentes[i];
                std::size_t peca = 0;
                for (long long a = onde; a < onde + static_cast<long long>(b.size()); ++peca) {
                    const long long fim = std::min(onde + static_cast<long long>(b.size()), (a / 512 + 1) * 512);
                    ASSERT_LT(peca, chegou[i].size()) << corte;
                    if (chegou[i][peca] == '+') {
                        if (esperado.size() < static_cast<std::size_t>(fim)) esperado.resize(static_cast<std::size_t>(fim), '\0');
                        esperado.replace(static_cast<std::size_t>(a), static_cast<std::size_t>(fim - a), b, static_cast<std::size_t>(a - onde), static_cast<std::size_t>(fim - a));
                    }
                    a = fim;
                }
                EXPECT_EQ(peca, chegou[i].size()) << "pieces cut at the sectors: " << corte;
                if (peca > 1) {
                    const auto n = std::count(chegou[i].begin(), chegou[i].end(), '+');
                    ++destinos[n == 0 ? "lost" : n == static_cast<long>(peca) ? "kept" : "torn"];
                }
            }
            EXPECT_TRUE(teste::ler_bytes(nome) == esperado) << corte;
        }
    // The seeds draw every fate.
    EXPECT_GT(destinos["kept"], 0);
    EXPECT_GT(destinos["lost"], 0);
    EXPECT_GT(destinos["torn"], 0);
}

} // namespace
