// The save path's steps that take another way where the folder's file
// system cannot do what a local disk does.

#include "platform/db/alternativas.h"

#include "platform/db/capacidades.h"
#include "platform/db/maquina.h"
#include "platform/falhas.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace gv::db {

namespace {
constexpr std::string_view Novo = ".gvnovo-";
} // namespace

int criar_anonimo(int pasta, int modo) {
    const Capacidades c = capacidades(pasta);
    if (!c.anonimos || !c.ligacoes) return errno = EOPNOTSUPP, -1;
    return ::openat(pasta, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, modo);
}

int nomear_anonimo(int fd, int pasta, const std::string& nome) {
    if (!capacidades(pasta).ligacoes) return errno = EPERM, -1;
    char anonimo[64];
    std::snprintf(anonimo, sizeof anonimo, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, anonimo, pasta, nome.c_str(), AT_SYMLINK_FOLLOW);
}

std::string novo_nome_temporario(int pasta) {
    static std::atomic<unsigned> contador{0};
    return std::string(Novo) + alcance_dos_trincos(pasta) + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(contador++);
}

Bloqueio_Jogo criar_temporario(int pasta, std::string& nome) {
    for (int vez = 0; vez < 1000; ++vez) {
        const std::string n = novo_nome_temporario(pasta);
        const int fd = ::openat(pasta, n.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) continue;   // a window's of another boot, left there
        if (fd < 0) return {};
        nome = n;
        return Bloqueio_Jogo::do_descritor(fd);
    }
    errno = EEXIST;
    return {};
}

bool nome_temporario(std::string_view nome) { return nome.substr(0, Novo.size()) == Novo; }

bool temporario_do_alcance(std::string_view nome, std::string_view alcance) {
    if (!nome_temporario(nome)) return false;
    nome.remove_prefix(Novo.size());
    return nome.substr(0, alcance.size()) == alcance && nome.substr(alcance.size(), 1) == "-";
}

int renomear_sem_substituir(int pasta, const std::string& de, const std::string& para) {
    const Capacidades c = capacidades(pasta);
    if (c.sem_substituir) return ::renameat2(pasta, de.c_str(), pasta, para.c_str(), RENAME_NOREPLACE);
    if (c.ligacoes) {
        if (::linkat(pasta, de.c_str(), pasta, para.c_str(), 0) != 0) return -1;
        // Both names name it till the old one goes: whoever finds the two
        // lets the old one go (lugar.h, the folder's cleaner).
        ponto_de_falha("renomear.ligado");
        return ::unlinkat(pasta, de.c_str(), 0) == 0 || errno == ENOENT ? 0 : -1;
    }
    struct stat st {};
    if (::fstatat(pasta, para.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return errno = EEXIST, -1;
    if (errno != ENOENT) return -1;
    return ::renameat(pasta, de.c_str(), pasta, para.c_str());
}

} // namespace gv::db
