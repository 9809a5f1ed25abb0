#pragma once
// The watch for another program's writes into the game's file and its log,
// from the load's first write to the close's last.
//
// What it keeps of each: the size and first bytes this window's own writes
// leave in it, and how the system showed it at the last look.
//
// The one look: the file is as this window left it when the system shows
// it as at the last look and the window has not written since; else when
// its size is the one the window's writes give (where the system may show
// a size late, no larger) and its first bytes are the ones it wrote.
//
// When: each step of the engine's work (a transaction, the move of a commit
// into the file, the load, the close) looks at each file before its first
// write into it, and at its end at each file it wrote. Besides, every page
// the engine reads back from the log is the one this window wrote there,
// or read there as it took the log in; and each write into the game's
// file is followed by a look at its size, where the system shows it at once.
//
// The one rule: once a look finds a file otherwise, another program wrote
// it, and from then on this window writes nothing more into either file.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <map>
#include <vector>

namespace gv::db {

// One file as this window left it.
class Olhado {
public:
    // Taken as it is now, open at fd: the window's own from here on.
    void tomar(int fd);
    void esquecer() { *this = Olhado(); }
    bool visto() const { return visto_; }
    // Written by the window since the last look.
    bool escrito() const { return escrito_; }
    // Whether the file is the one taken.
    bool e(dev_t dev, ino_t ino) const { return visto_ && st_.st_dev == dev && st_.st_ino == ino; }
    // The one look, at the file open at fd; `fieis`: the system shows a
    // write at once in the size and times it gives.
    bool olhar(int fd, bool fieis);
    // The window's own write or truncation; false where the system shows,
    // right after it, a size it does not give (only asked where `fieis`).
    bool escreveu(int fd, off_t onde, const void* bytes, std::size_t n, bool fieis);
    void truncou(off_t tamanho);

private:
    bool visto_ = false, escrito_ = false;
    struct ::stat st_ {};
    off_t tamanho_ = 0;
    std::vector<unsigned char> inicio_;
};

class Vigia {
public:
    enum Qual { Ficheiro = 0, Log = 1 };
    void fieis(bool f) { fieis_ = f; }
    bool fieis() const { return fieis_; }

    // The file `q` held at fd (the place's own descriptor, open while it
    // holds it), taken as it is now.
    void tomar(Qual q, int fd);
    void esquecer(Qual q);
    bool visto(Qual q) const { return olhados_[q].visto(); }
    bool e(Qual q, dev_t dev, ino_t ino) const { return olhados_[q].e(dev, ino); }

    // A step begins: both looked at now, and each again before the step's
    // first write into it (the log too before the first into the file, as
    // the file's pages may come from it). False once another program wrote
    // either.
    bool comecar();
    // A step ends: each file it wrote looked at; the next step's writes
    // are looked at before, as above.
    bool acabar();

    // The engine's own calls on the file `q`, at its descriptor `fd`.
    bool antes_de_escrever(Qual q);
    // After a write of the engine's; false: another program wrote into the
    // file in that very instant, and the window's write went into it.
    bool escreveu(Qual q, int fd, off_t onde, const void* bytes, ssize_t n);
    void truncou(Qual q, off_t tamanho);
    // False: a page of the log that is not what this window wrote or took
    // in there (kept as another program's write).
    bool leu(Qual q, off_t onde, const void* bytes, ssize_t n);

    // Which file another program wrote: -1 none.
    int alterado() const { return alterado_; }
    // The window wrote into that file since it last found it its own.
    bool ambos() const { return ambos_; }
    // The log was found another's as its pages went into the file, some in
    // already: the file holds part of the last move only.
    bool a_meio() const { return a_meio_; }

private:
    bool olhar(Qual q);
    Olhado olhados_[2];
    int fds_[2] = {-1, -1};
    bool devido_[2] = {true, true};
    bool fieis_ = true;
    int alterado_ = -1;
    bool ambos_ = false, a_meio_ = false;
    // What the log holds at each offset, as this window wrote or read it:
    // its length and a hash of its bytes.
    struct Pedaco {
        std::size_t n, hash;
    };
    std::map<off_t, Pedaco> log_;
    void guardar(off_t onde, const void* bytes, std::size_t n);
    // What was kept of the log's bytes from `de` to `ate`, let go.
    void largar_log(off_t de, off_t ate);
};

} // namespace gv::db
