#pragma once
// A failing disk for tests: a layer in front of the engine's own file layer
// that counts every write, sync, truncate and delete of a file and makes
// the N-th of one kind fail as a failing or full disk would (once, or that
// one and every one after it). The engine sees an I/O error; the bytes of
// a failed write never reach the file.
//
// Or the power goes: at the N-th operation of one kind the process dies,
// and of every write made since its file's last sync some reach the disk,
// some do not and some are torn at a sector, as a disk that caches writes
// leaves them.

#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/db/database.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace gv::teste {

enum class Operacao { Escrita, Sincronia, Corte, Remocao };
// Whose file: a game's (*.gv), its log, its journal, or another (the
// engine's temporary files, files being made and their journals).
enum class Papel { Base, Log, Diario, Outro };
constexpr std::array<Operacao, 4> Operacoes{Operacao::Escrita, Operacao::Sincronia, Operacao::Corte,
                                            Operacao::Remocao};

inline const char* nome_operacao(Operacao o) {
    switch (o) {
    case Operacao::Escrita: return "write";
    case Operacao::Sincronia: return "sync";
    case Operacao::Corte: return "truncate";
    case Operacao::Remocao: return "delete";
    }
    return "?";
}

class Disco_Avariado {
public:
    // Put in front of the engine's default file layer, once per process.
    static void instalar() {
        static const bool feito = [] {
            db::Database::preparar_motor();
            real() = sqlite3_vfs_find(nullptr);
            sqlite3_vfs& v = vfs();
            v = *real();
            v.zName = "gv-disco-avariado";
            v.szOsFile = static_cast<int>(sizeof(Ficheiro)) + real()->szOsFile;
            v.xOpen = abrir;
            v.xDelete = remover;
            return sqlite3_vfs_register(&v, 1) == SQLITE_OK;
        }();
        (void)feito;
    }
    // Counts start again from nothing; nothing fails; with `registar`,
    // every operation is kept in order (registo).
    static void limpar(bool registar = false) {
        estado() = {};
        estado().registar = registar;
    }
    // The n-th operation of this kind from now fails (of one file's role
    // only, when `so` is given); with `sempre`, every one after it as well.
    static void armar(Operacao o, int n, bool sempre, std::optional<Papel> so = {}) {
        limpar();
        estado().op = o;
        estado().n = n;
        estado().sempre = sempre;
        estado().so = so;
    }
    // The process is killed right before the n-th operation of this kind
    // on a file of this role.
    static void armar_morte(Operacao o, int n, Papel so) {
        armar(o, n, false, so);
        estado().matar = true;
    }
    // The power goes at the n-th operation of this kind from now, before it
    // is made (at a sync: before it completes). The writes since each
    // file's last sync are then undone as `semente` draws their fate, and
    // the process is killed; with `relato`, a line for each file undone is
    // written there first. Only what goes through the engine's file layer
    // is seen: what the program writes itself (a copy_file, a plain write)
    // counts as on the disk, as does whatever was written before this call.
    static void cortar_energia(Operacao o, int n, unsigned semente, std::string relato = {}) {
        limpar();
        Estado& e = estado();
        e.corte = true;
        e.op = o;
        e.n = n;
        e.semente = semente;
        e.relato = std::move(relato);
    }
    // How many of this kind were made since the counts started.
    static int feitas(Operacao o) { return estado().contas[static_cast<int>(o)]; }
    static int falhadas() { return estado().falhadas; }
    // Every operation since the counts started, in order.
    static const std::vector<std::pair<Operacao, Papel>>& registo() { return estado().registo; }

private:
    // A write not yet synced: where, how long, and what it wrote over (the
    // file's bytes there before it, as far as the file then reached).
    struct Escrita {
        sqlite3_int64 onde = 0, n = 0;
        std::string antes;
        int numero = 0;   // its place among every write since the arming: its fate's draw
    };
    // A file with writes since its last sync, known by what it is rather
    // than by its name: a rename keeps it, a file made anew under the same
    // name is another. A descriptor of the cut's own reaches it wherever it
    // goes; it is never closed, as closing any descriptor of a file drops
    // the locks the process holds on it (and the file stays what it is,
    // its number not handed to another).
    struct Pendente {
        int fd = -1;
        sqlite3_int64 sincronizado = 0;   // its size at its last sync
        std::vector<Escrita> escritas;
    };
    struct Estado {
        std::array<int, 4> contas{};
        Operacao op = Operacao::Escrita;
        int n = 0;   // 0: nothing armed
        bool sempre = false;
        int falhadas = 0;
        std::optional<Papel> so;
        bool matar = false;
        int do_papel = 0;   // of the role armed, when one is
        bool registar = false;
        std::vector<std::pair<Operacao, Papel>> registo;
        bool corte = false;   // the n-th is a power cut, not a failure
        unsigned semente = 0;
        std::string relato;
        int escritas = 0;
        std::map<std::pair<dev_t, ino_t>, Pendente> pendentes;
    };
    static Estado& estado() {
        static Estado e;
        return e;
    }
    static sqlite3_vfs*& real() {
        static sqlite3_vfs* r = nullptr;
        return r;
    }
    static sqlite3_vfs& vfs() {
        static sqlite3_vfs v;
        return v;
    }
    // Counts the operation; whether it fails. The power goes here when
    // this is the one it was armed for.
    static bool falha(Operacao o, Papel p) {
        Estado& e = estado();
        if (e.registar) e.registo.emplace_back(o, p);
        int vez = ++e.contas[static_cast<int>(o)];
        if (e.so) {
            if (*e.so != p || e.op != o) return false;
            vez = ++e.do_papel;
        }
        if (e.corte && e.op == o && vez == e.n) cortar();
        const bool f = !e.corte && e.n > 0 && e.op == o && (vez == e.n || (e.sempre && vez > e.n));
        if (f && e.matar) ::kill(::getpid(), SIGKILL);
        if (f) ++e.falhadas;
        return f;
    }

    struct Ficheiro {
        sqlite3_file base;
        sqlite3_file* dentro;
        Papel papel;
        const char* nome;   // the engine keeps it while the file is open; none for its nameless files
        bool conhecido;     // dev and ino below read
        dev_t dev;
        ino_t ino;
    };

    // The record of the file behind this handle, made at its first write
    // while a cut is armed: its size then counts as synced.
    static Pendente* pendente(sqlite3_file* f) {
        auto* p = reinterpret_cast<Ficheiro*>(f);
        if (!p->nome) return nullptr;
        struct stat st {};
        if (!p->conhecido) {
            if (::stat(p->nome, &st) != 0) return nullptr;
            p->conhecido = true;
            p->dev = st.st_dev;
            p->ino = st.st_ino;
        }
        auto [it, novo] = estado().pendentes.try_emplace({p->dev, p->ino});
        Pendente& r = it->second;
        if (novo) r.fd = ::open(p->nome, O_RDWR | O_CLOEXEC);
        if (r.fd < 0 || ::fstat(r.fd, &st) != 0 || st.st_dev != p->dev || st.st_ino != p->ino) {
            estado().pendentes.erase(it);
            return nullptr;
        }
        if (novo) r.sincronizado = st.st_size;
        return &r;
    }
    static sqlite3_int64 tamanho(int fd) {
        struct stat st {};
        return ::fstat(fd, &st) == 0 ? st.st_size : 0;
    }
    static int escrever(sqlite3_file* f, const void* b, int n, sqlite3_int64 o) {
        Pendente* p = estado().corte ? pendente(f) : nullptr;
        if (!p) return de(f)->pMethods->xWrite(de(f), b, n, o);
        Escrita w{o, n, {}, ++estado().escritas};
        const sqlite3_int64 ate = std::min(o + n, tamanho(p->fd));
        if (ate > o) {
            w.antes.resize(static_cast<std::size_t>(ate - o));
            if (::pread(p->fd, w.antes.data(), w.antes.size(), o) != static_cast<ssize_t>(w.antes.size())) w.antes.clear();
        }
        const int rc = de(f)->pMethods->xWrite(de(f), b, n, o);
        if (rc == SQLITE_OK) p->escritas.push_back(std::move(w));
        return rc;
    }
    // A sync that works puts on the disk what the file was written.
    static void sincronizado(sqlite3_file* f) {
        if (Pendente* p = estado().corte ? pendente(f) : nullptr) {
            p->escritas.clear();
            p->sincronizado = tamanho(p->fd);
        }
    }
    // A truncate that shortens the file is taken as reaching the disk at
    // once: what earlier writes put past it is gone whatever their fate. One
    // that lengthens it reaches the disk with the next sync only: until then
    // the file ends wherever its sectors that reached the disk leave it.
    static void cortado(sqlite3_file* f, sqlite3_int64 n) {
        Pendente* p = estado().corte ? pendente(f) : nullptr;
        if (!p) return;
        p->sincronizado = std::min(p->sincronizado, n);
        for (Escrita& w : p->escritas) {
            w.n = std::max<sqlite3_int64>(0, std::min(w.n, n - w.onde));
            if (static_cast<sqlite3_int64>(w.antes.size()) > w.n) w.antes.resize(static_cast<std::size_t>(w.n));
        }
    }
    // A delete is taken as reaching the disk at once: nothing the file was
    // written comes back.
    static void removido(const char* nome) {
        struct stat st {};
        if (!estado().corte || !nome || ::stat(nome, &st) != 0) return;
        if (auto it = estado().pendentes.find({st.st_dev, st.st_ino}); it != estado().pendentes.end())
            it->second.escritas.clear();
    }

    static constexpr sqlite3_int64 Sector = 512;
    // What reaches the disk of each write of a file, newest first: each of
    // its sectors reaches it or not, all, none or some as the seed draws. A
    // sector that reached the disk holds what the file held then; one that
    // did not, what the write found, unless a newer write's reached it.
    // The file ends where the last sector that reached the disk ends, never
    // shorter than at its last sync (a hole between reads as zeros). The
    // report gets a line of the file: "+" a sector kept, "-" one lost.
    static void desfazer(Pendente& p, std::string& relato) {
        if (p.escritas.empty()) return;
        std::set<sqlite3_int64> decididos;
        sqlite3_int64 fim = p.sincronizado;
        std::string visto;
        for (auto w = p.escritas.rbegin(); w != p.escritas.rend(); ++w) {
            std::seed_seq de_quem{estado().semente, static_cast<unsigned>(w->numero)};
            std::mt19937 sorte(de_quem);
            const unsigned destino = sorte() % 3;   // 0 kept, 1 lost, 2 torn
            for (sqlite3_int64 a = w->onde; a < w->onde + w->n; a = (a / Sector + 1) * Sector) {
                const sqlite3_int64 b = std::min(w->onde + w->n, (a / Sector + 1) * Sector);
                const bool chegou = destino == 0 || (destino == 2 && (sorte() & 1));
                visto += chegou ? '+' : '-';
                if (decididos.count(a / Sector)) continue;
                if (chegou) {
                    decididos.insert(a / Sector);
                    fim = std::max(fim, b);
                    continue;
                }
                // Past the end the file had then: zeros, or cut off below.
                std::string bytes(static_cast<std::size_t>(b - a), '\0');
                const auto dentro = std::min<sqlite3_int64>(b, w->onde + static_cast<sqlite3_int64>(w->antes.size()));
                if (dentro > a) w->antes.copy(bytes.data(), static_cast<std::size_t>(dentro - a), static_cast<std::size_t>(a - w->onde));
                if (::pwrite(p.fd, bytes.data(), bytes.size(), a) < 0) visto += '!';
            }
            visto += ' ';
        }
        if (fim < tamanho(p.fd) && ::ftruncate(p.fd, fim) != 0) visto += '!';
        char onde[64], nome[4096] = {};
        std::snprintf(onde, sizeof onde, "/proc/self/fd/%d", p.fd);
        if (::readlink(onde, nome, sizeof nome - 1) < 0) std::strcpy(nome, "?");
        relato += std::string(nome) + ": " + visto + "\n";
    }
    [[noreturn]] static void cortar() {
        Estado& e = estado();
        std::string relato;
        for (auto& [id, p] : e.pendentes) desfazer(p, relato);
        if (!e.relato.empty()) std::ofstream(e.relato, std::ios::binary | std::ios::trunc) << relato;
        ::kill(::getpid(), SIGKILL);
        for (;;) ::pause();
    }
    static sqlite3_file* de(sqlite3_file* f) { return reinterpret_cast<Ficheiro*>(f)->dentro; }
    static Papel papel(sqlite3_file* f) { return reinterpret_cast<Ficheiro*>(f)->papel; }
    static Papel papel_do_nome(const char* nome) {
        if (!nome) return Papel::Outro;
        const std::string n = nome;
        auto acaba = [&](const char* s) { return n.size() >= std::strlen(s) && n.compare(n.size() - std::strlen(s), std::string::npos, s) == 0; };
        return acaba(".gv-wal") ? Papel::Log : acaba(".gv-journal") ? Papel::Diario : acaba(".gv") ? Papel::Base : Papel::Outro;
    }

    static int abrir(sqlite3_vfs*, const char* nome, sqlite3_file* f, int flags, int* saida) {
        auto* p = reinterpret_cast<Ficheiro*>(f);
        p->dentro = reinterpret_cast<sqlite3_file*>(p + 1);
        p->base.pMethods = nullptr;
        p->papel = papel_do_nome(nome);
        p->nome = nome;
        p->conhecido = false;
        const int rc = real()->xOpen(real(), nome, p->dentro, flags, saida);
        if (p->dentro->pMethods) p->base.pMethods = metodos(p->dentro->pMethods->iVersion);
        return rc;
    }
    static int remover(sqlite3_vfs*, const char* nome, int sincronizar) {
        if (falha(Operacao::Remocao, papel_do_nome(nome))) return SQLITE_IOERR_DELETE;
        removido(nome);
        return real()->xDelete(real(), nome, sincronizar);
    }

    static const sqlite3_io_methods* metodos(int versao) {
        static sqlite3_io_methods m[4];
        static bool feitos = false;
        if (!feitos) {
            for (int v = 1; v <= 3; ++v) {
                sqlite3_io_methods& x = m[v];
                x.iVersion = v;
                x.xClose = [](sqlite3_file* f) {
                    const int rc = de(f)->pMethods->xClose(de(f));
                    f->pMethods = nullptr;
                    return rc;
                };
                x.xRead = [](sqlite3_file* f, void* b, int n, sqlite3_int64 o) { return de(f)->pMethods->xRead(de(f), b, n, o); };
                x.xWrite = [](sqlite3_file* f, const void* b, int n, sqlite3_int64 o) {
                    if (falha(Operacao::Escrita, papel(f))) return SQLITE_IOERR_WRITE;
                    return escrever(f, b, n, o);
                };
                x.xTruncate = [](sqlite3_file* f, sqlite3_int64 n) {
                    if (falha(Operacao::Corte, papel(f))) return SQLITE_IOERR_TRUNCATE;
                    const int rc = de(f)->pMethods->xTruncate(de(f), n);
                    if (rc == SQLITE_OK) cortado(f, n);
                    return rc;
                };
                // A sync that works need not wait for the disk: a power cut
                // here is the layer's own.
                x.xSync = [](sqlite3_file* f, int) {
                    if (falha(Operacao::Sincronia, papel(f))) return SQLITE_IOERR_FSYNC;
                    sincronizado(f);
                    return SQLITE_OK;
                };
                x.xFileSize = [](sqlite3_file* f, sqlite3_int64* n) { return de(f)->pMethods->xFileSize(de(f), n); };
                x.xLock = [](sqlite3_file* f, int l) { return de(f)->pMethods->xLock(de(f), l); };
                x.xUnlock = [](sqlite3_file* f, int l) { return de(f)->pMethods->xUnlock(de(f), l); };
                x.xCheckReservedLock = [](sqlite3_file* f, int* r) { return de(f)->pMethods->xCheckReservedLock(de(f), r); };
                x.xFileControl = [](sqlite3_file* f, int op, void* a) { return de(f)->pMethods->xFileControl(de(f), op, a); };
                x.xSectorSize = [](sqlite3_file* f) { return de(f)->pMethods->xSectorSize(de(f)); };
                x.xDeviceCharacteristics = [](sqlite3_file* f) { return de(f)->pMethods->xDeviceCharacteristics(de(f)); };
                if (v >= 2) {
                    x.xShmMap = [](sqlite3_file* f, int i, int n, int e, void volatile** p) { return de(f)->pMethods->xShmMap(de(f), i, n, e, p); };
                    x.xShmLock = [](sqlite3_file* f, int o, int n, int fl) { return de(f)->pMethods->xShmLock(de(f), o, n, fl); };
                    x.xShmBarrier = [](sqlite3_file* f) { de(f)->pMethods->xShmBarrier(de(f)); };
                    x.xShmUnmap = [](sqlite3_file* f, int d) { return de(f)->pMethods->xShmUnmap(de(f), d); };
                }
                if (v >= 3) {
                    x.xFetch = [](sqlite3_file* f, sqlite3_int64 o, int n, void** p) { return de(f)->pMethods->xFetch(de(f), o, n, p); };
                    x.xUnfetch = [](sqlite3_file* f, sqlite3_int64 o, void* p) { return de(f)->pMethods->xUnfetch(de(f), o, p); };
                }
            }
            feitos = true;
        }
        return &m[versao < 1 ? 1 : versao > 3 ? 3 : versao];
    }
};

} // namespace gv::teste
