// The watch for another program's writes into the game's file and its
// log while the game is open: what this window left at each transaction's
// end, looked at before the next one.

#include "platform/db/lugar.h"

#include "platform/db/interno.h"
#include "platform/db/lugar_interno.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// The first bytes of the file open at fd, into `v`: every commit of the
// game gives its first page new ones (its marks, enciphered afresh).
void ler_inicio(int fd, off_t tamanho, std::vector<unsigned char>& v) {
    v.resize(static_cast<std::size_t>(std::min<off_t>(tamanho, 4096)));
    v.resize(ler_em(fd, v.data(), v.size(), 0));
}

} // namespace

void Lugar_Jogo::deixado() {
    if (alterado_ >= 0) return;
    const int fds[2] = {ficheiro_.descritor(), ao_lado_[Log].descritor()};
    for (int i : {0, 1}) {
        Deixado& d = deixado_[i];
        d.visto = fds[i] >= 0 && ::fstat(fds[i], &d.st) == 0;
        if (d.visto) ler_inicio(fds[i], d.st.st_size, d.inicio);
    }
}

bool Lugar_Jogo::alterado() {
    if (alterado_ >= 0) return true;
    const int fds[2] = {ficheiro_.descritor(), ao_lado_[Log].descritor()};
    for (int i : {0, 1}) {
        Deixado& d = deixado_[i];
        struct stat st {};
        // One this window has not left yet (a log made since) is left at the
        // transaction's end.
        if (!d.visto || fds[i] < 0 || ::fstat(fds[i], &st) != 0 || !mesmo(st, d.st) || como_estava(st, d.st))
            continue;
        std::vector<unsigned char> agora;
        if (st.st_size == d.st.st_size && (ler_inicio(fds[i], st.st_size, agora), agora == d.inicio)) {
            d.st = st;   // touched, made read-only, linked: as it was
            continue;
        }
        alterado_ = i;
        return true;
    }
    return false;
}

Erro_BD Lugar_Jogo::alterado_por_outro() const {
    const std::string qual = alterado_ == 1 ? caminho_ + Sufixos[Log] : caminho_;
    return Erro_BD(ERRO_FICHEIRO, "Outro programa escreveu em " + qual + " enquanto o jogo estava aberto",
                   Erro_BD::Tipo::Ficheiro_Alterado, qual);
}

void Lugar_Jogo::largar_alterados() {
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
    for (int fd : do_motor) ::dup3(nada, fd, O_CLOEXEC);
    if (nada >= 0) ::close(nada);
    // The log this window made goes, unless the other wrote it.
    if (com_l && alterado_ != 1 && ao_lado_[Log].nomeia(pasta_, nome_ + Sufixos[Log])) remover_lado(Log);
    ao_lado_[Log] = Bloqueio_Jogo();
}

} // namespace gv::db
