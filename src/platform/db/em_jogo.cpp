#include "platform/db/em_jogo.h"

#include "platform/db/formato_log.h"
#include "platform/db/interno.h"
#include "platform/db/lugar.h"
#include "platform/db/obras.h"
#include "platform/falhas.h"

#include <openssl/rand.h>
#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <random>

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
bool passar_ao_ficheiro(Database& d, bool* tudo = nullptr) {
    int no_log = 0, no_ficheiro = 0;
    const int rc = sqlite3_wal_checkpoint_v2(d.handle(), nullptr, SQLITE_CHECKPOINT_PASSIVE, &no_log, &no_ficheiro);
    // Whether the file took in every frame of the log.
    if (tudo) *tudo = rc == SQLITE_OK && no_ficheiro == no_log;
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

// A game file's commits, in whatever journal mode: each draws a mark of its
// own and keeps the one before it, so that a journal left by one commit is
// never taken for another's. Before each, the file's name is looked at: once
// it names another file, or none, nothing more is begun, and every
// transaction is refused with what became of the game.
class Marcacao : public Ganchos_Commit {
public:
    Marcacao(long long marca, Perda antes) : marca_(marca), antes_(antes) {}
    void antes_da_transaccao(Database& d) override {
        if (perdeu(d) || largado(d, false)) d.recusar_perda();
        // A file that got another name while played (a hard link, as a
        // backup's snapshot) is written anew under its own before anything
        // more is written: the other keeps the bytes it had when given.
        if (jogado_ && d.lugar() && d.lugar()->nomes() > 1) reescrever(d);
    }
    Erro_BD nome_perdido(Database& d) override {
        perdeu(d);
        return d.dizer_perda();
    }
    // From now on the player plays it (on a file system without the log).
    void em_jogo() { jogado_ = true; }
    void antes_do_commit(Database& d) override {
        nova_ = marca_nova();
        escrever_marca(d, {nova_, marca_});
    }
    void commit_falhou(Database&) override {}
    void depois_do_commit(Database&) override { marca_ = nova_; }
    void ao_fechar(Database& d) override { largado(d, true); }
    bool depois_de_fechar(Database& d) override {
        // What the close wrote is looked at as any step's: another
        // program's write found in it is told.
        if (d.lugar()) d.lugar()->deixado();
        largado(d, true);
        perdeu(d);
        return true;
    }

protected:
    // Whether another program wrote into the file, or its log, since this
    // window last left them: nothing more is written to them (the watch
    // refuses the engine's every write, its close's too), and as the game
    // closes the log this window made goes.
    static bool largado(Database& d, bool ao_fechar) {
        if (!d.lugar()) return false;
        if (!d.perda() && d.lugar()->alterado()) d.perder_jogo(d.lugar()->alterado_por_outro());
        if (!d.perda() || d.perda()->tipo() != Erro_BD::Tipo::Ficheiro_Alterado) return false;
        if (ao_fechar) {
            d.lugar()->largar_alterados();
            // Told with where a log the other wrote was set aside.
            d.perder_jogo(d.lugar()->alterado_por_outro());
        }
        return true;
    }
    // Whether the file's name was lost, now or before: once, what became
    // of the game is kept, to be worked out as it is told.
    bool perdeu(Database& d) {
        if (!d.perda() && d.nome_mudou()) d.perder_jogo(perder_o_nome(d));
        return d.perda() != nullptr;
    }
    virtual Erro_BD perder_o_nome(Database& d) { return d.lugar()->perdido(jogado_ ? Perda::Jogado : antes_); }
    // Played on in the file written anew, which has no marks yet.
    virtual void retomar(Database& d) { marca_ = d.valor("PRAGMA user_version").inteiro(); }
    long long marca_;      // the last commit's
    long long nova_ = 0;   // the one being committed
    Perda antes_;          // what a load did to the file before play
    bool jogado_ = false;

private:
    void reescrever(Database& d) {
        const Obra obra(d.lugar(), Espera_Obra_Carregar);
        obra.limpar();
        ponto_de_falha("em_jogo.reescrever");
        d.exportar(obra.a_cifrar(), d.ligacao());
        // The old file's close writes nothing into it: the other name keeps
        // its bytes, whatever the log still held (the new file has it all).
        d.lugar()->soltar_motor();
        try {
            d.reabrir([&] { obra.por_no_lugar(true); });
        } catch (const Erro_BD&) {
            // Its name lost meanwhile is told as such.
            if (perdeu(d)) d.recusar_perda();
            throw;
        }
        retomar(d);
    }
};

// A game being played, in the log.
class Em_Jogo final : public Marcacao {
public:
    explicit Em_Jogo(long long marca) : Marcacao(marca, Perda::Jogado) { jogado_ = true; }
    // The log taken up on this connection: how many frames it holds after
    // each commit, the file held alone, and the log's mode. A file system
    // that cannot take the log answers with the mode it stays in.
    bool pendurar(Database& d) {
        quadros_ = 0;
        sqlite3_wal_hook(
            d.handle(),
            [](void* eu, sqlite3*, const char*, int quadros) {
                static_cast<Em_Jogo*>(eu)->quadros_ = quadros;
                return SQLITE_OK;
            },
            this);
        const int rc = sqlite3_exec(d.handle(), "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) registar(rc, "locking_mode=EXCLUSIVE", d.handle());
        return modo_diario(d, "wal") == "wal";
    }
    // The entry's own commits: a file never marked is marked twice, so that
    // its mark has one before it. Each is synced, as every commit in play
    // is: a cut then finds past the log's last sync one commit at most.
    void marcar_entrada(Database& d) {
        for (int vez = marca_ == 0 ? 2 : 1; vez > 0; --vez) {
            Transaccao t(d);
            t.commit();
        }
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
        // The commit's step ends; the move into the file is one of its own.
        d.deixado();
        ponto_de_falha("em_jogo.commit");
        // A log moved whole into the file starts over with the next commit.
        bool tudo = false;
        if (passar_ao_ficheiro(d, &tudo)) quadros_ = 0;
        if (d.lugar()) d.lugar()->log_passado(tudo);
    }
    void ao_fechar(Database& d) override {
        sqlite3_wal_hook(d.handle(), nullptr, nullptr);
        // A file whose name is lost keeps its log: the engine's close moves
        // it into the file held and leaves it empty. One given a second name
        // since the last commit keeps every byte it had: its empty log
        // goes, and its next load gives it its journal back.
        if (largado(d, true) || perdeu(d) || (d.lugar() && d.lugar()->nomes() > 1)) return;
        try {
            sair_do_log(d);
        } catch (const Erro_BD& e) {
            registar(e.numero(), e.descricao(), nullptr);
        }
        ponto_de_falha("em_jogo.fechar");
    }
    bool depois_de_fechar(Database& d) override {
        if (!d.lugar()) return !log_com_commits(d.caminho());
        d.lugar()->deixado();
        if (largado(d, true)) return true;
        return perdeu(d) || !d.lugar()->log_com_commits();
    }
    // The log truncated to nothing.
    void log_vazio() { quadros_ = 0; }

protected:
    // Everything played goes into the file held, through the engine's open
    // files, and the log is left empty.
    Erro_BD perder_o_nome(Database& d) override {
        if (!d.aberta()) return Marcacao::perder_o_nome(d);
        if (const int rc = sqlite3_wal_checkpoint_v2(d.handle(), nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
            rc != SQLITE_OK)
            registar(rc, "checkpoint", d.handle());
        else
            quadros_ = 0;
        return Marcacao::perder_o_nome(d);
    }
    void retomar(Database& d) override {
        Marcacao::retomar(d);
        if (!pendurar(d)) throw Erro_BD(ERRO_FICHEIRO, "O jogo escrito de novo não tomou o log", Erro_BD::Tipo::Erro_ES);
        marcar_entrada(d);
    }

private:
    int quadros_ = 0;   // frames in the log after the last commit made
};

} // namespace

void marcar_commits(Database& d, Perda antes) {
    if (d.aberta() && !d.so_leitura() && !d.ganchos()) {
        d.pendurar_ganchos(std::make_unique<Marcacao>(d.valor("PRAGMA user_version").inteiro(), antes));
        d.deixado();
    }
}

void entrar_em_jogo(Database& d, bool compactar_antes) {
    if (!d.aberta() || d.so_leitura() || dynamic_cast<Em_Jogo*>(d.ganchos())) return;
    // Entering play draws a mark of its own: a copy of the file loaded
    // elsewhere parts ways with it here.
    marcar_commits(d);
    const long long marca = d.valor("PRAGMA user_version").inteiro();
    auto em_jogo = std::make_unique<Em_Jogo>(marca);
    // The game holds its file alone while it is played: no other program
    // writes it meanwhile, the log's index lives in memory rather than in a
    // shared file, and no commit pays for taking and dropping locks. The
    // log itself is made and held by the game's place (lugar.h) before the
    // engine writes a byte to it. A failure of the disk is the caller's to
    // report.
    if (!em_jogo->pendurar(d)) {
        sqlite3_wal_hook(d.handle(), nullptr, nullptr);
        const int rc = sqlite3_exec(d.handle(), "PRAGMA locking_mode=NORMAL", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) registar(rc, "locking_mode=NORMAL", d.handle());
        if (compactar_antes) d.compactar();
        if (auto* m = dynamic_cast<Marcacao*>(d.ganchos())) m->em_jogo();
        d.deixado();
        return;
    }
    if (compactar_antes) {
        d.compactar();
        ponto_de_falha("em_jogo.compactada");
    }
    Em_Jogo& jogo = *em_jogo;
    d.pendurar_ganchos(std::move(em_jogo));
    // The file as the change of mode and the compaction left it.
    d.deixado();
    jogo.marcar_entrada(d);
    // The log the compaction grew to the file's size goes back to nothing:
    // play grows it again as it needs, from a file that holds everything.
    if (compactar_antes) {
        const int rc = sqlite3_wal_checkpoint_v2(d.handle(), nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
        if (rc == SQLITE_OK) jogo.log_vazio();
        else registar(rc, "checkpoint", d.handle());
        d.deixado();
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
