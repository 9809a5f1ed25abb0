#pragma once
// A failing disk for tests: a layer in front of the engine's own file layer
// that counts every write, sync, truncate and delete of a file and makes
// the N-th of one kind fail as a failing or full disk would (once, or that
// one and every one after it). The engine sees an I/O error; the bytes of
// a failed write never reach the file.

#include <signal.h>
#include <sqlite3.h>
#include <unistd.h>

#include "platform/db/database.h"

#include <array>
#include <cstring>
#include <optional>
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
    // How many of this kind were made since the counts started.
    static int feitas(Operacao o) { return estado().contas[static_cast<int>(o)]; }
    static int falhadas() { return estado().falhadas; }
    // Every operation since the counts started, in order.
    static const std::vector<std::pair<Operacao, Papel>>& registo() { return estado().registo; }

private:
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
    // Counts the operation; whether it fails.
    static bool falha(Operacao o, Papel p) {
        Estado& e = estado();
        if (e.registar) e.registo.emplace_back(o, p);
        int vez = ++e.contas[static_cast<int>(o)];
        if (e.so) {
            if (*e.so != p || e.op != o) return false;
            vez = ++e.do_papel;
        }
        const bool f = e.n > 0 && e.op == o && (vez == e.n || (e.sempre && vez > e.n));
        if (f && e.matar) ::kill(::getpid(), SIGKILL);
        if (f) ++e.falhadas;
        return f;
    }

    struct Ficheiro {
        sqlite3_file base;
        sqlite3_file* dentro;
        Papel papel;
    };
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
        const int rc = real()->xOpen(real(), nome, p->dentro, flags, saida);
        if (p->dentro->pMethods) p->base.pMethods = metodos(p->dentro->pMethods->iVersion);
        return rc;
    }
    static int remover(sqlite3_vfs*, const char* nome, int sincronizar) {
        if (falha(Operacao::Remocao, papel_do_nome(nome))) return SQLITE_IOERR_DELETE;
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
                    return de(f)->pMethods->xWrite(de(f), b, n, o);
                };
                x.xTruncate = [](sqlite3_file* f, sqlite3_int64 n) {
                    if (falha(Operacao::Corte, papel(f))) return SQLITE_IOERR_TRUNCATE;
                    return de(f)->pMethods->xTruncate(de(f), n);
                };
                // A kill, not a power cut, follows: what was written stays,
                // and a sync that works need not wait for the disk.
                x.xSync = [](sqlite3_file* f, int) { return falha(Operacao::Sincronia, papel(f)) ? SQLITE_IOERR_FSYNC : SQLITE_OK; };
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
