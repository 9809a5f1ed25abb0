// The watch for another program's writes into the game's file and its
// log while the game is open. Every write the engine makes into them goes
// through here: looked at before (the file as this window left it, else
// refused), and taken as this window's after. Nothing else is: a write by
// another program at any moment is noticed before the next write of this
// window, or at the next transaction, whichever comes first.

#include "platform/db/lugar.h"

#include "platform/db/interno.h"
#include "platform/db/lugar_interno.h"
#include "platform/falhas.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <charconv>
#include <string_view>

namespace gv::db {

namespace {

// Size and times as they were: nothing was written since.
bool como_estava(const struct stat& a, const struct stat& b) {
    return mesmo(a, b) && a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_ctim.tv_sec == b.st_ctim.tv_sec &&
           a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

constexpr off_t Inicio = 4096;

// The first bytes of the file open at fd, into `v`: every commit of the
// game gives its first page new ones (its marks, enciphered afresh).
void ler_inicio(int fd, off_t tamanho, std::vector<unsigned char>& v) {
    v.resize(static_cast<std::size_t>(std::min<off_t>(tamanho, Inicio)));
    v.resize(ler_em(fd, v.data(), v.size(), 0));
}

// The engine's descriptors of a game's file (0) and log (1), by number.
struct Vigiado_Por {
    std::weak_ptr<Lugar_Jogo> lugar;
    int qual;
};
std::mutex guarda_vigiados;
std::map<int, Vigiado_Por>& vigiados() {
    static std::map<int, Vigiado_Por> m;
    return m;
}

// The place whose file (qual 0) or log (1) the engine writes at fd.
std::shared_ptr<Lugar_Jogo> vigiado_em(int fd, int& qual) {
    std::lock_guard<std::mutex> g(guarda_vigiados);
    const auto it = vigiados().find(fd);
    if (it == vigiados().end()) return nullptr;
    qual = it->second.qual;
    return it->second.lugar.lock();
}

sqlite3_syscall_ptr fechar_do_sistema, escrever_do_sistema, pescrever_do_sistema, pescrever64_do_sistema,
    truncar_do_sistema;

template <class F> F sistema(sqlite3_syscall_ptr p) { return reinterpret_cast<F>(p); }

// The look before a write of the engine's; then, between it and the write
// itself, the point where a test acts as another program would in that
// very instant. False, and errno, when the write is refused.
bool pode_escrever(Lugar_Jogo& l, int qual, int fd) {
    try {
        if (!l.antes_de_escrever(qual, fd)) return errno = EIO, false;
        ponto_de_falha(qual == 0 ? "vigia.ficheiro" : "vigia.log");
        return true;
    } catch (const std::exception&) {
        errno = EIO;
        return false;
    }
}

int fechar(int fd) {
    esquecer_descritor(fd);
    return sistema<int (*)(int)>(fechar_do_sistema)(fd);
}

ssize_t escrever(int fd, const void* b, size_t n) {
    int qual = 0;
    auto l = vigiado_em(fd, qual);
    if (!l) return sistema<ssize_t (*)(int, const void*, size_t)>(escrever_do_sistema)(fd, b, n);
    const off_t onde = ::lseek(fd, 0, SEEK_CUR);
    if (!pode_escrever(*l, qual, fd)) return -1;
    const ssize_t r = sistema<ssize_t (*)(int, const void*, size_t)>(escrever_do_sistema)(fd, b, n);
    l->escrito(qual, fd, onde, b, r);
    return r;
}

// pwrite and pwrite64, whichever the engine's build uses.
template <class Onde, sqlite3_syscall_ptr* Original>
ssize_t pescrever(int fd, const void* b, size_t n, Onde onde) {
    int qual = 0;
    auto l = vigiado_em(fd, qual);
    using P = ssize_t (*)(int, const void*, size_t, Onde);
    if (!l) return sistema<P>(*Original)(fd, b, n, onde);
    if (!pode_escrever(*l, qual, fd)) return -1;
    const ssize_t r = sistema<P>(*Original)(fd, b, n, onde);
    l->escrito(qual, fd, static_cast<off_t>(onde), b, r);
    return r;
}

int truncar(int fd, off_t tamanho) {
    int qual = 0;
    auto l = vigiado_em(fd, qual);
    if (!l) return sistema<int (*)(int, off_t)>(truncar_do_sistema)(fd, tamanho);
    if (!pode_escrever(*l, qual, fd)) return -1;
    const int r = sistema<int (*)(int, off_t)>(truncar_do_sistema)(fd, tamanho);
    if (r == 0) l->truncado(qual, fd, tamanho);
    return r;
}

} // namespace

bool instalar_vigia(sqlite3_vfs* unix_) {
    const struct {
        const char* nome;
        sqlite3_syscall_ptr* original;
        sqlite3_syscall_ptr nosso;
    } chamadas[] = {
        {"close", &fechar_do_sistema, reinterpret_cast<sqlite3_syscall_ptr>(&fechar)},
        {"write", &escrever_do_sistema, reinterpret_cast<sqlite3_syscall_ptr>(&escrever)},
        {"pwrite", &pescrever_do_sistema,
         reinterpret_cast<sqlite3_syscall_ptr>(&pescrever<off_t, &pescrever_do_sistema>)},
        {"pwrite64", &pescrever64_do_sistema,
         reinterpret_cast<sqlite3_syscall_ptr>(&pescrever<off64_t, &pescrever64_do_sistema>)},
        {"ftruncate", &truncar_do_sistema, reinterpret_cast<sqlite3_syscall_ptr>(&truncar)},
    };
    // The engine uses one of the ways of writing its build has: the others
    // stand empty.
    bool escreve = false;
    for (const auto& c : chamadas) {
        *c.original = unix_->xGetSystemCall(unix_, c.nome);
        if (!*c.original) continue;
        if (unix_->xSetSystemCall(unix_, c.nome, c.nosso) != SQLITE_OK) return false;
        escreve = escreve || std::strcmp(c.nome, "close") != 0;
    }
    return fechar_do_sistema && truncar_do_sistema && escreve;
}

void vigiar_descritor(int fd, const std::shared_ptr<Lugar_Jogo>& lugar, int qual) {
    std::lock_guard<std::mutex> g(guarda_vigiados);
    vigiados()[fd] = {lugar, qual};
}

void esquecer_descritor(int fd) {
    std::lock_guard<std::mutex> g(guarda_vigiados);
    vigiados().erase(fd);
}

void Lugar_Jogo::ver(Vigiado& v, int fd) {
    v.visto = fd >= 0 && ::fstat(fd, &v.st) == 0;
    v.tamanho = v.st.st_size;
    if (v.visto) ler_inicio(fd, v.st.st_size, v.inicio);
}

void Lugar_Jogo::deixado() {
    if (alterado_ >= 0) return;
    const int fds[2] = {ficheiro_.descritor(), ao_lado_[Log].descritor()};
    for (int i : {0, 1})
        if (!vigiado_[i].visto) ver(i, fds[i]);
}

bool Lugar_Jogo::intacto(Vigiado& v, int fd, struct stat st) const {
    if (!tempos_fieis_) {
        struct statx x {};
        if (::statx(fd, "", AT_EMPTY_PATH | AT_STATX_FORCE_SYNC, STATX_SIZE, &x) == 0)
            st.st_size = static_cast<off_t>(x.stx_size);
    } else if (como_estava(st, v.st)) {
        return true;
    }
    std::vector<unsigned char> agora;
    if (st.st_size == v.tamanho && (ler_inicio(fd, st.st_size, agora), agora == v.inicio)) {
        v.st = st;   // touched, made read-only, linked: as it was
        return true;
    }
    return false;
}

bool Lugar_Jogo::como_deixado(int qual, int fd, const struct stat& st) {
    if (intacto(vigiado_[qual], fd, st)) return true;
    alterado_ = qual;
    return false;
}

bool Lugar_Jogo::copia_intacta() {
    struct stat st {};
    return copia_ < 0 || !copia_vista_.visto || ::fstat(copia_, &st) != 0 || intacto(copia_vista_, copia_, st);
}

bool Lugar_Jogo::alterado() {
    if (alterado_ >= 0) return true;
    const int fds[2] = {ficheiro_.descritor(), ao_lado_[Log].descritor()};
    for (int i : {0, 1}) {
        struct stat st {};
        // One the watch has not seen yet (a log made since) is seen at the
        // transaction's end.
        if (!vigiado_[i].visto || fds[i] < 0 || ::fstat(fds[i], &st) != 0 || !mesmo(st, vigiado_[i].st)) continue;
        if (!como_deixado(i, fds[i], st)) return true;
    }
    return false;
}

bool Lugar_Jogo::antes_de_escrever(int qual, int fd) {
    const Vigiado& v = vigiado_[qual];
    struct stat st {};
    // A descriptor of a file this place no longer holds (the old file of a
    // rewrite) is not watched.
    if (!v.visto || ::fstat(fd, &st) != 0 || !mesmo(st, v.st)) return alterado_ < 0 || !v.visto;
    if (alterado_ < 0 && como_deixado(qual, fd, st)) return true;
    recusar(alterado_por_outro());
    return false;
}

void Lugar_Jogo::escrito(int qual, int fd, off_t onde, const void* bytes, ssize_t n) {
    Vigiado& v = vigiado_[qual];
    struct stat st {};
    if (!v.visto || n <= 0 || onde < 0 || ::fstat(fd, &st) != 0 || !mesmo(st, v.st)) return;
    if (!explicado(qual, st, std::max(v.tamanho, onde + static_cast<off_t>(n)))) return;
    v.tamanho = st.st_size;
    // What of it falls in the first bytes; a hole before it reads as zeros.
    v.inicio.resize(static_cast<std::size_t>(std::min(v.tamanho, Inicio)), 0);
    if (onde < Inicio) {
        const auto ate = static_cast<std::size_t>(std::min(onde + static_cast<off_t>(n), Inicio) - onde);
        std::memcpy(v.inicio.data() + onde, bytes, ate);
    }
    v.st = st;
}

bool Lugar_Jogo::explicado(int qual, const struct stat& st, off_t tamanho) {
    // Where the system may show a size late (a network or user-space file
    // system), the size after a write tells nothing of the instant.
    if (st.st_size == tamanho || !tempos_fieis_) return true;
    // A size the window's write does not give: another program wrote in
    // that very instant, and the window's write went into what it wrote.
    alterado_ = qual;
    ambos_ = true;
    recusar(alterado_por_outro());
    return false;
}

void Lugar_Jogo::truncado(int qual, int fd, off_t tamanho) {
    Vigiado& v = vigiado_[qual];
    struct stat st {};
    if (!v.visto || ::fstat(fd, &st) != 0 || !mesmo(st, v.st) || !explicado(qual, st, tamanho)) return;
    v.tamanho = tamanho;
    v.inicio.resize(static_cast<std::size_t>(std::min(tamanho, Inicio)), 0);
    v.st = st;
}

Erro_BD Lugar_Jogo::alterado_por_outro() const {
    const std::string qual = alterado_ == Do_Log ? caminho_ + Sufixos[Log] : caminho_;
    Erro_BD e(ERRO_FICHEIRO, "Outro programa escreveu em " + qual + " enquanto o jogo estava aberto",
              Erro_BD::Tipo::Ficheiro_Alterado, qual);
    if (alterado_ == Do_Log && log_por_passar_) e.com_log_por_passar();
    if (ambos_) e.com_partes_de_ambos();
    return e;
}

void Lugar_Jogo::soltar_motor() {
    struct stat f {}, l {};
    const bool com_f = ficheiro_.tomado() && ::fstat(ficheiro_.descritor(), &f) == 0;
    const bool com_l = ao_lado_[Log].tomado() && ::fstat(ao_lado_[Log].descritor(), &l) == 0;
    // Every other descriptor of the two in this process is the engine's.
    const int nada = ::memfd_create("golvantario-largado", MFD_CLOEXEC);
    DIR* d = nada >= 0 ? ::opendir("/proc/self/fd") : nullptr;
    std::vector<int> do_motor;
    while (const dirent* e = d ? ::readdir(d) : nullptr) {
        int fd = -1;
        struct stat st {};
        const std::string_view n(e->d_name);
        if (std::from_chars(n.data(), n.data() + n.size(), fd).ptr != n.data() + n.size() || fd == ::dirfd(d) ||
            fd == nada || fd == ficheiro_.descritor() || fd == ao_lado_[Log].descritor() || ::fstat(fd, &st) != 0)
            continue;
        if ((com_f && mesmo(st, f)) || (com_l && mesmo(st, l))) do_motor.push_back(fd);
    }
    if (d) ::closedir(d);
    for (int fd : do_motor) {
        esquecer_descritor(fd);
        ::dup3(nada, fd, O_CLOEXEC);
    }
    if (nada >= 0) ::close(nada);
}

void Lugar_Jogo::largar_alterados() {
    // The log this window made goes, unless the other wrote it.
    if (ao_lado_[Log].tomado() && alterado_ != Do_Log && ao_lado_[Log].nomeia(pasta_, nome_ + Sufixos[Log]))
        remover_lado(Log);
    ao_lado_[Log] = Bloqueio_Jogo();
    vigiado_[Do_Log] = {};
}

} // namespace gv::db
