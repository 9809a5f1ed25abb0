// The game's log. In play every commit goes to a write-ahead log beside the
// file, synced, and is moved into the file at once; each commit draws a mark
// of its own and keeps with it the mark the file alone held at its last
// complete checkpoint (its base), both in the file's header.
//
// A log or journal found beside a game when it is loaded is what a killed
// or cut-off write left. It is taken only when it continues that very file:
// its base is the mark of the file alone, or it adds nothing to the file.
// Everything is looked at in private copies first (the file alone, and the
// file with what is beside it), so that nothing is written to the player's
// files before the answer is known; a log or journal that is another copy's,
// another game's, or does not fit the file is refused by name, and the
// engine never sees a journal it could stumble on.

#include "platform/db/database.h"

#include "platform/db/interno.h"
#include "platform/falhas.h"

#include <openssl/rand.h>
#include <sqlite3.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>

namespace fs = std::filesystem;

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

std::uint32_t grande(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
std::uint32_t pequeno(const unsigned char* p) {
    return std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

bool pagina_possivel(std::uint32_t p) { return p >= 512 && p <= 65536 && (p & (p - 1)) == 0; }

std::string ler_tudo(const std::string& caminho) {
    std::ifstream in(caminho, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What the engine would make of a log: its header (the magic, the version
// and their checksum), its page size, and the whole commits it would play.
struct Leitura_Log {
    bool vazio = true;         // nothing the engine would read: no bytes, or a wiped header
    bool cabecalho = false;    // a header the engine reads
    int pagina = 0;
    int commits = 0;
    // A frame of this log fails its checksum and a commit was written after
    // it: commits it held are lost, not merely cut short by a kill.
    bool danificado = false;
};

// The log's checksums run over pairs of 32-bit words, in the byte order
// the magic names.
void somar(bool ordem_grande, const unsigned char* p, std::size_t n, std::uint32_t& s0, std::uint32_t& s1) {
    for (std::size_t i = 0; i + 8 <= n; i += 8) {
        s0 += (ordem_grande ? grande(p + i) : pequeno(p + i)) + s1;
        s1 += (ordem_grande ? grande(p + i + 4) : pequeno(p + i + 4)) + s0;
    }
}

Leitura_Log ler_log(const std::string& bytes) {
    Leitura_Log r;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    bool zeros = true;
    for (std::size_t i = 0; i < bytes.size() && i < 32; ++i) zeros = zeros && p[i] == 0;
    r.vazio = zeros;
    if (bytes.size() < 32) return r;
    const std::uint32_t magia = grande(p);
    if ((magia & ~1u) != 0x377f0682u || grande(p + 4) != 3007000u) return r;
    const bool ordem = magia & 1u;
    std::uint32_t s0 = 0, s1 = 0;
    somar(ordem, p, 24, s0, s1);
    const std::uint32_t pagina = grande(p + 8) == 1 ? 65536u : grande(p + 8);
    if (s0 != grande(p + 24) || s1 != grande(p + 28) || !pagina_possivel(pagina)) return r;
    r.cabecalho = true;
    r.pagina = static_cast<int>(pagina);
    const std::size_t quadro = 24 + pagina;
    auto deste_log = [&](std::size_t o) { return grande(p + o + 8) == grande(p + 16) && grande(p + o + 12) == grande(p + 20); };
    std::size_t o = 32;
    bool partido = false;
    for (; o + quadro <= bytes.size(); o += quadro) {
        // A frame of an earlier log, which this one started over.
        if (!deste_log(o)) break;
        std::uint32_t t0 = s0, t1 = s1;
        somar(ordem, p + o, 8, t0, t1);
        somar(ordem, p + o + 24, pagina, t0, t1);
        if (t0 != grande(p + o + 16) || t1 != grande(p + o + 20) || grande(p + o) == 0) {
            partido = true;
            break;
        }
        s0 = t0;
        s1 = t1;
        if (grande(p + o + 4) != 0) ++r.commits;
    }
    // A kill between a frame's header and its page leaves a frame that fails
    // too, but nothing was committed after it.
    if (partido)
        for (o += quadro; o + quadro <= bytes.size() && !r.danificado; o += quadro)
            r.danificado = deste_log(o) && grande(p + o + 4) != 0;
    return r;
}

// What the engine would make of a rollback journal.
struct Leitura_Diario {
    bool quente = false;   // the engine would play it back
    bool cabe = true;      // its header and length are a journal's
    int pagina = 0;
};

Leitura_Diario ler_diario(const std::string& bytes) {
    Leitura_Diario r;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    // Empty, or its first byte wiped: the engine leaves it alone.
    if (bytes.empty() || p[0] == 0) return r;
    r.quente = true;
    static const unsigned char magia[8] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
    if (bytes.size() < 28 || std::memcmp(p, magia, 8) != 0) {
        r.cabe = false;
        return r;
    }
    const std::uint32_t registos = grande(p + 8), sector = grande(p + 20), pagina = grande(p + 24);
    r.pagina = static_cast<int>(pagina);
    r.cabe = pagina_possivel(pagina) && sector >= 32 && sector <= 65536 && (sector & (sector - 1)) == 0 &&
             bytes.size() >= sector &&
             (registos == 0xFFFFFFFFu || bytes.size() >= sector + std::uint64_t(registos) * (pagina + 8));
    return r;
}

Erro_BD sobra_alheia(const std::string& caminho, const std::string& sobra, const std::string& porque) {
    return Erro_BD(ERRO_FICHEIRO, "Ao lado de " + caminho + " está " + sobra + ", que não é seu: " + porque,
                   Erro_BD::Tipo::Sobra_Alheia, sobra);
}

// The temporary folder, named as the person would look for it.
std::string nome_pasta_temporaria() {
    for (const char* v : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"})
        if (const char* s = std::getenv(v); s && *s) return s;
    return "/tmp";
}

[[noreturn]] void falha_temporaria(const std::string& pasta, const std::error_code& ec, const std::string& o_que) {
    throw Erro_BD(ERRO_FICHEIRO, o_que + " na pasta temporária " + pasta + ": " + ec.message(),
                  Erro_BD::Tipo::Pasta_Temporaria, pasta, tipo_do_sistema(ec));
}

constexpr const char* Prefixo_Copia = "gv-copia-";

// The folder of a load's private copies, in the temporary folder. Its owner
// holds a lock on a file inside while it lives: a folder whose lock can be
// taken was left by a load that was killed.
class Copia_Privada {
public:
    Copia_Privada() {
        std::error_code ec;
        const std::string nome = nome_pasta_temporaria();
        const fs::path temporaria = fs::temp_directory_path(ec);
        if (ec || temporaria.empty() || !fs::is_directory(temporaria, ec)) {
            if (!ec) ec = std::make_error_code(std::errc::no_such_file_or_directory);
            falha_temporaria(nome, ec, "Não existe");
        }
        std::string modelo = (temporaria / (std::string(Prefixo_Copia) + "XXXXXX")).string();
        if (!::mkdtemp(modelo.data())) falha_temporaria(nome, {errno, std::generic_category()}, "Não foi possível criar");
        pasta_ = modelo;
        dono_ = ::open((pasta_ / ".dono").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
        if (dono_ < 0 || ::flock(dono_, LOCK_EX | LOCK_NB) != 0) {
            const std::error_code sis(errno, std::generic_category());
            remover();
            falha_temporaria(nome, sis, "Não foi possível escrever");
        }
        nome_ = nome;
    }
    ~Copia_Privada() { remover(); }
    Copia_Privada(const Copia_Privada&) = delete;
    Copia_Privada& operator=(const Copia_Privada&) = delete;

    // Copies de into the folder as para; a failure of the copy's side is
    // the temporary folder's, named as such.
    std::string copiar(const std::string& de, const std::string& para) {
        const fs::path destino = pasta_ / para;
        fs::create_directories(destino.parent_path());
        std::error_code ec;
        fs::copy_file(de, destino, ec);
        if (!ec) return destino.string();
        if (::access(de.c_str(), R_OK) != 0)
            throw Erro_BD(ERRO_FICHEIRO, "Não foi possível ler " + de + ": " + ec.message(), tipo_do_sistema(ec));
        falha_temporaria(nome_, ec, "Não foi possível copiar " + de);
    }

    // Folders of loads that were killed, mark and all.
    static void limpar_restos(const fs::path& temporaria) {
        std::error_code ec;
        for (fs::directory_iterator it(temporaria, ec), fim; !ec && it != fim; it.increment(ec)) {
            const fs::path pasta = it->path();
            if (pasta.filename().string().rfind(Prefixo_Copia, 0) != 0 || !it->is_directory(ec)) continue;
            const int fd = ::open((pasta / ".dono").c_str(), O_RDWR | O_CLOEXEC);
            bool orfa;
            if (fd >= 0) {
                orfa = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
            } else {
                // Killed before its lock was made, or being made right now.
                const auto idade = fs::file_time_type::clock::now() - fs::last_write_time(pasta, ec);
                orfa = !ec && idade > std::chrono::minutes(1);
            }
            if (orfa) fs::remove_all(pasta, ec);
            if (fd >= 0) ::close(fd);
            ec.clear();
        }
    }

private:
    void remover() {
        std::error_code ec;
        if (!pasta_.empty()) fs::remove_all(pasta_, ec);
        if (dono_ >= 0) ::close(dono_);
        dono_ = -1;
        pasta_.clear();
    }
    fs::path pasta_;
    std::string nome_;
    int dono_ = -1;
};

// A shared hold on the game file, taken as the engine takes it: refused
// while another program writes it or holds it alone, as a game being played
// does. Held while the file is copied, so that no commit lands halfway
// through the copy. Closing drops it (and would drop any other lock this
// process held on the file, so it lives only while the engine has the file
// closed).
class Trinco {
public:
    explicit Trinco(const std::string& caminho) {
        fd_ = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) {
            const std::error_code sis(errno, std::generic_category());
            throw Erro_BD(ERRO_FICHEIRO, "Não foi possível abrir " + caminho + ": " + sis.message(),
                          tipo_do_sistema(sis));
        }
        struct flock l {};
        l.l_type = F_RDLCK;
        l.l_whence = SEEK_SET;
        l.l_start = 0x40000000;   // the engine's lock bytes: pending, reserved and shared
        l.l_len = 2 + 510;
        if (::fcntl(fd_, F_SETLK, &l) != 0 && (errno == EACCES || errno == EAGAIN)) {
            ::close(fd_);
            throw Erro_BD(SQLITE_BUSY, "O ficheiro está a ser usado por outro programa: " + caminho,
                          Erro_BD::Tipo::Bloqueada);
        }
    }
    ~Trinco() { ::close(fd_); }
    Trinco(const Trinco&) = delete;
    Trinco& operator=(const Trinco&) = delete;

private:
    int fd_ = -1;
};

} // namespace

// ---------------------------------------------------------------- in play

Database::Marca Database::marca_lida() {
    return {valor("PRAGMA user_version").inteiro(), valor("PRAGMA application_id").inteiro()};
}

void Database::marcar() {
    const long long nova = marca_nova();
    const std::string sql = "PRAGMA user_version = " + std::to_string(nova) +
                            "; PRAGMA application_id = " + std::to_string(marca_ficheiro_);
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) falhar(rc, sql);
    marca_ = nova;
}

void Database::modo_jogo(bool compactar_antes) {
    if (!db_ || modo_ == Modo::So_Leitura || wal_) return;
    char* erro = nullptr;
    // Answers the mode it is in; a file that cannot take it stays as it was.
    auto ler = [](void* r, int, char** v, char**) {
        *static_cast<bool*>(r) = v[0] && std::string(v[0]) == "wal";
        return 0;
    };
    bool wal = false;
    // The game holds its file alone while it is played: no other program
    // writes it meanwhile, the log's index lives in memory rather than in a
    // shared file, and no commit pays for taking and dropping locks.
    int rc = sqlite3_exec(db_, "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) registar(rc, "locking_mode=EXCLUSIVE", db_);
    rc = sqlite3_exec(db_, "PRAGMA journal_mode=WAL", ler, &wal, &erro);
    sqlite3_free(erro);
    if (rc != SQLITE_OK) registar(rc, "journal_mode=WAL", db_);
    wal_ = wal;
    if (!wal_) {
        rc = sqlite3_exec(db_, "PRAGMA locking_mode=NORMAL", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) registar(rc, "locking_mode=NORMAL", db_);
        if (compactar_antes) compactar();
        return;
    }
    // Entering play, the file alone holds the whole game. It draws a mark of
    // its own at once: a copy of this file loaded elsewhere parts ways with
    // it here, and no log of that copy continues this one. A file never
    // marked is marked twice, so that every commit after has a base. The
    // mark needs no sync of its own: the checkpoint that moves it into the
    // file syncs the log, then the file: a cut before it leaves the file as
    // it was.
    marca_ = marca_ficheiro_ = valor("PRAGMA user_version").inteiro();
    const Repor_Pragma repor{db_, "PRAGMA synchronous = " + valor("PRAGMA synchronous").texto()};
    const int rc_sincronia = sqlite3_exec(db_, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
    if (rc_sincronia != SQLITE_OK) falhar(rc_sincronia, "synchronous");
    // The compaction goes into the log with the mark, and the one
    // checkpoint after the mark moves both into the file.
    if (compactar_antes) {
        compactar();
        ponto_de_falha("base.compactada");
    }
    for (int vez = marca_ == 0 ? 2 : 1; vez > 0; --vez) {
        Transaccao t(*this);
        t.commit();
    }
    // The log the compaction grew to the file's size goes back to nothing:
    // play grows it again as it needs, from a file that holds everything.
    if (compactar_antes) {
        const int rc_log = sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
        if (rc_log == SQLITE_OK) marca_ficheiro_ = marca_;
        else registar(rc_log, "checkpoint", db_);
    }
}

void Database::nova_marca() {
    if (transaccoes_ == 0 || wal_) throw Erro_BD(SQLITE_MISUSE, "Marca fora de uma transacção, ou em jogo");
    // A file made here has no past: its mark is its own base.
    const std::string nova = std::to_string(marca_nova());
    const std::string sql = "PRAGMA user_version = " + nova + "; PRAGMA application_id = " + nova;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) falhar(rc, sql);
}

bool Database::pousar() {
    if (!wal_ || !db_) return true;
    // Everything committed goes into the file itself, synced.
    int no_log = 0, no_ficheiro = 0;
    const int rc = sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, &no_log, &no_ficheiro);
    if (rc != SQLITE_OK) {
        // The commit itself is safe in the log. The next commits go on
        // from the same base, the file's last complete one, until a
        // checkpoint, the close or the next load moves them all in.
        registar(rc, "checkpoint", db_);
        return false;
    }
    if (no_log <= 0 || no_ficheiro != no_log) return true;
    marca_ficheiro_ = marca_;
    // Every frame of the log is in the file: its header is wiped, so that a
    // crash at rest leaves nothing in the log. The engine writes a new
    // header with the next commit, which starts the log over as a
    // checkpoint that took every frame lets it; the log keeps its length, so
    // that commit writes over what is there instead of growing the file.
    sqlite3_file* log = nullptr;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_JOURNAL_POINTER, &log) != SQLITE_OK || !log || !log->pMethods)
        return true;
    ponto_de_falha("base.limpar_log");
    static const char zeros[32] = {};
    const int escrito = log->pMethods->xWrite(log, zeros, sizeof zeros, 0);
    if (escrito == SQLITE_OK) return true;
    registar(escrito, "log header", nullptr);
    return false;
}

bool Database::log_com_commits(const std::string& caminho) {
    std::error_code ec;
    if (!fs::exists(caminho + "-wal", ec)) return false;
    return ler_log(ler_tudo(caminho + "-wal")).commits > 0;
}

// ---------------------------------------------------------------- loading

std::vector<std::string> Database::sobras(const std::string& caminho) {
    std::vector<std::string> r;
    std::error_code ec;
    for (const char* sufixo : {"-wal", "-journal"})
        if (fs::exists(caminho + sufixo, ec)) r.push_back(caminho + sufixo);
    return r;
}

Database::Jogo_Aberto Database::abrir_jogo(const std::string& caminho, const std::string& ligacao,
                                           const std::function<bool(Database&)>& aceitar) {
    Jogo_Aberto r;
    std::error_code ec;
    if (!fs::is_regular_file(caminho, ec))
        throw Erro_BD(ERRO_FICHEIRO, "O ficheiro não existe: " + caminho, Erro_BD::Tipo::Sem_Ficheiro);
    // What a load killed while it looked left in the temporary folder goes
    // with the next load, whatever that one finds.
    if (const fs::path t = fs::temp_directory_path(ec); !ec) Copia_Privada::limpar_restos(t);
    const std::vector<std::string> ao_lado = sobras(caminho);
    if (ao_lado.empty()) {
        auto d = abrir(caminho, ligacao);
        if (!aceitar(*d)) return r;
        // A file left in the log's mode with its log gone away is given its
        // journal back before anything is written to it.
        d->deixar_log();
        r.base = std::move(d);
        return r;
    }
    int pagina_par = 0;
    bool com_log = false;
    {
        // Nothing is copied while another program writes the file.
        Trinco trinco(caminho);
        Copia_Privada copia;
        const std::string nome = fs::path(caminho).filename().string();
        ponto_de_falha("carregar.copia");

        // The file alone: its page size and mark, or why it cannot be read
        // alone (a checkpoint cut off halfway leaves it so, the log holding
        // what it lacks).
        std::optional<Marca> so;
        std::optional<Erro_BD> falha_so;
        int pagina = 0;
        const std::string solo = copia.copiar(caminho, "so/" + nome);
        try {
            auto d = abrir(solo, ligacao);
            so = d->marca_lida();
            pagina = d->pagina_;
        } catch (const Erro_BD& e) {
            falha_so = e;
        }
        std::vector<int> paginas{pagina};
        if (!pagina) {
            paginas = {Pagina_Antiga};
            if (fs::file_size(caminho, ec) % Pagina_Nova == 0) paginas.insert(paginas.begin(), Pagina_Nova);
        }
        auto cabe = [&](int p) { return std::find(paginas.begin(), paginas.end(), p) != paginas.end(); };

        // What is beside it must fit the file before the engine is shown it.
        std::string com_conteudo;
        std::string log_danificado;
        pagina_par = pagina;
        for (const auto& s : ao_lado) {
            const std::string bytes = ler_tudo(s);
            if (s == caminho + "-wal") {
                const Leitura_Log l = ler_log(bytes);
                if (!l.cabecalho && !l.vazio) throw sobra_alheia(caminho, s, "cabeçalho de log inválido");
                if (l.cabecalho && !cabe(l.pagina)) throw sobra_alheia(caminho, s, "páginas de outro tamanho");
                if (l.cabecalho) pagina_par = l.pagina;
                com_log = com_log || l.cabecalho;
                if (l.commits > 0 && com_conteudo.empty()) com_conteudo = s;
                if (l.danificado) log_danificado = s;
            } else {
                const Leitura_Diario j = ler_diario(bytes);
                if (!j.cabe) throw sobra_alheia(caminho, s, "não é um diário que caiba no ficheiro");
                if (j.quente && !cabe(j.pagina)) throw sobra_alheia(caminho, s, "páginas de outro tamanho");
                if (j.quente) {
                    pagina_par = j.pagina;
                    if (com_conteudo.empty()) com_conteudo = s;
                }
            }
        }
        if (com_conteudo.empty()) com_conteudo = log_danificado.empty() ? ao_lado.front() : log_danificado;

        // The file with what is beside it, as the engine would read it.
        const std::string par = copia.copiar(caminho, "par/" + nome);
        for (const auto& s : ao_lado) copia.copiar(s, "par/" + nome + s.substr(caminho.size()));
        std::unique_ptr<Database> d;
        std::optional<Marca> com;
        bool inteira = false;
        try {
            d = abrir_com(par, ligacao, Modo::Leitura_Escrita, {pagina_par, false});
            com = d->marca_lida();
            inteira = d->valor("PRAGMA integrity_check").texto() == "ok";
        } catch (const Erro_BD&) {
            // Pages the file's key cannot read, or damage the side does not mend.
        }
        if (!com) {
            if (falha_so) throw *falha_so;
            throw sobra_alheia(caminho, com_conteudo, "o ficheiro não se lê com ele");
        }
        if (so) {
            bool proprio;
            if (com_log) {
                // A log goes forward from the file: it adds nothing to it,
                // or starts from the mark the file alone holds.
                const bool nada_acrescenta = com->marca == so->marca && com->base == so->base;
                const bool continua = com->base == so->marca;
                // A log of the earlier version, which counted its commits.
                const bool contado = com->base == 0 && so->base == 0 && com->marca == so->marca + 1;
                proprio = nada_acrescenta || continua || contado;
            } else {
                // A journal goes back to the state it was cut off from; marks
                // are only drawn in the log, so that state has the file's.
                proprio = com->marca == so->marca;
            }
            if (!proprio) throw sobra_alheia(caminho, com_conteudo, "continua outra cópia do jogo");
        }
        if (!inteira) {
            d.reset();
            // Damage of the file's own that nothing beside it mends is the file's.
            if (falha_so || abrir(solo, ligacao)->valor("PRAGMA integrity_check").texto() != "ok")
                throw Erro_BD(SQLITE_CORRUPT, "O ficheiro está danificado: " + caminho, Erro_BD::Tipo::Danificada);
            throw Erro_BD(SQLITE_CORRUPT, "Ao lado de " + caminho + " está " + com_conteudo + ", danificado",
                          Erro_BD::Tipo::Sobra_Danificada, com_conteudo);
        }
        if (!aceitar(*d)) return r;
        r.log_perdido = log_danificado;
    }
    // Taken into the file itself: a journal is played back as the file is
    // read; a log is read with its index in memory (no shared index file
    // beside the game), moved in and gone before anything else is written.
    // The file alone then holds the game.
    auto d = abrir_com(caminho, ligacao, Modo::Leitura_Escrita, {pagina_par, com_log});
    ponto_de_falha("carregar.tomar");
    d->deixar_log();
    r.base = std::move(d);
    return r;
}

void Database::deixar_log() {
    std::string modo;
    char* erro = nullptr;
    int rc = sqlite3_exec(
        db_, "PRAGMA journal_mode=DELETE",
        [](void* m, int, char** v, char**) {
            *static_cast<std::string*>(m) = v[0] ? v[0] : "";
            return 0;
        },
        &modo, &erro);
    sqlite3_free(erro);
    if (rc != SQLITE_OK) falhar(rc, "journal_mode=DELETE");
    if (modo != "delete")
        throw Erro_BD(ERRO_FICHEIRO, "O log de " + caminho_ + " não pôde ser passado para o ficheiro",
                      Erro_BD::Tipo::Erro_ES);
    rc = sqlite3_exec(db_, "PRAGMA locking_mode=NORMAL; SELECT count(*) FROM sqlite_master;", nullptr, nullptr,
                      nullptr);
    if (rc != SQLITE_OK) falhar(rc, "locking_mode=NORMAL");
}

} // namespace gv::db
