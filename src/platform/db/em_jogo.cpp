#include "platform/db/em_jogo.h"

#include "platform/db/formato_log.h"
#include "platform/db/interno.h"
#include "platform/falhas.h"

#include <openssl/rand.h>
#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <random>
#include <vector>

namespace gv::db {

namespace {

// A new mark: never 0, which a file never played holds; from the system's
// source, so that the game's own draws stay as they are.
long long marca_nova() {
    std::uint32_t v = 0;
    while (v == 0) {
        if (RAND_bytes(reinterpret_cast<unsigned char*>(&v), sizeof v) != 1) v = std::random_device{}();
        v &= 0x7FFFFFFF;
    }
    return v;
}

void escrever_marca(Database& d, const Marca& m) {
    const std::string sql = "PRAGMA user_version = " + std::to_string(m.marca) +
                            "; PRAGMA application_id = " + std::to_string(m.anterior);
    const int rc = sqlite3_exec(d.handle(), sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) d.falhar(rc, sql);
}

// The log's own file, open in the engine: what the engine writes to it
// goes through the same file layer.
sqlite3_file* ficheiro_do_log(Database& d) {
    sqlite3_file* log = nullptr;
    if (sqlite3_file_control(d.handle(), "main", SQLITE_FCNTL_JOURNAL_POINTER, &log) != SQLITE_OK || !log ||
        !log->pMethods)
        return nullptr;
    return log;
}

// Everything committed goes into the file itself, synced; whether every
// frame of the log is in. When it is, the log's header is wiped, so that a
// kill at rest leaves nothing in it; the engine writes a new header with
// the next commit, which starts the log over, writing over what is there
// rather than growing the file.
bool passar_ao_ficheiro(Database& d) {
    int no_log = 0, no_ficheiro = 0;
    const int rc = sqlite3_wal_checkpoint_v2(d.handle(), nullptr, SQLITE_CHECKPOINT_PASSIVE, &no_log, &no_ficheiro);
    if (rc != SQLITE_OK) {
        // The commit itself is safe in the log, and the next ones go on
        // after it until a checkpoint, the close or the next load moves
        // them all in.
        registar(rc, "checkpoint", d.handle());
        return false;
    }
    if (no_log <= 0 || no_ficheiro != no_log) return false;
    if (sqlite3_file* log = ficheiro_do_log(d)) {
        ponto_de_falha("em_jogo.limpar_log");
        static const char zeros[Cabecalho_Log] = {};
        if (const int escrito = log->pMethods->xWrite(log, zeros, sizeof zeros, 0); escrito != SQLITE_OK)
            registar(escrito, "log header", nullptr);
    }
    return true;
}

// A copy of the file held, whole, under a name of its own beside where the
// game was: "x (2).gv", "x (3).gv"...; empty when none could be made.
std::string guardar_copia(const Bloqueio_Jogo& b, const std::string& caminho) {
    const std::filesystem::path p(caminho);
    for (int n = 2; n < 100; ++n) {
        const std::filesystem::path copia =
            p.parent_path() / (p.stem().string() + " (" + std::to_string(n) + ")" + p.extension().string());
        const int fd = ::open(copia.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return {};
        std::vector<char> bloco(1 << 16);
        bool feita = true;
        for (off_t onde = 0;;) {
            const std::size_t lidos = ler_em(b.descritor(), bloco.data(), bloco.size(), onde);
            if (lidos == 0) break;
            feita = ::pwrite(fd, bloco.data(), lidos, onde) == static_cast<ssize_t>(lidos);
            if (!feita) break;
            onde += static_cast<off_t>(lidos);
        }
        feita = feita && ::fsync(fd) == 0;
        ::close(fd);
        // Made here, by this window: nobody else's.
        if (!feita) ::unlink(copia.c_str());
        if (!feita) return {};
        sincronizar(p.parent_path().string(), true);
        return copia.string();
    }
    return {};
}

// A game file's commits, in whatever journal mode: each draws a mark of its
// own and keeps the one before it, so that a journal left by one commit is
// never taken for another's. Before each, the file's name is looked at: once
// it names another file, or none, nothing more is begun, and every
// transaction is refused with what became of the game.
class Marcacao : public Ganchos_Commit {
public:
    explicit Marcacao(long long marca) : marca_(marca) {}
    void antes_da_transaccao(Database& d) override {
        if (sem_nome(d)) d.recusar_sem_nome();
    }
    // From now on the player plays it (on a file system without the log).
    void em_jogo() { jogado_ = true; }
    void antes_do_commit(Database& d) override {
        nova_ = marca_nova();
        escrever_marca(d, {nova_, marca_});
    }
    void commit_falhou(Database&) override {}
    void depois_do_commit(Database&) override { marca_ = nova_; }
    void ao_fechar(Database&) override {}
    bool fechado_sozinho(const std::string&) override { return true; }

protected:
    // Whether the file's name was lost, now or before: once, what became
    // of the game is worked out and kept.
    bool sem_nome(Database& d) {
        if (!d.sem_nome() && d.nome_mudou()) d.perder_nome(perder_o_nome(d));
        return d.sem_nome() != nullptr;
    }
    // What the player is told of a file whose name was lost: while a game
    // is being opened, that; once played, where what was played is now.
    // The file held holds it: under another name, or under none, when a
    // copy of it is saved beside where it was.
    virtual Erro_BD perder_o_nome(Database& d) {
        Erro_BD e = ficheiro_movido(d.caminho());
        if (!jogado_) return e;
        std::string onde = d.bloqueio().onde_esta();
        if (!onde.empty()) {
            e.com_destino(onde);
            return e;
        }
        onde = d.bloqueio().tomado() ? guardar_copia(d.bloqueio(), d.caminho()) : std::string();
        Erro_BD sem(ERRO_FICHEIRO, e.descricao() + " (" + (onde.empty() ? "nada guardado" : onde) + ")",
                    Erro_BD::Tipo::Ficheiro_Movido, d.caminho(), Erro_BD::Tipo::Sem_Ficheiro);
        sem.com_destino(onde);
        return sem;
    }
    long long marca_;      // the last commit's
    long long nova_ = 0;   // the one being committed
    bool jogado_ = false;
};

// A game being played, in the log.
class Em_Jogo final : public Marcacao {
public:
    Em_Jogo(Database& d, long long marca) : Marcacao(marca) {
        jogado_ = true;
        // How many frames the log holds after each commit made.
        sqlite3_wal_hook(
            d.handle(),
            [](void* eu, sqlite3*, const char*, int quadros) {
                static_cast<Em_Jogo*>(eu)->quadros_ = quadros;
                return SQLITE_OK;
            },
            this);
    }
    // A commit that failed may still have been written whole to the log (a
    // sync that failed, say): the engine would take it back in at the next
    // open, a round the player was told was not saved. The log is cut back
    // to the end of the last commit made; the next commit goes on from there.
    void commit_falhou(Database& d) override {
        sqlite3_file* log = ficheiro_do_log(d);
        sqlite3_int64 tamanho = 0;
        const sqlite3_int64 fim = fim_dos_quadros(quadros_, d.pagina());
        if (!log || log->pMethods->xFileSize(log, &tamanho) != SQLITE_OK || tamanho <= fim) return;
        if (const int cortado = log->pMethods->xTruncate(log, fim); cortado != SQLITE_OK)
            registar(cortado, "failed commit", nullptr);
    }
    void depois_do_commit(Database& d) override {
        Marcacao::depois_do_commit(d);
        ponto_de_falha("em_jogo.commit");
        // A log moved whole into the file starts over with the next commit.
        if (passar_ao_ficheiro(d)) quadros_ = 0;
    }
    void ao_fechar(Database& d) override {
        sqlite3_wal_hook(d.handle(), nullptr, nullptr);
        // The log is gone by its name: only while the name is the file's.
        if (sem_nome(d)) return;
        try {
            sair_do_log(d);
        } catch (const Erro_BD& e) {
            registar(e.numero(), e.descricao(), nullptr);
        }
        ponto_de_falha("em_jogo.fechar");
    }
    bool fechado_sozinho(const std::string& caminho) override { return sem_nome_ || !log_com_commits(caminho); }
    // The log truncated to nothing.
    void log_vazio() { quadros_ = 0; }
    // Held as the game is, once the engine has it open: a load in another
    // window never judges, copies or takes it.
    void segurar_log(Bloqueio_Jogo b) { log_ = std::move(b); }

protected:
    // Everything played goes into the file held, through the engine's open
    // files; the log is kept at the close rather than deleted by a name
    // that may be another's now.
    Erro_BD perder_o_nome(Database& d) override {
        sem_nome_ = true;
        if (const int rc = sqlite3_wal_checkpoint_v2(d.handle(), nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
            rc != SQLITE_OK)
            registar(rc, "checkpoint", d.handle());
        else
            quadros_ = 0;
        int manter = 1;
        sqlite3_file_control(d.handle(), "main", SQLITE_FCNTL_PERSIST_WAL, &manter);
        return Marcacao::perder_o_nome(d);
    }

private:
    int quadros_ = 0;   // frames in the log after the last commit made
    bool sem_nome_ = false;
    Bloqueio_Jogo log_;
};

} // namespace

void marcar_commits(Database& d) {
    if (d.aberta() && !d.so_leitura() && !d.ganchos())
        d.pendurar_ganchos(std::make_unique<Marcacao>(d.valor("PRAGMA user_version").inteiro()));
}

void entrar_em_jogo(Database& d, bool compactar_antes) {
    if (!d.aberta() || d.so_leitura() || dynamic_cast<Em_Jogo*>(d.ganchos())) return;
    // The game holds its file alone while it is played: no other program
    // writes it meanwhile, the log's index lives in memory rather than in a
    // shared file, and no commit pays for taking and dropping locks.
    int rc = sqlite3_exec(d.handle(), "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) registar(rc, "locking_mode=EXCLUSIVE", d.handle());
    // The log is made by the file's name: only while it is the file's.
    if (d.nome_mudou()) throw ficheiro_movido(d.caminho());
    // A failure of the disk is the caller's to report; a file system that
    // cannot take the log answers with the mode it stays in.
    if (modo_diario(d, "wal") != "wal") {
        rc = sqlite3_exec(d.handle(), "PRAGMA locking_mode=NORMAL", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) registar(rc, "locking_mode=NORMAL", d.handle());
        if (compactar_antes) d.compactar();
        marcar_commits(d);
        if (auto* m = dynamic_cast<Marcacao*>(d.ganchos())) m->em_jogo();
        return;
    }
    // Each commit here is synced, as every commit in play is: a cut then
    // finds past the log's last sync one commit at most, the one in flight.
    const long long marca = d.valor("PRAGMA user_version").inteiro();
    if (compactar_antes) {
        d.compactar();
        ponto_de_falha("em_jogo.compactada");
    }
    auto em_jogo = std::make_unique<Em_Jogo>(d, marca);
    Em_Jogo& jogo = *em_jogo;
    d.pendurar_ganchos(std::move(em_jogo));
    // A file never marked is marked twice, so that its mark has one before it.
    for (int vez = marca == 0 ? 2 : 1; vez > 0; --vez) {
        Transaccao t(d);
        t.commit();
    }
    // The log the engine made with the first commit is held as the game
    // is, once it is known to be the one the engine has open.
    jogo.segurar_log(Bloqueio_Jogo::tomar(d.caminho() + "-wal"));
    if (sqlite3_file* aberto = ficheiro_do_log(d)) {
        int movido = 0;
        if (aberto->pMethods->xFileControl(aberto, SQLITE_FCNTL_HAS_MOVED, &movido) == SQLITE_OK && movido)
            throw ficheiro_movido(d.caminho());
    }
    // The log the compaction grew to the file's size goes back to nothing:
    // play grows it again as it needs, from a file that holds everything.
    if (compactar_antes) {
        rc = sqlite3_wal_checkpoint_v2(d.handle(), nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
        if (rc == SQLITE_OK) jogo.log_vazio();
        else registar(rc, "checkpoint", d.handle());
    }
}

void marcar_novo(Database& d) {
    if (!d.em_transaccao() || d.ganchos()) throw Erro_BD(SQLITE_MISUSE, "Marca fora de uma transacção, ou em jogo");
    const long long nova = marca_nova();
    escrever_marca(d, {nova, nova});
}

Marca marca_lida(Database& d) {
    return {d.valor("PRAGMA user_version").inteiro(), d.valor("PRAGMA application_id").inteiro()};
}

void sair_do_log(Database& d) {
    if (const std::string modo = modo_diario(d, "delete"); modo != "delete")
        throw Erro_BD(ERRO_FICHEIRO, "O log de " + d.caminho() + " não pôde ser passado para o ficheiro",
                      Erro_BD::Tipo::Erro_ES);
    const int rc = sqlite3_exec(d.handle(), "PRAGMA locking_mode=NORMAL; SELECT count(*) FROM sqlite_master;",
                                nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) d.falhar(rc, "locking_mode=NORMAL");
}

bool log_com_commits(const std::string& caminho) {
    const int fd = ::open((caminho + "-wal").c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    const bool tem = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && !ler_log(fd, nullptr, 0).commits.empty();
    ::close(fd);
    return tem;
}

} // namespace gv::db
