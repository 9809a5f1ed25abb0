// The watch (vigia.h), and the engine's writes, truncations, reads and
// closes of the game's file and its log handed to it: every one of them
// goes through here.

#include "platform/db/vigia.h"

#include "platform/db/capacidades.h"
#include "platform/db/interno.h"
#include "platform/db/lugar.h"
#include "platform/db/lugar_interno.h"
#include "platform/falhas.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <string_view>
#include <utility>

namespace gv::db {

namespace {

constexpr off_t Inicio = 4096;
// A frame of the log: its header, then its page.
constexpr std::size_t Cabecalho_Quadro = 24;

bool mesmo_tempo(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::size_t hash_de(const void* bytes, std::size_t n) {
    return std::hash<std::string_view>{}(std::string_view(static_cast<const char*>(bytes), n));
}

// What a test's file system that shows things late (capacidades.h) showed
// last of each file: its size and first bytes.
struct Mostrado {
    off_t tamanho = -1;
    std::vector<unsigned char> inicio;
};
Mostrado& mostrado_antes(const struct stat& st) {
    static std::map<std::pair<dev_t, ino_t>, Mostrado> m;
    return m[{st.st_dev, st.st_ino}];
}
std::mutex guarda_mostrado;

// The size the system shows of a file (`st` as fstat gave it): a
// user-space or network file system may show one late, never asked anew
// (each time would cost its daemon a question). A test's file system that
// shows sizes late shows one that grew as it was, this once.
off_t tamanho_mostrado(const struct stat& st) {
    const off_t t = st.st_size;
    if (!tamanhos_tardios()) return t;
    std::lock_guard<std::mutex> g(guarda_mostrado);
    off_t& antes = mostrado_antes(st).tamanho;
    const off_t visto = antes < 0 ? t : std::min(antes, t);
    antes = t;
    return visto;
}

// The first bytes of the file open at fd, into `v` (as long as it is). A
// user-space file system may show a window what its pages held before its
// own last writes (sshfs, once a second window's open has it read them
// anew), until the pages it keeps are let go: `fresco` reads them past
// what it keeps. A test's file system that shows things late shows what
// it showed last, until then.
void inicio_mostrado(int fd, const struct stat& st, std::vector<unsigned char>& v, bool fresco) {
    if (fresco) ::posix_fadvise(fd, 0, Inicio, POSIX_FADV_DONTNEED);
    v.resize(ler_em(fd, v.data(), v.size(), 0));
    if (!tamanhos_tardios()) return;
    std::lock_guard<std::mutex> g(guarda_mostrado);
    std::vector<unsigned char>& antes = mostrado_antes(st).inicio;
    if (!fresco && !antes.empty()) std::swap(antes, v);
    else antes = v;
}

} // namespace

void Olhado::tomar(int fd) {
    *this = Olhado();
    if (fd < 0 || ::fstat(fd, &st_) != 0) return;
    visto_ = true;
    tamanho_ = st_.st_size;
    inicio_.resize(static_cast<std::size_t>(std::min(tamanho_, Inicio)));
    inicio_.resize(ler_em(fd, inicio_.data(), inicio_.size(), 0));
}

bool Olhado::olhar(int fd, bool fieis) {
    struct stat st {};
    // A file the system cannot show is not judged by this look.
    if (!visto_ || ::fstat(fd, &st) != 0 || st.st_dev != st_.st_dev || st.st_ino != st_.st_ino) return true;
    const bool tempos = fieis && !escrito_ && mesmo_tempo(st.st_mtim, st_.st_mtim) && st.st_size == st_.st_size;
    // As the last look left it; or only its times of change moved (made
    // read-only, linked).
    if (tempos && mesmo_tempo(st.st_ctim, st_.st_ctim)) return true;
    if (tempos) return st_ = st, true;
    const off_t t = tamanho_mostrado(st);
    // A size shown late is never more than the window's writes give.
    if (fieis ? t != tamanho_ : t > tamanho_) return false;
    const std::size_t minimo = fieis ? inicio_.size() : std::min(inicio_.size(), static_cast<std::size_t>(t));
    const auto como_deixado = [&](bool fresco) {
        std::vector<unsigned char> agora(inicio_.size());
        inicio_mostrado(fd, st, agora, fresco);
        return agora.size() >= minimo && std::equal(agora.begin(), agora.end(), inicio_.begin());
    };
    // Where the system may show them late, bytes that differ are read
    // again past what it keeps before they tell.
    if (!como_deixado(false) && (fieis || !como_deixado(true))) return false;
    st_ = st;
    escrito_ = false;
    return true;
}

bool Olhado::escreveu(int fd, off_t onde, const void* bytes, std::size_t n, bool fieis) {
    if (!visto_) return true;
    escrito_ = true;
    tamanho_ = std::max(tamanho_, onde + static_cast<off_t>(n));
    struct stat st {};
    const bool explicado = !fieis || ::fstat(fd, &st) != 0 || st.st_size == tamanho_;
    // What of it falls in the first bytes; a hole before it reads as zeros.
    inicio_.resize(static_cast<std::size_t>(std::min(tamanho_, Inicio)), 0);
    if (onde < Inicio) {
        const auto ate = static_cast<std::size_t>(std::min(onde + static_cast<off_t>(n), Inicio) - onde);
        std::memcpy(inicio_.data() + onde, bytes, ate);
    }
    return explicado;
}

void Olhado::truncou(off_t tamanho) {
    if (!visto_) return;
    escrito_ = true;
    tamanho_ = tamanho;
    inicio_.resize(static_cast<std::size_t>(std::min(tamanho, Inicio)), 0);
}

void Vigia::tomar(Qual q, int fd) {
    olhados_[q].tomar(fd);
    fds_[q] = fd;
    devido_[q] = true;
    if (q == Log) log_.clear();
}

void Vigia::esquecer(Qual q) {
    olhados_[q].esquecer();
    fds_[q] = -1;
    if (q == Log) log_.clear();
}

bool Vigia::olhar(Qual q) {
    devido_[q] = false;
    if (alterado_ >= 0) return false;
    if (fds_[q] < 0 || olhados_[q].olhar(fds_[q], fieis_)) return true;
    alterado_ = q;
    ambos_ = olhados_[q].escrito();
    return false;
}

bool Vigia::comecar() {
    olhar(Ficheiro) && olhar(Log);
    devido_[Ficheiro] = devido_[Log] = true;
    return alterado_ < 0;
}

bool Vigia::acabar() {
    for (Qual q : {Ficheiro, Log})
        if (olhados_[q].escrito()) olhar(q);
    devido_[Ficheiro] = devido_[Log] = true;
    return alterado_ < 0;
}

bool Vigia::antes_de_escrever(Qual q) {
    if (!devido_[q]) return alterado_ < 0;
    // The file's first write of a step may be of pages read from the log.
    if (q == Ficheiro) {
        const bool log_devido = devido_[Log];
        olhar(Log);
        devido_[Log] = log_devido;
    }
    return olhar(q);
}

bool Vigia::escreveu(Qual q, int fd, off_t onde, const void* bytes, ssize_t n) {
    if (n <= 0 || onde < 0) return alterado_ < 0;
    if (q == Log) {
        // Its pages come back through the reads checked.
        olhados_[q].escreveu(fd, onde, bytes, static_cast<std::size_t>(n), false);
        guardar(onde, bytes, static_cast<std::size_t>(n));
    } else if (!olhados_[q].escreveu(fd, onde, bytes, static_cast<std::size_t>(n), fieis_) && alterado_ < 0) {
        alterado_ = q;
        ambos_ = true;
    }
    return alterado_ < 0;
}

void Vigia::largar_log(off_t de, off_t ate) {
    auto it = log_.lower_bound(de);
    if (it != log_.begin() && std::prev(it)->first + static_cast<off_t>(std::prev(it)->second.n) > de) --it;
    while (it != log_.end() && it->first < ate) it = log_.erase(it);
}

void Vigia::guardar(off_t onde, const void* bytes, std::size_t n) {
    // Whatever it covers was written over.
    largar_log(onde, onde + static_cast<off_t>(n));
    log_[onde] = {n, hash_de(bytes, n)};
}

void Vigia::truncou(Qual q, off_t tamanho) {
    olhados_[q].truncou(tamanho);
    if (q == Log) largar_log(tamanho, std::numeric_limits<off_t>::max());
}

bool Vigia::leu(Qual q, off_t onde, const void* bytes, ssize_t n) {
    if (q != Log || n <= 0 || onde < 0 || !olhados_[Log].visto()) return true;
    const auto k = static_cast<std::size_t>(n);
    if (const auto it = log_.find(onde); it != log_.end() && it->second.n == k) {
        if (it->second.hash == hash_de(bytes, k)) return true;
        if (alterado_ < 0) {
            alterado_ = Log;
            a_meio_ = olhados_[Ficheiro].escrito();
        }
        return false;
    }
    // Read for the first time as the log is taken in: a whole frame, whose
    // page the move into the file reads again.
    guardar(onde, bytes, k);
    if (k > Cabecalho_Quadro && pagina_possivel(static_cast<std::uint32_t>(k - Cabecalho_Quadro)))
        log_[onde + static_cast<off_t>(Cabecalho_Quadro)] = {k - Cabecalho_Quadro,
                                                              hash_de(static_cast<const unsigned char*>(bytes) +
                                                                          Cabecalho_Quadro,
                                                                      k - Cabecalho_Quadro)};
    return true;
}

namespace {

// The engine's descriptors of a game's file (0) and log (1), by number,
// with the file each was opened on.
struct Vigiado_Por {
    std::weak_ptr<Lugar_Jogo> lugar;
    Vigia::Qual qual;
    dev_t dev;
    ino_t ino;
};
std::mutex guarda_vigiados;
std::map<int, Vigiado_Por>& vigiados() {
    static std::map<int, Vigiado_Por> m;
    return m;
}

// The place whose file or log the engine reaches at fd, while the watch
// has that very file; `qual`, which.
std::shared_ptr<Lugar_Jogo> vigiado_em(int fd, Vigia::Qual& qual, bool& dele) {
    Vigiado_Por v;
    {
        std::lock_guard<std::mutex> g(guarda_vigiados);
        const auto it = vigiados().find(fd);
        if (it == vigiados().end()) return nullptr;
        v = it->second;
    }
    auto l = v.lugar.lock();
    qual = v.qual;
    dele = l && l->vigia().e(qual, v.dev, v.ino);
    return l;
}

sqlite3_syscall_ptr fechar_do_sistema, escrever_do_sistema, pescrever_do_sistema, pescrever64_do_sistema,
    truncar_do_sistema, ler_do_sistema, pler_do_sistema, pler64_do_sistema;

template <class F> F sistema(sqlite3_syscall_ptr p) { return reinterpret_cast<F>(p); }

// The look before a write of the engine's; then, between it and the write
// itself, the point where a test acts as another program would in that
// very instant. False, and errno, when the write is refused. A descriptor
// of a file the watch no longer has (the old file of a rewrite) is not
// looked at, and is refused only once another program wrote.
bool pode_escrever(Lugar_Jogo& l, Vigia::Qual qual, bool dele) {
    try {
        if (!dele) return l.vigia().alterado() < 0 || !l.vigia().visto(qual) || (errno = EIO, false);
        if (!l.vigia().antes_de_escrever(qual)) {
            l.recusar(l.alterado_por_outro());
            return errno = EIO, false;
        }
        ponto_de_falha(qual == Vigia::Ficheiro ? "vigia.ficheiro" : "vigia.log");
        return true;
    } catch (const std::exception&) {
        errno = EIO;
        return false;
    }
}

// What the engine wrote, taken as the window's; a write found to have gone
// into another program's is kept as the refusal of what comes next.
void escrito(Lugar_Jogo& l, Vigia::Qual qual, int fd, off_t onde, const void* b, ssize_t r) {
    if (!l.vigia().escreveu(qual, fd, onde, b, r)) l.recusar(l.alterado_por_outro());
}

// What the engine read of the log, checked; -1 and EIO when refused.
ssize_t lido(Lugar_Jogo& l, Vigia::Qual qual, off_t onde, const void* b, ssize_t r) {
    if (r <= 0 || l.vigia().leu(qual, onde, b, r)) return r;
    l.recusar(l.alterado_por_outro());
    errno = EIO;
    return -1;
}

int fechar(int fd) {
    esquecer_descritor(fd);
    return sistema<int (*)(int)>(fechar_do_sistema)(fd);
}

ssize_t escrever(int fd, const void* b, size_t n) {
    Vigia::Qual qual{};
    bool dele = false;
    auto l = vigiado_em(fd, qual, dele);
    if (!l) return sistema<ssize_t (*)(int, const void*, size_t)>(escrever_do_sistema)(fd, b, n);
    const off_t onde = dele ? ::lseek(fd, 0, SEEK_CUR) : -1;
    if (!pode_escrever(*l, qual, dele)) return -1;
    const ssize_t r = sistema<ssize_t (*)(int, const void*, size_t)>(escrever_do_sistema)(fd, b, n);
    if (dele) escrito(*l, qual, fd, onde, b, r);
    return r;
}

// pwrite and pwrite64, whichever the engine's build uses.
template <class Onde, sqlite3_syscall_ptr* Original>
ssize_t pescrever(int fd, const void* b, size_t n, Onde onde) {
    Vigia::Qual qual{};
    bool dele = false;
    auto l = vigiado_em(fd, qual, dele);
    using P = ssize_t (*)(int, const void*, size_t, Onde);
    if (!l) return sistema<P>(*Original)(fd, b, n, onde);
    if (!pode_escrever(*l, qual, dele)) return -1;
    const ssize_t r = sistema<P>(*Original)(fd, b, n, onde);
    if (dele) escrito(*l, qual, fd, static_cast<off_t>(onde), b, r);
    return r;
}

int truncar(int fd, off_t tamanho) {
    Vigia::Qual qual{};
    bool dele = false;
    auto l = vigiado_em(fd, qual, dele);
    if (!l) return sistema<int (*)(int, off_t)>(truncar_do_sistema)(fd, tamanho);
    if (!pode_escrever(*l, qual, dele)) return -1;
    const int r = sistema<int (*)(int, off_t)>(truncar_do_sistema)(fd, tamanho);
    if (r == 0 && dele) l->vigia().truncou(qual, tamanho);
    return r;
}

ssize_t ler(int fd, void* b, size_t n) {
    Vigia::Qual qual{};
    bool dele = false;
    auto l = vigiado_em(fd, qual, dele);
    const bool ver = l && dele && qual == Vigia::Log;
    const off_t onde = ver ? ::lseek(fd, 0, SEEK_CUR) : -1;
    const ssize_t r = sistema<ssize_t (*)(int, void*, size_t)>(ler_do_sistema)(fd, b, n);
    return ver ? lido(*l, qual, onde, b, r) : r;
}

// pread and pread64, whichever the engine's build uses.
template <class Onde, sqlite3_syscall_ptr* Original> ssize_t pler(int fd, void* b, size_t n, Onde onde) {
    Vigia::Qual qual{};
    bool dele = false;
    auto l = vigiado_em(fd, qual, dele);
    const ssize_t r = sistema<ssize_t (*)(int, void*, size_t, Onde)>(*Original)(fd, b, n, onde);
    return l && dele && qual == Vigia::Log ? lido(*l, qual, static_cast<off_t>(onde), b, r) : r;
}

} // namespace

bool instalar_vigia(sqlite3_vfs* unix_) {
    const struct {
        const char* nome;
        sqlite3_syscall_ptr* original;
        sqlite3_syscall_ptr nosso;
        bool escreve;
    } chamadas[] = {
        {"close", &fechar_do_sistema, reinterpret_cast<sqlite3_syscall_ptr>(&fechar), false},
        {"write", &escrever_do_sistema, reinterpret_cast<sqlite3_syscall_ptr>(&escrever), true},
        {"pwrite", &pescrever_do_sistema,
         reinterpret_cast<sqlite3_syscall_ptr>(&pescrever<off_t, &pescrever_do_sistema>), true},
        {"pwrite64", &pescrever64_do_sistema,
         reinterpret_cast<sqlite3_syscall_ptr>(&pescrever<off64_t, &pescrever64_do_sistema>), true},
        {"ftruncate", &truncar_do_sistema, reinterpret_cast<sqlite3_syscall_ptr>(&truncar), false},
        {"read", &ler_do_sistema, reinterpret_cast<sqlite3_syscall_ptr>(&ler), false},
        {"pread", &pler_do_sistema, reinterpret_cast<sqlite3_syscall_ptr>(&pler<off_t, &pler_do_sistema>), false},
        {"pread64", &pler64_do_sistema, reinterpret_cast<sqlite3_syscall_ptr>(&pler<off64_t, &pler64_do_sistema>),
         false},
    };
    // The engine uses one of the ways of writing and reading its build has:
    // the others stand empty.
    bool escreve = false;
    for (const auto& c : chamadas) {
        *c.original = unix_->xGetSystemCall(unix_, c.nome);
        if (!*c.original) continue;
        if (unix_->xSetSystemCall(unix_, c.nome, c.nosso) != SQLITE_OK) return false;
        escreve = escreve || c.escreve;
    }
    return fechar_do_sistema && truncar_do_sistema && ler_do_sistema && escreve;
}

void vigiar_descritor(int fd, const std::shared_ptr<Lugar_Jogo>& lugar, int qual) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return;
    std::lock_guard<std::mutex> g(guarda_vigiados);
    vigiados()[fd] = {lugar, static_cast<Vigia::Qual>(qual), st.st_dev, st.st_ino};
}

void esquecer_descritor(int fd) {
    std::lock_guard<std::mutex> g(guarda_vigiados);
    vigiados().erase(fd);
}

} // namespace gv::db
